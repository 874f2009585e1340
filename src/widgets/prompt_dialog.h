#pragma once
// The dialog of the script function prompt: a label, a one-line entry of at most kPromptLimit
// characters, OK and Cancel.

#include "platform/ui_services.h"

#include <QDialog>

class QLineEdit;

namespace vorpane {

class PromptDialog final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxLength = int(kPromptLimit);

    explicit PromptDialog(const QString& label, QWidget* parent = nullptr);
    QString text() const;

private:
    QLineEdit* m_entry;
};

} // namespace vorpane
