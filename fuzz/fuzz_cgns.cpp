// Fuzzes the CGNS history reader: detection, opening, and every variable's
// values. The library reads files by path only, so each input is written to
// a file in a directory of this process, removed again whatever happens.
// Bad input must end in owl::Error, never in a crash.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "libs/exception/Error.h"
#include "libs/mondata/formats/cgns/CgnsHistory.h"

namespace {

// A directory of this process, removed at exit with the input file in it.
class InputFile {
  public:
    InputFile() {
        char pattern[] = "/tmp/fuzz_cgns.XXXXXX";
        if (!::mkdtemp(pattern)) std::abort();
        dir_ = pattern;
        path_ = dir_ + "/input.cgns";
    }
    ~InputFile() {
        std::remove(path_.c_str());
        ::rmdir(dir_.c_str());
    }
    const std::string& path() const { return path_; }

  private:
    std::string dir_, path_;
};

const InputFile& input() {
    static const InputFile file;
    return file;
}

void readAll(const std::string& path, std::string_view head) {
    if (!mon::looksLikeCgns(path, head)) return;
    mon::RunData run = mon::readCgnsFile(path);
    for (size_t i = 0; i < run.variables.size(); ++i)
        if (run.loadColumn(i).size() != static_cast<size_t>(run.rows->rowCount())) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const std::string& path = input().path();
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) std::abort();
    std::fwrite(bytes, 1, size, out);
    std::fclose(out);
    const std::string_view head(reinterpret_cast<const char*>(bytes), size < 4096 ? size : 4096);
    try {
        readAll(path, head);
    } catch (const owl::Error&) {
    }
    std::remove(path.c_str());
    return 0;
}
