#pragma once
// The tip of the day, drawn on the background of the document area: 16 pixels in from its
// bottom-left corner, a panel with a raised edge, the title and the tip. After ten seconds, or a
// click inside it, the panel fades into the background in eleven steps of 100 ms.

#include "rules/tips_file.h"

#include <QBasicTimer>
#include <QObject>
#include <QPixmap>

class QMdiArea;
class QPainter;

namespace vorpane {

class TipPanel final : public QObject {
    Q_OBJECT
public:
    static constexpr int kMargin = 16;
    static constexpr int kShowMs = 10000;
    static constexpr int kFadeMs = 100;
    static constexpr int kFadeSteps = 10;

    // Opens "tips.lst" of the program folder and starts painting the area's background.
    explicit TipPanel(QMdiArea* area);
    ~TipPanel() override;

    bool isEnabled() const { return m_tips.isEnabled(); }
    bool isShowing() const { return m_showing; }
    int fadeStep() const { return m_fadeStep; }
    QString currentTip() const;
    QRect panelRect() const;

    // At start-up: shows the current tip when the profile asks for it.
    void showAtStartUp();
    // "&Frase del Día...": the next tip, shown at once for another ten seconds.
    void showNextTip();
    // Starts fading the panel out.
    void fade();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void show();
    void paintBackground(QPainter& painter);
    void drawPanel(QPainter& painter, const QRect& rect) const;
    QColor workspaceColour() const;
    void updateArea();

    QMdiArea* m_area;
    // Compared by address only: while the area is destroyed it is no longer a scroll area.
    QWidget* m_viewport;
    TipsFile m_tips;
    QPixmap m_picture;
    QBasicTimer m_showTimer;
    QBasicTimer m_fadeTimer;
    bool m_showing = false;
    int m_fadeStep = 0;
};

} // namespace vorpane
