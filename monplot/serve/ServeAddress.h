#pragma once
// The -serve value "[ADDRESS:]PORT": PORT alone listens on the loopback
// addresses 127.0.0.1 and ::1 only; "localhost:PORT" the same; an IPv4
// address or a bracketed IPv6 one ("[::1]:8050", "0.0.0.0:8050") listens
// there. PORT 0 takes a free port.

#include <string>
#include <vector>

namespace serve {

struct ServeAddress {
    std::vector<std::string> addresses;  // literal IP addresses to bind
    unsigned port = 0;
    bool loopbackOnly = true;  // false: others on the network may connect
    bool wildcard = false;     // 0.0.0.0 or ::: every interface
};

// Throws owl::Error for a malformed value, naming the option.
ServeAddress parseServeAddress(const std::string& text);

// The host to put in the printed address (127.0.0.1, or the address asked
// for unless it is a wildcard), bracketed when IPv6.
std::string urlHost(const ServeAddress& address);

}  // namespace serve
