#include "libs/rcl/RCLDatabase.h"

#include <gtest/gtest.h>

#include "libs/exception/Error.h"
#include "libs/rcl/GroupRCLGenerator.h"
#include "libs/rcl/OVRCLUtils.h"
#include "tests/CommandRunner.h"

namespace {

using owl::GroupRCLGenerator;
namespace ov = owl::OVRCLUtils;

QString q(const char* text) {
    return QString::fromUtf8(text);
}

const char* const kWorkspace =
    "MONITOR WORKSPACE: Run\n"
    "  Plot Data By = Time Step\n"
    "  MONITOR PLOT: B\n"
    "    Variable Rule = NAME = B\n"
    "    Window Label = Plot B\n"
    "  END\n"
    "  RESIDUAL MONITOR: R\n"
    "  END\n"
    "  MONITOR PLOT: A\n"
    "  END\n"
    "END\n";

class RCLDatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override { db.sendRCL(q(kWorkspace), true); }

    // An object's parameters as "KEY=VALUE;..." in key order.
    std::string params(const char* path, bool inherited = false) {
        std::string text;
        for (const auto& [key, value] : db.getObjectParameters(q(path), inherited))
            text += key.toStdString() + "=" + value.toStdString() + ";";
        return text;
    }
    // The names of the children of that type, as "A,B,".
    std::string children(const char* type, const char* path) {
        std::string text;
        for (const QString& name : db.getObjectsByTypeAndPath(q(type), q(path)))
            text += name.toStdString() + ",";
        return text;
    }
    std::string load(const std::string& name, const std::string& bytes, bool replace = true) {
        return e2e::errorOf(
            [&] { db.loadRCLFile(QString::fromStdString(dir.write(name, bytes)), replace); });
    }

    RCLDatabase db;
    e2e::TempDir dir;
};

TEST_F(RCLDatabaseTest, PathsResolveWhateverTheBlanksAroundTheColon) {
    EXPECT_EQ(params("MONITOR WORKSPACE : Run/ MONITOR PLOT : B "),
              "Variable Rule=NAME = B;Window Label=Plot B;");
    EXPECT_TRUE(db.hasObject(q("/MONITOR WORKSPACE:Run")));
    EXPECT_FALSE(db.hasObject(q("/MONITOR WORKSPACE: run")));
    // Children of one type, in definition order.
    EXPECT_EQ(children("MONITOR PLOT", "/MONITOR WORKSPACE: Run"), "B,A,");
    EXPECT_EQ(children("MONITOR PLOT", "/NO WORKSPACE: Run"), "");
    EXPECT_EQ(children("MONITOR WORKSPACE", "/"), "Run,");
    // Inherited parameters come from enclosing objects.
    EXPECT_EQ(params("/MONITOR WORKSPACE: Run/MONITOR PLOT:A"), "");
    EXPECT_EQ(params("/MONITOR WORKSPACE: Run/MONITOR PLOT:A", true), "Plot Data By=Time Step;");
    EXPECT_EQ(e2e::errorOf([&] { params("/MONITOR WORKSPACE: Run/MONITOR PLOT:Z"); }),
              "No command-language object at '/MONITOR WORKSPACE: Run/MONITOR PLOT:Z'.");
}

TEST_F(RCLDatabaseTest, SentTextUpdatesOrAddsAndAFaultyOneChangesNothing) {
    db.sendRCL(q("MONITOR WORKSPACE : Run\nMONITOR PLOT: B\nWindow Label = New\nEND\n"
                 "MONITOR PLOT: C\nEND\nEND\n"),
               true);
    EXPECT_EQ(params("/MONITOR WORKSPACE: Run/MONITOR PLOT:B"),
              "Variable Rule=NAME = B;Window Label=New;");
    EXPECT_EQ(children("MONITOR PLOT", "/MONITOR WORKSPACE: Run"), "B,A,C,");
    // Without update, parameters already set keep their values.
    db.sendRCL(q("MONITOR WORKSPACE: Run\nMONITOR PLOT: B\nWindow Label = Newer\n"
                 "Visibility = false\nEND\nEND\n"),
               false);
    EXPECT_EQ(params("/MONITOR WORKSPACE: Run/MONITOR PLOT:B"),
              "Variable Rule=NAME = B;Visibility=false;Window Label=New;");
    EXPECT_EQ(e2e::errorOf([&] {
                  db.sendRCL(q("MONITOR WORKSPACE: Run\nMONITOR PLOT: B\nWindow Label = X\nEND\n"),
                             true);
              }),
              "sent text:1: object 'MONITOR WORKSPACE: Run' has no 'END'");
    EXPECT_EQ(params("/MONITOR WORKSPACE: Run/MONITOR PLOT:B"),
              "Variable Rule=NAME = B;Visibility=false;Window Label=New;");
}

