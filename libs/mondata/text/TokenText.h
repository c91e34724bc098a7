#pragma once
// How the text readers trim a field and quote a token in their messages.

#include <string>
#include <string_view>

namespace mon {

// The text without the blanks, tabs and carriage returns around it.
std::string_view trimmedField(std::string_view text);

// A token as a message quotes it: its first 40 bytes (and "..." when it is
// longer), control characters escaped, between apostrophes, so that a
// report stays on one line whatever the file holds.
std::string quotedToken(std::string_view token);

}  // namespace mon
