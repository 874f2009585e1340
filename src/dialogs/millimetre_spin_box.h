#pragma once
// MillimetreSpinBox: a margin in millimetres, 0 to 999.99.

#include <QDialog>
#include <QDoubleSpinBox>
#include <QWidget>

class QCheckBox;
class QListWidget;
class QTabWidget;

namespace vorpane {

class Desk;

// Millimetres with up to two decimals; the arrows step to whole numbers.
class MillimetreSpinBox final : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit MillimetreSpinBox(QWidget* parent = nullptr);

    void stepBy(int steps) override;
    QString textFromValue(double value) const override;
    double valueFromText(const QString& text) const override;
    QValidator::State validate(QString& text, int& pos) const override;
};

} // namespace vorpane
