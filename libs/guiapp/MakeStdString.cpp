#include "libs/guiapp/MakeStdString.h"

namespace owl {

std::string MakeStdString(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace owl
