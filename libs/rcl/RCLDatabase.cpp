#include "libs/rcl/RCLDatabase.h"

#include <QTextCodec>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "libs/guiapp/MakeStdString.h"
#include "libs/rcl/RCLParser.h"
#include "libs/rcl/RCLPath.h"

using owl::RCLObject;

namespace {
[[noreturn]] void raise(const std::string& operation, const std::string& message) {
    throw owl::data::error("RCLDatabase", operation, message, owl::errorFatal);
}

std::string readBytes(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        raise("loadRCLFile", "Cannot open the command-language file '" + owl::printable(path) +
                                 "': " + std::strerror(errno) + ".");
    std::string bytes;
    char buffer[65536];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, count);
    const int failure = std::ferror(file) ? errno : 0;
    std::fclose(file);
    if (failure)
        raise("loadRCLFile", "Cannot read the command-language file '" + owl::printable(path) +
                                 "': " + std::strerror(failure) + ".");
    return bytes;
}

// The text of a UTF-8 file; the first line that is not UTF-8 is an error.
QString decodeUtf8(const std::string& bytes, const std::string& path) {
    QTextCodec* codec = QTextCodec::codecForName("UTF-8");
    size_t start = 0;
    QString text;
    for (size_t line = 1; start <= bytes.size(); ++line) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        QTextCodec::ConverterState state;
        text += codec->toUnicode(bytes.data() + start, static_cast<int>(end - start), &state);
        if (state.invalidChars > 0 || state.remainingChars > 0)
            raise("loadRCLFile",
                  owl::printable(path) + ":" + std::to_string(line) + ": the text is not UTF-8");
        if (end < bytes.size()) text += QLatin1Char('\n');
        start = end + 1;
    }
    return text;
}

void mergeInto(RCLObject& target, const RCLObject& source, bool update) {
    for (const auto& [name, value] : source.parameters) {
        if (update)
            target.parameters[name] = value;
        else
            target.parameters.emplace(name, value);
    }
    for (const auto& child : source.children)
        mergeInto(target.ensureChild(child->type, child->name), *child, update);
}
}  // namespace

RCLDatabase* RCLDatabase::instance() {
    static RCLDatabase database;
    return &database;
}

RCLDatabase::RCLDatabase() : root_(std::make_unique<RCLObject>()) {}
RCLDatabase::~RCLDatabase() = default;

void RCLDatabase::loadRCLFile(const QString& file, bool replace) {
    // Paths arrive as QString::fromLatin1 of the user's bytes; toLatin1 gives
    // the bytes back unchanged.
    const std::string path = file.toLatin1().toStdString();
    const QString text = decodeUtf8(readBytes(path), path);
    std::unique_ptr<RCLObject> parsed = owl::RCLParser(path).parse(text);
    if (replace) clear();
    ++revision_;
    mergeInto(*root_, *parsed, true);
}

void RCLDatabase::sendRCL(const QString& text, bool update) {
    execute(text, "sent text", update);
}

void RCLDatabase::execute(const QString& text, const std::string& source, bool update) {
    std::unique_ptr<RCLObject> parsed = owl::RCLParser(source).parse(text);
    ++revision_;
    mergeInto(*root_, *parsed, update);
}

std::vector<const RCLObject*> RCLDatabase::resolve(const QString& path) const {
    std::vector<const RCLObject*> chain{root_.get()};
    const owl::RCLPath steps(owl::MakeStdString(path));
    for (const owl::RCLPath::Step& step : steps.getSteps()) {
        const RCLObject* child =
            chain.back()->findChild(QString::fromUtf8(step.type.c_str()).trimmed(),
                                    QString::fromUtf8(step.name.c_str()).trimmed());
        if (!child) return {};
        chain.push_back(child);
    }
    return chain;
}

std::vector<QString> RCLDatabase::getObjectsByTypeAndPath(const QString& type,
                                                          const QString& path) const {
    std::vector<QString> names;
    const std::vector<const RCLObject*> chain = resolve(path);
    if (chain.empty()) return names;
    for (const auto& child : chain.back()->children)
        if (child->type == type) names.push_back(child->name);
    return names;
}

ParamMap RCLDatabase::getObjectParameters(const QString& objectPath, bool inherited) const {
    const std::vector<const RCLObject*> chain = resolve(objectPath);
    if (chain.empty())
        throw owl::data::notFound(
            "RCLDatabase", "getObjectParameters",
            "No command-language object at '" + owl::MakeStdString(objectPath) + "'.",
            owl::errorFatal);
    ParamMap parameters = chain.back()->parameters;
    if (inherited)
        for (auto it = chain.rbegin() + 1; it != chain.rend(); ++it)
            parameters.insert((*it)->parameters.begin(), (*it)->parameters.end());
    return parameters;
}

bool RCLDatabase::hasObject(const QString& objectPath) const {
    return !resolve(objectPath).empty();
}

void RCLDatabase::clear() {
    root_ = std::make_unique<RCLObject>();
    ++revision_;
}
