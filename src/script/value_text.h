#pragma once
// Number <-> text conversions of script values. Independent of the C locale, which Qt sets from
// the environment, so that "2.5" never reads or prints as "2,5".

#include <cstdint>
#include <string>
#include <string_view>

namespace vorpane::script {

// The leading decimal integer of a text (blanks, optional sign, digits), 0 if none; saturates.
int32_t leadingInteger(std::string_view text);
// The leading decimal floating number (blanks, sign, digits, fraction, exponent), 0.0 if none.
double leadingFloat(std::string_view text);

// Truncation toward zero with defined results for NaN (0) and out-of-range values (clamped);
// negative values wrap into the unsigned range, as a truncated integer would.
int32_t floatToInteger(double value);
uint32_t floatToUnsigned(double value);

void appendInteger(std::string& out, int32_t value);
void appendUnsigned(std::string& out, uint32_t value);
// "%f", then trailing zeros and a trailing "." removed.
void appendFloat(std::string& out, double value);

} // namespace vorpane::script
