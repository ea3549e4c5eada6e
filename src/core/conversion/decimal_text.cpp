#include "conversion/decimal_text.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <system_error>

namespace tamble::decimal {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Length of the longest prefix of `s` that is a decimal number, 0 if none.
std::size_t NumberLength(std::string_view s)
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        std::size_t j = i + 1;
        std::size_t fraction = 0;
        while (j < s.size() && IsDigit(s[j])) {
            ++j;
            ++fraction;
        }
        if (digits + fraction > 0) {
            i = j;
            digits += fraction;
        }
    }
    if (digits == 0)
        return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        const std::size_t expStart = j;
        while (j < s.size() && IsDigit(s[j]))
            ++j;
        if (j > expStart)
            i = j;
    }
    return i;
}

} // namespace

bool ReadNumber(std::string_view& text, float& value)
{
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    const std::string_view rest = text.substr(pos);
    const std::size_t len = NumberLength(rest);
    if (len == 0)
        return false;
    // from_chars takes no leading '+'.
    const std::size_t skip = rest[0] == '+' ? 1 : 0;
    float parsed = 0.0f;
    const char* first = rest.data() + skip;
    const char* last = rest.data() + len;
    const auto [ptr, ec] = std::from_chars(first, last, parsed);
    if (ec != std::errc() || ptr != last || !std::isfinite(parsed))
        return false;
    value = parsed;
    text.remove_prefix(pos + len);
    return true;
}

float LeadingNumber(std::string_view text)
{
    float value = 0.0f;
    return ReadNumber(text, value) ? value : 0.0f;
}

} // namespace tamble::decimal
