#include "libs/utilities/Utf8.h"

namespace owl {
namespace utf8 {

namespace {

// What a UTF-8 lead byte announces: the sequence length, the bits it carries
// and the range its first continuation byte must lie in (which excludes
// overlong forms, surrogates and code points above U+10FFFF).
struct Lead {
    int length = 0;
    long bits = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
};

Lead leadOf(unsigned char byte) {
    Lead lead;
    if (byte >= 0xC2 && byte <= 0xDF) lead = {2, byte & 0x1F, 0x80, 0xBF};
    if (byte >= 0xE0 && byte <= 0xEF) lead = {3, byte & 0x0F, 0x80, 0xBF};
    if (byte >= 0xF0 && byte <= 0xF4) lead = {4, byte & 0x07, 0x80, 0xBF};
    if (byte == 0xE0) lead.low = 0xA0;
    if (byte == 0xED) lead.high = 0x9F;
    if (byte == 0xF0) lead.low = 0x90;
    if (byte == 0xF4) lead.high = 0x8F;
    return lead;
}

void append(long code, QString& text) {
    if (code == kIllFormed) {
        text += QChar(QChar::ReplacementCharacter);
    } else if (code < 0x10000) {
        text += QChar(static_cast<ushort>(code));
    } else {
        text += QChar(QChar::highSurrogate(static_cast<uint>(code)));
        text += QChar(QChar::lowSurrogate(static_cast<uint>(code)));
    }
}

}  // namespace

long decodeAt(std::string_view text, size_t& pos) {
    const auto byte = static_cast<unsigned char>(text[pos++]);
    if (byte < 0x80) return byte;
    Lead lead = leadOf(byte);
    if (lead.length == 0) return kIllFormed;
    long code = lead.bits;
    for (int i = 1; i < lead.length; ++i, ++pos) {
        if (pos >= text.size()) return kIllFormed;
        const auto next = static_cast<unsigned char>(text[pos]);
        if (next < lead.low || next > lead.high) return kIllFormed;
        code = (code << 6) | (next & 0x3F);
        lead.low = 0x80;
        lead.high = 0xBF;
    }
    return code;
}

QString toQString(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<int>(bytes.size()));
    for (size_t pos = 0; pos < bytes.size();) append(decodeAt(bytes, pos), text);
    return text;
}

}  // namespace utf8
}  // namespace owl
