#pragma once
// The main window, shown and active so that focus behaves as for a user.

#include "shell/main_frame.h"

#include <QTest>

namespace vorpane::test {

struct ActiveMainWindow {
    CMainFrame frame;
    ActiveMainWindow()
    {
        frame.resize(1000, 800);
        frame.show();
        frame.activateWindow();
        if (!QTest::qWaitForWindowActive(&frame))
            QTest::qFail("the main window never became active", __FILE__, __LINE__);
    }
    template <typename View> View* view() const { return qobject_cast<View*>(frame.activeView()); }
};

} // namespace vorpane::test
