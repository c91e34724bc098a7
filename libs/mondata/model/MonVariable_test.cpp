// Labels, tree names and tree paths of variables read from a run, of the
// record keys and of free-standing variables; rules over declared attributes.

#include "libs/mondata/model/MonVariable.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <array>

#include "libs/guiutils/MessageDisplay.h"
#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/rules/MonVariableRule.h"
#include "tests/CommandRunner.h"

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
        const QString path = QString::fromStdString(dir_.write("run.mon", kRun));
        database_ =
            std::make_unique<MonDatabase>(QStringLiteral("main"), new owl::LineMessageDisplay());
        database_->updateFrom(MonDatabase::MonitorFile, path, true);
        database_->updateData();
    }

    MonVariable variable(const char* name) const {
        return MonVariable(QString::fromUtf8(name), database_.get());
    }

    e2e::TempDir dir_;
    std::unique_ptr<MonDatabase> database_;
};

using Path = std::vector<QString>;

QString q(const char* text) {
    return QString::fromUtf8(text);
}

QString joined(const Path& path) {
    QStringList steps(path.begin(), path.end());
    return steps.join(QLatin1Char('/'));
}

// The declared label wins, else the name is its own label (a blank label is
// none); the tree path follows the declared path, else the category and
// subcategory, and ends in the tree name: the label, or with false the name.
TEST_F(RunVariables, LabelsAndTreePathsComeFromTheDeclarations) {
    // clang-format off
    const std::array<const char*, 3> cases[] = {  // name, label, tree path
        {"RMS P-Mass", "Mass RMS", "Residuals/Momentum and Mass/RMS/Mass RMS"},
        {"TIME", "Time [s]", "TIME/Time [s]"},
        {"U_Blade", "U_Blade", "MONITOR/POINT/U_Blade"},
        {"Spaced", "Spaced", "a/b/Spaced"},
        {"Slashes", "Slashes", "FORCE/Slashes"},
        {"Bare", "Bare", "Bare"},
        {"ACCUMULATED TIMESTEP", "Accumulated Time Step", "Accumulated Time Step"},
        {"COEFFICIENT LOOP", "Coefficient Loop", "Coefficient Loop"}};
    // clang-format on
    for (const auto& [name, label, path] : cases) {
        const MonVariable v = variable(name);
        EXPECT_EQ(v.getPreferredLabel(), q(label)) << name;
        EXPECT_EQ(joined(v.getTreePath(true)), q(path)) << name;
        Path byName = v.getTreePath(true);
        byName.back() = q(name);
        EXPECT_EQ(v.getTreePath(false), byName) << name;
    }
}

TEST_F(RunVariables, FreeStandingAndUnknownVariablesKnowTheirNameAlone) {
    const MonDatabase* databases[] = {nullptr, database_.get()};
    for (const MonDatabase* database : databases) {
        MonVariable unknown(q("Nowhere"), database);
        EXPECT_EQ(unknown.getTreePath(true), (Path{q("Nowhere")}));
        EXPECT_TRUE(unknown.getAttribute(q("category")).isNull());
    }
    EXPECT_EQ(MonVariable(q("TIME"), nullptr).getPreferredLabel(), q("Simulation Time"));
}

TEST_F(RunVariables, RulesSeeDeclaredAttributesOfTheRunsVariables) {
    MonVariableRule residuals(q("CATEGORY = RESIDUAL and LABEL = \"Mass *\""));
    EXPECT_TRUE(residuals.match(variable("RMS P-Mass")));
    EXPECT_FALSE(residuals.match(MonVariable(q("RMS P-Mass"), nullptr)));
    EXPECT_FALSE(MonVariableRule(q("LABEL = \"Simulation Time\"")).match(variable("TIME")));
    EXPECT_TRUE(MonVariableRule(q("CATEGORY = \"\"")).match(variable("ACCUMULATED TIMESTEP")));
}

}  // namespace
