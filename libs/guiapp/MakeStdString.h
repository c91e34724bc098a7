#pragma once
// Turns a QString into the bytes the documents carry: UTF-8, so that names
// outside ASCII survive unchanged. A lone surrogate, which UTF-8 cannot
// encode, becomes U+FFFD (the replacement character), as the documents write
// every character they cannot carry; never a '?' that would pass for data.

#include <QString>
#include <string>

namespace owl {

std::string MakeStdString(const QString& text);

}  // namespace owl
