#pragma once
// Binding the investigator's skills and weapons to the table rows a sheet script placed: after
// every run each placement of a table field (ids 100 to 409) gets its entry, row state and
// enabled flag. The skill table may end with a heading row "A. fuego" and the core firearm skills.

#include <cstdint>

namespace vorpane {

class Investigator;
class SheetLayout;
struct SkillEntry;

// Ids of the computed fields of the investigator sheet.
namespace field_id {
constexpr int32_t kSkill = 100, kSkillCheck = 101, kSkillName = 102, kSkillPercent = 103;
constexpr int32_t kFirearm = 200, kFirearmCheck = 201, kFirearmName = 202, kFirearmPercent = 203,
                  kFirearmDamage = 204, kFirearmRange = 205, kFirearmShots = 206, kFirearmBullets = 207,
                  kFirearmHitPoints = 208, kFirearmMal = 209;
constexpr int32_t kMelee = 300, kMeleeCheck = 301, kMeleeName = 302, kMeleePercent = 303, kMeleeDamage = 304,
                  kMeleeAttacks = 305, kMeleeHitPoints = 306;
constexpr int32_t kWeapon = 400, kWeaponCheck = 401, kWeaponName = 402, kWeaponPercent = 403,
                  kWeaponDamage = 404, kWeaponHitPoints = 405, kWeaponBullets = 406, kWeaponRange = 407,
                  kWeaponAttacks = 408, kWeaponMal = 409;
constexpr int32_t kMaxSan = 500, kZhaldorMythos = 501, kStartingSan = 502, kLuck = 503, kKnow = 504,
                  kIdea = 505, kDamageBonus = 506, kEra = 507;
constexpr int32_t kPortrait = 600;
} // namespace field_id

// The heading of the core firearm rows.
inline constexpr const char* kCoreFirearmHeading = "A. fuego";

// A skill-list entry whose Base is non-empty and starts with 'F'.
bool isCoreFirearm(const SkillEntry& entry);

// Binds every placement of the layout, in placed-list order. shortsheet and showcorefirearms come
// from the layout's sheet parameters.
void bindInvestigatorTables(SheetLayout& layout, const Investigator& inv);

} // namespace vorpane
