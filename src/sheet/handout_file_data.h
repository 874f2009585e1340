#pragma once
// HandoutFileData: the content of a handout (a letter, a cutting, a note with a photograph): fifty texts
// and five picture paths that the page's fields show, the name of its layout script, and an undo
// and a redo list of snapshots of the texts and pictures (not the template), newest first, each
// at most kHandoutHistoryDepth long.

#include <array>
#include <deque>
#include <string>

namespace vorpane {

constexpr int kHandoutTextCount = 50; // text0 ... text49
constexpr int kHandoutPictureCount = 5; // picture0 ... picture4
constexpr int kHandoutHistoryDepth = 5;

struct HandoutSnapshot {
    std::array<std::string, kHandoutTextCount> texts;
    std::array<std::string, kHandoutPictureCount> pictures;
    friend bool operator==(const HandoutSnapshot&, const HandoutSnapshot&) = default;
};

class HandoutFileData {
public:
    std::array<std::string, kHandoutTextCount> texts;
    std::array<std::string, kHandoutPictureCount> pictures;
    std::string templateName; // the layout script, without folder and extension

    HandoutSnapshot snapshot() const;
    void restore(const HandoutSnapshot& snapshot);

    // Before a change: the current texts and pictures go to the head of the undo list; the redo
    // list empties; the oldest snapshot past the depth is dropped.
    void checkpoint();
    // False (nothing changes) when the list is empty.
    bool undo();
    bool redo();
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    int undoDepth() const { return int(m_undo.size()); }
    int redoDepth() const { return int(m_redo.size()); }
    void clearHistory();

    // Texts, pictures and template; the history is kept.
    void clearContent();

private:
    std::deque<HandoutSnapshot> m_undo;
    std::deque<HandoutSnapshot> m_redo;
};

} // namespace vorpane
