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

struct VariableInfo {
    QString name;
    Attributes attributes;

    // The value of an attribute, or a null QString when it is not declared.
    QString attribute(const QString& key) const { return attributeOf(attributes, key); }
};

}  // namespace mon
