#include "libs/exception/Error.h"

#include <utility>

namespace owl {

Error::Error(std::string className, std::string operation, std::string message, errorType type)
    : className_(std::move(className)),
      operation_(std::move(operation)),
      message_(std::move(message)),
      type_(type) {}

Error::~Error() = default;

std::string Error::getErrorText() const {
    return message_;
}

internal::error::~error() = default;
data::error::~error() = default;
data::notFound::~notFound() = default;
data::noRecordsYet::~noRecordsYet() = default;

}  // namespace owl
