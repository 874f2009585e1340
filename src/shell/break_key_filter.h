#pragma once
// The break key on the desktop. A script runs on the user-interface thread and does not return to
// the event loop until it ends, so the interpreter polls (platform/break_key.h): every few dozen
// milliseconds it has this filter process the pending events. Paint, layout and timer events go
// through, so the windows stay drawn and output lines show; the user's input is dropped, except
// Ctrl+Space and Ctrl+Break, which press the interpreter's break flag.

#include <QObject>
#include <QPointer>
#include <QWidget>

class QKeyEvent;

namespace vorpane {

class BreakKeyFilter final : public QObject {
    Q_OBJECT
public:
    // Installs itself on the application and as the interpreter's poll.
    explicit BreakKeyFilter(QObject* parent = nullptr);
    ~BreakKeyFilter() override;

    static bool isBreakKey(const QKeyEvent& event);
    // The events the user makes (keys, mouse, wheel, touch, closing windows, dropping files).
    static bool isUserInput(const QEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void poll();

    bool m_polling = false;
    // A modal dialog a run opens (a message box of the script) takes its input as usual.
    QPointer<QWidget> m_modalAtPoll;
};

} // namespace vorpane
