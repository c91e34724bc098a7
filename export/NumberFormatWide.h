#pragma once
// The table's row of fields (formatScientific8Fields) eight values at a
// time with 512-bit vector instructions, where the processor has them.

#include <cstddef>

#include "export/NumberFormat.h"

namespace owl::numberformat::wide {

// Whether this processor and its system run the instructions fields() needs.
bool supported();

// What formatScientific8Fields writes, the same bytes, for processors where
// supported() holds; it may write up to kFieldsOverrun bytes past the end
// it returns, as that does.
char* fields(const float* const* columns, size_t count, size_t record, char* out);

}  // namespace owl::numberformat::wide
