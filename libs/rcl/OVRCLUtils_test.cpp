#include "libs/rcl/OVRCLUtils.h"

#include <gtest/gtest.h>

#include <climits>

#include "libs/exception/Error.h"
#include "libs/rcl/RCLDatabase.h"

namespace {

namespace ov = owl::OVRCLUtils;

QString q(const char* text) {
    return QString::fromUtf8(text);
}

TEST(OVRCLUtils, PrioritiesComeFromTheWorkspacesMonitorGroups) {
    RCLDatabase db;
    db.sendRCL(q("MONITOR WORKSPACE: Run\n"
                 "MONITOR GROUP: B\nPriority = 20\nEND\n"
                 "MONITOR GROUP: A\nPriority = -5\nEND\n"
                 "MONITOR GROUP: Also A\nPriority = 20\nEND\n"
                 "MONITOR GROUP: Unranked\nEND\n"
                 "END\n"
                 "MONITOR GROUP: Elsewhere\nPriority = 1\nEND\n"),
               true);
    const std::multimap<int, QString> priorities = ov::getGroupPriorityMap(&db);
    EXPECT_EQ(priorities,
              (std::multimap<int, QString>{{-5, q("A")}, {20, q("B")}, {20, q("Also A")}}));
    EXPECT_EQ(ov::getGroupPriorityFromGroupName(q("A"), priorities), -5);
    EXPECT_EQ(ov::getGroupPriorityFromGroupName(q("Also A"), priorities), 20);
    EXPECT_EQ(ov::getGroupPriorityFromGroupName(q("Unranked"), priorities), 21);
    EXPECT_EQ(ov::getGroupPriorityFromGroupName(q("a"), priorities), 21);
    EXPECT_EQ(ov::getGroupPriorityFromGroupName(q(""), priorities), 21);
}

TEST(OVRCLUtils, UnknownGroupsComeAfterEveryListedOne) {
    EXPECT_EQ(ov::getGroupPriorityFromGroupName(q("X"), {}), 0);
    EXPECT_EQ(ov::getGroupPriorityFromGroupName(q("X"), {{INT_MAX, q("Last")}}), INT_MAX);
    EXPECT_EQ(ov::getGroupPriorityFromGroupName(q("X"), {{1, q("X")}, {0, q("X")}}), 0);
}

TEST(OVRCLUtils, PriorityThatIsNotAWholeNumberIsAnError) {
    RCLDatabase db;
    db.sendRCL(q("MONITOR WORKSPACE: Run\nMONITOR GROUP: G\nPriority = first\nEND\nEND\n"), true);
    try {
        ov::getGroupPriorityMap(&db);
        FAIL();
    } catch (const owl::Error& error) {
        EXPECT_EQ(error.getErrorText(),
                  "Monitor group 'G' has the priority 'first', which is not a whole number.");
    }
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
