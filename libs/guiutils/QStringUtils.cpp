#include "libs/guiutils/QStringUtils.h"

namespace QStringUtils {

bool isTrue(const QString& value) {
    const QString text = value.trimmed().toLower();
    return text == QLatin1String("true") || text == QLatin1String("yes") ||
           text == QLatin1String("on") || text == QLatin1String("1");
}

QString qStringVectorToQString(const std::vector<QString>& texts, char separator) {
    QString joined;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) joined += QLatin1Char(separator);
        joined += texts[i];
    }
    return joined;
}

}  // namespace QStringUtils
