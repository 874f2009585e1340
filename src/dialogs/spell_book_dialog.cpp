#include "dialogs/spell_book_dialog.h"

#include "docview/accessible_name.h"
#include "platform/cp1252.h"
#include "rules/spell_book.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <functional>

namespace vorpane {

namespace {

enum NodeKind { BookNode = QTreeWidgetItem::UserType, HeadingNode, SpellNode };

constexpr int kIconSize = 32; // drawn once, scaled down by the view

// The three pictures of the tree: a closed book, an open one and a spell's spark.
QIcon paintedIcon(const std::function<void(QPainter&)>& paint)
{
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(kIconSize / 16.0, kIconSize / 16.0);
    paint(painter);
    return QIcon(pixmap);
}

const QIcon& closedBookIcon()
{
    static const QIcon icon = paintedIcon([](QPainter& p) {
        p.setPen(QPen(QColor(0x5a, 0x2a, 0x1a), 0.8));
        p.setBrush(QColor(0xf2, 0xe6, 0xc8));
        p.drawRoundedRect(QRectF(4.5, 2.5, 9.5, 12), 1, 1); // the pages' edge
        p.setBrush(QColor(0x8c, 0x2f, 0x22));
        p.drawRoundedRect(QRectF(2.5, 1.5, 10, 12), 1.2, 1.2); // the cover
        p.setPen(QPen(QColor(0xe0, 0xb0, 0x40), 1));
        p.drawLine(QPointF(4.5, 2), QPointF(4.5, 13)); // the spine
        p.drawEllipse(QPointF(8.5, 7.5), 1.6, 1.6);
    });
    return icon;
}

const QIcon& openBookIcon()
{
    static const QIcon icon = paintedIcon([](QPainter& p) {
        p.setPen(QPen(QColor(0x5a, 0x2a, 0x1a), 0.8));
        p.setBrush(QColor(0x8c, 0x2f, 0x22));
        QPainterPath cover;
        cover.moveTo(0.5, 4.5);
        cover.lineTo(8, 5.5);
        cover.lineTo(15.5, 4.5);
        cover.lineTo(15.5, 14);
        cover.lineTo(8, 15);
        cover.lineTo(0.5, 14);
        cover.closeSubpath();
        p.drawPath(cover);
        p.setBrush(QColor(0xf7, 0xee, 0xd6));
        for (const bool left : { true, false }) {
            QPainterPath page;
            const double outer = left ? 1.5 : 14.5;
            page.moveTo(8, 4);
            page.quadTo((8 + outer) / 2, 2, outer, 3);
            page.lineTo(outer, 12.5);
            page.quadTo((8 + outer) / 2, 11.5, 8, 13.5);
            page.closeSubpath();
            p.drawPath(page);
        }
        p.setPen(QPen(QColor(0x90, 0x80, 0x70), 0.6));
        for (double y : { 5.5, 7.5, 9.5 }) {
            p.drawLine(QPointF(3, y), QPointF(6.5, y + 0.4));
            p.drawLine(QPointF(9.5, y + 0.4), QPointF(13, y));
        }
    });
    return icon;
}

const QIcon& spellIcon()
{
    static const QIcon icon = paintedIcon([](QPainter& p) {
        QPainterPath spark;
        spark.moveTo(8, 0.5);
        spark.quadTo(9, 7, 15.5, 8);
        spark.quadTo(9, 9, 8, 15.5);
        spark.quadTo(7, 9, 0.5, 8);
        spark.quadTo(7, 7, 8, 0.5);
        p.setPen(QPen(QColor(0x4b, 0x1f, 0x7a), 0.7));
        p.setBrush(QColor(0x8e, 0x5c, 0xc8));
        p.drawPath(spark);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xf4, 0xe0, 0x7a));
        p.drawEllipse(QPointF(8, 8), 1.8, 1.8);
        p.drawEllipse(QPointF(13, 3), 1, 1);
    });
    return icon;
}

QTreeWidgetItem* node(QTreeWidgetItem* parent, const std::string& text, NodeKind kind)
{
    auto* item = new QTreeWidgetItem(parent, QStringList { fromCp1252(text) }, kind);
    item->setIcon(0, kind == SpellNode ? spellIcon() : closedBookIcon());
    return item;
}

} // namespace

