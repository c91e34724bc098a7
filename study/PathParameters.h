#pragma once
// Parameters named in the runs' paths: a path component "name=value" or
// "name_value" (name: a letter, then letters, digits or '_'; with '_', the
// value is what follows the last '_'). A file name's extension of letters
// does not belong to the value. Leading folders shared by every run (of a
// study of two runs or more) are not looked at, and a name is a parameter
// only when every run's path has it; a run naming it twice gives its
// deepest value. Numbers without a name are never taken for parameters.

#include <string>
#include <vector>

#include "study/RunParameters.h"

namespace study {

RunParameters pathParameters(const std::vector<std::string>& runs);

}  // namespace study
