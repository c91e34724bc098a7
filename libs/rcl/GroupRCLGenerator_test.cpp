#include "libs/rcl/GroupRCLGenerator.h"

#include <gtest/gtest.h>

#include "libs/rcl/OVRCLUtils.h"
#include "libs/rcl/RCLDatabase.h"
#include "tests/CommandRunner.h"

namespace {

using owl::GroupRCLGenerator;
namespace ov = owl::OVRCLUtils;

QString q(const char* text) {
    return QString::fromUtf8(text);
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
