#pragma once
// Near misses of a name among the names that exist, for "did you mean"
// hints: a misspelt option, a variable name the run spells otherwise.

#include <string>
#include <string_view>
#include <vector>

namespace owl {

// The edits (insert, delete or replace a character, swap two neighbours)
// that turn a into b, ignoring ASCII case: "convergd" is 1 from "Converged".
size_t editDistance(std::string_view a, std::string_view b);

// The positions in names of the names nearest to wanted, in their order
// there, at most limit of them. A name's distance is the fewest edits from
// wanted to the name or to one of its last words ("Cd" is 0 edits from
// "forceCoeffs Cd"); only the nearest count, and only when they are at most
// two edits away and fewer than either text has characters (so "p" is near
// "P" but not "k"). Empty when no name is that near.
std::vector<size_t> nearestNames(std::string_view wanted, const std::vector<std::string>& names,
                                 size_t limit = 5);

// An option name without its leading "-" or "--", the part a misspelling
// is measured on.
std::string_view optionStem(std::string_view argument);

// The options nearest to an argument that starts with '-' (see nearestNames),
// compared by their stems; empty for any other argument.
std::vector<size_t> nearestOptions(std::string_view argument,
                                   const std::vector<std::string>& options);

// "'a'", "'a' or 'b'", "'a', 'b' or 'c'".
std::string quotedChoices(const std::vector<std::string>& names);

// "Unknown option '-convergd': did you mean '-converged'?" when near holds
// names, else "Unknown option '-x'" followed by otherwise.
std::string unknownOptionText(std::string_view argument, const std::vector<std::string>& near,
                              const std::string& otherwise);

}  // namespace owl
