// Feeds arbitrary bytes to the command-language database, as sent text and as
// a file, then walks every object it holds: nothing may crash, hang or leak,
// and a failure must be an owl::Error.

#include <sys/mman.h>
#include <unistd.h>

#include <QString>
#include <cstdint>
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

// The file the bytes are loaded from lives in memory (an anonymous memory
// file, reached by its /proc path), so that runs leave nothing behind on disk,
// not even when one crashes. Empty when the system offers no such file.
std::string inMemoryFile(const std::string& bytes) {
    static const int fd = ::memfd_create("fuzz_rcl.mst", MFD_CLOEXEC);
    if (fd < 0 || ::ftruncate(fd, 0) != 0) return std::string();
    const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), 0);
    if (written != static_cast<ssize_t>(bytes.size())) return std::string();
    return "/proc/self/fd/" + std::to_string(fd);
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
    const std::string file = inMemoryFile(bytes);
    if (file.empty()) return 0;
    try {
        db.loadRCLFile(QString::fromLatin1(file.c_str()), true);
    } catch (const owl::Error&) {
    }
    return 0;
}
