#pragma once
// The study's own failures: owl::internal::error under the class name "Study".

#include <string>

#include "libs/exception/Error.h"

namespace study {

[[noreturn]] inline void raise(const std::string& operation, const std::string& message) {
    throw owl::internal::error("Study", operation, message, owl::errorFatal);
}

}  // namespace study
