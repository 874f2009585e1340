#include "platform/output_model.h"

namespace vorpane {

void OutputModel::addLine(const std::string& line)
{
    m_lines.push_back(line);
    if (m_lines.size() > size_t(kMaxLines))
        m_lines.pop_front();
    if (m_listener)
        m_listener->lineAdded(line);
}

void OutputModel::clear()
{
    m_lines.clear();
    if (m_listener)
        m_listener->cleared();
}

void OutputModel::show()
{
    m_visible = true;
    if (m_listener)
        m_listener->visibilityChanged(true);
}

void OutputModel::hide()
{
    m_visible = false;
    if (m_listener)
        m_listener->visibilityChanged(false);
}

} // namespace vorpane
