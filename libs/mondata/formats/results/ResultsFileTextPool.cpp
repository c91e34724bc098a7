#include "libs/mondata/formats/results/ResultsFileTextPool.h"

#include <algorithm>

#include "libs/utilities/Utf8.h"

namespace mon::results {

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

QString decodeText(std::string_view bytes) {
    // Latin-1 decodes ASCII as UTF-8 does, without the per-character work;
    // an empty text stays a declared (not null) one.
    if (isAscii(bytes))
        return QString::fromLatin1(bytes.empty() ? "" : bytes.data(),
                                   static_cast<int>(bytes.size()));
    return owl::utf8::toQString(bytes);
}

std::pair<const QString*, bool> TextPool::find(std::string_view bytes) {
    auto [at, added] = texts_.try_emplace(bytes);
    if (added) {
        at->second = decodeText(bytes);
        if (letterCase_ == Case::kLowered) at->second = at->second.toLower();
    }
    return {&at->second, added};
}

const QString& TextPool::decode(std::string_view bytes) {
    return *find(bytes).first;
}

bool TextPool::decodeNew(std::string_view bytes, QString& text) {
    auto [found, added] = find(bytes);
    text = *found;
    return added;
}

}  // namespace mon::results
