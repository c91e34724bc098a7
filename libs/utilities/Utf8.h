#pragma once
// Decoding UTF-8 byte strings. Ill-formed input is replaced the way the
// Unicode standard recommends and common decoders do: one U+FFFD for each
// maximal subpart, the longest start of a well-formed sequence that the
// bytes hold (at least one byte). So E2 82 41 gives U+FFFD then "A", and
// C0 AF, where C0 starts no sequence at all, gives two U+FFFD.

#include <QString>
#include <cstddef>
#include <string_view>

namespace owl {
namespace utf8 {

constexpr long kIllFormed = -1;

// The code point at pos, moving pos past it; kIllFormed for an ill-formed
// part, moving pos past that maximal subpart. pos must be below text.size().
long decodeAt(std::string_view text, size_t& pos);

// The text of the bytes, every character kept as it is (a leading U+FEFF, a
// byte-order mark, too) and every maximal ill-formed subpart as one U+FFFD.
QString toQString(std::string_view bytes);

}  // namespace utf8
}  // namespace owl
