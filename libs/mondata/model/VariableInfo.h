#pragma once
// What a run declares about one variable: its name and its attributes
// (label, category, subcategory, group, path, units and any others), as
// key/value texts. Keys are lower case and unique; their order is the
// declaration's.

#include <QString>
#include <utility>
#include <vector>

namespace mon {

// Key/value pairs in declaration order.
using Attributes = std::vector<std::pair<QString, QString>>;

// The value of an attribute, or a null QString when it is not declared.
inline QString attributeOf(const Attributes& attributes, const QString& key) {
    for (const auto& [k, v] : attributes)
        if (k == key) return v;
    return QString();
}

// The attribute "scale" says how the values relate to what they measure:
// "log10" marks values written as the log10 of the quantity (SU2's
// residuals). A reader sets it only where its format says so; nothing
// guesses it from the values.
inline QString scaleKey() {
    return QStringLiteral("scale");
}
inline QString log10Scale() {
    return QStringLiteral("log10");
}

struct VariableInfo {
    // How a run holds the values. Times (TIME, and any time a reader merges
    // sources on) are doubles, so that the consecutive times of a small time
    // step late in a run stay apart (20.000001 and 20.000002 are one float);
    // every other value is a float.
    enum class Precision { Float, Double };

    QString name;
    Attributes attributes;
    Precision precision = Precision::Float;

    // The value of an attribute, or a null QString when it is not declared.
    QString attribute(const QString& key) const { return attributeOf(attributes, key); }
    // Whether the values are log10 values (scale = log10).
    bool holdsLog10() const { return attribute(scaleKey()) == log10Scale(); }
};

}  // namespace mon
