#pragma once
// FloatingInfoWindow: the common part of the small description windows that float beside a dialog
// (the skill information window, the wizard's investigator summary): a tool window in the tooltip
// colours and font that never takes the focus, whose client position is remembered in the profile
// section "WindowPos" under two values of its own.

#include "platform/profile_keys.h"

#include <QWidget>
#include <functional>

namespace vorpane {

class FloatingInfoWindow : public QWidget {
    Q_OBJECT
public:
    // Corner of the main window's document area from which the default position is measured.
    enum class Anchor { TopRight, BottomRight };

    // The offset of the default position from the anchor corner, inwards.
    static constexpr int kDefaultInset = 16;

    // keyX, keyY: the profile values of the position.
    FloatingInfoWindow(QWidget* owner, const IntKey& keyX, const IntKey& keyY, Anchor anchor);

    // Moves the window to its stored position, or the default one; negative coordinates become 0
    // and a window that would leave the screen at the right or bottom is pulled back inside.
    void place();
    // Shows the window without activating it.
    void showInactive();

    // The position placement uses (client origin, screen coordinates).
    QPoint storedPosition() const;

    // The screen rectangle of the main window's document area, empty while it is not shown; the
    // main window hands it in. Without one the screen's work area stands in.
    static void setPlacementArea(std::function<QRect()> area);

    // The icon of these windows (drawn in their corner, and on their owners' "&Info" toggles).
    static QPixmap infoIcon(int size);

protected:
    // Sizes the window by lines of its font: width in average characters, height in lines.
    void setSizeInText(int widthChars, int lineCount);
    // When true the position is also written when the window is hidden.
    void setStoreOnHide(bool store) { m_storeOnHide = store; }

    bool event(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QPoint defaultPosition() const;
    void storePosition() const;

    IntKey m_keyX;
    IntKey m_keyY;
    Anchor m_anchor;
    bool m_storeOnHide = false;
};

} // namespace vorpane
