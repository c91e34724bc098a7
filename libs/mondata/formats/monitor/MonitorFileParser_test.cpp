#include "libs/mondata/formats/monitor/MonitorFileParser.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>

#include "libs/exception/Error.h"

namespace {

const char* const kLoops = "monitor-file 1 coefficient-loops\n";
const char* const kSteady = "monitor-file 1\n";

mon::RunData parse(const std::string& text) {
    mon::RunDataBuilder builder;
    mon::MonitorFileParser(builder, "run.mon", true).parse(text);
    return builder.finish();
}

std::string parseError(const std::string& text) {
    try {
        parse(text);
    } catch (const owl::Error& e) {
        return e.getErrorText();
    }
    return "(no error)";
}

mon::FloatColumn column(const mon::RunData& run, size_t i) {
    return run.columns.at(i);
}

TEST(MonitorFileParser, ReadsDeclarationsAndRecords) {
    mon::RunData run = parse(std::string(kLoops) +
                             "# comment\n"
                             "\n"
                             "var \"P-Vol; \\\"a\\\", b\" label=\"P at A\" category=MONITOR\n"
                             "var U-Mom CATEGORY=RESIDUAL subcategory=RMS\n"
                             "1 1 1.5 -2\n"
                             "  1 2\t2.5 -\n");
    ASSERT_TRUE(run.hasCoefficientLoops);
    ASSERT_EQ(run.variables.size(), 2u);
    EXPECT_EQ(run.variables[0].name, QStringLiteral("P-Vol; \"a\", b"));
    EXPECT_EQ(run.variables[0].attribute(QStringLiteral("label")), QStringLiteral("P at A"));
    EXPECT_EQ(run.variables[1].attribute(QStringLiteral("category")), QStringLiteral("RESIDUAL"));
    EXPECT_EQ(run.rows->rowCount(), 2);
    EXPECT_EQ(column(run, 0), (mon::FloatColumn{1.5f, 2.5f}));
    EXPECT_EQ(column(run, 1), (mon::FloatColumn{-2.0f, FLT_MAX}));
}

TEST(MonitorFileParser, ShortRecordsAndLateDeclarationsLeaveValuesMissing) {
    mon::RunData run = parse(std::string(kSteady) +
                             "var A\nvar B\n"
                             "1 10\n"
                             "var C\n"
                             "2 20 21 22\n"
                             "3\n");
    EXPECT_EQ(column(run, 0), (mon::FloatColumn{10, 20, FLT_MAX}));
    EXPECT_EQ(column(run, 1), (mon::FloatColumn{FLT_MAX, 21, FLT_MAX}));
    EXPECT_EQ(column(run, 2), (mon::FloatColumn{FLT_MAX, 22, FLT_MAX}));
}

TEST(MonitorFileParser, NineSignificantDigitsReadBackExactly) {
    const float samples[] = {1.17549435e-38f, 3.40282347e+38f, 1.0e-45f,   0.1f,
                             123456.789f,     -9.87654321e-7f, 16777217.0f};
    for (float value : samples) {
        char text[64];
        std::snprintf(text, sizeof text, "%.8e", static_cast<double>(value));
        mon::RunData run = parse(std::string(kSteady) + "var A\n1 " + text + "\n");
        float back = column(run, 0).at(0);
        EXPECT_EQ(std::memcmp(&back, &value, sizeof value), 0) << text;
    }
}

TEST(MonitorFileParser, ValuesTakeEveryDocumentedFormAndNothingElse) {
    mon::RunData run = parse(std::string(kSteady) +
                             "var A\n1 NaN\n2 -nan\n3 Inf\n4 -infinity\n5 .5\n6 5.\n7 1E5\n");
    mon::FloatColumn values = column(run, 0);
    ASSERT_EQ(values.size(), 7u);
    EXPECT_TRUE(std::isnan(values[0]) && !std::signbit(values[0]));
    EXPECT_TRUE(std::isnan(values[1]) && std::signbit(values[1]));
    EXPECT_EQ(values[2], INFINITY);
    EXPECT_EQ(values[3], -INFINITY);
    EXPECT_EQ(values[4], 0.5f);
    EXPECT_EQ(values[5], 5.0f);
    EXPECT_EQ(values[6], 1e5f);
    for (const char* bad : {"nan(1)", "0x1p3", "+-1", "1e", ".", "infinit"})
        EXPECT_EQ(parseError(std::string(kSteady) + "var A\n1 " + bad + "\n"),
                  "run.mon:3: value '" + std::string(bad) + "' of variable 'A' is not a number");
}

TEST(MonitorFileParser, AcceptsSpecialValuesAndUnderflow) {
    mon::RunData run = parse(std::string(kSteady) + "var A\n1 nan\n2 -inf\n3 +1.5\n4 1e-60\n");
    mon::FloatColumn values = column(run, 0);
    EXPECT_TRUE(std::isnan(values[0]));
    EXPECT_EQ(values[1], -INFINITY);
    EXPECT_EQ(values[2], 1.5f);
    EXPECT_EQ(values[3], 0.0f);
}

TEST(MonitorFileParser, IgnoresTheUnfinishedLastLine) {
    mon::RunData run = parse(std::string(kSteady) + "var A\n1 1\n2 2\n3 3.0");
    EXPECT_EQ(run.rows->rowCount(), 2);
    EXPECT_EQ(parse(std::string(kSteady) + "var A\n1 1\nvar B").variables.size(), 1u);
}

TEST(MonitorFileParser, ARestartReplacesTheLaterRecords) {
    mon::RunData run = parse(std::string(kLoops) +
                             "var A\n"
                             "1 1 11\n1 2 12\n2 1 21\n2 2 22\n3 1 31\n"
                             "2 2 -22\n2 3 -23\n");
    const mon::RowIndex& rows = *run.rows;
    ASSERT_EQ(rows.stepCount(), 2);
    EXPECT_EQ(rows.loopCountAt(1), 3);
    EXPECT_EQ(column(run, 0), (mon::FloatColumn{11, 12, 21, -22, -23}));
}

TEST(MonitorFileParser, RepeatedStepInASteadyRunIsARestart) {
    mon::RunData run = parse(std::string(kSteady) + "var A\n1 1\n2 2\n3 3\n2 -2\n");
    EXPECT_EQ(column(run, 0), (mon::FloatColumn{1, -2}));
}

TEST(MonitorFileParser, SkippedLoopsAreNotStored) {
    mon::RunData run = parse(std::string(kLoops) + "var A\n4 3 43\n5 100000 5\n");
    EXPECT_EQ(run.rows->rowCount(), 2);
    EXPECT_EQ(run.rows->loopCountAt(0), 3);
    EXPECT_EQ(run.rows->loopCountAt(1), 100000);
    EXPECT_EQ(column(run, 0), (mon::FloatColumn{43, 5}));
}

TEST(MonitorFileParser, ToleratesCarriageReturns) {
    mon::RunData run = parse("monitor-file 1\r\nvar A\r\n1 2.5\r\n");
    EXPECT_EQ(column(run, 0), (mon::FloatColumn{2.5f}));
}

TEST(MonitorFileParser, ReportsFileLineAndReason) {
    const std::string h = kLoops;
    EXPECT_EQ(parseError(""),
              "run.mon: not a monitor file: it has no complete first line (expected "
              "'monitor-file 1')");
    EXPECT_EQ(parseError("\x7f"
                         "ELF\x02\x01\n"),
              "run.mon:1: not a monitor file: the first line must start with "
              "'monitor-file 1'");
    EXPECT_EQ(parseError("monitor-file 2\n"),
              "run.mon:1: unsupported monitor file version '2' (expected 1)");
    EXPECT_EQ(parseError("monitor-file 1 loops\n"), "run.mon:1: unknown header flag 'loops'");
    EXPECT_EQ(parseError(h + "var A\n1 1 x1\n"),
              "run.mon:3: value 'x1' of variable 'A' is not a number");
    EXPECT_EQ(parseError(h + "var A\n1 1 1e39\n"),
              "run.mon:3: value '1e39' of variable 'A' is outside the single-precision range");
    EXPECT_EQ(parseError(h + "var A\n1 1 1 2\n"),
              "run.mon:3: record has more values than the 1 variables declared so far");
    EXPECT_EQ(parseError(h + "var A\n1\n"),
              "run.mon:3: record of time step 1 has no coefficient loop");
    EXPECT_EQ(parseError(h + "1.5 1\n"),
              "run.mon:2: time step '1.5' is not a whole number from 0 to 2147483647");
    EXPECT_EQ(parseError(h + "99999999999 1\n"),
              "run.mon:2: time step '99999999999' is not a whole number from 0 to 2147483647");
    EXPECT_EQ(parseError(h + "1 0\n"),
              "run.mon:2: coefficient loop '0' is not a whole number from 1 to 100000");
    EXPECT_EQ(parseError(h + "-1 1\n"),
              "run.mon:2: unexpected text '-1 1'; expected a record, a 'var' declaration or a "
              "comment");
    EXPECT_EQ(parseError(h + "var A\nvar A\n"),
              "run.mon:3: variable 'A' is already declared on line 2");
    EXPECT_EQ(parseError(h + "var \"\"\n"), "run.mon:2: variable name must not be empty");
    EXPECT_EQ(parseError(h + "var \"A\n"),
              "run.mon:2: variable name: quoted text starting at column 5 is not closed");
    EXPECT_EQ(parseError(h + "var A label\n"),
              "run.mon:2: expected an attribute key=value at column 7");
    EXPECT_EQ(parseError(h + "var A x=1 X=2\n"),
              "run.mon:2: attribute 'X' of variable 'A' is given twice");
    EXPECT_EQ(parseError(h + "var \"ACCUMULATED TIMESTEP\"\n"),
              "run.mon:2: 'ACCUMULATED TIMESTEP' is the name of a record key and cannot be "
              "declared");
}

// Names and tokens are quoted with their control characters escaped, and so
// is the file name, so that every report stays on one line.
TEST(MonitorFileParser, MessagesEscapeControlCharacters) {
    const std::string h = kSteady;
    EXPECT_EQ(parseError(h + "var \"two\\nlines\"\n1 x\n"),
              "run.mon:3: value 'x' of variable 'two\\nlines' is not a number");
    EXPECT_EQ(parseError(h + "var \"a\\tb\"\nvar \"a\\tb\"\n"),
              "run.mon:3: variable 'a\\tb' is already declared on line 2");
    EXPECT_EQ(parseError(h + "var \"v\\n\" k=1 K=2\n"),
              "run.mon:2: attribute 'K' of variable 'v\\n' is given twice");
    EXPECT_EQ(parseError(h + "var A\n1 \x7f\x1b[2J\r\n"),
              "run.mon:3: value '\\x7f\\x1b[2J' of variable 'A' is not a number");
    EXPECT_EQ(
        parseError(h + "var A\n1 \x0b" + std::string(45, 'x') + "\n"),
        "run.mon:3: value '\\x0b" + std::string(39, 'x') + "...' of variable 'A' is not a number");
    mon::RunDataBuilder builder;
    try {
        mon::MonitorFileParser(builder, "dir/seg\nment\t1.mon", true).parse("monitor-file 2\n");
        FAIL();
    } catch (const owl::Error& e) {
        EXPECT_EQ(e.getErrorText(),
                  "dir/seg\\nment\\t1.mon:1: unsupported monitor file version '2' (expected 1)");
    }
}

TEST(MonitorFileParser, BackslashesThatAreNoEscapeStayInTheText) {
    mon::RunData run = parse(std::string(kSteady) + "var \"C:\\runs\\\\x\" label=\"\\q\\\"\"\n");
    EXPECT_EQ(run.variables.at(0).name, QStringLiteral("C:\\runs\\x"));
    EXPECT_EQ(run.variables.at(0).attribute(QStringLiteral("label")), QStringLiteral("\\q\""));
}

// The text of the UTF-16 code units (QString's own UTF-16 readers drop a
// leading U+FEFF).
QString fromUnits(std::u16string units) {
    QString text;
    for (char16_t unit : units) text += QChar(unit);
    return text;
}

// A byte-order mark is a character like any other: U+FEFF A is not A.
TEST(MonitorFileParser, TextsKeepEveryCharacterAndReplaceEachIllFormedPartOnce) {
    mon::RunData run = parse(std::string(kSteady) +
                             "var A\n"
                             "var \xEF\xBB\xBF"
                             "A label=\xEF\xBB\xBFy\n"
                             "var \"\xE2\x82\x41\" label=\xC0\xAFz\n");
    ASSERT_EQ(run.variables.size(), 3u);
    EXPECT_EQ(run.variables[1].name, fromUnits(u"\uFEFFA"));
    EXPECT_EQ(run.variables[1].attribute(QStringLiteral("label")), fromUnits(u"\uFEFFy"));
    EXPECT_EQ(run.variables[2].name, fromUnits(u"\uFFFDA"));
    EXPECT_EQ(run.variables[2].attribute(QStringLiteral("label")), fromUnits(u"\uFFFD\uFFFDz"));
}

TEST(MonitorFileParser, LaterSegmentsMatchVariablesByNameAndMustAgreeOnLoops) {
    mon::RunDataBuilder builder;
    mon::MonitorFileParser(builder, "a.mon", true).parse("monitor-file 1\nvar A\nvar B\n1 1 2\n");
    mon::MonitorFileParser(builder, "b.mon", false).parse("monitor-file 1\nvar B\nvar C\n2 5 6\n");
    mon::RunData run = builder.finish();
    ASSERT_EQ(run.variables.size(), 3u);
    EXPECT_EQ(run.columns[1], (mon::FloatColumn{2, 5}));
    EXPECT_EQ(run.columns[2], (mon::FloatColumn{FLT_MAX, 6}));

    mon::RunDataBuilder other;
    mon::MonitorFileParser(other, "a.mon", true).parse("monitor-file 1\n");
    try {
        mon::MonitorFileParser(other, "b.mon", false).parse(kLoops);
        FAIL();
    } catch (const owl::Error& e) {
        EXPECT_EQ(e.getErrorText(),
                  "b.mon:1: records carry coefficient loops, but the earlier segments' do not");
    }
}

// Everything a parse leaves in the run, values as bit patterns (NaN
// included), as text to compare.
std::string describe(const mon::RunData& run) {
    std::string text = run.hasCoefficientLoops ? "loops\n" : "steady\n";
    for (const mon::VariableInfo& info : run.variables) {
        text += "var " + info.name.toStdString();
        for (const auto& [key, value] : info.attributes)
            text += " " + key.toStdString() + "=" + value.toStdString();
        text += "\n";
    }
    const mon::RowIndex& rows = *run.rows;
    for (int position = 0; position < rows.stepCount(); ++position)
        for (int64_t r = rows.firstRecordAt(position); r < rows.endRecordAt(position); ++r) {
            text +=
                std::to_string(rows.stepAt(position)) + " " + std::to_string(rows.loopOfRecord(r));
            for (const mon::FloatColumn& values : run.columns) {
                uint32_t bits = 0;
                std::memcpy(&bits, &values.at(static_cast<size_t>(r)), sizeof bits);
                text += " " + std::to_string(bits);
            }
            text += "\n";
        }
    return text;
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

std::string errorInPieces(const std::string& text, unsigned workers, size_t pieceBytes) {
    try {
        parseInPieces(text, workers, pieceBytes, text.size());
    } catch (const owl::Error& e) {
        return e.getErrorText();
    }
    return "(no error)";
}

// A run with every kind of line between records: restarts, declarations
// after records, missing and special values, numbers the fast readers leave
// to the general one, comments, blank and CRLF lines, an unfinished end.
std::string mixedRun() {
    std::string text = std::string(kLoops) + "var A label=\"a\"\r\nvar B\n";
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
    const std::string head = std::string(kSteady) + "var A\nvar B\n" + records;  // 503 lines
    const std::pair<std::string, std::string> cases[] = {
        {"501 1 x2\n", "run.mon:504: value 'x2' of variable 'B' is not a number"},
        {"501 1 2 3\n", "run.mon:504: record has more values than the 2 variables declared so far"},
        {"var B\n", "run.mon:504: variable 'B' is already declared on line 3"},
        {"501 1\r2\n", "run.mon:504: value '1\\r2' of variable 'A' is not a number"},
        {"2147483648 1\n",
         "run.mon:504: time step '2147483648' is not a whole number from 0 to 2147483647"},
    };
    for (const auto& [line, message] : cases)
        for (unsigned workers : {1u, 3u})
            for (size_t pieceBytes : {64u, 4096u})
                EXPECT_EQ(errorInPieces(head + line + records, workers, pieceBytes), message)
                    << line << " on " << workers << " workers, pieces of " << pieceBytes;
}

// Columns are sized from the first record's length: a long first record
// makes room for too few records, a short one for too many; neither shows.
TEST(MonitorFileParser, ColumnsSizedFromTheFirstRecordHoldWhateverFollows) {
    std::string shortRecords, longRecords;
    mon::FloatColumn steps = {1.5f}, thirdOfShort = {3.5f};
    for (int step = 2; step <= 3000; ++step) {
        shortRecords += std::to_string(step) + " " + std::to_string(step) + "\n";
        longRecords += std::to_string(step) + " 1 2 " + std::to_string(step) + "\n";
        steps.push_back(static_cast<float>(step));
        thirdOfShort.push_back(FLT_MAX);
    }
    const std::string head = std::string(kSteady) + "var A\nvar B\nvar C\n";
    mon::RunData fewReserved =
        parse(head + "1 1.5 2.5 3.5" + std::string(300, ' ') + "\n" + shortRecords);
    EXPECT_EQ(column(fewReserved, 0), steps);
    EXPECT_EQ(column(fewReserved, 2), thirdOfShort);
    mon::RunData manyReserved = parse(head + "1 1.5\n" + longRecords);
    mon::FloatColumn ones(3000, 1.0f), twos(3000, 2.0f);
    ones.front() = 1.5f;
    twos.front() = FLT_MAX;
    steps.front() = FLT_MAX;
    EXPECT_EQ(column(manyReserved, 0), ones);
    EXPECT_EQ(column(manyReserved, 1), twos);
    EXPECT_EQ(column(manyReserved, 2), steps);
}

}  // namespace
