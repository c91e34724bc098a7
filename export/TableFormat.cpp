#include "export/TableFormat.h"

#include <algorithm>
#include <charconv>

#include "export/NumberFormat.h"
#include "libs/mondata/model/TimestepData.h"

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

char* TableFormat::doubleField(double value, int digits, char* out) const {
    if (value == FLT_MAX) return out;
    return numberformat::formatScientificDouble(value, digits, out);
}

int TableFormat::digitsOf(const TimestepData& variable) const {
    if (!variable.holdsDoubles()) return 0;
    if (variable.precision() != mon::VariableInfo::Precision::Time) return precision_;
    const mon::DoubleColumn& values = variable.doubleValues();
    return numberformat::digitsToTellApart(values.data(), values.size(), precision_);
}

size_t TableFormat::extraFieldBytes(int digits) const {
    const int room = numberformat::maxFieldBytes(precision_);
    return static_cast<size_t>(std::max(0, numberformat::maxFieldBytes(digits) - room));
}

char* TableFormat::keyField(int32_t whole, char* out) const {
    return std::to_chars(out, out + 11, whole).ptr;
}

void TableFormat::appendLine(const std::vector<TableField>& fields, std::string& text) const {
    const size_t start = text.size();
    size_t room = maxLineBytes(fields.size());
    for (const TableField& f : fields) room += extraFieldBytes(f.digits);
    text.resize(start + room);
    char* out = &text[start];
    for (size_t column = 0; column < fields.size(); ++column) {
        if (column > 0) *out++ = ',';
        const TableField& f = fields[column];
        out = f.key          ? keyField(*f.key, out)
              : f.digits > 0 ? doubleField(f.value, f.digits, out)
                             : field(static_cast<float>(f.value), f.integer, out);
    }
    *out++ = '\n';
    text.resize(static_cast<size_t>(out - text.data()));
}

}  // namespace owl
