#pragma once
// The commands of an investigator document: the "&Investigador" menu (reroll, skills, weapons,
// spells, income), the "&Herramientas" menu (sheet check, improvement, random name, dice) and the
// exports and mail of the file menu. Each command that changes the investigator commits the
// views' editing, then changes it through the model as one undo step.

#include "docview/commands.h"

namespace vorpane {

class CInvestigatorDoc;
class Investigator;

std::span<const CommandRow> investigatorCommands();

namespace cmd {
inline constexpr const char* Reroll = "investigator.reroll";
inline constexpr const char* AddSkill = "investigator.addSkill";
inline constexpr const char* EditSkills = "investigator.editSkills";
inline constexpr const char* ChooseWeapons = "investigator.weapons";
inline constexpr const char* ChooseSpells = "investigator.spells";
inline constexpr const char* Income = "investigator.income";
inline constexpr const char* CheckSheet = "tools.checkSheet";
inline constexpr const char* ImproveSkills = "tools.improveSkills";
inline constexpr const char* RandomName = "tools.randomName";
inline constexpr const char* RollDice = "tools.rollDice";
inline constexpr const char* ExportHtml = "file.exportHtml";
inline constexpr const char* ExportVersion1 = "file.exportVersion1";
inline constexpr const char* ExportVersion2 = "file.exportVersion2";
inline constexpr const char* SendMail = "file.sendMail";
} // namespace cmd

class InvestigatorCommands {
public:
    // Registers every command of the table on the document.
    static void install(CInvestigatorDoc& doc);
};

} // namespace vorpane