SpellBookDialog::SpellBookDialog(const std::string& spells, QWidget* parent)
    : QDialog(parent)
    , m_tree(new QTreeWidget(this))
    , m_chosen(new QListWidget(this))
    , m_add(new QPushButton(tr("&Añadir"), this))
    , m_remove(new QPushButton(tr("&Quitar"), this))
{
    setObjectName(QStringLiteral("SpellBookDialog"));
    setWindowTitle(tr("Libro de Magias"));

    m_tree->setObjectName(QStringLiteral("SpellTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setIconSize(QSize(16, 16));
    m_chosen->setObjectName(QStringLiteral("ChosenSpells"));
    m_add->setObjectName(QStringLiteral("Add"));
    m_remove->setObjectName(QStringLiteral("Remove"));
    m_add->setAutoDefault(false);
    m_remove->setAutoDefault(false);

    auto* treeLabel = new QLabel(tr("&Magias:"), this);
    nameAfterLabel(m_tree, treeLabel);
    auto* chosenLabel = new QLabel(tr("Magias &conocidas:"), this);
    nameAfterLabel(m_chosen, chosenLabel);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(tr("Cancelar"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &SpellBookDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SpellBookDialog::reject);

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(m_add);
    middle->addWidget(m_remove);
    middle->addStretch();
    auto* grid = new QGridLayout(this);
    grid->addWidget(treeLabel, 0, 0);
    grid->addWidget(chosenLabel, 0, 2);
    grid->addWidget(m_tree, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(m_chosen, 1, 2);
    grid->addWidget(buttons, 2, 0, 1, 3);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(2, 2);

    setTabOrder(m_tree, m_add);
    setTabOrder(m_add, m_remove);
    setTabOrder(m_remove, m_chosen);

    connect(m_add, &QPushButton::clicked, this, &SpellBookDialog::addSelected);
    connect(m_remove, &QPushButton::clicked, this, &SpellBookDialog::removeSelected);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item && item->type() == SpellNode)
            addSelected();
    });
    connect(m_chosen, &QListWidget::itemDoubleClicked, this, &SpellBookDialog::removeSelected);
    auto* removeKey = new QAction(m_chosen);
    removeKey->setShortcut(QKeySequence::Delete);
    removeKey->setShortcutContext(Qt::WidgetShortcut);
    m_chosen->addAction(removeKey);
    connect(removeKey, &QAction::triggered, this, &SpellBookDialog::removeSelected);
    connect(m_tree, &QTreeWidget::itemExpanded, this,
        [](QTreeWidgetItem* item) { item->setIcon(0, openBookIcon()); });
    connect(m_tree, &QTreeWidget::itemCollapsed, this,
        [](QTreeWidgetItem* item) { item->setIcon(0, closedBookIcon()); });
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &SpellBookDialog::updateButtons);
    connect(m_chosen, &QListWidget::itemSelectionChanged, this, &SpellBookDialog::updateButtons);

    m_tree->installEventFilter(this);
    fillTree();
    for (const std::string& name : splitSpells(spells))
        m_chosen->addItem(fromCp1252(name));
    updateButtons();

    const QFontMetrics metrics(font());
    m_tree->setMinimumSize(metrics.averageCharWidth() * 42, metrics.height() * 22);
    m_chosen->setMinimumWidth(metrics.averageCharWidth() * 34);
    m_tree->setFocus();
}

void SpellBookDialog::fillTree()
{
    for (const SpellBook& book : programSpellBooks()) {
        auto* top = new QTreeWidgetItem(m_tree, QStringList { fromCp1252(book.title) }, BookNode);
        top->setIcon(0, closedBookIcon());
        for (const std::string& spell : book.spells)
            node(top, spell, SpellNode);
        for (const SpellHeading& heading : book.headings) {
            QTreeWidgetItem* item = node(top, heading.name, HeadingNode);
            for (const std::string& spell : heading.spells)
                node(item, spell, SpellNode);
        }
        top->setExpanded(true);
        top->setIcon(0, openBookIcon());
    }
}

// Enter in the tree adds the spell, or opens and closes a book or heading, rather than closing the
// dialog.
bool SpellBookDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        QTreeWidgetItem* current = m_tree->currentItem();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && current) {
            if (current->type() == SpellNode)
                addSelected();
            else
                current->setExpanded(!current->isExpanded());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SpellBookDialog::updateButtons()
{
    const QTreeWidgetItem* current = m_tree->currentItem();
    m_add->setEnabled(current && current->isSelected() && current->type() == SpellNode);
    m_remove->setEnabled(m_chosen->currentItem() && m_chosen->currentItem()->isSelected());
}

void SpellBookDialog::addSelected()
{
    const QTreeWidgetItem* current = m_tree->currentItem();
    // Books and headings are not spells, whether or not they hold any.
    if (!current || !current->isSelected() || current->type() != SpellNode)
        return;
    m_chosen->addItem(current->text(0));
    m_chosen->scrollToBottom();
}

void SpellBookDialog::removeSelected()
{
    const int row = m_chosen->currentRow();
    if (row < 0 || !m_chosen->item(row)->isSelected())
        return;
    delete m_chosen->takeItem(row);
    updateButtons();
}

std::string SpellBookDialog::spellsText() const
{
    std::vector<std::string> names;
    for (int row = 0; row < m_chosen->count(); ++row)
        names.push_back(toCp1252(m_chosen->item(row)->text()));
    return joinSpells(names);
}

} // namespace vorpane
