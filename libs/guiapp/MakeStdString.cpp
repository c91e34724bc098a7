#include "libs/guiapp/MakeStdString.h"

namespace owl {
namespace {

bool pairedAt(const QString& text, int i) {
    const QChar unit = text.at(i);
    if (unit.isHighSurrogate()) return i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
    return i > 0 && text.at(i - 1).isHighSurrogate();
}

// The text with every unpaired surrogate replaced by U+FFFD.
QString withoutLoneSurrogates(const QString& text) {
    QString repaired = text;
    for (int i = 0; i < repaired.size(); ++i)
        if (text.at(i).isSurrogate() && !pairedAt(text, i))
            repaired[i] = QChar(QChar::ReplacementCharacter);
    return repaired;
}

bool hasSurrogates(const QString& text) {
    for (const QChar unit : text)
        if (unit.isSurrogate()) return true;
    return false;
}

}  // namespace

std::string MakeStdString(const QString& text) {
    const QByteArray bytes = (hasSurrogates(text) ? withoutLoneSurrogates(text) : text).toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace owl
