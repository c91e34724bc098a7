#include "monplot/serve/RequestGuard.h"

#include <gtest/gtest.h>

namespace serve {
namespace {

const std::string kToken = "0123456789abcdef0123456789abcdef";

HttpRequest request(const std::string& method, const std::string& target,
                    std::vector<std::pair<std::string, std::string>> fields) {
    return {method, target, std::move(fields)};
}

// Every way in, and what it gets: the status of the refusal, 0 when let
// through.
TEST(RequestGuard, RefusesAllButItsOwnPageWithTheToken) {
    const RequestGuard guard({kToken, 8050, {}});
    const std::pair<std::string, std::string> host{"host", "127.0.0.1:8050"};
    const std::pair<std::string, std::string> cookie{"cookie", "a=b; monplot_8050=" + kToken};
    const struct {
        const char* what;
        HttpRequest request;
        int status;
    } cases[] = {
        {"cookie", request("GET", "/api/runs", {host, cookie}), 0},
        {"authorization", request("HEAD", "/", {host, {"authorization", "token " + kToken}}), 0},
        {"scheme in any case", request("GET", "/", {host, {"authorization", "Token " + kToken}}),
         0},
        {"localhost", request("GET", "/", {{"host", "localhost:8050"}, cookie}), 0},
        {"ipv6", request("GET", "/", {{"host", "[::1]:8050"}, cookie}), 0},
        {"own origin", request("GET", "/", {host, cookie, {"origin", "http://127.0.0.1:8050"}}), 0},
        {"no token", request("GET", "/api/runs", {host}), 401},
        {"wrong cookie", request("GET", "/", {host, {"cookie", "monplot_8050=" + kToken + "0"}}),
         401},
        {"other port's cookie", request("GET", "/", {host, {"cookie", "monplot_8051=" + kToken}}),
         401},
        {"bearer", request("GET", "/", {host, {"authorization", "Bearer " + kToken}}), 401},
        {"wrong token in address", request("GET", "/?token=abc", {host}), 401},
        {"foreign host", request("GET", "/", {{"host", "evil.example:8050"}, cookie}), 403},
        {"other port", request("GET", "/", {{"host", "127.0.0.1:8051"}, cookie}), 403},
        {"no host", request("GET", "/", {cookie}), 403},
        {"two hosts", request("GET", "/", {host, host, cookie}), 403},
        {"foreign origin", request("GET", "/", {host, cookie, {"origin", "http://evil.example"}}),
         403},
        {"null origin", request("GET", "/", {host, cookie, {"origin", "null"}}), 403},
        {"cross-site fetch", request("GET", "/", {host, cookie, {"sec-fetch-site", "cross-site"}}),
         403},
        {"post", request("POST", "/api/runs", {host, cookie}), 405},
        {"options", request("OPTIONS", "/", {host, cookie}), 405},
        {"absolute target", request("GET", "http://127.0.0.1:8050/", {host, cookie}), 400},
        {"broken escape", request("GET", "/%zz", {host, cookie}), 400},
        {"escaped nul", request("GET", "/a%00b", {host, cookie}), 400},
    };
    for (const auto& c : cases) {
        const std::optional<HttpResponse> refusal = guard.check(c.request);
        EXPECT_EQ(refusal ? refusal->status : 0, c.status) << c.what;
    }
}

TEST(RequestGuard, ExchangesTheTokenInTheAddressForACookie) {
    const RequestGuard guard({kToken, 8050, {}});
    const auto answer =
        guard.check(request("GET", "/?x=1&token=" + kToken + "&y=2", {{"host", "localhost:8050"}}));
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 303);
    std::map<std::string, std::string> fields(answer->fields.begin(), answer->fields.end());
    EXPECT_EQ(fields["Location"], "/?x=1&y=2");
    EXPECT_EQ(fields["Set-Cookie"],
              "monplot_8050=" + kToken + "; HttpOnly; SameSite=Strict; Path=/");
}

TEST(RequestGuard, AcceptsTheAddressItWasAskedToListenOn) {
    const RequestGuard guard({kToken, 80, {"node7"}});
    EXPECT_FALSE(guard.check(
        request("GET", "/", {{"host", "NODE7:80"}, {"authorization", "token " + kToken}})));
}

}  // namespace
}  // namespace serve
