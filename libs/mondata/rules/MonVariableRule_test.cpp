#include "libs/mondata/rules/MonVariableRule.h"

#include <gtest/gtest.h>

namespace {

QString required(const char* rule) {
    return MonVariableRule(QString::fromLatin1(rule)).requiredAttribute(QStringLiteral("group"));
}

TEST(MonVariableRule, RequiredAttributeOnlyWhenEveryMatchMustHaveIt) {
    EXPECT_EQ(required("GROUP = Forces"), QStringLiteral("Forces"));
    EXPECT_EQ(required("CATEGORY = FORCE and GROUP = 'Probe 1'"), QStringLiteral("Probe 1"));
    EXPECT_EQ(required("GROUP = ''"), QStringLiteral(""));
    EXPECT_FALSE(required("GROUP = ''").isNull());
    // Anything that lets a variable of another group match pins nothing.
    for (const char* rule : {"GROUP = Probe*", "GROUP != Forces", "GROUP = A or GROUP = B",
                             "not GROUP = Forces", "CATEGORY = FORCE", ""})
        EXPECT_TRUE(required(rule).isNull()) << rule;
}

}  // namespace
