#include "monplot/serve/HttpMessage.h"

namespace serve {

std::vector<std::string> HttpRequest::all(const std::string& name) const {
    std::vector<std::string> values;
    for (const auto& [key, value] : fields)
        if (key == name) values.push_back(value);
    return values;
}

std::string HttpRequest::field(const std::string& name) const {
    for (const auto& [key, value] : fields)
        if (key == name) return value;
    return {};
}

HttpResponse textResponse(int status, const std::string& text) {
    HttpResponse response;
    response.status = status;
    response.body = text + "\n";
    return response;
}

void addSecurityHeaders(HttpResponse& response) {
    response.fields.insert(response.fields.begin(), {{"Content-Security-Policy",
                                                      "default-src 'self'; frame-ancestors 'none'"},
                                                     {"X-Content-Type-Options", "nosniff"},
                                                     {"Referrer-Policy", "no-referrer"},
                                                     {"Cache-Control", "no-store"}});
}

}  // namespace serve
