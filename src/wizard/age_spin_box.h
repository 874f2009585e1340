#pragma once
// AgeSpinBox: the age field of the characteristics page.

#include <QSpinBox>

namespace vorpane {

// The age field: typing is free until the field is left; its arrows step within the range.
class AgeSpinBox final : public QSpinBox {
    Q_OBJECT
public:
    using QSpinBox::lineEdit;
    using QSpinBox::QSpinBox;
    void stepBy(int steps) override;

signals:
    void stepped();
    void leaving();

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace vorpane
