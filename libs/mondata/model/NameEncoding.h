#pragma once
// How the commands spell a run's names as bytes. Our own formats (results
// file, run directory, monitor file) have always been written in Latin-1,
// and still are where Latin-1 spells every name of the run; a run with a
// name beyond it is written in UTF-8, whole, so that no name loses a
// character. What solvers write (OpenFOAM, SU2, CGNS) is UTF-8 text, and
// its names are written as they were read, every character kept. Names given to the commands (-varlist, -varrule) are read in the
// run's encoding, so that a name is found as it is written.

namespace mon {

enum class NameEncoding { Latin1, Utf8 };

}  // namespace mon
