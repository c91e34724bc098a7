#pragma once
// The path and query of a request target ("/api/data?run=r1&px=2.5"),
// percent-decoded. The path is only ever compared with the dashboard's own
// names: it never becomes a file name.

#include <map>
#include <string>

namespace serve {

struct RequestTarget {
    std::string path;
    std::map<std::string, std::string> query;  // the last of repeated names wins
    bool valid = false;                        // starts with '/', and every escape is well formed

    // The value of a query parameter, or the fallback when absent.
    std::string value(const std::string& name, const std::string& fallback = "") const;
};

RequestTarget parseTarget(const std::string& target);

// The target without the named query parameter (the token, once exchanged
// for a cookie), the others kept in their order.
std::string targetWithout(const std::string& target, const std::string& name);

}  // namespace serve
