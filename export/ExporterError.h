#pragma once
// The exporter's own failures: owl::internal::error raised under the class
// name "RunHistoryWriter" with error type 4.

#include <string>

#include "libs/exception/Error.h"

namespace exporter {

[[noreturn]] inline void raise(const std::string& operation, const std::string& message) {
    throw owl::internal::error("RunHistoryWriter", operation, message, owl::errorFatal);
}

}  // namespace exporter
