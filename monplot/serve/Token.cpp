#include "monplot/serve/Token.h"

#include <sys/random.h>

#include <cstdint>

#include "libs/exception/Error.h"

namespace serve {

std::string newToken() {
    unsigned char bytes[16];
    size_t filled = 0;
    while (filled < sizeof bytes) {
        const ssize_t got = getrandom(bytes + filled, sizeof bytes - filled, 0);
        if (got <= 0)
            throw owl::internal::error("serve", "newToken",
                                       "The system gives no random numbers for the token.",
                                       owl::errorFatal);
        filled += static_cast<size_t>(got);
    }
    static const char kDigits[] = "0123456789abcdef";
    std::string token;
    for (unsigned char byte : bytes) token += kDigits[byte >> 4], token += kDigits[byte & 15];
    return token;
}

bool sameToken(const std::string& given, const std::string& token) {
    // Every byte of the token is looked at whatever the given text holds.
    uint8_t difference = given.size() == token.size() ? 0 : 1;
    for (size_t i = 0; i < token.size(); ++i) {
        const char other = i < given.size() ? given[i] : '\0';
        difference |= static_cast<uint8_t>(other ^ token[i]);
    }
    return difference == 0 && !token.empty();
}

}  // namespace serve
