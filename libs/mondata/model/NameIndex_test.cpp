#include "libs/mondata/model/NameIndex.h"

#include <gtest/gtest.h>

namespace {

std::vector<const QString*> pointers(const std::vector<QString>& names) {
    std::vector<const QString*> result;
    for (const QString& name : names) result.push_back(&name);
    return result;
}

TEST(NameIndex, FindsEveryNameAtItsPositionAndNothingElse) {
    std::vector<QString> names;
    for (int i = 0; i < 20000; ++i) names.push_back(QStringLiteral("P%1 Pressure").arg(i));
    names.push_back(QString());  // the empty name is a name like any other
    mon::NameIndex index;
    EXPECT_EQ(index.find(QStringLiteral("P1 Pressure")), -1);  // before any assign
    index.assign(pointers(names));
    for (size_t i = 0; i < names.size(); ++i) ASSERT_EQ(index.find(names[i]), long(i)) << i;
    EXPECT_EQ(index.find(QStringLiteral("P20000 Pressure")), -1);
    EXPECT_EQ(index.find(QStringLiteral("p1 pressure")), -1);  // names compare exactly
}

TEST(NameIndex, RepeatedNamesFindTheirLastPositionAndAssignReplacesEverything) {
    const std::vector<QString> names{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("A")};
    mon::NameIndex index;
    index.assign(pointers(names));
    EXPECT_EQ(index.find(QStringLiteral("A")), 2);
    const std::vector<QString> others{names[1]};
    index.assign(pointers(others));
    EXPECT_EQ(index.find(QStringLiteral("B")), 0);
    EXPECT_EQ(index.find(QStringLiteral("A")), -1);
}

}  // namespace
