#pragma once
// Reading decimal numbers out of table lines, linear-scale texts and labels
// without allocating: [blanks] [sign] digits [. digits] [e|E [sign] digits].

#include <string_view>

namespace tamble::decimal {

inline bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Reads one number at the start of `text` (after blanks). On success stores
// it, advances `text` past it and returns true; otherwise leaves both alone.
// Values beyond the single-precision range do not count as numbers.
bool ReadNumber(std::string_view& text, float& value);

// The number the leading part of `text` makes, blanks around it ignored;
// 0 when it starts with no number.
float LeadingNumber(std::string_view text);

} // namespace tamble::decimal
