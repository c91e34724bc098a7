#pragma once
// Parameters named in the runs' paths. A path component is cut at commas
// into pieces, each "name=value" or "name_value" (name: a letter, then
// letters, digits or '_'; with '_', the value is what follows the last '_'):
// "re=1e6,M=0.3" names two parameters. A file name's extension of letters
// does not belong to the value. Leading folders shared by every run (of a
// study of two runs or more) are not looked at. A name=value is a parameter
// wherever a run names it (empty for runs that do not); a name_value, which
// may just as well be a plain name ("wing_v2"), only when every run has
// that name. A run naming a parameter twice gives its deepest value.
// Numbers without a name are never taken for parameters. Columns come in
// the order the runs, by path, first name them.

#include <string>
#include <vector>

#include "study/RunParameters.h"

namespace study {

RunParameters pathParameters(const std::vector<std::string>& runs);

}  // namespace study
