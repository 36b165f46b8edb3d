#include "ui/common/tag_number.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace tavlo {

namespace {

bool IsSkipped(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int DigitValue(char c, int base)
{
    int value = -1;
    if (IsDigit(c))
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

// The text without the characters that are skipped, cut at the first
// character outside ASCII: none of those can belong to a number.
std::string Compact(QStringView text)
{
    std::string compact;
    for (const QChar c : text) {
        if (IsSkipped(c))
            continue;
        if (c.unicode() > 0x7F)
            break;
        compact.push_back(static_cast<char>(c.unicode()));
    }
    return compact;
}

double ReadRadix(const std::string& s, std::size_t pos, int base)
{
    double value = 0;  // a double saturates to infinity instead of wrapping
    for (; pos < s.size(); ++pos) {
        const int digit = DigitValue(s[pos], base);
        if (digit < 0)
            break;
        value = value * base + digit;
    }
    return value;
}

double ReadDecimal(const std::string& s)
{
    std::size_t pos = 0;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-'))
        ++pos;
    std::size_t digits = 0;
    for (; pos < s.size() && IsDigit(s[pos]); ++pos)
        ++digits;
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        for (; pos < s.size() && IsDigit(s[pos]); ++pos)
            ++digits;
    }
    if (digits == 0)
        return 0;
    std::size_t end = pos;
    bool negativeExponent = false;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
        std::size_t exp = pos + 1;
        if (exp < s.size() && (s[exp] == '+' || s[exp] == '-')) {
            negativeExponent = s[exp] == '-';
            ++exp;
        }
        if (exp < s.size() && IsDigit(s[exp])) {  // "1e" alone is just 1
            while (exp < s.size() && IsDigit(s[exp]))
                ++exp;
            end = exp;
        }
    }
    // from_chars, unlike strtod, does not take a leading "+" and ignores the
    // locale that the application has set.
    const bool negative = s[0] == '-';
    const std::size_t first = (s[0] == '+' || s[0] == '-') ? 1 : 0;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(s.data() + first, s.data() + end, value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range)
        value = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
    return negative ? -value : value;
}

}  // namespace

double ReadTagNumber(QStringView text)
{
    const std::string s = Compact(text);
    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'h' || s[1] == 'H')
            return ReadRadix(s, 2, 16);
        if (s[1] == 'o' || s[1] == 'O')
            return ReadRadix(s, 2, 8);
        return 0;
    }
    return ReadDecimal(s);
}

std::int16_t TagLimit(double value)
{
    if (std::isnan(value))
        return 0;
    double rounded = std::floor(value);
    const double fraction = value - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0))
        rounded += 1.0;
    if (rounded > std::numeric_limits<std::int16_t>::max())
        return std::numeric_limits<std::int16_t>::max();
    if (rounded < std::numeric_limits<std::int16_t>::min())
        return std::numeric_limits<std::int16_t>::min();
    return static_cast<std::int16_t>(rounded);
}

}  // namespace tavlo
