#include "libs/guiapp/MakeStdString.h"

#include <gtest/gtest.h>

namespace {

using owl::MakeStdString;

TEST(MakeStdString, WritesUtf8KeepingEveryCharacter) {
    EXPECT_EQ(MakeStdString(QString()), "");
    EXPECT_EQ(MakeStdString(QStringLiteral("RMS P-Mass")), "RMS P-Mass");
    EXPECT_EQ(MakeStdString(QString::fromUtf8("caf\xC3\xA9 \xCE\x94p \xF0\x9F\x98\x80")),
              "caf\xC3\xA9 \xCE\x94p \xF0\x9F\x98\x80");
    EXPECT_EQ(MakeStdString(QString::fromLatin1("a\0b", 3)), std::string("a\0b", 3));
}

TEST(MakeStdString, LoneSurrogatesBecomeTheReplacementCharacter) {
    QString text;
    text += QChar(0xD800);  // high without low
    text += QLatin1Char('a');
    text += QChar(0xDC00);  // low without high
    text += QChar(0xD83D);  // a proper pair: U+1F600
    text += QChar(0xDE00);
    text += QChar(0xD800);  // high at the end
    EXPECT_EQ(MakeStdString(text),
              "\xEF\xBF\xBD"
              "a"
              "\xEF\xBF\xBD"
              "\xF0\x9F\x98\x80"
              "\xEF\xBF\xBD");
}

}  // namespace
