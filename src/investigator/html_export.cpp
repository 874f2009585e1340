#include "investigator/html_export.h"

#include "investigator/derived_values.h"
#include "investigator/investigator.h"
#include "platform/profile.h"
#include "platform/save_file.h"
#include "platform/ui_services.h"
#include "rules/text_case.h"

namespace vorpane {

namespace {

constexpr long long kRollMultiplier = 5; // idea, luck, know and starting sanity are characteristic x 5
// Cells per row of the skill table; the counter starts one row's worth below the first cell.
constexpr int kCellsPerRow = 3;
constexpr int kFirstCellCounter = 2;

constexpr const char* kEol = "\r\n";
constexpr const char* kIndent1 = "    ";
constexpr const char* kIndent2 = "        ";
constexpr const char* kIndent3 = "            ";
constexpr const char* kNotice = "Exported from Vorpane, the Zhaldor investigator editor.";

std::string number(long long value) { return std::to_string(value); }

class Page {
public:
    void line(const std::string& text)
    {
        m_text += text;
        m_text += kEol;
    }
    void emptyLine() { m_text += kEol; }
    std::string take() { return std::move(m_text); }

private:
    std::string m_text;
};

std::string plainName(std::string_view name) { return htmlEscape(skipLeadingStars(name)); }

// What the sheet shows: one more for a Base of exactly "0" under the 5.5 bases.
long long shownValue(const SkillEntry& entry, bool bases55)
{
    const long long bonus = bases55 && entry.base() == "0" ? 1 : 0;
    return entry.current + bonus;
}

void writePersonalData(Page& page, const Investigator& inv)
{
    page.line(std::string(kIndent1) + "<td valign=\"top\" width=\"50%\" >");
    page.line("<b>Investigator Name: </b>" + htmlEscape(inv.Name) + "<br>");
    page.line("<b>Occupation: </b>" + htmlEscape(inv.Occupation) + "<br>");
    page.line("<b>Colleges, Degrees: </b>" + htmlEscape(inv.Colleges) + "<br>");
    page.line("<b>Birthplace: </b>" + htmlEscape(inv.Birthplace) + "<br>");
    page.line("<b>Mental Disorders: </b>" + htmlEscape(inv.MentalDisorders) + "<br>");
    page.line("<b>Sex: </b>" + htmlEscape(inv.Sex) + "&nbsp<b>Age: </b>" + number(inv.Age) + "<br>");
    page.line(std::string(kIndent1) + "</td>");
}

void writeStatCell(Page& page, const char* label, long long value)
{
    page.line(std::string(kIndent3) + "<td width=\"25%\">" + label + number(value) + "</td>");
}

void nextStatRow(Page& page)
{
    page.line(std::string(kIndent2) + "</tr>");
    page.line(std::string(kIndent2) + "<tr>");
}

void writeCharacteristics(Page& page, const Investigator& inv)
{
    page.line(std::string(kIndent1) + "<td valign=\"top\" width=\"50%\">");
    page.line(std::string(kIndent2) + "<table border=\"0\" width=\"100%\">");
    page.line(std::string(kIndent2) + "<tr>");
    writeStatCell(page, "STR: ", inv.FUE);
    writeStatCell(page, "DEX: ", inv.DES);
    writeStatCell(page, "INT: ", inv.INT);
    writeStatCell(page, "Idea: ", kRollMultiplier * inv.INT);
    nextStatRow(page);
    writeStatCell(page, "CON: ", inv.CON);
    writeStatCell(page, "APP: ", inv.APA);
    writeStatCell(page, "POW: ", inv.POD);
    writeStatCell(page, "Luck: ", kRollMultiplier * inv.POD);
    nextStatRow(page);
    writeStatCell(page, "SIZ: ", inv.TAM);
    writeStatCell(page, "SAN: ", kRollMultiplier * inv.POD);
    writeStatCell(page, "EDU: ", inv.EDU);
    writeStatCell(page, "Know: ", kRollMultiplier * inv.EDU);
    nextStatRow(page);
    page.line(std::string(kIndent3)
        + "<td colspan=\"2\" width=\"50%\">99-Zhaldor Mythos: " + number(maximumSanity(inv)) + "</td>");
    page.line(std::string(kIndent3)
        + "<td colspan=\"2\" width=\"50%\">Damage Bonus: " + htmlEscape(damageBonus(inv)) + "</td>");
    page.line(std::string(kIndent2) + "</tr>");
    page.line(std::string(kIndent2) + "</table>");
    page.line(std::string(kIndent1) + "</td>");
}

class SkillTable {
public:
    SkillTable(Page& page, bool bases55)
        : m_page(page)
        , m_bases55(bases55)
    {
    }