TEST_F(RCLDatabaseTest, LoadingWithReplaceEmptiesTheDatabaseFirst) {
    EXPECT_EQ(load("new.mst", "OTHER: X\nA = 1\nEND\n"), "");
    EXPECT_FALSE(db.hasObject(q("/MONITOR WORKSPACE: Run")));
    EXPECT_EQ(params("/OTHER: X"), "A=1;");
    EXPECT_EQ(load("more.mst", "OTHER: Y\nEND\n", false), "");
    EXPECT_TRUE(db.hasObject(q("/OTHER: X")) && db.hasObject(q("/OTHER: Y")));
    // Files are read as UTF-8, a byte-order mark and CRLF line ends allowed.
    EXPECT_EQ(load("utf8.mst", "\xef\xbb\xbfT: caf\xc3\xa9\r\nX = \xce\x94p\r\nEND"), "");
    EXPECT_EQ(params("/T: caf\xc3\xa9"), "X=\xce\x94p;");
}

// Missing files and folders, and syntax errors: the end-to-end template tests.
TEST_F(RCLDatabaseTest, UnusableFilesRaiseErrorsNamingTheFile) {
    EXPECT_EQ(load("latin1.mst", "T: a\nX = caf\xe9\nEND\n"),
              dir.file("latin1.mst") + ":2: the text is not UTF-8");
    EXPECT_TRUE(db.hasObject(q("/MONITOR WORKSPACE: Run")));  // unchanged by the failures
}

class GroupRCLGeneratorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.sendRCL(q("MONITOR WORKSPACE: Run\n"
                     "  RESIDUAL MONITOR: Momentum and Mass MAX\n"
                     "    Monitor Group = Momentum and Mass (MAX)\n"
                     "  END\n"
                     "  IMBALANCE MONITOR: Imbalances\n"
                     "    Monitor Group = Imbalances\n"
                     "  END\n"
                     "  MONITOR PLOT: Taken\n"
                     "  END\n"
                     "END\n"),
                   true);
    }

    ParamMap plotOf(const char* name) {
        return db.getObjectParameters(q("/MONITOR WORKSPACE: Run/MONITOR PLOT: ") + q(name), false);
    }

    RCLDatabase db;
    GroupRCLGenerator generator{q("/MONITOR WORKSPACE: Run"), q("MONITOR WORKSPACE : Run"), &db};
    const std::map<QString, QString> none;
};

// The plot a group gets: the end-to-end -plotinfo tests.
TEST_F(GroupRCLGeneratorTest, GivenParametersAreAddedOrReplaceGeneratedOnes) {
    db.sendRCL(
        generator.generateRCL(q("P"), {{q("Visibility"), q("false")}, {q("Extra"), q(" x")}}),
        true);
    EXPECT_EQ(plotOf("P").at(q("Visibility")), q("false"));
    EXPECT_EQ(plotOf("P").at(q("Extra")), q(" x"));
}

TEST_F(GroupRCLGeneratorTest, GroupsTheWorkspaceAlreadyPlotsGetNoText) {
    for (const char* group : {"Imbalances", "Momentum and Mass", "Momentum and Mass (RMS)"})
        EXPECT_EQ(generator.generateRCL(q(group), none), QString()) << group;
    EXPECT_NE(generator.generateRCL(q("Momentum"), none), QString());
    // Plots sent or cleared between calls count for later calls.
    db.sendRCL(
        q("MONITOR WORKSPACE: Run\nMONITOR PLOT: Loads\nMonitor Group = Forces (MAX)\nEND\nEND\n"),
        true);
    EXPECT_EQ(generator.generateRCL(q("Forces"), none), QString());
    db.clear();
    EXPECT_NE(generator.generateRCL(q("Imbalances"), none), QString());
}

