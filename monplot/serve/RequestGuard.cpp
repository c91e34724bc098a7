#include "monplot/serve/RequestGuard.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "monplot/serve/RequestTarget.h"
#include "monplot/serve/Token.h"

namespace serve {

namespace {
std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The value of the named cookie in a Cookie header, if it is there.
std::optional<std::string> cookieValue(const std::string& header, const std::string& name) {
    std::istringstream pairs(header);
    for (std::string pair; std::getline(pairs, pair, ';');) {
        pair = trimmed(pair);
        if (pair.compare(0, name.size() + 1, name + "=") == 0) return pair.substr(name.size() + 1);
    }
    return std::nullopt;
}

HttpResponse refusal(int status, const std::string& reason) {
    return textResponse(status, reason);
}
}  // namespace

RequestGuard::RequestGuard(GuardSettings settings) : settings_(std::move(settings)) {}

std::string RequestGuard::cookieName() const {
    return "monplot_" + std::to_string(settings_.port);
}

bool RequestGuard::hostAllowed(const std::string& host) const {
    std::vector<std::string> names{"localhost", "127.0.0.1", "[::1]"};
    names.insert(names.end(), settings_.extraHosts.begin(), settings_.extraHosts.end());
    const std::string port = ":" + std::to_string(settings_.port);
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& name) { return lower(host) == lower(name) + port; });
}

bool RequestGuard::carriesToken(const HttpRequest& request) const {
    for (const std::string& header : request.all("cookie"))
        if (const auto value = cookieValue(header, cookieName()))
            if (sameToken(*value, settings_.token)) return true;
    const std::string authorization = trimmed(request.field("authorization"));
    const size_t blank = authorization.find(' ');
    return blank != std::string::npos && lower(authorization.substr(0, blank)) == "token" &&
           sameToken(trimmed(authorization.substr(blank)), settings_.token);
}

std::optional<HttpResponse> RequestGuard::check(const HttpRequest& request) const {
    const std::vector<std::string> hosts = request.all("host");
    if (hosts.size() != 1 || !hostAllowed(hosts.front()))
        return refusal(403, "This server answers only to its own address (Host header).");
    const std::vector<std::string> origins = request.all("origin");
    if (origins.size() > 1 ||
        (origins.size() == 1 && lower(origins.front()) != "http://" + lower(hosts.front())))
        return refusal(403, "Requests from other sites are refused (Origin header).");
    const std::string site = request.field("sec-fetch-site");
    if (!site.empty() && site != "same-origin" && site != "none")
        return refusal(403, "Requests from other sites are refused (Sec-Fetch-Site header).");
    if (request.method != "GET" && request.method != "HEAD") {
        HttpResponse response = refusal(405, "Only GET and HEAD are answered.");
        response.fields.push_back({"Allow", "GET, HEAD"});
        return response;
    }
    const RequestTarget target = parseTarget(request.target);
    if (!target.valid) return refusal(400, "The address is malformed.");
    if (target.query.count("token")) {
        if (!sameToken(target.value("token"), settings_.token))
            return refusal(401, "The token is wrong: open the address monplot printed.");
        HttpResponse response = refusal(303, "The token is now a cookie.");
        response.fields.push_back({"Location", targetWithout(request.target, "token")});
        response.fields.push_back({"Set-Cookie", cookieName() + "=" + settings_.token +
                                                     "; HttpOnly; SameSite=Strict; Path=/"});
        return response;
    }
    if (!carriesToken(request))
        return refusal(401, "A token is needed: open the address monplot printed.");
    return std::nullopt;
}

}  // namespace serve
