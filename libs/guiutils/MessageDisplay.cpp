#include "libs/guiutils/MessageDisplay.h"

#include <iostream>

namespace owl {

MessageDisplayItf::~MessageDisplayItf() = default;

LineMessageDisplay::LineMessageDisplay() : out_(&std::cerr) {}
LineMessageDisplay::LineMessageDisplay(std::ostream& out) : out_(&out) {}
LineMessageDisplay::~LineMessageDisplay() = default;

namespace {
const char* kindName(MessageKind kind) {
    switch (kind) {
        case MessageKind::Information:
            return "Note";
        case MessageKind::Warning:
            return "Warning";
        case MessageKind::Error:
            return "Error";
    }
    return "Note";
}
}  // namespace

void LineMessageDisplay::showMessage(MessageKind kind, const QString& text) {
    QByteArray line = text.toUtf8();
    line.replace('\r', ' ').replace('\n', ' ');
    *out_ << kindName(kind) << ": " << line.constData() << std::endl;
}

}  // namespace owl
