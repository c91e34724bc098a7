#pragma once
// Writing values into command-language text so that they read back unchanged.

#include <QString>

namespace owl {

// The value as it is written after "Parameter =": as it is when it reads back
// the same, otherwise as a quoted text with \" \\ \n \t escapes.
QString rclValue(const QString& value);

// An object name that the language can hold: '/', ':' and control characters
// become blanks and the ends are trimmed; a name left empty becomes fallback.
QString rclObjectName(const QString& name, const QString& fallback);

// The path of the object "TYPE: name" directly under the object at path.
QString rclChildPath(const QString& path, const QString& type, const QString& name);

}  // namespace owl
