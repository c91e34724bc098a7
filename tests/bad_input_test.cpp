// Bad input through every data source: garbage, truncated, empty, binary and
// out-of-range files give the two-line report and status 255, write nothing
// to standard output, and leave every input byte as it was.

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

using e2e::example;

// Runs -showvars on the source and checks the report and the input bytes.
void expectReport(const std::string& option, const std::string& source,
                  const std::string& inputFile, const std::string& message) {
    const std::string before = e2e::readFile(inputFile);
    EXPECT_TRUE(e2e::failsWith(e2e::monexport({"-showvars", option, source}), message));
    EXPECT_EQ(e2e::readFile(inputFile), before) << source;
}

struct BadFile {
    const char* name;
    std::string content;
    std::string monitorError;  // after "PATH"
};

std::vector<BadFile> badMonitorFiles() {
    const std::string transient = e2e::readFile(example("transient.mon"));
    const std::string notMonitor =
        ":1: not a monitor file, OpenFOAM data file, OpenFOAM solver log or SU2 history file: the "
        "first line must start with 'monitor-file 1'";
    return {
        {"garbage.mon", "lorem ipsum dolor\nsit amet\n", notMonitor},
        {"binary.mon",
         std::string("\x7f"
                     "ELF\x02\x01\x01\0\0\n\0\xff",
                     13),
         notMonitor},
        {"truncated.mon", transient.substr(0, 20),
         ": the run has no records yet: the file has no complete first line (expected that of a "
         "monitor file, OpenFOAM data file, OpenFOAM solver log or SU2 history file)"},
        {"huge.mon", "monitor-file 1\nvar A\n1 1e39\n",
         ":3: value '1e39' of variable 'A' is outside the single-precision range"},
        {"hugestep.mon", "monitor-file 1\nvar A\n99999999999 1\n",
         ":3: time step '99999999999' is not a whole number from 0 to 2147483647"},
        {"cut.mon", transient.substr(0, transient.find("\n1 1 ") + 3) + "\n",
         ":35: record of time step 1 has no coefficient loop"},
    };
}

TEST(BadInput, MonitorFiles) {
    e2e::TempDir dir;
    for (const BadFile& bad : badMonitorFiles()) {
        const std::string path = dir.file(bad.name);
        e2e::writeFile(path, bad.content);
        expectReport("-mon", path, path, path + bad.monitorError);
    }
}

TEST(BadInput, RunDirectoriesNameTheSegment) {
    e2e::TempDir dir;
    for (const BadFile& bad : badMonitorFiles()) {
        const std::string folder = dir.file(std::string(bad.name) + ".dir");
        dir.write(std::string(bad.name) + ".dir/1.mon",
                  e2e::readFile(example("transient.dir/segment-001.mon")));
        dir.write(std::string(bad.name) + ".dir/2.mon", bad.content);
        if (std::string(bad.name) == "truncated.mon") {
            // A segment without a complete first line has just been created:
            // it holds no data yet and the run is read without it.
            EXPECT_EQ(e2e::monexport({"-showvars", "-dir", folder}).status, 0);
            continue;
        }
        // A second segment that carries no loops contradicts the first.
        // A run directory holds monitor files only, and says so.
        std::string message = folder + "/2.mon" + bad.monitorError;
        const std::string otherKinds =
            ", OpenFOAM data file, OpenFOAM solver log or SU2 history file";
        if (message.find(otherKinds) != std::string::npos)
            message.erase(message.find(otherKinds), otherKinds.size());
        if (std::string(bad.name) == "huge.mon" || std::string(bad.name) == "hugestep.mon")
            message = folder +
                      "/2.mon:1: records carry no coefficient loops, but the earlier "
                      "segments' do";
        expectReport("-dir", folder, folder + "/2.mon", message);
    }
}

// Folders without a run, files that are no results file, and sources of a
// known kind given with another kind's option, which the report names.
TEST(BadInput, SourcesWithoutARunOrGivenWithTheWrongOption) {
    e2e::TempDir dir;
    const std::string packed = e2e::readFile(example("transient.res"));
    dir.write("run.res", packed);
    dir.write("run.mon", e2e::readFile(example("transient.mon")));
    dir.write("garbage.res", "lorem ipsum\n");
    dir.write("empty.res", "");
    dir.write("binary.res", std::string("\0\x01\x02\xff\xfe", 5));
    dir.write("history.csv", "\"Inner_Iter\",\"rms[Rho]\"\n0,-1\n");
    dir.write("new/notes.txt", "monitor-file 1\n");
    dir.write("new/new.mon", "monitor-fi");
    dir.folder("empty");
    auto use = [&](const std::string& name, const std::string& kind, const std::string& option) {
        return "'" + dir.file(name) + "' is " + kind + ": use " + option + " to read it.";
    };
    const std::string notHdf5 = "': not a results file (not in HDF5 format).";
    auto unreadable = [&](const std::string& name) {
        return "Cannot read '" + dir.file(name) + notHdf5;
    };
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"-dir", dir.file("empty")},
         "No run found in '" + dir.file("empty") +
             "': no postProcessing/, no log.* solver log, no SU2 history*.csv/.dat, no *.mon "
             "segments."},
        {{"-dir", dir.file("new")},
         "Run directory '" + dir.file("new") +
             "' has no records yet: none of its monitor files has a complete first line."},
        {{"-dir", dir.file("missing")},
         "Cannot read run directory '" + dir.file("missing") + "': No such file or directory."},
        {{"-dir", dir.file("new/new.mon")}, use("new/new.mon", "a file", "-mon")},
        {{"-dir", dir.file("history.csv")}, use("history.csv", "an SU2 history file", "-mon")},
        {{"-mon", dir.file("run.res")}, use("run.res", "an HDF5 file (a results file)", "-res")},
        {{"-mon", dir.path()}, "'" + dir.path() + "' is a folder: use -dir to read it."},
        {{"-res", dir.file("run.mon")}, use("run.mon", "a monitor file", "-mon")},
        {{"-res", dir.file("garbage.res")}, unreadable("garbage.res")},
        {{"-res", dir.file("empty.res")}, unreadable("empty.res")},
        {{"-res", dir.file("binary.res")}, unreadable("binary.res")},
    };
    for (const auto& [source, message] : cases)
        expectReport(source[0], source[1], dir.file("run.res"), message);
    for (size_t length : {size_t(8), size_t(100), packed.size() / 2, packed.size() - 1}) {
        const std::string path = dir.file("cut" + std::to_string(length) + ".res");
        e2e::writeFile(path, packed.substr(0, length));
        expectReport("-res", path, path,
                     "Cannot read '" + path + "': the results file is damaged or truncated.");
    }
}

}  // namespace
