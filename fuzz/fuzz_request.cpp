// Fuzzes what the dashboard reads from the network before it answers: the
// request target's parser and the request guard. The input is a request's
// method, target and header lines, one per line ("name: value"). Nothing may
// crash, a target that parses starts with '/', and no request passes the
// guard unless it carries the token somewhere: a guard in doubt says no.

#include <cstdint>
#include <string>

#include "monplot/serve/RequestGuard.h"
#include "monplot/serve/RequestTarget.h"

namespace {

const char kToken[] = "0123456789abcdef0123456789abcdef";

serve::HttpRequest requestOf(const std::string& text) {
    serve::HttpRequest request;
    size_t at = 0;
    for (int line = 0; at <= text.size(); ++line) {
        const size_t end = std::min(text.find('\n', at), text.size());
        const std::string part = text.substr(at, end - at);
        at = end + 1;
        if (line == 0)
            request.method = part;
        else if (line == 1)
            request.target = part;
        else if (const size_t colon = part.find(':'); colon != std::string::npos)
            request.fields.emplace_back(part.substr(0, colon), part.substr(colon + 1));
    }
    return request;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    static const serve::RequestGuard guard({kToken, 8050, {}});
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    const serve::HttpRequest request = requestOf(text);
    const serve::RequestTarget target = serve::parseTarget(request.target);
    if (target.valid && (target.path.empty() || target.path[0] != '/')) __builtin_trap();
    serve::targetWithout(request.target, "token");
    if (!guard.check(request) && text.find(kToken) == std::string::npos) __builtin_trap();
    return 0;
}
