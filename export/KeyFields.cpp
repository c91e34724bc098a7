#include "export/KeyFields.h"

namespace keyfields {
const std::string kAccumulatedTimestep = "ACCUMULATED TIMESTEP";
const std::string kCoefficientLoop = "COEFFICIENT LOOP";

RecordKey recordKeyOf(const std::string& name) {
    if (name == kAccumulatedTimestep) return RecordKey::Step;
    if (name == kCoefficientLoop) return RecordKey::Loop;
    return RecordKey::None;
}
}  // namespace keyfields
