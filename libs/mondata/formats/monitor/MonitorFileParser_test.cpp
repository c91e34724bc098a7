#include "libs/mondata/formats/monitor/MonitorFileParser.h"

#include <gtest/gtest.h>

#include <string>

#include "libs/exception/Error.h"
#include "tests/CommandRunner.h"
#include "tests/RunText.h"

namespace {

const std::string kLoops = "monitor-file 1 coefficient-loops\n";
const std::string kSteady = "monitor-file 1\n";

mon::RunData parse(const std::string& text, const std::string& file = "run.mon") {
    mon::RunDataBuilder builder;
    mon::MonitorFileParser(builder, file, true).parse(text);
    return builder.finish();
}

using e2e::errorOf;

std::string parseError(const std::string& text, const std::string& file = "run.mon") {
    return errorOf([&] { parse(text, file); });
}

using testing_run::describe;

// Known answers: the text after the header line, and the run it gives
// ("STEP/LOOPS: LOOP VALUES; ..." per step). An unfinished last line: the
// block reader's tests and the end-to-end monitor source tests.
struct Parsed {
    const char* what;
    std::string text;
    const char* run;
};

TEST(MonitorFileParser, ReadsEveryKindOfLineIntoTheRun) {
    const Parsed cases[] = {
        {"declarations, comments, quoted names, tabs",
         kLoops + "# comment\n\nvar \"P-Vol; \\\"a\\\", b\" label=\"P at A\" category=MONITOR\n"
                  "var U-Mom CATEGORY=RESIDUAL subcategory=RMS\n1 1 1.5 -2\n  1 2\t2.5 -\n",
         "loops\nvar P-Vol; \"a\", b label=P at A category=MONITOR\n"
         "var U-Mom category=RESIDUAL subcategory=RMS\n1/2: 1 1.5 -2; 2 2.5 -;\n"},
        {"short records and late declarations leave values missing",
         kSteady + "var A\nvar B\n1 10\nvar C\n2 20 21 22\n3\n",
         "steady\nvar A\nvar B\nvar C\n1: 10 - -;\n2: 20 21 22;\n3: - - -;\n"},
        {"special values, signs, underflow",
         kSteady + "var A\n1 nan\n2 -inf\n3 +1.5\n4 1e-60\n5 -nan\n6 Inf\n",
         "steady\nvar A\n1: nan;\n2: -inf;\n3: 1.5;\n4: 0;\n5: -nan;\n"
         "6: inf;\n"},
        {"a restart replaces the later records",
         kLoops + "var A\n1 1 11\n1 2 12\n2 1 21\n2 2 22\n3 1 31\n2 2 -22\n2 3 -23\n",
         "loops\nvar A\n1/2: 1 11; 2 12;\n2/3: 1 21; 2 -22; 3 -23;\n"},
        {"a repeated step in a steady run is a restart", kSteady + "var A\n1 1\n2 2\n3 3\n2 -2\n",
         "steady\nvar A\n1: 1;\n2: -2;\n"},
        {"skipped loops are not stored", kLoops + "var A\n4 3 43\n5 100000 5\n",
         "loops\nvar A\n4/3: 3 43;\n5/100000: 100000 5;\n"},
    };
    for (const Parsed& c : cases) EXPECT_EQ(describe(parse(c.text)), c.run) << c.what;
}

// Values that are no number, records too long and names declared twice: the
// tests of errors deep in a file, and the run directory's.
TEST(MonitorFileParser, ReportsFileLineAndReason) {
    const std::string h = kLoops, s = kSteady;
    const std::pair<std::string, std::string> cases[] = {
        {"monitor-file 2\n", "run.mon:1: unsupported monitor file version '2' (expected 1)"},
        {"monitor-file 1 loops\n", "run.mon:1: unknown header flag 'loops'"},
        {h + "1 0\n", "run.mon:2: coefficient loop '0' is not a whole number from 1 to 100000"},
        {h + "-1 1\n",
         "run.mon:2: unexpected text '-1 1'; expected a record, a 'var' declaration "
         "or a comment"},
        {h + "var \"\"\n", "run.mon:2: variable name must not be empty"},
        {h + "var \"A\n",
         "run.mon:2: variable name: quoted text starting at column 5 is not closed"},
        {h + "var A label\n", "run.mon:2: expected an attribute key=value at column 7"},
        {h + "var A x=1 X=2\n", "run.mon:2: attribute 'X' of variable 'A' is given twice"},
        {h + "var \"ACCUMULATED TIMESTEP\"\n",
         "run.mon:2: 'ACCUMULATED TIMESTEP' is the name of a record key and cannot be declared"},
        // Names and tokens are quoted with their control characters escaped
        // (names in the end-to-end tests), so that every report stays on one line.
        {s + "var \"a\\tb\"\nvar \"a\\tb\"\n",
         "run.mon:3: variable 'a\\tb' is already declared on line 2"},
        {s + "var A\n1 \x7f\x1b[2J\r\n",
         "run.mon:3: value '\\x7f\\x1b[2J' of variable 'A' is not a number"},
        {s + "var A\n1 \x0b" + std::string(45, 'x') + "\n",
         "run.mon:3: value '\\x0b" + std::string(39, 'x') + "...' of variable 'A' is not a number"},
    };
    for (const auto& [text, message] : cases) EXPECT_EQ(parseError(text), message) << text;
    EXPECT_EQ(parseError("monitor-file 2\n", "dir/seg\nment\t1.mon"),
              "dir/seg\\nment\\t1.mon:1: unsupported monitor file version '2' (expected 1)");
}

// Matching variables by name across segments: the run directory's tests.
TEST(MonitorFileParser, LaterSegmentsMustAgreeOnLoops) {
    mon::RunDataBuilder other;
    mon::MonitorFileParser(other, "a.mon", true).parse(kSteady);
    EXPECT_EQ(errorOf([&] { mon::MonitorFileParser(other, "b.mon", false).parse(kLoops); }),
              "b.mon:1: records carry coefficient loops, but the earlier segments' do not");
}

// Parses on that many workers, in pieces of about that many bytes, the text
// given in blocks of blockBytes as the file reader gives it.
mon::RunData parseInPieces(const std::string& text, unsigned workers, size_t pieceBytes,
                           size_t blockBytes) {
    mon::RunDataBuilder builder;
    mon::MonitorFileParser parser(builder, "run.mon", true);
    parser.setWorkers(workers, pieceBytes);
    std::string pending;
    for (size_t at = 0; at < text.size(); at += blockBytes) {
        pending += text.substr(at, blockBytes);
        pending.erase(0, parser.parseLines(pending));
    }
    parser.requireFirstLine();
    return builder.finish();
}

// A run with every kind of line between records: restarts, declarations
// after records, missing and special values, numbers the fast readers leave
// to the general one, comments, blank and CRLF lines, an unfinished end.
std::string mixedRun() {
    std::string text = kLoops + "var A label=\"a\"\r\nvar B\n";
    for (int step = 1; step <= 60; ++step) {
        for (int loop = 1; loop <= 3; ++loop)
            text += std::to_string(step) + " " + std::to_string(loop) + " " +
                    std::to_string(step * 0.001 + loop) + "e-03 -7.5281453e-01" +
                    (step > 20 ? " 1e-03" : "") + (loop == 2 ? "\r\n" : "\n");
        if (step == 20) text += "var C units=m\n# comment\n\n";
        if (step == 30) text += "15 2 -1.5e+00 - nan\n16 1 .5 1E5 -0.0\n";
        if (step == 40) text += "\t41 1  2.5e-30\t1.00000001e-22 3\n";
    }
    return text + "61 1 1.0";
}

TEST(MonitorFileParser, PiecesOnAnyNumberOfWorkersGiveTheSameRun) {
    const std::string text = mixedRun();
    const std::string whole = describe(parseInPieces(text, 1, 1 << 20, text.size()));
    ASSERT_NE(whole.find("var C units=m"), std::string::npos);
    for (unsigned workers : {1u, 2u, 4u})
        for (size_t pieceBytes : {1u, 40u, 333u})
            for (size_t blockBytes : {text.size(), size_t(100), size_t(1000)})
                EXPECT_EQ(describe(parseInPieces(text, workers, pieceBytes, blockBytes)), whole)
                    << workers << " workers, pieces of " << pieceBytes << ", blocks of "
                    << blockBytes;
}

// An error found past many pieces has the line number and message it has
// when the file is read a line at a time.
TEST(MonitorFileParser, AnErrorDeepInTheFileKeepsItsLineOnAnyNumberOfWorkers) {
    std::string records;
    for (int step = 1; step <= 500; ++step)
        records += std::to_string(step) + " 1.2345678e-03 -2.5e+00\n";
    const std::string head = kSteady + "var A\nvar B\n" + records;  // 503 lines
    const std::pair<std::string, std::string> cases[] = {
        {"501 1 x2\n", "run.mon:504: value 'x2' of variable 'B' is not a number"},
        {"var B\n", "run.mon:504: variable 'B' is already declared on line 3"},
        {"501 1\r2\n", "run.mon:504: value '1\\r2' of variable 'A' is not a number"},
    };
    for (const auto& [line, message] : cases)
        for (unsigned workers : {1u, 3u})
            for (size_t pieceBytes : {64u, 4096u}) {
                const std::string text = head + line + records;
                EXPECT_EQ(errorOf([&] { parseInPieces(text, workers, pieceBytes, text.size()); }),
                          message)
                    << line << " on " << workers << " workers, pieces of " << pieceBytes;
            }
}

// Columns are sized from the first record's length: a long first record
// makes room for too few records, a short one for too many; neither shows.
TEST(MonitorFileParser, ColumnsSizedFromTheFirstRecordHoldWhateverFollows) {
    const std::string head = kSteady + "var A\nvar B\nvar C\n";
    std::string few = head + "1 1.5 2.5 3.5" + std::string(300, ' ') + "\n";
    std::string many = head + "1 1.5\n";
    std::string fewRun = "steady\nvar A\nvar B\nvar C\n1: 1.5 2.5 3.5;\n";
    std::string manyRun = "steady\nvar A\nvar B\nvar C\n1: 1.5 - -;\n";
    for (int step = 2; step <= 3000; ++step) {
        const std::string n = std::to_string(step);
        few += n + " " + n + "\n";
        many += n + " 1 2 " + n + "\n";
        fewRun += n + ": " + n + " - -;\n";
        manyRun += n + ": 1 2 " + n + ";\n";
    }
    EXPECT_EQ(describe(parse(few)), fewRun);
    EXPECT_EQ(describe(parse(many)), manyRun);
}

}  // namespace
