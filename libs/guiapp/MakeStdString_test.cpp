#include "libs/guiapp/MakeStdString.h"

#include <gtest/gtest.h>

// Characters beyond U+FFFF survive; each lone surrogate becomes U+FFFD.
TEST(MakeStdString, WritesUtf8ReplacingLoneSurrogates) {
    const QChar units[] = {QChar(0xD800), QLatin1Char('a'), QChar(0xDC00),
                           QChar(0xD83D), QChar(0xDE00),    QChar(0xD800)};
    EXPECT_EQ(owl::MakeStdString(QString(units, 6)),
              "\xEF\xBF\xBD"
              "a\xEF\xBF\xBD\xF0\x9F\x98\x80\xEF\xBF\xBD");
}
