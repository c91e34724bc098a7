// Fuzzes following a growing file (mon::RunFollower): the input's first byte
// picks the name the file is given (a monitor file, an OpenFOAM log or data
// file, an SU2 history: the content decides the reader), its next eight
// bytes the lengths of the chunks the rest is written in, cycled. After
// every chunk the follower updates, and its run must be the run a whole
// reading of the bytes written so far gives, or both must fail; nothing may
// crash, hang or leak.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/RunChecks.h"
#include "libs/exception/Error.h"
#include "libs/mondata/sources/RunFollower.h"

namespace {

const char* const kNames[] = {"run.mon", "log.pimpleFoam", "0/forceCoeffs.dat", "history.csv"};
const size_t kChunkBytes = 8;

// A folder of this process for the growing file, removed at exit.
class Folder {
  public:
    Folder() {
        char pattern[] = "/tmp/fuzz_follow.XXXXXX";
        if (!::mkdtemp(pattern)) std::abort();
        path_ = pattern;
        ::mkdir((path_ + "/0").c_str(), 0700);
    }
    ~Folder() {
        for (const char* name : kNames) std::remove((path_ + "/" + name).c_str());
        ::rmdir((path_ + "/0").c_str());
        ::rmdir(path_.c_str());
    }
    std::string file(const char* name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

bool sameRun(const mon::RunData& a, const mon::RunData& b) {
    if (a.hasCoefficientLoops != b.hasCoefficientLoops || a.variables.size() != b.variables.size())
        return false;
    const mon::RowIndex& rows = *a.rows;
    if (rows.rowCount() != b.rows->rowCount() || rows.stepCount() != b.rows->stepCount())
        return false;
    for (int position = 0; position < rows.stepCount(); ++position)
        if (rows.stepAt(position) != b.rows->stepAt(position) ||
            rows.endRecordAt(position) != b.rows->endRecordAt(position))
            return false;
    for (int64_t record = 0; record < rows.rowCount(); ++record)
        if (rows.loopOfRecord(record) != b.rows->loopOfRecord(record)) return false;
    for (size_t v = 0; v < a.variables.size(); ++v) {
        if (a.variables[v].name != b.variables[v].name) return false;
        const auto& x = a.columns[v];
        const auto& y = b.columns[v];
        if (x.size() != y.size() ||
            (!x.empty() && std::memcmp(x.data(), y.data(), x.size() * sizeof(float)) != 0))
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    if (size < 1 + kChunkBytes) return 0;
    static const Folder folder;
    const std::string path = folder.file(kNames[bytes[0] % 4]);
    std::remove(path.c_str());
    const std::string_view text(reinterpret_cast<const char*>(bytes) + 1 + kChunkBytes,
                                size - 1 - kChunkBytes);
    mon::RunFollower follower(mon::SourceKind::MonitorFile, path);
    for (size_t written = 0, chunk = 0; written < text.size(); ++chunk) {
        const size_t length =
            std::min<size_t>(1 + bytes[1 + chunk % kChunkBytes] * 4, text.size() - written);
        std::FILE* out = std::fopen(path.c_str(), "ab");
        if (!out) std::abort();
        std::fwrite(text.data() + written, 1, length, out);
        std::fclose(out);
        written += length;
        bool followed = true, whole = true;
        try {
            follower.update();
        } catch (const owl::Error&) {
            followed = false;
        }
        mon::RunData reference;
        try {
            reference = mon::readRun(mon::SourceKind::MonitorFile, path);
        } catch (const owl::Error&) {
            whole = false;
        }
        if (followed != whole) __builtin_trap();
        if (!followed) continue;
        fuzzcheck::checkColumns(follower.run());
        if (!sameRun(follower.run(), reference)) __builtin_trap();
    }
    return 0;
}
