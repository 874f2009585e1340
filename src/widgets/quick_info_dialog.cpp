#include "widgets/quick_info_dialog.h"

#include "platform/profile.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace vorpane {

namespace {
constexpr const char* kSection = profile_keys::kQuickInfo;
} // namespace

QuickInfoDialog::QuickInfoDialog(const QString& text, QWidget* parent)
    : QDialog(parent)
    , m_text(new QLabel(text, this))
    , m_dontShow(new QCheckBox(tr("&No volver a ver esto"), this))
{
    setObjectName(QStringLiteral("QuickInfoDialog"));
    setWindowTitle(tr("Información"));
    auto* icon = new QLabel(this);
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this).pixmap(side, side));
    icon->setAlignment(Qt::AlignTop);
    m_text->setWordWrap(true);
    m_text->setMinimumWidth(320);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(16);
    layout->addWidget(icon, 0, 0, 2, 1);
    layout->addWidget(m_text, 0, 1);
    layout->addWidget(m_dontShow, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    buttons->button(QDialogButtonBox::Ok)->setFocus();
}

bool QuickInfoDialog::dontShowAgain() const { return m_dontShow->isChecked(); }

bool QuickInfoDialog::isSuppressed(const std::string& key) { return Profile::readInt(kSection, key, 0) != 0; }

bool QuickInfoDialog::showOnce(const std::string& key, const QString& text, QWidget* parent)
{
    if (isSuppressed(key))
        return false;
    QuickInfoDialog dialog(text, parent);
    dialog.exec();
    if (dialog.dontShowAgain())
        Profile::writeInt(kSection, key, 1);
    return true;
}

} // namespace vorpane
