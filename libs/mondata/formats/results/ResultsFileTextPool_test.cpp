#include "libs/mondata/formats/results/ResultsFileTextPool.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "libs/utilities/Utf8.h"

namespace {

using mon::results::TextPool;

TEST(ResultsFileTextPool, DecodesEveryTextAsTheUtf8DecoderDoes) {
    const std::vector<std::string> texts = {
        "RMS P-Mass", std::string("tab\tand\x01\x7f"), "caf\xc3\xa9 \xce\x94p", "cut \xe2\x82",
        "\xff\xfe",   "\xf0\x9f\x99\x82 smile"};
    for (const std::string& text : texts)
        EXPECT_EQ(mon::results::decodeText(text), owl::utf8::toQString(text)) << text;
}

TEST(ResultsFileTextPool, EqualBytesShareOneText) {
    const std::string first = "Residuals/Heat Transfer", second = first, other = "RMS";
    TextPool pool;
    const QString a = pool.decode(first), b = pool.decode(second), c = pool.decode(other);
    EXPECT_EQ(a, QStringLiteral("Residuals/Heat Transfer"));
    EXPECT_EQ(a.constData(), b.constData());  // one buffer
    EXPECT_NE(a.constData(), c.constData());
    QString text;
    EXPECT_TRUE(pool.decodeNew("U-Mom", text));
    EXPECT_EQ(text, QStringLiteral("U-Mom"));
    EXPECT_FALSE(pool.decodeNew(other, text));
    EXPECT_EQ(text, QStringLiteral("RMS"));
    TextPool keys(TextPool::Case::kLowered);  // keys: each spelling lowered
    EXPECT_EQ(keys.decode("UNITS"), QStringLiteral("units"));
    EXPECT_EQ(keys.decode("Units"), QStringLiteral("units"));
    EXPECT_TRUE(keys.decodeNew("\xc3\x89tat", text));
    EXPECT_EQ(text, QString::fromUtf8("\xc3\xa9tat"));
}

}  // namespace
