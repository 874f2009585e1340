#pragma once
// The picture shown while the program starts: closed after 750 ms, or by the first key press or
// mouse click anywhere in the program (which still goes where it was meant to).

#include <QPixmap>
#include <QWidget>

namespace vorpane {

class SplashWindow final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShowMs = 750;

    // Shows the splash unless one is open already; returns it.
    static SplashWindow* showSplash(QWidget* mainWindow);
    static SplashWindow* current();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit SplashWindow(QWidget* mainWindow);
    ~SplashWindow() override;

    QPixmap m_picture;
    QWidget* m_mainWindow;
};

} // namespace vorpane
