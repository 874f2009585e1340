#include "widgets/skill_info_window.h"

#include "investigator/investigator.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "rules/rule_set_cache.h"

#include <QPainter>

namespace vorpane {

namespace {

constexpr int kWidthChars = 18;
constexpr int kLines = 11;
constexpr int kMargin = 4;
constexpr int kIconInset = 20;
constexpr int kIconSize = 16;

const QString& nothingChosen()
{
    static const QString text = QStringLiteral("Nada elegido    ");
    return text;
}

// Era lines and weapon statistics are wider than the classic size allows.
const char* const kWidestLine = "Disponible en los1890s y en1990s sólo.";

} // namespace

SkillInfoWindow::SkillInfoWindow(const std::string& ruleFile, QWidget* owner)
    : FloatingInfoWindow(owner, profile_keys::kSkillInfoX, profile_keys::kSkillInfoY, Anchor::TopRight)
    , m_rules(RuleSetCache::instance().ensureLoaded(ruleFileOrDefault(ruleFile)))
{
    setObjectName(QStringLiteral("SkillInfoWindow"));
    setWindowTitle(tr("Descripción"));
    setSizeInText(kWidthChars, kLines);
    const QFontMetrics metrics(font());
    const int needed = metrics.horizontalAdvance(QString::fromUtf8(kWidestLine)) + 2 * kMargin
        + metrics.averageCharWidth();
    if (width() < needed)
        setFixedWidth(needed);
    place();
}

SkillInfoWindow::~SkillInfoWindow() = default;

bool SkillInfoWindow::wanted() { return Profile::read(profile_keys::kSkillInfoShown) != 0; }

void SkillInfoWindow::setWanted(bool wanted)
{
    Profile::write(profile_keys::kSkillInfoShown, wanted ? 1 : 0);
}

void SkillInfoWindow::showIfWanted()
{
    if (wanted())
        showInactive();
    else
        hide();
}

void SkillInfoWindow::showName(const QString& name, const Investigator* investigator)
{
    showName(toCp1252(name), investigator);
}

void SkillInfoWindow::showName(const std::string& name, const Investigator* investigator)
{
    const bool bases55 = Profile::read(profile_keys::kBases55) != 0;
    m_info.reset();
    if (!name.empty()) {
        // The text is made now: the definition may belong to an entry that goes away later.
        const SkillDef* def = m_rules ? m_rules->findDefinition(name) : nullptr;
        if (!def && investigator) {
            if (const SkillEntry* entry = investigator->findSkill(name))
                def = entry->definition.get();
        }
        if (def)
            m_info = skillInfoText(*def, bases55);
    }
    if (isVisible())
        repaint();
}

QStringList SkillInfoWindow::lines() const
{
    QStringList lines;
    if (!m_info)
        return lines;
    lines << fromCp1252(m_info->name) << fromCp1252(m_info->eras);
    for (const std::string& line : m_info->details)
        lines << fromCp1252(line);
    return lines;
}

void SkillInfoWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int line = metrics.height();
    const int textWidth = width() - 2 * kMargin;
    painter.setPen(palette().color(QPalette::ToolTipText));
    int y = kMargin;
    const auto text = [&](const QString& s) {
        painter.drawText(QRect(kMargin, y, textWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(s, Qt::ElideRight, textWidth));
        y += line;
    };
    if (!m_info) {
        text(nothingChosen());
    } else {
        QFont bold = font();
        bold.setBold(true);
        painter.setFont(bold);
        text(fromCp1252(m_info->name));
        painter.setFont(font());
        y += line / 2;
        painter.drawLine(0, y, width(), y);
        y += line / 2;
        text(fromCp1252(m_info->eras));
        for (const std::string& detail : m_info->details)
            text(fromCp1252(detail));
    }
    painter.drawPixmap(width() - kIconInset, height() - kIconInset, infoIcon(kIconSize));
}

} // namespace vorpane
