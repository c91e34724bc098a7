#pragma once
// The dashboard's secret: 128 random bits from the kernel, written as 32
// hexadecimal digits, and a comparison whose time does not depend on where
// two texts first differ (so the token cannot be guessed digit by digit).

#include <string>

namespace serve {

// Throws owl::Error when the kernel gives no random bytes.
std::string newToken();

// Equal texts; takes the same time for every text of the token's length.
bool sameToken(const std::string& given, const std::string& token);

}  // namespace serve
