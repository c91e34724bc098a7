#pragma once
// Turns a QString into the bytes the documents carry: UTF-8, so that names
// outside ASCII survive unchanged.

#include <QString>
#include <string>

namespace owl {

std::string MakeStdString(const QString& text);

}  // namespace owl
