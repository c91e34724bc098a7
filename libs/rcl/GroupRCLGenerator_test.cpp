#include "libs/rcl/GroupRCLGenerator.h"

#include <gtest/gtest.h>

#include "libs/rcl/RCLDatabase.h"

namespace {

using owl::GroupRCLGenerator;

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
                     "  GROUPING RULE: Expressions\n"
                     "    Variable Rule = CATEGORY = EXPRESSION\n"
                     "  END\n"
                     "  GROUPING RULE: Hot Spots\n"
                     "    Variable Rule = UNITS = K\n"
                     "    Variable Rule 2 = NAME = T*\n"
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

TEST_F(GroupRCLGeneratorTest, GroupGetsOnePlotOfItsVariables) {
    EXPECT_EQ(generator.generateRCL(q("Pressure Probes"), none),
              q("MONITOR WORKSPACE : Run\n"
                "MONITOR PLOT: Pressure Probes\n"
                "Logarithmic Y = false\n"
                "Monitor Group = Pressure Probes\n"
                "Plot Data By = Time Step\n"
                "Variable Rule = GROUP = \"Pressure Probes\"\n"
                "Visibility = true\n"
                "Window Label = Pressure Probes\n"
                "END\n"
                "END\n"));
}

TEST_F(GroupRCLGeneratorTest, GivenParametersAreAddedOrReplaceGeneratedOnes) {
    db.sendRCL(
        generator.generateRCL(q("P"), {{q("Visibility"), q("false")}, {q("Extra"), q(" x")}}),
        true);
    const ParamMap plot = plotOf("P");
    EXPECT_EQ(plot.at(q("Visibility")), q("false"));
    EXPECT_EQ(plot.at(q("Extra")), q(" x"));
}

TEST_F(GroupRCLGeneratorTest, DerivedGroupsPlotTheVariablesOfTheirRules) {
    QString text = generator.generateRCL(q("Expressions"), none);
    text += generator.generateRCL(q("Hot Spots"), none);
    db.sendRCL(text, true);
    EXPECT_EQ(plotOf("Expressions").at(q("Variable Rule")), q("CATEGORY = EXPRESSION"));
    EXPECT_EQ(plotOf("Hot Spots").at(q("Variable Rule")), q("(UNITS = K) or (NAME = T*)"));
}

TEST_F(GroupRCLGeneratorTest, GroupsTheWorkspaceAlreadyPlotsGetNoText) {
    EXPECT_EQ(generator.generateRCL(q("Imbalances"), none), QString());
    EXPECT_EQ(generator.generateRCL(q("Momentum and Mass"), none), QString());
    EXPECT_EQ(generator.generateRCL(q("Momentum and Mass (RMS)"), none), QString());
    EXPECT_NE(generator.generateRCL(q("Momentum"), none), QString());
}

TEST_F(GroupRCLGeneratorTest, PlotsSentOrClearedBetweenCallsCountForLaterCalls) {
    EXPECT_NE(generator.generateRCL(q("Forces"), none), QString());
    db.sendRCL(q("MONITOR WORKSPACE: Run\n"
                 "  MONITOR PLOT: Loads\n"
                 "    Monitor Group = Forces (MAX)\n"
                 "  END\n"
                 "END\n"),
               true);
    EXPECT_EQ(generator.generateRCL(q("Forces"), none), QString());
    db.clear();
    EXPECT_NE(generator.generateRCL(q("Imbalances"), none), QString());
    EXPECT_NE(generator.generateRCL(q("Forces"), none), QString());
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
    auto strip = [](const char* name) {
        return GroupRCLGenerator::removeSuffixesFromGroupName(QString::fromUtf8(name));
    };
    EXPECT_EQ(strip("Momentum and Mass (MAX)"), q("Momentum and Mass"));
    EXPECT_EQ(strip("Momentum and Mass (RMS)"), q("Momentum and Mass"));
    EXPECT_EQ(strip("Probes (MAX) (Time Transformed)"), q("Probes"));
    EXPECT_EQ(strip("Probes(Time Transformed)(RMS)"), q("Probes"));
    EXPECT_EQ(strip("Probes (max)"), q("Probes (max)"));
    EXPECT_EQ(strip("(MAX) Probes"), q("(MAX) Probes"));
    EXPECT_EQ(strip("(MAX)"), q("(MAX)"));
    EXPECT_EQ(strip(""), q(""));
}

}  // namespace
