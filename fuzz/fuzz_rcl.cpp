// Feeds arbitrary bytes to the command-language database, as sent text and as
// a file, then walks every object it holds: nothing may crash, hang or leak,
// and a failure must be an owl::Error.

#include <unistd.h>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <string>

#include "libs/exception/Error.h"
#include "libs/rcl/GroupRCLGenerator.h"
#include "libs/rcl/OVRCLUtils.h"
#include "libs/rcl/RCLDatabase.h"
#include "libs/rcl/RCLPath.h"

namespace {

void walk(const RCLDatabase& db, const QString& path, const QString& type, int depth) {
    if (depth > 40) __builtin_trap();  // the parser must limit nesting
    for (const QString& name : db.getObjectsByTypeAndPath(type, path)) {
        const QString child = path + QLatin1Char('/') + type + QLatin1Char(':') + name;
        db.getObjectParameters(child, true);
        owl::RCLPath(child.toStdString()).getLastName();
        walk(db, child, type, depth + 1);
    }
}

void exercise(RCLDatabase& db) {
    walk(db, QStringLiteral("/"), QStringLiteral("T"), 0);
    walk(db, QStringLiteral("/"), QStringLiteral("MONITOR WORKSPACE"), 0);
    owl::OVRCLUtils::getGroupPriorityMap(&db);
    owl::GroupRCLGenerator generator(QStringLiteral("/MONITOR WORKSPACE: Run"),
                                     QStringLiteral("MONITOR WORKSPACE : Run"), &db);
    for (const QString& name : db.getObjectsByTypeAndPath(QStringLiteral("GROUPING RULE"),
                                                          owl::OVRCLUtils::workspacePath()))
        db.sendRCL(generator.generateRCL(name, {}), true);
}

const std::string& scratchFile() {
    static const std::string path = "/tmp/fuzz_rcl." + std::to_string(getpid()) + ".mst";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    RCLDatabase db;
    try {
        db.sendRCL(QString::fromUtf8(bytes.data(), static_cast<int>(bytes.size())), size % 2 == 0);
        exercise(db);
    } catch (const owl::Error&) {
    }
    if (FILE* file = std::fopen(scratchFile().c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        try {
            db.loadRCLFile(QString::fromLatin1(scratchFile().c_str()), true);
        } catch (const owl::Error&) {
        }
    }
    return 0;
}
