#include "sheet/handout_file_data.h"

namespace vorpane {

namespace {

void pushBounded(std::deque<HandoutSnapshot>& list, HandoutSnapshot snapshot)
{
    list.push_front(std::move(snapshot));
    while (int(list.size()) > kHandoutHistoryDepth)
        list.pop_back();
}

} // namespace

HandoutSnapshot HandoutFileData::snapshot() const { return HandoutSnapshot { texts, pictures }; }

void HandoutFileData::restore(const HandoutSnapshot& snapshot)
{
    texts = snapshot.texts;
    pictures = snapshot.pictures;
}

void HandoutFileData::checkpoint()
{
    pushBounded(m_undo, snapshot());
    m_redo.clear();
}

bool HandoutFileData::undo()
{
    if (m_undo.empty())
        return false;
    HandoutSnapshot previous = std::move(m_undo.front());
    m_undo.pop_front();
    pushBounded(m_redo, snapshot());
    restore(previous);
    return true;
}

bool HandoutFileData::redo()
{
    if (m_redo.empty())
        return false;
    HandoutSnapshot next = std::move(m_redo.front());
    m_redo.pop_front();
    pushBounded(m_undo, snapshot());
    restore(next);
    return true;
}

void HandoutFileData::clearHistory()
{
    m_undo.clear();
    m_redo.clear();
}

void HandoutFileData::clearContent()
{
    texts = {};
    pictures = {};
    templateName.clear();
}

} // namespace vorpane
