// Number <-> text conversions of script values.

#include "script/value_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vorpane::script {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Longest "%f" text: sign, 309 integer digits, point, six decimals.
constexpr size_t kFloatTextSize = 330;

} // namespace

int32_t leadingInteger(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t magnitude = 0;
    constexpr int64_t limit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    if (negative)
        return int32_t(-magnitude);
    return magnitude >= limit ? std::numeric_limits<int32_t>::max() : int32_t(magnitude);
}

double leadingFloat(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    size_t start = i;
    size_t digits = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0.0;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t e = i + 1;
        bool minus = false;
        if (e < text.size() && (text[e] == '+' || text[e] == '-'))
            minus = text[e++] == '-';
        if (e < text.size() && isDigit(text[e])) {
            while (e < text.size() && isDigit(text[e]))
                ++e;
            i = e;
            negativeExponent = minus;
        }
    }
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(text.data() + start, text.data() + i, value, std::chars_format::general);
    (void)ptr;
    if (ec == std::errc::result_out_of_range)
        value = negativeExponent ? 0.0 : HUGE_VAL;
    else if (ec != std::errc())
        value = 0.0;
    return negative ? -value : value;
}

int32_t floatToInteger(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return int32_t(value);
}

uint32_t floatToUnsigned(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 4294967295.0)
        return std::numeric_limits<uint32_t>::max();
    if (value > -1.0)
        return value > 0.0 ? uint32_t(value) : 0u;
    return uint32_t(floatToInteger(value));
}

void appendInteger(std::string& out, int32_t value)
{
    char buffer[16];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendUnsigned(std::string& out, uint32_t value)
{
    char buffer[16];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendFloat(std::string& out, double value)
{
    char buffer[kFloatTextSize];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    char* end = result.ptr;
    if (result.ec != std::errc()) {
        out += "0";
        return;
    }
    bool hasPoint = false;
    for (char* p = buffer; p != end; ++p)
        hasPoint |= *p == '.';
    if (hasPoint) {
        while (end[-1] == '0')
            --end;
        if (end[-1] == '.')
            --end;
    }
    // A tiny negative number keeps its sign: -0.0000001 gives "-0", as "%f" trimmed does.
    out.append(buffer, end);
}

} // namespace vorpane::script
