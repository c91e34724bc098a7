#include "export/KeyFields.h"

namespace keyfields {
const std::string kAccumulatedTimestep = "ACCUMULATED TIMESTEP";
const std::string kCoefficientLoop = "COEFFICIENT LOOP";
}  // namespace keyfields
