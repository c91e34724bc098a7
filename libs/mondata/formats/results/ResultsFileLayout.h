#pragma once
// Names in a results file's monitor group (layout described in
// docs/formats.md, "Results file").

namespace mon::results {

constexpr const char* kGroup = "monitor";
constexpr const char* kVersion = "version";  // attribute, integer, 1
constexpr int kCurrentVersion = 1;
constexpr const char* kCoefficientLoops = "coefficient_loops";    // attribute, 0 or 1
constexpr const char* kStep = "step";                             // int32 [records]
constexpr const char* kLoop = "loop";                             // int32 [records]
constexpr const char* kVariableNames = "variable_names";          // strings [variables]
constexpr const char* kAttributeVariable = "attribute_variable";  // int32 [attributes]
constexpr const char* kAttributeKey = "attribute_key";            // strings [attributes]
constexpr const char* kAttributeValue = "attribute_value";        // strings [attributes]
constexpr const char* kValues = "values";  // group of float32 [records], named "0", "1", ...

}  // namespace mon::results
