#pragma once
// Reads the text of a monitor file (format described in docs/formats.md) into
// a RunDataBuilder, in one pass over the bytes. Errors are owl::data::error
// whose message reads "FILE:LINE: what is wrong".

#include <QHash>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "libs/mondata/RunDataBuilder.h"

namespace mon {

class MonitorFileParser {
  public:
    // A file that is not the first segment of its run must agree with the
    // earlier ones on whether records carry coefficient loops.
    MonitorFileParser(RunDataBuilder& builder, std::string fileName, bool firstSegment);

    // Parses the whole text. A last line without a line end is still being
    // written by the solver and is ignored.
    void parse(std::string_view text);

    // Parses the complete lines of the next piece of the file and returns
    // how many bytes they take; the rest, an unfinished line, is to be given
    // again with the piece that follows it.
    size_t parseLines(std::string_view text);
    // Whether the first line was complete, and the error if not.
    bool hasFirstLine() const { return lineNumber_ > 0; }
    void requireFirstLine() const;

  private:
    void parseHeader(std::string_view line);
    void parseLine(std::string_view line);
    void parseRecord(std::string_view line);
    void parseValues(std::string_view values);
    void parseDeclaration(std::string_view line);
    float parseValue(std::string_view token, size_t field) const;
    void checkMemory() const;
    [[noreturn]] void fail(const std::string& what) const;

    RunDataBuilder& builder_;
    std::string fileName_;
    bool firstSegment_;
    size_t lineNumber_ = 0;
    std::vector<int> columnOfField_;         // this file's fields, in declaration order
    QHash<QString, size_t> declaredOnLine_;  // names declared in this file
};

}  // namespace mon
