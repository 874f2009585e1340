#pragma once
// The one-time hint "Información": an icon, the text, "&No volver a ver esto" and OK. Ticking the
// box writes 1 to the hint's key in section "QuickInfo", and that hint is never shown again.

#include <QDialog>

class QCheckBox;
class QLabel;

namespace vorpane {

class QuickInfoDialog final : public QDialog {
    Q_OBJECT
public:
    QuickInfoDialog(const QString& text, QWidget* parent = nullptr);

    bool dontShowAgain() const;

    // Shows the hint modally unless its key says not to; true when it was shown.
    static bool showOnce(const std::string& key, const QString& text, QWidget* parent);
    static bool isSuppressed(const std::string& key);

private:
    QLabel* m_text;
    QCheckBox* m_dontShow;
};

} // namespace vorpane
