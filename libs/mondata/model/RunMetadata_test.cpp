// Monitor groups and time-transformed associations declared by a run.

#include "libs/mondata/model/RunMetadata.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "libs/mondata/rules/RuleTestVariables.h"

namespace {

using mon::variable;

QStringList names(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts) list.append(QString::fromUtf8(text));
    return list;
}

TEST(RunMetadata, GroupsOnceInOrderOfFirstAppearance) {
    const std::vector<mon::VariableInfo> run = {
        variable("A", {{"group", "Probes"}}),
        variable("B", {{"group", "Momentum and Mass"}}),
        variable("C", {}),
        variable("D", {{"group", ""}}),
        variable("E", {{"group", "Probes"}}),
        variable("F", {{"group", "probes"}}),
        variable("G", {{"group", "Momentum and Mass"}}),
    };
    EXPECT_EQ(mon::groupsOf(run), names({"Probes", "Momentum and Mass", "probes"}));
}

// A turbomachinery-like run: two time-transformed variables, each with
// associated variables for its passages, each with its own time variable.
const std::vector<mon::VariableInfo>& transformedRun() {
    static const std::vector<mon::VariableInfo> run = {
        variable("Blade Force", {{"category", "FORCE"}}),
        variable("Blade Force P1",
                 {{"transformed-from", "Blade Force"}, {"time-variable", "TIME P1"}}),
        variable("Torque P1", {{"transformed-from", "Torque"}, {"time-variable", "TIME P1"}}),
        variable("Blade Force P2",
                 {{"transformed-from", "Blade Force"}, {"time-variable", "TIME P2"}}),
        variable("Torque", {}),
        variable("Blade Force P3", {{"transformed-from", "Blade Force"}, {"time-variable", " "}}),
        variable("Orphan", {{"transformed-from", ""}}),
    };
    return run;
}

TEST(RunMetadata, AssociatedVariablesComeInRunOrder) {
    const auto& run = transformedRun();
    EXPECT_EQ(mon::associatedVariables(run, names({"Torque", "Blade Force"})),
              names({"Blade Force P1", "Torque P1", "Blade Force P2", "Blade Force P3"}));
    EXPECT_EQ(mon::associatedVariables(run, names({"Torque", "Torque"})), names({"Torque P1"}));
    EXPECT_EQ(mon::associatedVariables(run, names({"Blade Force P1", "Nothing", ""})),
              QStringList());
}

TEST(RunMetadata, TimeVariableIsTheDeclaredOneElseTime) {
    const std::pair<const char*, const char*> cases[] = {{"Blade Force P2", "TIME P2"},
                                                         {"Torque P1", "TIME P1"},
                                                         {"Blade Force P3", "TIME"},
                                                         {"Blade Force", "TIME"},
                                                         {"Unknown", "TIME"}};
    for (const auto& [name, time] : cases)
        EXPECT_EQ(mon::associatedTimeVariable(transformedRun(), QString::fromUtf8(name)),
                  QString::fromUtf8(time))
            << name;
}

}  // namespace