TEST_F(GroupRCLGeneratorTest, AwkwardNamesReadBackUnchangedUnderDistinctPlotNames) {
    const QString slash = q("In/Out: \"probes\" \\");
    const QString lines = q("  two\nlines ");
    QString text = generator.generateRCL(slash, none);
    text += generator.generateRCL(lines, none);
    text += generator.generateRCL(q("In Out \"probes\" \\"), none);
    text += generator.generateRCL(q("Taken"), none);
    db.sendRCL(text, true);
    EXPECT_EQ(plotOf("In Out \"probes\" \\").at(q("Monitor Group")), slash);
    EXPECT_EQ(plotOf("In Out \"probes\" \\").at(q("Variable Rule")),
              q("GROUP = \"In/Out: \\\"probes\\\" \\\\\""));
    EXPECT_EQ(plotOf("two lines").at(q("Monitor Group")), lines);
    EXPECT_EQ(plotOf("two lines").at(q("Window Label")), lines);
    EXPECT_EQ(plotOf("In Out \"probes\" \\ 2").at(q("Monitor Group")), q("In Out \"probes\" \\"));
    EXPECT_EQ(plotOf("Taken 2").at(q("Monitor Group")), q("Taken"));
}

TEST(GroupRCLGeneratorSuffixes, QualifiersOfOneGroupsPlotsAreRemoved) {
    const std::pair<const char*, const char*> cases[] = {
        {"Momentum and Mass (RMS)", "Momentum and Mass"},
        {"Probes (MAX) (Time Transformed)", "Probes"},
        {"Probes(Time Transformed)(RMS)", "Probes"},
        {"Probes (max)", "Probes (max)"},
        {"(MAX) Probes", "(MAX) Probes"},
        {"(MAX)", "(MAX)"}};
    for (const auto& [name, stripped] : cases)
        EXPECT_EQ(GroupRCLGenerator::removeSuffixesFromGroupName(q(name)), q(stripped)) << name;
}

// The order of plots by priority: the end-to-end template tests.
TEST(OVRCLUtils, UnknownGroupsComeAfterEveryListedOne) {
    const std::multimap<int, QString> priorities{{-5, q("A")}, {20, q("B")}};
    EXPECT_EQ(ov::getGroupPriorityFromGroupName(q("A"), priorities), -5);
    EXPECT_EQ(ov::getGroupPriorityFromGroupName(q("a"), priorities), 21);
    EXPECT_EQ(ov::getGroupPriorityFromGroupName(q("X"), {}), 0);
}

TEST(OVRCLUtils, PriorityThatIsNotAWholeNumberIsAnError) {
    RCLDatabase db;
    db.sendRCL(q("MONITOR WORKSPACE: Run\nMONITOR GROUP: G\nPriority = first\nEND\nEND\n"), true);
    EXPECT_EQ(e2e::errorOf([&] { ov::getGroupPriorityMap(&db); }),
              "Monitor group 'G' has the priority 'first', which is not a whole number.");
}

TEST(OVRCLUtils, GroupingRulesListEveryVariableRuleOfEachRule) {
    RCLDatabase db;
    db.sendRCL(q("MONITOR WORKSPACE: Run\n"
                 "GROUPING RULE: Hot\nVariable Rule 2 = NAME = T*\nVariable Rule = UNITS = K\n"
                 "Window Label = ignored\nEND\n"
                 "GROUPING RULE: Empty\nVariable Rule =\nEND\n"
                 "END\n"),
               true);
    EXPECT_EQ(
        ov::getOverseerGroupRules(&db),
        (std::map<QString, std::vector<QString>>{{q("Hot"), {q("UNITS = K"), q("NAME = T*")}}}));
}

}  // namespace
