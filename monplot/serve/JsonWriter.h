#pragma once
// Writes JSON text as it is built: containers, keys and values in order,
// commas placed by the writer. Non-finite numbers, which JSON lacks, are
// written as null (the data answers carry them as markers instead).
//
//     JsonWriter json;
//     json.beginObject().key("step").number(12).key("name").string("p").endObject();

#include <cstdint>
#include <string>
#include <vector>

namespace serve {

class JsonWriter {
  public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(const std::string& name);
    JsonWriter& string(const std::string& text);
    // Shortest text that reads back as the same double ("%.17g" at most).
    JsonWriter& number(double value);
    // With at most `digits` significant digits: floats need 9.
    JsonWriter& number(double value, int digits);
    JsonWriter& integer(int64_t value);
    JsonWriter& boolean(bool value);
    JsonWriter& null();
    // A value written before by another JsonWriter, as it is.
    JsonWriter& value(const std::string& json);

    const std::string& text() const { return out_; }

  private:
    void separate();

    std::string out_;
    std::vector<bool> empty_;  // per open container: nothing in it yet
    bool afterKey_ = false;
};

// The text in JSON quotes, with the escapes JSON requires (and '<', '>',
// '&' escaped, so that no text reads as markup).
std::string quoted(const std::string& text);

}  // namespace serve
