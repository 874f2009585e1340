#pragma once
// The output window's content: at most kMaxLines lines, the newest selected. The core writes here;
// the desktop output bar and the headless tool observe it.

#include <deque>
#include <functional>
#include <string>

namespace vorpane {

class OutputModel {
public:
    static constexpr int kMaxLines = 50; // older lines scroll away

    struct Listener {
        virtual ~Listener() = default;
        virtual void lineAdded(const std::string& line) { }
        virtual void cleared() { }
        virtual void visibilityChanged(bool visible) { }
    };

    void addLine(const std::string& line);
    void clear();
    void show();
    void hide();

    const std::deque<std::string>& lines() const { return m_lines; }
    int selectedLine() const { return m_lines.empty() ? -1 : int(m_lines.size()) - 1; }
    bool isVisible() const { return m_visible; }

    void setListener(Listener* listener) { m_listener = listener; }

private:
    std::deque<std::string> m_lines;
    bool m_visible = false;
    Listener* m_listener = nullptr;
};

} // namespace vorpane
