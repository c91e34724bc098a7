#pragma once
// For readers that take a path only: each input is written to one file in a
// directory of this process, removed at exit whatever happens.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzzinput {

class InputFile {
  public:
    explicit InputFile(const std::string& name) {
        char pattern[] = "/tmp/fuzz_input.XXXXXX";
        if (!::mkdtemp(pattern)) std::abort();
        dir_ = pattern;
        path_ = dir_ + "/" + name;
    }
    ~InputFile() {
        std::remove(path_.c_str());
        ::rmdir(dir_.c_str());
    }
    // Writes the input to the file and returns its path.
    const std::string& write(const uint8_t* bytes, size_t size) const {
        FILE* out = std::fopen(path_.c_str(), "wb");
        if (!out) std::abort();
        std::fwrite(bytes, 1, size, out);
        std::fclose(out);
        return path_;
    }

  private:
    std::string dir_, path_;
};

}  // namespace fuzzinput
