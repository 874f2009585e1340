#pragma once
// SkillPointList: the skill pages' list of skills with their values, on which points are spent.
// Occupational entries are bold; a subskill shows "Parent: name" with a dotted frame while it has
// no name; a free-choice placeholder shows "(free choice)". A double click (or F2, Enter, a digit)
// opens an editor over the row: the value editor (base to 999, paid from the counter) or, for a
// subskill, the name editor with the options list's suggestions. Up and Down move the editor to
// the neighbouring row, Enter commits and moves on, Esc closes without committing.

#include "investigator/skill_choice.h"
#include "rules/list_file.h"

#include <QListWidget>
#include <memory>
#include <vector>

class QComboBox;
class QSpinBox;

namespace vorpane {

class Investigator;
struct SkillEntry;

class SkillPointList final : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 20;
    static constexpr int kValueWidth = 36; // where the value is drawn
    static constexpr int kValueEditorWidth = 40; // the part of a subskill row that edits the value
    static constexpr int kValueEditorMinWidth = 56; // room for three digits beside the arrows
    static constexpr int kNameEditorGap = 48; // left free right of the name editor
    static constexpr int kNameDropHeight = 120;
    static constexpr int kMaxValue = 999;

    explicit SkillPointList(QWidget* parent = nullptr);
    ~SkillPointList() override;

    // Which investigator and rows; opens the rule file's options list.
    void setUp(Investigator& inv, SkillPointMode mode);
    // Builds the rows again from the investigator (closing an editor without committing).
    void refill();

    int counter() const { return m_counter; }
    void setCounter(int points);

    SkillEntry* entryAt(int row) const;
    // The row of an entry, or -1.
    int rowOf(const SkillEntry* entry) const;

    // As a double click on the row, at x in viewport coordinates (-1: the left part).
    void editRow(int row, int x = -1);
    // Opens an editor if the row can take one; false otherwise.
    bool openValueEditor(int row);
    bool openNameEditor(int row);
    // Commits and closes an open editor.
    void commitEditing();
    void cancelEditing();

    QSpinBox* valueEditor() const;
    QComboBox* nameEditor() const;
    int editedRow() const { return m_editedRow; }

signals:
    void counterChanged(int points);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Editor { None, Value, Name };
    // What an editor's keys ask for.
    enum class Move { Previous, Next, Enter, Escape };

    QString rowText(const SkillEntry& entry) const;
    void updateRow(int row);
    QRect rowRect(int row) const;
    void editorKey(Move move);
    bool commitValue();
    bool commitName();
    void closeEditor();
    void chooseFreeSkill(int row);

    Investigator* m_investigator = nullptr;
    SkillPointMode m_mode = SkillPointMode::Interest;
    std::unique_ptr<ListFile> m_options;
    std::vector<SkillEntry*> m_entries;
    int m_counter = 0;

    class ValueEditor;
    ValueEditor* m_valueEditor;
    QComboBox* m_nameEditor;
    Editor m_editor = Editor::None;
    int m_editedRow = -1;
    int m_oldValue = 0;
};

} // namespace vorpane
