#pragma once
// AgeDialog, "Edad del personaje": which physical characteristic loses one point to age. One
// radio button each for APA, CON, DES and FUE, with the value it has now.

#include "investigator/character_creation.h"

#include <QDialog>
#include <array>
#include <optional>

class QRadioButton;

namespace vorpane {

class AgeDialog final : public QDialog {
    Q_OBJECT
public:
    // values: APA, CON, DES, FUE as they stand; point and points: which point of how many.
    AgeDialog(const std::array<int, kAgeCharacteristicCount>& values, AgeCharacteristic preselected,
        int point, int points, QWidget* parent = nullptr);

    AgeCharacteristic selected() const;
    void select(AgeCharacteristic which);

    // Runs the dialog with a random preselection; nullopt for Cancel.
    static std::optional<AgeCharacteristic> ask(
        const std::array<int, kAgeCharacteristicCount>& values, int point, int points, QWidget* parent);

private:
    std::array<QRadioButton*, kAgeCharacteristicCount> m_buttons {};
};

} // namespace vorpane
