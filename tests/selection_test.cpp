// Variable selection for both tables: -varlist order, repeats, quotes and
// blanks, missing names, "COEFFICIENT LOOP" and -varrule.

#include <gtest/gtest.h>

#include <sstream>

#include "tests/CommandRunner.h"

namespace {

using e2e::monexport;

std::string data(const std::string& name) {
    return e2e::testData("tables/" + name);
}

// The header line of a successful time-history export.
std::string header(std::vector<std::string> args) {
    args.insert(args.end(), {"-lasttimestep", "1"});
    const std::string out = e2e::monexportOutput(args);
    return out.substr(0, out.find('\n') + 1);
}

TEST(Selection, ListsAndRulesChooseTheColumns) {
    const std::string loops = data("loops.mon"), keys = "\"ACCUMULATED TIMESTEP\",";
    const std::string loopKeys = keys + "\"COEFFICIENT LOOP\",";
    for (const auto& [args, expected] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"-mon", loops, "-varlist", "Late;A"}, loopKeys + "\"Late\",\"A\"\n"},
             {{"-mon", data("names.mon"), "-varlist",
               " 'two words' ;\t\"say \"hi\"\" ; \"' two words '\" "},
              keys + "\"two words\",\"say \"\"hi\"\"\",\"two words\"\n"},
             // A listed but absent loop is skipped; the list still excludes the rest.
             {{"-mon", e2e::example("steady.mon"), "-varlist", "COEFFICIENT LOOP"},
              "\"ACCUMULATED TIMESTEP\"\n"},
             {{"-mon", loops, "-varlist", "COEFFICIENT LOOP;B"},
              loopKeys + "\"COEFFICIENT LOOP\",\"B\"\n"},
             {{"-mon", loops, "-nocoeffloops", "-varlist", "COEFFICIENT LOOP;B"}, keys + "\"B\"\n"},
             {{"-mon", loops, "-varrule", "SUBCATEGORY = POINT"}, loopKeys + "\"B\",\"Late\"\n"},
             {{"-mon", loops, "-varrule", "NAME = *", "-nocoeffloops"},
              keys + "\"A\",\"B\",\"Late\"\n"},
             {{"-mon", loops, "-varlist", "Late;A", "-varrule", "SUBCATEGORY = POINT"},
              loopKeys + "\"Late\",\"A\",\"B\"\n"},
             {{"-mon", loops, "-varrule", ""}, loopKeys + "\"A\",\"B\",\"Late\"\n"},
             {{"-mon", data("ends.mon"), "-lastvaluesonly", "-varrule", "NAME = *E*", "-noheader"},
              "3,1\n"},
         })
        EXPECT_EQ(header(args), expected) << args[3];
}

TEST(Selection, RepeatedNamesAreRepeatedColumnsAndKeysStayIntegers) {
    EXPECT_EQ(
        e2e::monexportOutput({"-mon", data("loops.mon"), "-varlist", "A;A;ACCUMULATED TIMESTEP",
                              "-firsttimestep", "3", "-lasttimestep", "3"}),
        "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"A\",\"A\",\"ACCUMULATED TIMESTEP\"\n"
        "3,1,,,3\n3,2,1.00000001e-10,1.00000001e-10,3\n3,3,-inf,-inf,3\n");
}

// Every missing name is reported, in both tables, and nothing is written.
TEST(Selection, MissingNamesAreAllReported) {
    e2e::TempDir dir;
    const std::string loops = data("loops.mon"), out = dir.file("out.csv");
    EXPECT_TRUE(e2e::failsWith(monexport({"-mon", loops, "-varlist", "A;X;'Y';X", "-out", out}),
                               "Requested variable(s) not found: \n    X\n    Y\n    X"));
    EXPECT_FALSE(e2e::fileExists(out));
    EXPECT_TRUE(e2e::failsWith(monexport({"-mon", loops, "-varlist", "A;;'B\";''"}),
                               "Requested variable(s) not found: \n    \n    'B\"\n    "));
    EXPECT_TRUE(e2e::failsWith(monexport({"-mon", loops, "-lastvaluesonly", "-varlist", "Q"}),
                               "Requested variable(s) not found: \n    Q"));
}

TEST(Selection, TheDefaultIsEveryVariableInDatabaseOrder) {
    e2e::Result names = monexport({"-mon", e2e::example("transient.mon"), "-showvars"});
    std::string expected, name;
    for (std::istringstream lines(names.out); std::getline(lines, name);)
        expected += (expected.empty() ? "\"" : ",\"") + name + "\"";
    ASSERT_GT(expected.size(), 100u);
    EXPECT_EQ(header({"-mon", e2e::example("transient.mon")}), expected + "\n");
}

TEST(Selection, NamesOutsideLatin1KeepTheirValuesUnderTheLatin1Name) {
    e2e::TempDir dir;
    const std::string mon =
        dir.write("greek.mon", "monitor-file 1\nvar \"\xce\x94p\"\nvar \"caf\xc3\xa9\"\n1 2.5 3\n");
    EXPECT_EQ(e2e::monexportOutput({"-mon", mon}),
              "\"ACCUMULATED TIMESTEP\",\"?p\",\"caf\xe9\"\n"
              "1,2.50000000e+00,3.00000000e+00\n");
}

// The table is still written; a warning names the categories the run has.
TEST(Selection, ARuleThatMatchesNothingLeavesTheKeysOnlyAndWarns) {
    const std::string warning =
        "Exporter warning: The rule 'NAME = Nothing*' matches no variable; the categories of the "
        "run are: RESIDUAL, MONITOR.\n";
    for (const auto& [extra, out] : std::vector<std::pair<std::string, std::string>>{
             {"-nocoeffloops", "\"ACCUMULATED TIMESTEP\"\n"}, {"-lastvaluesonly", "\n\n"}}) {
        e2e::Result r =
            monexport({"-mon", data("loops.mon"), extra, "-varrule", "NAME = Nothing*"});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out.substr(0, out.size()), out);
        EXPECT_EQ(r.err, warning);
    }
}

}  // namespace
