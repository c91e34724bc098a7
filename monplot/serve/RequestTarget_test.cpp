#include "monplot/serve/RequestTarget.h"

#include <gtest/gtest.h>

#include <cmath>

#include "libs/exception/Error.h"

#include "monplot/serve/JsonWriter.h"
#include "monplot/serve/ServeAddress.h"
#include "monplot/serve/Token.h"

namespace serve {
namespace {

TEST(RequestTarget, DecodesPathAndQuery) {
    const RequestTarget target = parseTarget("/api/data?runs=r1%2Cr2&x=A+B&x=TIME&empty");
    ASSERT_TRUE(target.valid);
    EXPECT_EQ(target.path, "/api/data");
    EXPECT_EQ(target.value("runs"), "r1,r2");
    EXPECT_EQ(target.value("x"), "TIME");
    EXPECT_EQ(target.value("empty", "fallback"), "");
    EXPECT_EQ(target.value("missing", "fallback"), "fallback");
    EXPECT_EQ(parseTarget("/%2e%2e/etc").path, "/../etc");  // compared, never opened
    for (const char* bad : {"", "api", "/%", "/%4", "/?a=%G0", "/%00"})
        EXPECT_FALSE(parseTarget(bad).valid) << bad;
    EXPECT_EQ(targetWithout("/?token=1&a=2", "token"), "/?a=2");
    EXPECT_EQ(targetWithout("/run?token=1", "token"), "/run");
    EXPECT_EQ(targetWithout("/run", "token"), "/run");
}

TEST(JsonWriter, PlacesCommasAndEscapes) {
    JsonWriter json;
    json.beginObject().key("a").beginArray().number(0.1).number(NAN).integer(-3).endArray();
    json.key("s\"").string("<\x01\n>").key("b").boolean(true).key("n").null();
    json.key("f").number(1.0f / 3, 9).key("o").beginObject().endObject().endObject();
    EXPECT_EQ(json.text(),
              "{\"a\":[0.1,null,-3],\"s\\\"\":\"\\u003c\\u0001\\n\\u003e\",\"b\":true,"
              "\"n\":null,\"f\":0.333333343,\"o\":{}}");
}

TEST(Token, IsFreshHexAndComparedWhole) {
    const std::string token = newToken();
    EXPECT_EQ(token.size(), 32u);
    EXPECT_EQ(token.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_NE(token, newToken());
    EXPECT_TRUE(sameToken(token, token));
    for (const std::string& other :
         {std::string(), token.substr(1), token + "0", std::string(token.size(), '0')})
        EXPECT_FALSE(sameToken(other, token)) << other;
    EXPECT_FALSE(sameToken("", ""));
}

TEST(ServeAddress, ListensOnLoopbackUnlessAskedOtherwise) {
    const struct {
        const char* text;
        std::vector<std::string> addresses;
        bool loopbackOnly;
        std::string url;
    } cases[] = {
        {"8050", {"127.0.0.1", "::1"}, true, "127.0.0.1"},
        {"localhost:0", {"127.0.0.1", "::1"}, true, "127.0.0.1"},
        {"127.0.0.1:8050", {"127.0.0.1"}, true, "127.0.0.1"},
        {"[::1]:8050", {"::1"}, true, "[::1]"},
        {"0.0.0.0:8050", {"0.0.0.0"}, false, "127.0.0.1"},
        {"10.1.2.3:80", {"10.1.2.3"}, false, "10.1.2.3"},
    };
    for (const auto& c : cases) {
        const ServeAddress address = parseServeAddress(c.text);
        EXPECT_EQ(address.addresses, c.addresses) << c.text;
        EXPECT_EQ(address.loopbackOnly, c.loopbackOnly) << c.text;
        EXPECT_EQ(urlHost(address), c.url) << c.text;
    }
    for (const char* bad : {"", "x", "65536", "-1", "host:80", "[::g]:80", "1.2.3:80", "80:"})
        EXPECT_THROW(parseServeAddress(bad), owl::Error) << bad;
}

}  // namespace
}  // namespace serve
