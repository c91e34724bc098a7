#pragma once
// Texts that messages quote (file names, variable names, rules) come from
// users and files and may hold any byte. Reports are read line by line, so a
// quoted text must not break a line or hide behind control characters.

#include <string>
#include <string_view>

namespace owl {

// The text with every ASCII control character and DEL written as an escape:
// "\n", "\t", "\r", else "\x" and two hex digits ("\x00", "\x7f"). Every
// other byte, UTF-8 sequences included, is kept.
std::string printable(std::string_view text);

}  // namespace owl
