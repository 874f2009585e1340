#include "app/output_window.h"

#include "platform/cp1252.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace vorpane {

OutputWindow::OutputWindow(OutputModel& model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
    , m_list(new QListWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_list);
    for (const std::string& line : model.lines())
        m_list->addItem(fromCp1252(line));
    m_list->setCurrentRow(model.selectedLine());
    model.setListener(this);
    reloadSettings();
}

OutputWindow::~OutputWindow() { m_model.setListener(nullptr); }

void OutputWindow::reloadSettings() { }

void OutputWindow::lineAdded(const std::string& line)
{
    m_list->addItem(fromCp1252(line));
    while (m_list->count() > OutputModel::kMaxLines)
        delete m_list->takeItem(0);
    m_list->setCurrentRow(m_list->count() - 1);
    repaintNow();
}

void OutputWindow::cleared()
{
    m_list->clear();
    repaintNow();
}

void OutputWindow::visibilityChanged(bool visible) { emit visibilityRequested(visible); }

// Lines show while a script is still running.
void OutputWindow::repaintNow() { m_list->viewport()->repaint(); }

} // namespace vorpane
