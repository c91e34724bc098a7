#include "monplot/serve/ServeAddress.h"

#include <arpa/inet.h>

#include <cstdlib>

#include "libs/exception/Error.h"

namespace serve {

namespace {
[[noreturn]] void malformed(const std::string& text, const std::string& why) {
    throw owl::internal::error("monplot", "main",
                               "Option -serve needs [ADDRESS:]PORT (e.g. 8050 or 0.0.0.0:8050), "
                               "not '" +
                                   text + "': " + why + ".",
                               owl::errorFatal);
}

bool isIpv4(const std::string& text) {
    in_addr parsed;
    return inet_pton(AF_INET, text.c_str(), &parsed) == 1;
}

bool isIpv6(const std::string& text) {
    in6_addr parsed;
    return inet_pton(AF_INET6, text.c_str(), &parsed) == 1;
}
}  // namespace

ServeAddress parseServeAddress(const std::string& text) {
    ServeAddress address;
    const size_t colon = text.rfind(':');
    const std::string portText = colon == std::string::npos ? text : text.substr(colon + 1);
    std::string host = colon == std::string::npos ? "" : text.substr(0, colon);
    char* end = nullptr;
    const long port = std::strtol(portText.c_str(), &end, 10);
    if (portText.empty() || *end != '\0' || port < 0 || port > 65535)
        malformed(text, "the port is a number from 0 to 65535");
    address.port = static_cast<unsigned>(port);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
        if (!isIpv6(host)) malformed(text, "'" + host + "' is no IPv6 address");
    } else if (!host.empty() && host != "localhost" && !isIpv4(host)) {
        malformed(text, "the address is an IP address, IPv6 in brackets, or localhost");
    }
    if (host.empty() || host == "localhost") {
        address.addresses = {"127.0.0.1", "::1"};
        return address;
    }
    address.addresses = {host};
    address.wildcard = host == "0.0.0.0" || host == "::";
    address.loopbackOnly = host.compare(0, 4, "127.") == 0 || host == "::1";
    return address;
}

std::string urlHost(const ServeAddress& address) {
    if (address.wildcard || address.addresses.size() > 1) return "127.0.0.1";
    const std::string& host = address.addresses.front();
    return host.find(':') == std::string::npos ? host : "[" + host + "]";
}

}  // namespace serve
