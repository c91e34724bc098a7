#include "libs/rcl/OVRCLUtils.h"

#include <gtest/gtest.h>

#include "libs/rcl/RCLDatabase.h"
#include "tests/CommandRunner.h"

namespace {

namespace ov = owl::OVRCLUtils;

QString q(const char* text) {
    return QString::fromUtf8(text);
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
