#pragma once
// SpellBookDialog, "Libro de Magias": every spell book of the program folder as a tree (books,
// their headings, the spells), and the investigator's chosen spells as a list. "&Añadir" appends
// the selected spell (books and headings with entries are not added), "&Quitar" removes the
// selected line; OK gives the list back as the investigator's Spells text.

#include <QDialog>
#include <string>

class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vorpane {

class SpellBookDialog final : public QDialog {
    Q_OBJECT
public:
    // spells: the investigator's Spells text (Windows-1252).
    explicit SpellBookDialog(const std::string& spells, QWidget* parent = nullptr);

    // The chosen spells joined with ", ".
    std::string spellsText() const;

    QTreeWidget* tree() const { return m_tree; }
    QListWidget* chosenList() const { return m_chosen; }

    void addSelected();
    void removeSelected();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillTree();
    void updateButtons();

    QTreeWidget* m_tree;
    QListWidget* m_chosen;
    QPushButton* m_add;
    QPushButton* m_remove;
};

} // namespace vorpane
