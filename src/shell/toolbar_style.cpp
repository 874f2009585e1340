#include "shell/toolbar_style.h"

#include "platform/profile.h"

#include <QToolBar>
#include <QToolButton>

namespace vorpane {

bool flatToolbarsWanted() { return Profile::read(profile_keys::kFlatToolbar) != 0; }

void applyToolbarStyle(QToolBar* bar, bool flat)
{
    for (QToolButton* button : bar->findChildren<QToolButton*>()) {
        // The bar's own extension arrow stays as the style draws it.
        if (button->objectName() != QLatin1String("qt_toolbar_ext_button"))
            button->setAutoRaise(flat);
    }
    bar->setProperty("flat", flat);
    bar->update();
}

} // namespace vorpane
