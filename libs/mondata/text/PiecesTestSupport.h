#pragma once
// For parser tests: a text given to a parser in pieces, as a block reader
// gives a file.

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace mon::testing {

// Calls parseLines on text in pieces of pieceBytes: each call returns how
// many bytes of complete lines it took, and what it leaves unread comes again
// at the start of the next call.
template <typename ParseLines>
void feedInPieces(std::string_view text, size_t pieceBytes, ParseLines parseLines) {
    size_t start = 0;
    for (size_t end = pieceBytes; start < text.size(); end += pieceBytes) {
        end = std::min(end, text.size());
        start += parseLines(text.substr(start, end - start));
        if (end == text.size()) break;
    }
}

}  // namespace mon::testing
