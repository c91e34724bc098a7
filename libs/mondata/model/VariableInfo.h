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
    // How a run holds the values. The values of our own formats are floats.
    // Values that solvers write as text (OpenFOAM, SU2) are doubles, so that
    // 0.05 stays 0.05 and is not written as the float 5.00000007e-02. Times
    // (TIME, and any time a reader merges sources on) are doubles too, so
    // that the consecutive times of a small time step late in a run stay
    // apart (20.000001 and 20.000002 are one float); the tables write a time
    // with the digits that tell its values apart, any other double with the
    // table's precision.
    enum class Precision { Float, Double, Time };

    QString name;
    Attributes attributes;
    Precision precision = Precision::Float;

    // The value of an attribute, or a null QString when it is not declared.
    QString attribute(const QString& key) const { return attributeOf(attributes, key); }
    // Whether the values are log10 values (scale = log10).
    bool holdsLog10() const { return attribute(scaleKey()) == log10Scale(); }
    bool holdsDoubles() const { return precision != Precision::Float; }
    // Whether it declares itself the simulation time (category and
    // subcategory TIME), as every reader declares the time it holds in
    // Precision::Time: a results file's 64-bit values say no more.
    bool declaresSimulationTime() const {
        return attribute(QStringLiteral("category")) == QLatin1String("TIME") &&
               attribute(QStringLiteral("subcategory")) == QLatin1String("TIME");
    }
};

}  // namespace mon
