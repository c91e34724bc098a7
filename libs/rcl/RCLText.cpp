#include "libs/rcl/RCLText.h"

namespace owl {

namespace {
bool needsQuoting(const QString& value) {
    if (value != value.trimmed() || value.startsWith(QLatin1Char('"'))) return true;
    for (QChar c : value)
        if (c.unicode() < 0x20) return true;
    return false;
}

QString escaped(const QString& value) {
    QString out;
    out.reserve(value.size() + 2);
    for (QChar c : value) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\')) out += QLatin1Char('\\');
        if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else
            out += c;
    }
    return out;
}
}  // namespace

QString rclValue(const QString& value) {
    if (!needsQuoting(value)) return value;
    return QLatin1Char('"') + escaped(value) + QLatin1Char('"');
}

QString rclObjectName(const QString& name, const QString& fallback) {
    QString cleaned = name;
    for (QChar& c : cleaned)
        if (c == QLatin1Char('/') || c == QLatin1Char(':') || c.unicode() < 0x20 || c.isSpace())
            c = QLatin1Char(' ');
    cleaned = cleaned.simplified();
    return cleaned.isEmpty() ? fallback : cleaned;
}

QString rclChildPath(const QString& path, const QString& type, const QString& name) {
    return path + QLatin1Char('/') + type + QLatin1Char(':') + name;
}

}  // namespace owl