    // Skills and named subskills; special-skill headers, placeholders and unnamed subskills get no cell.
    void skills(const Investigator::EntryView& entries)
    {
        for (const SkillEntry* entry : entries) {
            if (entry->kind() == SkillKind::Skill) {
                cell(*entry, plainName(entry->name()));
            } else if (entry->kind() == SkillKind::SubSkill && !entry->name().empty()) {
                const SpecialSkill* parent = entry->parent();
                cell(*entry,
                    plainName(parent ? parent->name() : std::string()) + ": " + plainName(entry->name()));
            }
        }
    }

    void weapons(const Investigator::EntryView& entries)
    {
        for (const SkillEntry* entry : entries)
            cell(*entry, plainName(entry->name()));
    }

private:
    void cell(const SkillEntry& entry, const std::string& name)
    {
        if (++m_counter % kCellsPerRow == 0)
            nextStatRow(m_page);
        const bool raised = entry.baseValue < entry.current;
        m_page.line(std::string(kIndent3) + "<td width=\"33%\"><font size=\"2\">" + (raised ? "<b>" : "")
            + name + " " + number(shownValue(entry, m_bases55)) + "%" + (raised ? "</b>" : "")
            + "</font></td>");
    }

    Page& m_page;
    bool m_bases55;
    int m_counter = kFirstCellCounter;
};

} // namespace

std::string htmlEscape(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string htmlExportText(const Investigator& inv, bool bases55)
{
    Page page;
    page.line("<html>");
    page.line("<head>");
    page.line("<meta http-equiv=\"Content-Type\" content=\"text/html\">");
    page.line("<meta name=\"GENERATOR\" content=\"Vorpane HTML Export Version 1.2\">");
    page.line("<title>" + htmlEscape(inv.Name) + "</title>");
    page.line("</head>");
    page.emptyLine();
    page.line("<body>");
    page.line("<br><br><hr><br><br>");
    page.emptyLine();
    page.line("<table border=\"0\" width=\"100%\" >");
    page.line("<tr>");
    writePersonalData(page, inv);
    writeCharacteristics(page, inv);
    page.line("</tr>");
    page.line("</table>");
    page.emptyLine();
    page.line("<hr>");
    page.emptyLine();
    page.line("<table border=\"0\" width=\"100%\">");
    page.line(std::string(kIndent2) + "<tr>");
    SkillTable table(page, bases55);
    table.skills(inv.skills());
    table.weapons(inv.firearms());
    table.weapons(inv.melee());
    page.line(std::string(kIndent2) + "</tr>");
    page.line(std::string(kIndent1) + "</table>");
    page.line("<br><br><hr><br><br>");
    page.emptyLine();
    page.line(std::string("<font size=\"1\">") + kNotice + "</font>");
    page.emptyLine();
    page.line("</body>");
    page.line("</html>");
    return page.take();
}

bool exportHtml(const std::string& path, const Investigator& inv)
{
    ui().beginWaitCursor();
    const bool bases55 = Profile::read(profile_keys::kBases55) != 0;
    const std::string text = htmlExportText(inv, bases55);
    const bool written = saveFile(path, text) == SaveResult::Saved;
    ui().endWaitCursor();
    if (!written)
        showMessage("Could not open file for output!", {}, MsgIcon::Error);
    return written;
}

} // namespace vorpane
