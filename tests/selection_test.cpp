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
using e2e::example;

// The header line of a successful time-history export.
std::string header(std::vector<std::string> args) {
    args.push_back("-lasttimestep");
    args.push_back("1");
    e2e::Result r = monexport(args);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
    return r.out.substr(0, r.out.find('\n') + 1);
}

e2e::Result withList(const std::string& list) {
    return monexport({"-mon", data("loops.mon"), "-varlist", list});
}

TEST(Selection, ListedNamesFollowTheKeysInListOrder) {
    EXPECT_EQ(header({"-mon", data("loops.mon"), "-varlist", "Late;A"}),
              "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"Late\",\"A\"\n");
}

TEST(Selection, RepeatedNamesAreRepeatedColumnsAndKeysStayIntegers) {
    e2e::Result r = withList("A;A;ACCUMULATED TIMESTEP");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"A\",\"A\",\"ACCUMULATED TIMESTEP\"\n"
              "1,1,1.50000000e+00,1.50000000e+00,1\n"
              "1,2,2.50000000e-01,2.50000000e-01,1\n"
              "3,1,,,3\n"
              "3,2,1.00000001e-10,1.00000001e-10,3\n"
              "3,3,-inf,-inf,3\n"
              "5,1,1.00000000e+02,1.00000000e+02,5\n");
}

TEST(Selection, BlanksAroundNamesAndMatchingQuotesAreStripped) {
    EXPECT_EQ(header({"-mon", data("names.mon"), "-varlist",
                      " 'two words' ;\t\"say \"hi\"\" ; \"' two words '\" "}),
              "\"ACCUMULATED TIMESTEP\",\"two words\",\"say \"\"hi\"\"\",\"two words\"\n");
}

TEST(Selection, MissingNamesAreAllReportedAndNothingIsWritten) {
    e2e::TempDir dir;
    e2e::Result r = monexport(
        {"-mon", data("loops.mon"), "-varlist", "A;X;'Y';X", "-out", dir.file("out.csv")});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, e2e::errorReport("Requested variable(s) not found: \n    X\n    Y\n    X"));
    EXPECT_FALSE(e2e::fileExists(dir.file("out.csv")));
}

TEST(Selection, MismatchedQuotesAndEmptyPiecesAreNamesToo) {
    e2e::Result r = withList("A;;'B\";''");
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, e2e::errorReport("Requested variable(s) not found: \n    \n    'B\"\n    "));
}

TEST(Selection, MissingNamesFailTheLastValuesTableAlike) {
    e2e::Result r = monexport({"-mon", data("loops.mon"), "-lastvaluesonly", "-varlist", "Q"});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, e2e::errorReport("Requested variable(s) not found: \n    Q"));
}

TEST(Selection, AMissingCoefficientLoopIsSkippedSilently) {
    // The list is not empty, so no other variable is added.
    EXPECT_EQ(header({"-mon", example("steady.mon"), "-varlist", "COEFFICIENT LOOP"}),
              "\"ACCUMULATED TIMESTEP\"\n");
}

TEST(Selection, AListedCoefficientLoopIsASecondColumnOrDroppedWithoutLoops) {
    EXPECT_EQ(header({"-mon", data("loops.mon"), "-varlist", "COEFFICIENT LOOP;B"}),
              "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"COEFFICIENT LOOP\",\"B\"\n");
    EXPECT_EQ(
        header({"-mon", data("loops.mon"), "-nocoeffloops", "-varlist", "COEFFICIENT LOOP;B"}),
        "\"ACCUMULATED TIMESTEP\",\"B\"\n");
}

TEST(Selection, TheDefaultIsEveryVariableInDatabaseOrder) {
    e2e::Result names = monexport({"-mon", example("transient.mon"), "-showvars"});
    std::string expected, name;
    for (std::istringstream lines(names.out); std::getline(lines, name);)
        expected += (expected.empty() ? "\"" : ",\"") + name + "\"";
    ASSERT_GT(expected.size(), 100u);
    EXPECT_EQ(header({"-mon", example("transient.mon")}), expected + "\n");
}

TEST(Selection, NamesOutsideLatin1KeepTheirValuesUnderTheLatin1Name) {
    e2e::TempDir dir;
    e2e::writeFile(dir.file("greek.mon"),
                   "monitor-file 1\nvar \"\xce\x94p\"\nvar \"caf\xc3\xa9\"\n1 2.5 3\n");
    e2e::Result r = monexport({"-mon", dir.file("greek.mon")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "\"ACCUMULATED TIMESTEP\",\"?p\",\"caf\xe9\"\n"
              "1,2.50000000e+00,3.00000000e+00\n");
}

TEST(Selection, ARuleAloneSelectsItsMatchesInDatabaseOrder) {
    EXPECT_EQ(header({"-mon", data("loops.mon"), "-varrule", "SUBCATEGORY = POINT"}),
              "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"B\",\"Late\"\n");
    EXPECT_EQ(header({"-mon", data("loops.mon"), "-varrule", "NAME = *", "-nocoeffloops"}),
              "\"ACCUMULATED TIMESTEP\",\"A\",\"B\",\"Late\"\n");
}

TEST(Selection, AListComesFirstThenTheRulesOtherMatches) {
    EXPECT_EQ(header({"-mon", data("loops.mon"), "-varlist", "Late;A", "-varrule",
                      "SUBCATEGORY = POINT"}),
              "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"Late\",\"A\",\"B\"\n");
}

// The table is still written; a warning names the categories the run has.
TEST(Selection, ARuleThatMatchesNothingLeavesTheKeysOnlyAndWarns) {
    const std::string warning =
        "Exporter warning: The rule 'NAME = Nothing*' matches no variable; the categories of the "
        "run are: RESIDUAL, MONITOR.\n";
    e2e::Result r = monexport({"-mon", data("loops.mon"), "-varrule", "NAME = Nothing*"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\"");
    EXPECT_EQ(r.err, warning);
    r = monexport({"-mon", data("loops.mon"), "-lastvaluesonly", "-varrule", "NAME = Nothing*"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "\n\n");
    EXPECT_EQ(r.err, warning);
}

TEST(Selection, ARuleSelectsTheKeysOfTheLastValuesTable) {
    e2e::Result r = monexport(
        {"-mon", data("ends.mon"), "-lastvaluesonly", "-varrule", "NAME = *E*", "-noheader"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "3,1\n");
}

TEST(Selection, AnEmptyRuleIsNoRule) {
    EXPECT_EQ(header({"-mon", data("loops.mon"), "-varrule", ""}),
              "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"A\",\"B\",\"Late\"\n");
}

}  // namespace
