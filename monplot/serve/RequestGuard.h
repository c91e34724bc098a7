#pragma once
// What a request must show before the dashboard answers it (a login node is
// shared with other users, and any web page in the user's browser may send
// requests to localhost):
//   - one Host header naming this server: localhost, 127.0.0.1 or [::1]
//     (or the address it was asked to listen on) with its port, so that a
//     foreign name resolved to 127.0.0.1 (DNS rebinding) is refused (403);
//   - no Origin but its own, and no cross-site fetch (403);
//   - GET or HEAD (405), a target that is a path (400);
//   - the token: in the cookie, or as "Authorization: token ...", compared
//     in constant time (401). A token in the address ("?token=...") is
//     exchanged for an HttpOnly SameSite=Strict cookie by a redirect to the
//     same address without it, so that it leaves the address bar.

#include <optional>
#include <string>
#include <vector>

#include "monplot/serve/HttpMessage.h"

namespace serve {

struct GuardSettings {
    std::string token;
    unsigned port = 0;
    // Host names accepted besides localhost, 127.0.0.1 and [::1].
    std::vector<std::string> extraHosts;
};

class RequestGuard {
  public:
    explicit RequestGuard(GuardSettings settings);

    // The answer to a request that may not go further, with its reason;
    // none for a request the dashboard may answer.
    std::optional<HttpResponse> check(const HttpRequest& request) const;
    // The cookie's name: one per port, so that two dashboards on one
    // machine keep theirs apart.
    std::string cookieName() const;

  private:
    bool hostAllowed(const std::string& host) const;
    bool carriesToken(const HttpRequest& request) const;

    GuardSettings settings_;
};

}  // namespace serve
