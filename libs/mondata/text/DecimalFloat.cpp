#include "libs/mondata/text/DecimalFloat.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace mon {

namespace {
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxDigits = 19;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

struct Decimal {
    uint64_t mantissa = 0;
    int exponent = 0;  // power of ten
    bool negative = false;
};

// Accumulates a run of digits into the mantissa; returns how many there were.
int readDigits(const char*& p, const char* end, uint64_t& mantissa) {
    const char* start = p;
    for (; p < end && isDigit(*p); ++p) mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
    return static_cast<int>(p - start);
}

bool readExponent(const char*& p, const char* end, Decimal& d) {
    if (p == end || (*p != 'e' && *p != 'E')) return true;
    ++p;
    bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+')) ++p;
    if (p == end || !isDigit(*p)) return false;
    int exponent = 0;
    for (; p < end && isDigit(*p); ++p)
        if (exponent < 10000) exponent = exponent * 10 + (*p - '0');
    d.exponent += negative ? -exponent : exponent;
    return true;
}

// Up to 19 digits in all, leading zeros included, cannot overflow 64 bits;
// longer numbers are left to the general reader.
const char* parse(const char* p, const char* end, Decimal& d) {
    if (p < end && (*p == '-' || *p == '+')) d.negative = *p++ == '-';
    int digits = readDigits(p, end, d.mantissa);
    if (p < end && *p == '.') {
        int fraction = readDigits(++p, end, d.mantissa);
        digits += fraction;
        d.exponent = -fraction;
    }
    return digits > 0 && digits <= kMaxDigits && readExponent(p, end, d) ? p : nullptr;
}
}  // namespace

const char* readDecimalDoublePrefix(const char* begin, const char* end, double& value) {
    Decimal d;
    const char* after = parse(begin, end, d);
    if (!after) return nullptr;
    if (d.mantissa == 0) {
        value = d.negative ? -0.0 : 0.0;
        return after;
    }
    if (d.mantissa > (uint64_t(1) << 53) || d.exponent < -22 || d.exponent > 22) return nullptr;
    double exact = static_cast<double>(d.mantissa);
    exact = d.exponent < 0 ? exact / kPowersOfTen[-d.exponent] : exact * kPowersOfTen[d.exponent];
    value = d.negative ? -exact : exact;
    return after;
}

const char* readDecimalFloatPrefix(const char* begin, const char* end, float& value) {
    double exact = 0;
    const char* after = readDecimalDoublePrefix(begin, end, exact);
    if (!after) return nullptr;
    const float rounded = static_cast<float>(exact);
    if (std::isinf(rounded)) return nullptr;  // out of range: the general reader reports it
    value = rounded;
    return after;
}

namespace {
// A number that the fast path does not take: from_chars, correctly rounded;
// beyond the double range an infinity, below it zero (strtod's answer).
const char* readGeneralDoublePrefix(const char* begin, const char* end, double& value) {
    const char* digits = begin + (begin < end && *begin == '+' && end - begin > 1 &&
                                  begin[1] != '-' && begin[1] != '+');
    auto [stop, ec] = std::from_chars(digits, end, value);
    if (ec == std::errc::invalid_argument) return nullptr;
    if (ec == std::errc::result_out_of_range)
        value = std::strtod(std::string(digits, stop).c_str(), nullptr);
    return stop;
}
}  // namespace

const char* readSolverNumberPrefix(const char* begin, const char* end, double& value) {
    const char* after = readDecimalDoublePrefix(begin, end, value);
    if (after && (after == end || (*after != '.' && !isDigit(*after)))) return after;
    return readGeneralDoublePrefix(begin, end, value);
}

bool readSolverNumber(std::string_view token, double& value) {
    const char* end = token.data() + token.size();
    double read = 0;
    if (token.empty() || readSolverNumberPrefix(token.data(), end, read) != end) return false;
    value = read;
    return true;
}

namespace {
bool equalsIgnoringCase(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size()) return false;
    for (size_t i = 0; i < text.size(); ++i)
        if ((text[i] | 0x20) != lower[i]) return false;
    return true;
}

FloatRead readSpecial(std::string_view word, float& value) {
    if (equalsIgnoringCase(word, "nan"))
        value = std::numeric_limits<float>::quiet_NaN();
    else if (equalsIgnoringCase(word, "inf") || equalsIgnoringCase(word, "infinity"))
        value = std::numeric_limits<float>::infinity();
    else
        return FloatRead::NotANumber;
    return FloatRead::Ok;
}

// An unsigned decimal number, which from_chars reads correctly rounded.
// Below the float range it reports out of range too: that one rounds to 0 or
// a denormal, as the solver's own float would.
FloatRead readGeneral(std::string_view digits, float& value) {
    const char* end = digits.data() + digits.size();
    auto [stop, ec] = std::from_chars(digits.data(), end, value);
    if (stop != end || ec == std::errc::invalid_argument) return FloatRead::NotANumber;
    if (ec != std::errc::result_out_of_range) return FloatRead::Ok;
    const double wide = std::strtod(std::string(digits).c_str(), nullptr);
    if (std::isinf(wide) || std::fabs(wide) > 1.0) return FloatRead::OutOfRange;
    value = static_cast<float>(wide);
    return FloatRead::Ok;
}
}  // namespace

FloatRead readFloatValue(std::string_view token, float& value) {
    if (readDecimalFloat(token, value)) return FloatRead::Ok;
    const bool negative = !token.empty() && token.front() == '-';
    if (!token.empty() && (token.front() == '-' || token.front() == '+')) token.remove_prefix(1);
    const bool decimal = !token.empty() && (isDigit(token.front()) || token.front() == '.');
    float read = 0;
    const FloatRead result = decimal ? readGeneral(token, read) : readSpecial(token, read);
    if (result == FloatRead::Ok) value = negative ? std::copysign(read, -1.0f) : read;
    return result;
}

bool readDecimalFloat(std::string_view token, float& value) {
    const char* end = token.data() + token.size();
    float read = 0;
    if (readDecimalFloatPrefix(token.data(), end, read) != end) return false;
    value = read;
    return true;
}

}  // namespace mon
