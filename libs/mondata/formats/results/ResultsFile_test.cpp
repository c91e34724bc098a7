#include "libs/mondata/formats/results/ResultsFile.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <functional>

#include "libs/mondata/formats/results/ResultsFileTextPool.h"
#include "libs/mondata/model/RunDataBuilder.h"
#include "libs/utilities/Utf8.h"
#include "tests/CommandRunner.h"
#include "tests/tools/craft_results.h"

namespace {

using craft::Layout;
using mon::results::TextPool;

bool sameBits(const mon::FloatColumn& a, const mon::FloatColumn& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

// A run with loops, a skipped loop, a late variable and awkward values.
mon::RunData sampleRun() {
    mon::RunDataBuilder builder;
    builder.setCoefficientLoops(true);
    int a = builder.declare({QStringLiteral("RMS P-Mass"),
                             {{QStringLiteral("label"), QStringLiteral("P \"mass\"")},
                              {QStringLiteral("category"), QStringLiteral("RESIDUAL")}}});
    builder.beginRecord(1, 1);
    builder.setValue(a, 1.5f);
    builder.beginRecord(1, 3);  // loop 2 has no record
    builder.setValue(a, NAN);
    int b = builder.declare({QString::fromUtf8("caf\xc3\xa9 \xce\x94p"), {}});
    builder.beginRecord(4, 1);
    builder.setValue(a, -INFINITY);
    builder.setValue(b, 1.0e-45f);
    builder.beginRecord(5, 1);
    builder.setValue(b, FLT_MAX);
    mon::VariableInfo time{QStringLiteral("TIME"), {}};
    time.precision = mon::VariableInfo::Precision::Time;
    builder.setDoubleValue(builder.declare(time), 20.000001);
    return builder.finish();
}

// Every variable but a time held in double precision comes back as floats,
// bit for bit (the time's doubles: the end-to-end double time tests).
TEST(ResultsFile, RoundTripKeepsRecordsMetadataAndEveryBit) {
    mon::RunData run = sampleRun();
    e2e::TempDir dir;
    const std::string path = dir.file("run.res");
    for (int deflate : {0, 9}) {
        mon::writeResultsFile(run, path, {deflate, 2});
        mon::RunData back = mon::readResultsFile(path);
        EXPECT_TRUE(back.hasCoefficientLoops);
        ASSERT_EQ(back.rows->rowCount(), 4);  // the skipped loop is not stored
        EXPECT_EQ(back.rows->loopCountAt(0), 3);
        EXPECT_EQ(back.rows->stepAt(2), 5);
        ASSERT_EQ(back.variables.size(), 3u);
        EXPECT_EQ(back.variables[1].name, run.variables[1].name);
        EXPECT_TRUE(back.variables[0].attributes.empty());  // read when first needed
        mon::completeAttributes(back);
        EXPECT_EQ(back.variables[0].attributes, run.variables[0].attributes);
        EXPECT_TRUE(back.columns.empty());  // values wait for the first request
        for (size_t i : {0, 1}) {
            EXPECT_TRUE(sameBits(back.loadColumn(i), run.columns[i]));
            EXPECT_FALSE(back.loadDoubleColumn(i));
        }
        EXPECT_EQ(back.sourceFiles, std::vector<std::string>{path});
    }
    mon::writeResultsFile(mon::RunDataBuilder().finish(), path);
    mon::RunData empty = mon::readResultsFile(path);
    EXPECT_EQ(empty.rows->rowCount(), 0);
    EXPECT_TRUE(empty.variables.empty());
}

TEST(ResultsFile, DamagedValuesAreReportedWhenFirstRead) {
    e2e::TempDir dir;
    mon::RunData run = sampleRun();
    run.columns[1][3] = 123456.75f;  // a value whose bytes are found below
    mon::writeResultsFile(run, dir.file("run.res"));
    std::string image = e2e::readFile(dir.file("run.res"));
    const float marker = 123456.75f;
    size_t at = image.find(std::string(reinterpret_cast<const char*>(&marker), sizeof marker));
    ASSERT_NE(at, std::string::npos);
    image[at] ^= 1;
    mon::RunData back = mon::readResultsImage("run.res", image.data(), image.size());
    EXPECT_TRUE(sameBits(back.loadColumn(0), run.columns[0]));
    EXPECT_EQ(e2e::errorOf([&] { back.loadColumn(1); }),
              "Cannot read 'run.res': the values of variable 'caf\xc3\xa9 \xce\x94p' cannot be "
              "read: the file is damaged.");
}

TEST(ResultsFile, NoSingleDamagedByteCrashesTheReader) {
    e2e::TempDir dir;
    mon::writeResultsFile(sampleRun(), dir.file("run.res"), {6, 2});
    const std::string image = e2e::readFile(dir.file("run.res"));
    int rejected = 0;
    for (size_t offset = 0; offset < image.size(); ++offset) {
        std::string damaged = image;
        damaged[offset] ^= 0x24;
        try {
            mon::RunData run = mon::readResultsImage("run.res", damaged.data(), damaged.size());
            mon::completeAttributes(run);
            for (size_t i = 0; i < run.variables.size(); ++i)
                if (!run.loadDoubleColumn(i)) run.loadColumn(i);
        } catch (const owl::Error&) {
            ++rejected;
        }
    }
    EXPECT_GT(rejected, static_cast<int>(image.size() / 4));
}

TEST(ResultsFile, ReadsWhatAnotherProgramWrites) {
    e2e::TempDir dir;
    Layout layout;
    layout.loops = 1;
    layout.steps = {3, 3, 7};
    layout.loopNumbers = {1, 2, 1};
    layout.keys[0] = "Label";
    layout.columns[0] = {0.25, 1e300, -2};
    layout.doubleValues = true;
    craft::writeResults(dir.file("run.res"), layout);
    mon::RunData run = mon::readResultsFile(dir.file("run.res"));
    mon::completeAttributes(run);
    EXPECT_EQ(run.rows->rowCount(), 3);
    EXPECT_EQ(run.rows->loopCountAt(0), 2);
    EXPECT_EQ(run.variables[0].attributes.at(0).first, QStringLiteral("label"));
    mon::FloatColumn values = run.loadColumn(0);
    EXPECT_EQ(values[0], 0.25f);
    EXPECT_TRUE(std::isinf(values[1]));
    EXPECT_EQ(values[2], -2.0f);
    // 64-bit values are held as they are.
    EXPECT_EQ(run.loadDoubleColumn(0), (mon::DoubleColumn{0.25, 1e300, -2}));
}

// What is wrong with the layout (after the file's name): the first error
// that opening the file, then reading every variable, meets.
std::string layoutFault(const Layout& layout) {
    e2e::TempDir dir;
    craft::writeResults(dir.file("run.res"), layout);
    const std::string text = e2e::errorOf([&] {
        mon::RunData run = mon::readResultsFile(dir.file("run.res"));
        mon::completeAttributes(run);
        for (size_t i = 0; i < run.variables.size(); ++i) run.loadColumn(i);
    });
    const size_t cut = text.find("': ");
    return cut == std::string::npos ? text : text.substr(cut + 3);
}

TEST(ResultsFile, ReportsEachBrokenPartOfTheLayout) {
    const std::vector<std::pair<std::function<void(Layout&)>, std::string>> cases = {
        {[](Layout& l) { l.hasGroup = false; }, "it holds no monitor data (no group '/monitor')."},
        {[](Layout& l) { l.version = 2; }, "monitor data version 2 is not supported (expected 1)."},
        {[](Layout& l) {
             l.steps = {2, 1, 3};
         },
         "record 1 (step 1, loop 1) does not follow the one before it."},
        {[](Layout& l) {
             l.loops = 1, l.loopNumbers = {3, 3, 1}, l.steps = {1, 1, 2};
         },
         "record 1 (step 1, loop 3) does not follow the one before it."},
        {[](Layout& l) { l.loops = 1; }, "dataset '/monitor/loop' is missing."},
        {[](Layout& l) {
             l.owners = {4, 1};
         },
         "attribute 0 belongs to no variable (index 4)."},
        {[](Layout& l) { l.columns[0] = {1.0}; },
         "dataset '/monitor/values/0' does not hold one value per record."},
        {[](Layout& l) { l.columns = {}; }, "dataset '/monitor/values/0' is missing."},
        {[](Layout& l) {
             l.names = {"A", "A"};
         },
         "variable 'A' is listed twice."},
        {[](Layout& l) {
             l.names = {"\xff", "\xfe"};
         },
         "variable '\xfe' is listed twice."},  // both read as U+FFFD
        {[](Layout& l) {
             l.owners = {0, 0}, l.keys = {"Units", "UNITS"}, l.values = {"m", "s"};
         },
         "attribute 'UNITS' of variable 'A' is empty or given twice."},
        {[](Layout& l) { l.names[0] = "COEFFICIENT LOOP"; },
         "'COEFFICIENT LOOP' is the name of a record key and cannot be a variable."},
        {[](Layout& l) { l.variableLengthNames = true; },
         "dataset '/monitor/variable_names' holds variable-length strings; fixed-length "
         "strings are needed."},
        // Each variable is checked when its values are first read.
        {[](Layout& l) { l.columns[1] = {3}; },
         "dataset '/monitor/values/1' does not hold one value per record."},
    };
    for (const auto& [change, expected] : cases) {
        Layout layout;
        change(layout);
        EXPECT_EQ(layoutFault(layout), expected);
    }
}

TEST(ResultsFile, TextsRepeatedAcrossVariablesKeepEachVariablesValues) {
    e2e::TempDir dir;
    Layout layout;
    layout.names = {"RMS P-Mass", "MAX P-Mass", "caf\xc3\xa9"};
    layout.owners = {0, 0, 0, 1, 1, 1, 2};
    layout.keys = {"Label", "Units", "Group", "LABEL", "units", "Group", "label"};
    layout.values = {"RMS P-Mass", "", "Mass", "MAX P-Mass", "", "Mass", "caf\xc3\xa9"};
    layout.columns.push_back({5, 6, 7});
    craft::writeResults(dir.file("run.res"), layout);
    mon::RunData run = mon::readResultsFile(dir.file("run.res"));
    mon::completeAttributes(run);
    ASSERT_EQ(run.variables.size(), 3u);
    const mon::VariableInfo& max = run.variables[1];
    EXPECT_EQ(max.name, QStringLiteral("MAX P-Mass"));
    EXPECT_EQ(max.attribute(QStringLiteral("label")), QStringLiteral("MAX P-Mass"));
    EXPECT_EQ(max.attribute(QStringLiteral("group")), QStringLiteral("Mass"));
    EXPECT_FALSE(max.attribute(QStringLiteral("units")).isNull());  // declared, and empty
    EXPECT_TRUE(max.attribute(QStringLiteral("units")).isEmpty());
    EXPECT_EQ(run.variables[0].attributes.size(), 3u);
    EXPECT_EQ(run.variables[2].attribute(QStringLiteral("label")),
              QString::fromUtf8("caf\xc3\xa9"));
}

TEST(ResultsFileTextPool, DecodesEveryTextAsTheUtf8DecoderDoes) {
    const std::vector<std::string> texts = {
        "RMS P-Mass", std::string("tab\tand\x01\x7f"), "caf\xc3\xa9 \xce\x94p", "cut \xe2\x82",
        "\xff\xfe",   "\xf0\x9f\x99\x82 smile"};
    for (const std::string& text : texts)
        EXPECT_EQ(mon::results::decodeText(text), owl::utf8::toQString(text)) << text;
}

TEST(ResultsFileTextPool, EqualBytesShareOneText) {
    const std::string first = "Residuals/Heat Transfer", second = first, other = "RMS";
    TextPool pool;
    const QString a = pool.decode(first), b = pool.decode(second), c = pool.decode(other);
    EXPECT_EQ(a, QStringLiteral("Residuals/Heat Transfer"));
    EXPECT_EQ(a.constData(), b.constData());  // one buffer
    EXPECT_NE(a.constData(), c.constData());
    QString text;
    EXPECT_TRUE(pool.decodeNew("U-Mom", text));
    EXPECT_EQ(text, QStringLiteral("U-Mom"));
    EXPECT_FALSE(pool.decodeNew(other, text));
    EXPECT_EQ(text, QStringLiteral("RMS"));
    TextPool keys(TextPool::Case::kLowered);  // keys: each spelling lowered
    EXPECT_EQ(keys.decode("UNITS"), QStringLiteral("units"));
    EXPECT_EQ(keys.decode("Units"), QStringLiteral("units"));
    EXPECT_TRUE(keys.decodeNew("\xc3\x89tat", text));
    EXPECT_EQ(text, QString::fromUtf8("\xc3\xa9tat"));
}

}  // namespace
