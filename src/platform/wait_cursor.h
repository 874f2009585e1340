#pragma once
// WaitCursor: the wait cursor of the Ui services for as long as it lives, so that no early return
// leaves it on.

#include "platform/ui_services.h"

namespace vorpane {

class WaitCursor {
public:
    WaitCursor() { ui().beginWaitCursor(); }
    ~WaitCursor() { ui().endWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace vorpane
