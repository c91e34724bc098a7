#include "export/TableFormat.h"

#include <cfloat>

#include "export/NumberFormat.h"

namespace owl {

size_t TableFormat::maxLineBytes(size_t columns) const {
    return columns * (static_cast<size_t>(numberformat::maxFieldBytes(precision_)) + 1) + 1;
}

char* TableFormat::field(float value, bool integer, char* out) const {
    if (value == FLT_MAX) return out;
    if (integer) return numberformat::formatKeyInteger(value, out);
    if (precision_ == 8) return numberformat::formatScientific8(value, out);
    return numberformat::formatScientific(value, precision_, out);
}

void TableFormat::appendLine(const std::vector<float>& values, const std::vector<bool>& integer,
                             std::string& text) const {
    const size_t start = text.size();
    text.resize(start + maxLineBytes(values.size()));
    char* out = &text[start];
    for (size_t column = 0; column < values.size(); ++column) {
        if (column > 0) *out++ = ',';
        out = field(values[column], integer[column], out);
    }
    *out++ = '\n';
    text.resize(static_cast<size_t>(out - text.data()));
}

}  // namespace owl
