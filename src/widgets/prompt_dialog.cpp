#include "widgets/prompt_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vorpane {

namespace {
// The frame is 128 by 48 dialog units; at the usual 6x13 pixel font these are the pixels.
constexpr int kWidth = 192;
constexpr int kHeight = 104;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
} // namespace

PromptDialog::PromptDialog(const QString& label, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Prompt"));
    setModal(true);
    setFixedSize(kWidth, kHeight);
    const int w = kWidth;
    const int h = kHeight;

    auto* text = new QLabel(label, this);
    text->setTextFormat(Qt::PlainText);
    text->setGeometry(8, 8, w - 16, 14);

    m_entry = new QLineEdit(this);
    m_entry->setAccessibleName(label);
    m_entry->setMaxLength(kMaxLength);
    m_entry->setGeometry(8, 26, w - 16, 23);
    m_entry->setFocus();

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(w - 166, h - 31, kButtonWidth, kButtonHeight);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(w - 83, h - 31, kButtonWidth, kButtonHeight);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString PromptDialog::text() const { return m_entry->text().left(kMaxLength); }

} // namespace vorpane
