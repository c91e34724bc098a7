#include "export/TableFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "export/NumberFormat.h"
#include "libs/mondata/model/TimestepData.h"

namespace owl {

namespace {
// Powers of ten from 1e-300 to 1e300, each correctly rounded.
struct PowersOfTen {
    static constexpr int kLowest = -300, kHighest = 300;
    double values[kHighest - kLowest + 1];
    PowersOfTen() {
        for (int k = kLowest; k <= kHighest; ++k) values[k - kLowest] = std::pow(10.0, k);
    }
    double operator()(int k) const { return values[k - kLowest]; }
};
const PowersOfTen kPowersOfTen;

// "%.8e" of a double, the values of solver text: nine significant digits
// from one scaling, value * 10^(8 - e), whose two roundings put the result
// within 3e-7 of the exact product (below 1e9). Where that leaves the
// rounding in doubt (a fraction within 1e-6 of one half, an exact tie
// among them) and outside 1e-290..1e290 it returns null: the general
// formatter decides.
char* scientific8(double value, char* out) {
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-290 && magnitude <= 1e290)) return nullptr;
    uint64_t bits = 0;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int binary =
        static_cast<int>(bits >> 52) - 1023;  // magnitude in [2^binary, 2^(binary+1))
    int decimal = static_cast<int>(std::floor(binary * 0.30102999566398120));
    double scaled = magnitude * kPowersOfTen(8 - decimal);
    if (scaled >= 1e9) scaled = magnitude * kPowersOfTen(8 - ++decimal);
    if (scaled < 1e8) return nullptr;
    const double whole = std::floor(scaled), fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) < 1e-6) return nullptr;
    auto digits = static_cast<uint32_t>(whole) + (fraction > 0.5 ? 1 : 0);
    if (digits == 1000000000) {
        digits = 100000000;
        ++decimal;
    }
    if (value < 0) *out++ = '-';
    *out++ = static_cast<char>('0' + digits / 100000000);
    *out++ = '.';
    digits %= 100000000;
    for (uint32_t unit = 1000000; unit > 0; unit /= 100) {
        const uint32_t pair = digits / unit;
        digits -= pair * unit;
        *out++ = static_cast<char>('0' + pair / 10);
        *out++ = static_cast<char>('0' + pair % 10);
    }
    *out++ = 'e';
    *out++ = decimal < 0 ? '-' : '+';
    const int exponent = decimal < 0 ? -decimal : decimal;
    if (exponent >= 100) *out++ = static_cast<char>('0' + exponent / 100);
    *out++ = static_cast<char>('0' + exponent / 10 % 10);
    *out++ = static_cast<char>('0' + exponent % 10);
    return out;
}
}  // namespace

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
    if (digits == 8)
        if (char* end = scientific8(value, out)) return end;
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
