#pragma once
// The three eras of play. An era index (0, 1 or 2) names one era: an investigator's, a
// new-document entry's. EraFlags is a set of eras, one bit per index, as rule files give it for
// skills, weapons and occupations.

namespace vorpane {

constexpr int kEraCount = 3;

// Era indexes.
constexpr int kEraIndex1890s = 0;
constexpr int kEraIndex1920s = 1;
constexpr int kEraIndex1990s = 2;

// Era flags: bit 1 the 1890s, 2 the 1920s, 4 the 1990s.
using EraFlags = int;
constexpr EraFlags eraFlag(int index) { return 1 << index; }
constexpr EraFlags kEraFlag1890s = eraFlag(kEraIndex1890s);
constexpr EraFlags kEraFlag1920s = eraFlag(kEraIndex1920s);
constexpr EraFlags kEraFlag1990s = eraFlag(kEraIndex1990s);
constexpr EraFlags kAllEraFlags = kEraFlag1890s | kEraFlag1920s | kEraFlag1990s;

// Whether the set holds the era with this index; never for an index out of range.
constexpr bool hasEra(EraFlags eras, int index)
{
    return index >= 0 && index < kEraCount && (eras & eraFlag(index)) != 0;
}

} // namespace vorpane
