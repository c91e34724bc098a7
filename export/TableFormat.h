#pragma once
// The data-line format both tables share: fields separated by ",", an empty
// field where the value is FLT_MAX (no value), key columns as whole numbers,
// other columns in scientific notation, "\n" at the end of each line.

#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TimestepData;

namespace owl {

// One field of a line: a value (FLT_MAX for none), written as a whole number
// when integer; or a record key's exact whole number, written instead. A
// value held in double precision has the digits after the point it is
// written with (see digitsOf); any other value is a float's, with 0.
struct TableField {
    double value = FLT_MAX;
    bool integer = false;
    std::optional<int32_t> key;
    int digits = 0;
};

class TableFormat {
  public:
    // precision: digits after the point of the scientific fields.
    explicit TableFormat(int precision) : precision_(precision) {}

    // The scientific fields' usual precision, which has a faster formatter.
    bool isDefault() const { return precision_ == 8; }

    // Room enough for one line of that many columns, line end included.
    size_t maxLineBytes(size_t columns) const;

    // Writes one field (nothing for FLT_MAX) and returns its end.
    char* field(float value, bool integer, char* out) const;
    // Writes a double in scientific notation with that many digits after
    // the point (nothing for FLT_MAX) and returns its end.
    char* doubleField(double value, int digits, char* out) const;
    // The digits after the point of a variable's fields: for a time, as many
    // as tell each value apart from the one before it, at least the table's
    // precision; for any other variable held in double precision (a value of
    // solver text), the table's precision; 0 for a float.
    int digitsOf(const TimestepData& variable) const;
    // Room for one field of a double written with that many digits, beyond
    // the room maxLineBytes() gives a field.
    size_t extraFieldBytes(int digits) const;

    // Writes a record key's exact whole number and returns its end.
    char* keyField(int32_t whole, char* out) const;

    // Appends one whole line of fields, with its line end, to text.
    void appendLine(const std::vector<TableField>& fields, std::string& text) const;

  private:
    int precision_;
};

}  // namespace owl
