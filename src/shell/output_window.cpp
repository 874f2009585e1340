#include "shell/output_window.h"

#include "docview/settings_font.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "platform/stored_font.h"

#include <QApplication>
#include <QLayout>
#include <QListWidget>
#include <QVBoxLayout>

namespace vorpane {

namespace {

QColor readColour(const char* name, const QColor& system)
{
    return fromColorRef(Profile::readInt(profile_keys::kOutput, name, toColorRef(system)));
}

} // namespace

OutputWindow::OutputWindow(OutputModel& model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
    , m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("OutputWindow"));
    m_list->setObjectName(QStringLiteral("OutputList"));
    m_list->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setUniformItemSizes(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addWidget(m_list);
    setFocusProxy(m_list);
    for (const std::string& line : model.lines())
        m_list->addItem(fromCp1252(line));
    m_list->setCurrentRow(model.selectedLine());
    model.setListener(this);
    reloadSettings();
}

OutputWindow::~OutputWindow() { m_model.setListener(nullptr); }

void OutputWindow::reloadSettings()
{
    using namespace profile_keys;
    m_list->setFont(readSettingsFont(kOutput, kOutputDefaultFace, kOutputDefaultHeight));
    const QPalette system = QApplication::palette(m_list);
    QPalette palette = m_list->palette();
    const QColor background = readColour(kOutputBackground, system.color(QPalette::Base));
    const QColor text = readColour(kOutputText, system.color(QPalette::Text));
    for (QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        palette.setColor(group, QPalette::Base, background);
        palette.setColor(group, QPalette::Text, text);
    }
    m_list->setPalette(palette);
    m_list->viewport()->update();
}

void OutputWindow::lineAdded(const std::string& line)
{
    m_list->addItem(fromCp1252(line));
    while (m_list->count() > OutputModel::kMaxLines)
        delete m_list->takeItem(0);
    m_list->setCurrentRow(m_list->count() - 1);
    m_list->scrollToBottom();
    repaintNow();
}

void OutputWindow::cleared()
{
    m_list->clear();
    repaintNow();
}

void OutputWindow::visibilityChanged(bool visible)
{
    emit visibilityRequested(visible);
    if (!visible)
        return;
    // Lay the frame out now: a running script does not return to the event loop before it writes.
    if (QWidget* top = window(); top && top->layout())
        top->layout()->activate();
    repaintNow();
}

// Lines show while a script is still running.
void OutputWindow::repaintNow()
{
    if (m_list->isVisible())
        m_list->viewport()->repaint();
}

} // namespace vorpane
