#include "export/TableFormat.h"

#include <charconv>

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

char* TableFormat::keyField(int32_t whole, char* out) const {
    return std::to_chars(out, out + 11, whole).ptr;
}

void TableFormat::appendLine(const std::vector<TableField>& fields, std::string& text) const {
    const size_t start = text.size();
    text.resize(start + maxLineBytes(fields.size()));
    char* out = &text[start];
    for (size_t column = 0; column < fields.size(); ++column) {
        if (column > 0) *out++ = ',';
        const TableField& f = fields[column];
        out = f.key ? keyField(*f.key, out) : field(f.value, f.integer, out);
    }
    *out++ = '\n';
    text.resize(static_cast<size_t>(out - text.data()));
}

}  // namespace owl
