#include "investigator/investigator.h"
#include "investigator/investigator_field.h"
#include "investigator/investigator_file.h"
#include "platform/save_file.h"
#include "platform/ui_services.h"

#include <unordered_map>

namespace vorpane {

namespace {

constexpr const char* kEol = "\r\n";
constexpr int kSkillIndent = 2; // blocks inside Skills
constexpr int kSubSkillIndent = 3; // SubSkill blocks inside a SpecialSkill
constexpr int kSubSkillValueIndent = 5;

class Writer {
public:
    explicit Writer(std::string& out)
        : m_out(out)
    {
    }

    void line(int tabs, std::string_view text)
    {
        m_out.append(size_t(tabs), '\t');
        m_out += text;
        m_out += kEol;
    }

    // A value line of a block indented by blockTabs: one more TAB, "key" "value".
    void value(int blockTabs, std::string_view key, std::string_view value)
    {
        m_out.append(size_t(blockTabs) + 1, '\t');
        m_out += '"';
        m_out += key;
        m_out += "\" \"";
        for (char c : value) {
            if (c == '"')
                m_out += '\'';
            else if (c != '\0')
                m_out += c;
        }
        m_out += '"';
        m_out += kEol;
    }

    void value(int blockTabs, std::string_view key, int number)
    {
        value(blockTabs, key, std::to_string(number));
    }

    // A value line with the indentation given in full (the SubSkill block's lines).
    void valueAt(int tabs, std::string_view key, std::string_view text) { value(tabs - 1, key, text); }

private:
    std::string& m_out;
};

void writeEntryTail(Writer& w, int blockTabs, const SkillEntry& entry)
{
    w.value(blockTabs, "Current", entry.current);
    w.value(blockTabs, "Occupational", entry.occupational);
    w.value(blockTabs, "Checked", entry.checked);
}

void writeNameAndBase(Writer& w, int blockTabs, const SkillEntry& entry)
{
    w.value(blockTabs, "Name", entry.name());
    w.value(blockTabs, "Base", entry.base());
}

void writeSubSkill(Writer& w, const SkillEntry& sub)
{
    w.line(kSubSkillIndent, "SubSkill { ");
    w.valueAt(kSubSkillValueIndent, "Name", sub.name());
    w.valueAt(kSubSkillValueIndent, "Base", sub.base());
    w.valueAt(kSubSkillValueIndent, "Current", std::to_string(sub.current));
    w.valueAt(kSubSkillValueIndent, "Occupational", std::to_string(sub.occupational));
    w.valueAt(kSubSkillValueIndent, "Checked", std::to_string(sub.checked));
    w.line(kSubSkillIndent, "}");
}

using SubSkillsByParent = std::unordered_map<const SkillDef*, std::vector<const SkillEntry*>>;

// Writes the entry's block; false for kinds that are not written at top level.
bool writeEntry(Writer& w, const SkillEntry& entry, const SubSkillsByParent& subSkills)
{
    const int t = kSkillIndent;
    switch (entry.kind()) {
    case SkillKind::Skill:
        w.line(t, "Skill { ");
        writeNameAndBase(w, t, entry);
        break;
    case SkillKind::SpecialSkill: {
        w.line(t, "SpecialSkill { ");
        writeNameAndBase(w, t, entry);
        w.value(t, "SubSkills", static_cast<const SpecialSkill&>(*entry.definition).subSkillCount());
        if (const auto found = subSkills.find(entry.definition.get()); found != subSkills.end()) {
            for (const SkillEntry* sub : found->second)
                writeSubSkill(w, *sub);
        }
        break;
    }
    case SkillKind::Firearm: {
        const FirearmStats& s = static_cast<const Firearm&>(*entry.definition).stats();
        w.line(t, "Firearm { ");
        writeNameAndBase(w, t, entry);
        w.value(t, "Bullets", s.bullets);
        w.value(t, "Dmg", s.dmg);
        w.value(t, "PV", s.pv);
        w.value(t, "MAL", s.mal);
        w.value(t, "Range", s.range);
        w.value(t, "Shots", s.shots);
        break;
    }
    case SkillKind::Melee: {
        const MeleeStats& s = static_cast<const Melee&>(*entry.definition).stats();
        w.line(t, "Melee { ");
        writeNameAndBase(w, t, entry);
        w.value(t, "Attacks", s.attacks);
        w.value(t, "Dmg", s.dmg);
        w.value(t, "PV", s.pv);
        break;
    }
    default:
        return false;
    }
    writeEntryTail(w, t, entry);
    w.line(t, "}");
    w.line(0, "");
    return true;
}

} // namespace

std::string InvestigatorFile::text(const Investigator& inv, const std::string& sheetScript)
{
    std::string out;
    out.reserve(4096 + inv.entries().size() * 160);
    Writer w(out);
    w.line(0, "INV");
    w.line(0, "Sheet { ");
    w.value(0, "Script", sheetScript);
    w.value(0, "Class", "Investigator");
    w.line(0, "}");
    w.line(0, "");
    w.line(0, "Investigator { ");
    for (const InvestigatorField& field : investigatorFields()) {
        if (field.text)
            w.value(0, field.key, inv.*field.text);
        else
            w.value(0, field.key, inv.*field.number);
    }
    w.line(1, "Skills {");

    SubSkillsByParent subSkills;
    for (const auto& entry : inv.entries()) {
        if (const SpecialSkill* parent = entry->parent())
            subSkills[parent].push_back(entry.get());
    }
    for (const auto& entry : inv.entries())
        writeEntry(w, *entry, subSkills);

    w.line(1, "}");
    w.line(0, "}");
    return out;
}

bool InvestigatorFile::save(const std::string& path, const Investigator& inv, const std::string& sheetScript)
{
    const std::string bytes = text(inv, sheetScript);
    const bool written = saveFile(path, bytes) == SaveResult::Saved;
    if (!written)
        showMessage("Cannot write investigator file", {}, MsgIcon::Error);
    return written;
}

} // namespace vorpane
