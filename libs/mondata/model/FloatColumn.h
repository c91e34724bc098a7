#pragma once
// A variable's values, one float per record (one double for a variable held
// in double precision, see VariableInfo::Precision). Its memory comes in
// large blocks, so that the columns of a run, reserved together, lie side by
// side on a few large pages.

#include <vector>

#include "libs/system/LargeBlocks.h"

namespace mon {

using FloatColumn = std::vector<float, owl::LargeBlockAllocator<float>>;
using DoubleColumn = std::vector<double, owl::LargeBlockAllocator<double>>;

}  // namespace mon
