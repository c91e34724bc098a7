#pragma once
// What monexport -help and --version print on standard output.

// The usage line and every option, as the README lists them.
extern const char* const kUsageText;
// "monexport VERSION".
extern const char* const kVersionText;
