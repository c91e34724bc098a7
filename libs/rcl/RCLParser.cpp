#include "libs/rcl/RCLParser.h"

#include <QStringList>

#include "libs/exception/Error.h"
#include "libs/guiapp/MakeStdString.h"

namespace owl {

namespace {
const QString kEnd = QStringLiteral("END");

QString quoted(const QString& text) {
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

// The escape sequences of quoted values: \" \\ \n \t.
bool unescape(QChar code, QString& out) {
    switch (code.unicode()) {
        case '"':
            out += QLatin1Char('"');
            return true;
        case '\\':
            out += QLatin1Char('\\');
            return true;
        case 'n':
            out += QLatin1Char('\n');
            return true;
        case 't':
            out += QLatin1Char('\t');
            return true;
        default:
            return false;
    }
}
}  // namespace

RCLParser::RCLParser(std::string source) : source_(std::move(source)) {}

std::unique_ptr<RCLObject> RCLParser::parse(const QString& text) {
    root_ = std::make_unique<RCLObject>();
    open_ = {root_.get()};
    openedOn_.clear();
    line_ = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        ++line_;
        parseLine(line);
    }
    if (!openedOn_.empty()) {
        const RCLObject* object = open_.back();
        failOnLine(openedOn_.back(),
                   QStringLiteral("object ") +
                       quoted(object->type + QStringLiteral(": ") + object->name) +
                       QStringLiteral(" has no 'END'"));
    }
    return std::move(root_);
}

void RCLParser::parseLine(const QString& rawLine) {
    const QString line = rawLine.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) return;
    if (line == kEnd) return closeObject();
    const int colon = line.indexOf(QLatin1Char(':'));
    const int equals = line.indexOf(QLatin1Char('='));
    if (equals >= 0 && (colon < 0 || equals < colon))
        return setParameter(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    if (colon >= 0) return openObject(line);
    fail(QStringLiteral("expected 'TYPE: Name', 'Parameter = Value' or 'END', found ") +
         quoted(line));
}

void RCLParser::openObject(const QString& header) {
    const int colon = header.indexOf(QLatin1Char(':'));
    const QString type = header.left(colon).trimmed();
    const QString name = header.mid(colon + 1).trimmed();
    if (type.isEmpty())
        fail(QStringLiteral("object ") + quoted(header) + QStringLiteral(" has no type"));
    if (name.isEmpty())
        fail(QStringLiteral("object ") + quoted(header) + QStringLiteral(" has no name"));
    if (header.contains(QLatin1Char('/')))
        fail(QStringLiteral("object ") + quoted(header) +
             QStringLiteral(": types and names cannot hold '/'"));
    if (openedOn_.size() >= maxDepth)
        fail(QStringLiteral("objects are nested deeper than %1 levels").arg(maxDepth));
    open_.push_back(&open_.back()->ensureChild(type, name));
    openedOn_.push_back(line_);
}

void RCLParser::closeObject() {
    if (openedOn_.empty()) fail(QStringLiteral("'END' without an open object"));
    open_.pop_back();
    openedOn_.pop_back();
}

void RCLParser::setParameter(const QString& name, const QString& rawValue) {
    if (name.isEmpty()) fail(QStringLiteral("parameter without a name"));
    if (openedOn_.empty())
        fail(QStringLiteral("parameter ") + quoted(name) + QStringLiteral(" outside any object"));
    open_.back()->parameters[name] = unquote(rawValue);
}

// A value that starts with '"' is a quoted text with escapes; any other value
// stands for itself.
QString RCLParser::unquote(const QString& rawValue) const {
    if (!rawValue.startsWith(QLatin1Char('"'))) return rawValue;
    QString value;
    for (int i = 1; i < rawValue.size(); ++i) {
        const QChar c = rawValue[i];
        if (c == QLatin1Char('"')) {
            if (i + 1 < rawValue.size()) fail(QStringLiteral("text after the closing quote"));
            return value;
        }
        if (c != QLatin1Char('\\')) {
            value += c;
        } else if (++i >= rawValue.size() || !unescape(rawValue[i], value)) {
            fail(QStringLiteral("unknown escape in quoted value; use \\\", \\\\, \\n or \\t"));
        }
    }
    fail(QStringLiteral("quoted value has no closing quote"));
}

void RCLParser::fail(const QString& what) const {
    failOnLine(line_, what);
}

void RCLParser::failOnLine(size_t line, const QString& what) const {
    throw data::error("RCLDatabase", "parse",
                      source_ + ":" + std::to_string(line) + ": " + MakeStdString(what),
                      errorFatal);
}

}  // namespace owl
