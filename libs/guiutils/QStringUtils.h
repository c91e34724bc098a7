#pragma once
// Small text helpers of the GUI utilities library.

#include <QString>
#include <vector>

namespace QStringUtils {

// Whether a parameter value reads as true: "true", "yes", "on" or "1",
// ignoring case and surrounding blanks. Everything else, the empty text
// included, reads as false.
bool isTrue(const QString& value);

// The texts joined in order with the separator between neighbours; an empty
// sequence gives an empty text.
QString qStringVectorToQString(const std::vector<QString>& texts, char separator);

}  // namespace QStringUtils
