#pragma once
// How the commands spell a run's names as bytes. Our own formats (results
// file, run directory, monitor file) have always been written in Latin-1,
// '?' for a character beyond it; what solvers write (OpenFOAM, SU2, CGNS) is
// UTF-8 text, and its names are written as they were read, every character
// kept. Names given to the commands (-varlist, -varrule) are read in the
// run's encoding, so that a name is found as it is written.

namespace mon {

enum class NameEncoding { Latin1, Utf8 };

}  // namespace mon
