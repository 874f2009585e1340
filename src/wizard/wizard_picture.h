#pragma once
// WizardPicture: the new-investigator wizard's picture.

#include <QPixmap>
#include <QWidget>

namespace vorpane {

// The picture on the left of every page.
class WizardPicture final : public QWidget {
    Q_OBJECT
public:
    explicit WizardPicture(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPixmap m_cache;
};

} // namespace vorpane
