#include "libs/guiutils/QStringUtils.h"

#include <gtest/gtest.h>

namespace {

TEST(QStringUtils, IsTrueAcceptsTheUsualSpellings) {
    for (const char* text : {"true", "TRUE", "True", " yes ", "on", "1"})
        EXPECT_TRUE(QStringUtils::isTrue(QString::fromLatin1(text))) << text;
    for (const char* text : {"", "false", "0", "no", "off", "truex", "2", "t"})
        EXPECT_FALSE(QStringUtils::isTrue(QString::fromLatin1(text))) << text;
    EXPECT_FALSE(QStringUtils::isTrue(QString()));
}

TEST(QStringUtils, JoinsWithTheSeparatorBetweenNeighboursOnly) {
    using V = std::vector<QString>;
    EXPECT_EQ(QStringUtils::qStringVectorToQString(V{}, ';'), QString());
    EXPECT_EQ(QStringUtils::qStringVectorToQString(V{QStringLiteral("a")}, ';'),
              QStringLiteral("a"));
    EXPECT_EQ(QStringUtils::qStringVectorToQString(
                  V{QStringLiteral("a"), QString(), QStringLiteral("c;d")}, ';'),
              QStringLiteral("a;;c;d"));
}

}  // namespace
