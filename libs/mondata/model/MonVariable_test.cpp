// Labels, tree names and tree paths of variables read from a run, of the
// record keys and of free-standing variables; rules over declared attributes.

#include "libs/mondata/model/MonVariable.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "libs/guiutils/MessageDisplay.h"
#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/rules/MonVariableRule.h"

namespace {

const char* const kRun =
    "monitor-file 1 coefficient-loops\n"
    "var \"RMS P-Mass\" label=\"Mass RMS\" category=RESIDUAL subcategory=RMS "
    "path=\"Residuals/Momentum and Mass/RMS\"\n"
    "var U_Blade category=MONITOR subcategory=POINT\n"
    "var TIME label=\"Time [s]\" category=TIME\n"
    "var Spaced label=\"   \" path=\" a // b /\" category=IGNORED\n"
    "var Slashes path=/// category=FORCE\n"
    "var Bare\n"
    "1 1 1 2 3 4 5 6\n";

class RunVariables : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        const QString path = dir_.filePath(QStringLiteral("run.mon"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kRun);
        file.close();
        database_ =
            std::make_unique<MonDatabase>(QStringLiteral("main"), new owl::LineMessageDisplay());
        database_->updateFrom(MonDatabase::MonitorFile, path, true);
        database_->updateData();
    }

    MonVariable variable(const char* name) const {
        return MonVariable(QString::fromUtf8(name), database_.get());
    }

    QTemporaryDir dir_;
    std::unique_ptr<MonDatabase> database_;
};

using Path = std::vector<QString>;

QString q(const char* text) {
    return QString::fromUtf8(text);
}

TEST_F(RunVariables, DeclaredLabelWinsElseTheNameIsItsOwnLabel) {
    EXPECT_EQ(variable("RMS P-Mass").getPreferredLabel(), q("Mass RMS"));
    EXPECT_EQ(variable("TIME").getPreferredLabel(), q("Time [s]"));
    EXPECT_EQ(variable("U_Blade").getPreferredLabel(), q("U_Blade"));
    EXPECT_EQ(variable("Spaced").getPreferredLabel(), q("Spaced"));  // a blank label is none
    EXPECT_EQ(variable("ACCUMULATED TIMESTEP").getPreferredLabel(), q("Accumulated Time Step"));
    EXPECT_EQ(variable("COEFFICIENT LOOP").getPreferredLabel(), q("Coefficient Loop"));
}

TEST_F(RunVariables, TreeNameIsTheLabelOrTheName) {
    EXPECT_EQ(variable("RMS P-Mass").getTreeName(true), q("Mass RMS"));
    EXPECT_EQ(variable("RMS P-Mass").getTreeName(false), q("RMS P-Mass"));
    EXPECT_EQ(variable("ACCUMULATED TIMESTEP").getTreeName(true), q("Accumulated Time Step"));
    EXPECT_EQ(variable("ACCUMULATED TIMESTEP").getTreeName(false), q("ACCUMULATED TIMESTEP"));
}

TEST_F(RunVariables, TreePathFollowsTheDeclaredPathElseCategoryAndSubcategory) {
    EXPECT_EQ(variable("RMS P-Mass").getTreePath(true),
              (Path{q("Residuals"), q("Momentum and Mass"), q("RMS"), q("Mass RMS")}));
    EXPECT_EQ(variable("RMS P-Mass").getTreePath(false),
              (Path{q("Residuals"), q("Momentum and Mass"), q("RMS"), q("RMS P-Mass")}));
    EXPECT_EQ(variable("U_Blade").getTreePath(true),
              (Path{q("MONITOR"), q("POINT"), q("U_Blade")}));
    EXPECT_EQ(variable("TIME").getTreePath(true), (Path{q("TIME"), q("Time [s]")}));
    EXPECT_EQ(variable("Spaced").getTreePath(true), (Path{q("a"), q("b"), q("Spaced")}));
    EXPECT_EQ(variable("Slashes").getTreePath(true), (Path{q("FORCE"), q("Slashes")}));
    EXPECT_EQ(variable("Bare").getTreePath(true), (Path{q("Bare")}));
    EXPECT_EQ(variable("COEFFICIENT LOOP").getTreePath(true), (Path{q("Coefficient Loop")}));
}

TEST_F(RunVariables, FreeStandingAndUnknownVariablesKnowTheirNameAlone) {
    for (const MonDatabase* database : {static_cast<const MonDatabase*>(nullptr),
                                        static_cast<const MonDatabase*>(database_.get())}) {
        MonVariable unknown(q("Nowhere"), database);
        EXPECT_EQ(unknown.getPreferredLabel(), q("Nowhere"));
        EXPECT_EQ(unknown.getTreePath(true), (Path{q("Nowhere")}));
        EXPECT_EQ(unknown.declaredInfo(), nullptr);
        EXPECT_TRUE(unknown.getAttribute(q("category")).isNull());
    }
    EXPECT_EQ(MonVariable(q("TIME"), nullptr).getPreferredLabel(), q("Simulation Time"));
    MonVariable residual(q("RMS P-Mass"), nullptr);
    EXPECT_EQ(residual.getPreferredLabel(), q("RMS P-Mass"));
    EXPECT_EQ(residual.getTreePath(true), (Path{q("RMS P-Mass")}));
}

TEST_F(RunVariables, RulesSeeDeclaredAttributesOfTheRunsVariables) {
    MonVariableRule residuals(q("CATEGORY = RESIDUAL and LABEL = \"Mass *\""));
    EXPECT_TRUE(residuals.match(variable("RMS P-Mass")));
    EXPECT_FALSE(residuals.match(MonVariable(q("RMS P-Mass"), nullptr)));
    EXPECT_TRUE(MonVariableRule(q("PATH = */RMS")).match(variable("RMS P-Mass")));
    EXPECT_TRUE(
        MonVariableRule(q("LABEL = \"Simulation Time\"")).match(MonVariable(q("TIME"), nullptr)));
    EXPECT_FALSE(MonVariableRule(q("LABEL = \"Simulation Time\"")).match(variable("TIME")));
    EXPECT_TRUE(MonVariableRule(q("CATEGORY = \"\"")).match(variable("ACCUMULATED TIMESTEP")));
}

}  // namespace
