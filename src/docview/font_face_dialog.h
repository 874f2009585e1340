#pragma once
// FontFaceDialog: a font chosen without a size (the user text on sheets, whose size the sheet
// decides): a face among the scalable fonts, a weight and italic, with a sample line.

#include <QDialog>
#include <QFont>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLabel;

namespace vorpane {

class FontFaceDialog final : public QDialog {
    Q_OBJECT
public:
    explicit FontFaceDialog(const QFont& initial, QWidget* parent = nullptr);

    // The chosen face, weight and italic on the initial font (its size untouched).
    QFont chosenFont() const;

    QFontComboBox* faceCombo() const { return m_face; }
    QComboBox* weightCombo() const { return m_weight; }
    QCheckBox* italicBox() const { return m_italic; }

private:
    void updateSample();

    QFont m_initial;
    QFontComboBox* m_face;
    QComboBox* m_weight;
    QCheckBox* m_italic;
    QLabel* m_sample;
};

} // namespace vorpane
