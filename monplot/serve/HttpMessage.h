#pragma once
// A request and its answer as the dashboard sees them, free of the HTTP
// library: the library's one file (HttpServer.cpp) fills a request in and
// writes the answer out, so that routing and checks are tested without it.

#include <string>
#include <utility>
#include <vector>

namespace serve {

struct HttpRequest {
    std::string method;  // as sent: "GET", "HEAD", ...
    std::string target;  // path and query, as sent
    // Every header field in arrival order, names in lower case.
    std::vector<std::pair<std::string, std::string>> fields;

    // The values of the named field (lower case), in order.
    std::vector<std::string> all(const std::string& name) const;
    // The first value of the named field, empty when absent.
    std::string field(const std::string& name) const;
};

struct HttpResponse {
    int status = 200;
    std::string contentType = "text/plain; charset=utf-8";
    std::string body;
    std::vector<std::pair<std::string, std::string>> fields;  // beyond the usual
    // The answer opens a server-sent event stream: the body is its first
    // events and the connection stays open for more.
    bool eventStream = false;
};

// A short plain-text answer with the given status.
HttpResponse textResponse(int status, const std::string& text);

// Adds the headers every answer carries: the content security policy,
// nosniff, no referrer, no caching of data.
void addSecurityHeaders(HttpResponse& response);

}  // namespace serve
