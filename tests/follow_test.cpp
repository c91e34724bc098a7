// Following a run as it grows (mon::RunFollower): real-shaped sources of
// every format that is followed, written a random chunk at a time (cuts
// inside lines, numbers and UTF-8 sequences), with an update after each
// chunk. After every update the run equals a whole reading of the bytes
// written so far, up to the last complete record, and at the end the whole
// reading itself. Then the changes a follower must notice: truncation,
// replacement, new segments, files that go missing for a moment.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <random>
#include <utility>

#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/sources/RunFollower.h"
#include "tests/CommandRunner.h"
#include "tests/RunText.h"

namespace {

using mon::SourceKind;

// A run as text, with the doubles of the variables held in double
// precision; a long run's values as a hash of their bits, which is quicker.
std::string snapshot(const mon::RunData& run) {
    if (run.rows->rowCount() <= 2000) {
        std::string text = testing_run::describe(run);
        for (size_t v = 0; v < run.variables.size(); ++v) {
            if (!run.variables[v].holdsDoubles()) continue;
            text += "doubles " + std::to_string(v) + ":";
            for (double value : run.doubleColumns.at(v)) text += " " + std::to_string(value);
            text += "\n";
        }
        return text;
    }
    std::string text = run.hasCoefficientLoops ? "loops\n" : "steady\n";
    for (const mon::VariableInfo& info : run.variables) text += info.name.toStdString() + "\n";
    uint64_t hash = 1469598103934665603ull;
    const auto mix = [&hash](const void* data, size_t bytes) {
        for (size_t i = 0; i < bytes; ++i)
            hash = (hash ^ static_cast<const unsigned char*>(data)[i]) * 1099511628211ull;
    };
    const mon::RowIndex& rows = *run.rows;
    for (int position = 0; position < rows.stepCount(); ++position) {
        const int step = rows.stepAt(position);
        mix(&step, sizeof step);
        for (int64_t r = rows.firstRecordAt(position); r < rows.endRecordAt(position); ++r) {
            const int loop = rows.loopOfRecord(r);
            mix(&loop, sizeof loop);
        }
    }
    for (size_t v = 0; v < run.variables.size(); ++v) {
        const auto& floats = run.columns.at(v);
        mix(floats.data(), floats.size() * sizeof(float));
        if (run.variables[v].holdsDoubles())
            mix(run.doubleColumns.at(v).data(), run.doubleColumns.at(v).size() * sizeof(double));
    }
    return text + std::to_string(rows.rowCount()) + " records, hash " + std::to_string(hash);
}

// An error's message with the folder of the source left out.
std::string errorIn(const std::string& folder, std::string message) {
    for (size_t at = message.find(folder); !folder.empty() && at != std::string::npos;
         at = message.find(folder))
        message.replace(at, folder.size(), "DIR");
    return "error: " + message;
}

// The run a whole reading gives, or its error.
std::string wholeReading(SourceKind kind, const std::string& path, const std::string& folder,
                         const mon::ReadOptions& options = {}) {
    std::string text;
    const std::string error =
        e2e::errorOf([&] { text = snapshot(mon::readRun(kind, path, options)); });
    return error.empty() ? text : errorIn(folder, error);
}

// The run a follower has after an update, or the update's error.
std::string followed(mon::RunFollower& follower, const std::string& folder,
                     size_t* added = nullptr) {
    size_t records = 0;
    const std::string error = e2e::errorOf([&] { records = follower.update(); });
    if (added) *added = records;
    return error.empty() ? snapshot(follower.run()) : errorIn(folder, error);
}

// A source: a file given with -mon, or a folder given with -dir whose files
// are written in turn in the order of their names, or all at once (a
// case's logs and function objects) a chunk to a random file at a time.
struct SourceCase {
    const char* name;
    SourceKind kind;
    const char* path;  // relative to the source tree
    // Whether records are written again (restarts): else every update adds
    // exactly the records appended.
    bool restarts = false;
    bool interleaved = false;
    const char* pattern = nullptr;  // a solver-log pattern (-patterns)
};

const SourceCase kCases[] = {
    {"steady monitor file", SourceKind::MonitorFile, "examples/steady.mon"},
    {"transient monitor file with loops and a restart", SourceKind::MonitorFile,
     "examples/transient.mon", true},
    {"loops, gaps, late variable", SourceKind::MonitorFile, "tests/data/tables/loops.mon"},
    {"quoted names", SourceKind::MonitorFile, "tests/data/tables/names.mon"},
    {"UTF-8 names, a variable from step 50", SourceKind::MonitorFile,
     "tests/data/follow/late-variable.mon"},
    {"a garbled line", SourceKind::MonitorFile, "tests/data/follow/garbled.mon"},
    {"run directory with a restart segment", SourceKind::RunDirectory, "examples/transient.dir",
     true},
    {"OpenFOAM steady log", SourceKind::MonitorFile, "tests/data/foamlog/simpleFoam.log"},
    {"OpenFOAM PIMPLE loops", SourceKind::MonitorFile, "tests/data/foamlog/pimpleFoam.log"},
    {"OpenFOAM loops without PIMPLE lines", SourceKind::MonitorFile,
     "tests/data/foamlog/interFoam.log"},
    {"OpenFOAM regions", SourceKind::MonitorFile, "tests/data/foamlog/chtMultiRegionFoam.log"},
    {"OpenFOAM regions (.com)", SourceKind::MonitorFile,
     "tests/data/foamlog/chtMultiRegionFoam-com.log"},
    {"OpenFOAM modular solver", SourceKind::MonitorFile, "tests/data/foamlog/foamRun.log"},
    {"OpenFOAM modular VOF", SourceKind::MonitorFile, "tests/data/foamlog/foamRun-vof.log"},
    {"OpenFOAM log cut at its start", SourceKind::MonitorFile,
     "tests/data/foamlog/pisoFoam-tail.log"},
    {"OpenFOAM restart appended", SourceKind::MonitorFile, "tests/data/foamlog/restarted.log",
     true},
    {"OpenFOAM failed run", SourceKind::MonitorFile, "tests/data/foamlog/failed.log", true},
    {"OpenFOAM diverging run", SourceKind::MonitorFile, "tests/data/foamlog/diverging.log", true},
    {"OpenFOAM garbled lines", SourceKind::MonitorFile, "tests/data/foamlog/lenient.log"},
    {"OpenFOAM loops: UTF-8 field, k from step 50, a step without p, a garbled line",
     SourceKind::MonitorFile, "tests/data/follow/late-turbulence.log"},
    {"OpenFOAM pattern matched from step 50", SourceKind::MonitorFile,
     "tests/data/follow/late-turbulence.log", false, false, "Cd : {cd}"},
    {"OpenFOAM pattern", SourceKind::MonitorFile, "tests/data/foamlog/foamRun-vof.log", false,
     false, "Phase-1 volume fraction = {a}  Min(alpha.water) = {min}"},
    {"OpenFOAM species", SourceKind::MonitorFile, "tests/data/foamlog/reactingFoam.log"},
    {"OpenFOAM moving mesh", SourceKind::MonitorFile, "tests/data/foamlog/movingMesh-extend.log"},
    {"OpenFOAM parallel run failed", SourceKind::MonitorFile,
     "tests/data/foamlog/failed-parallel.log", true},
    {"OpenFOAM function object with loops", SourceKind::MonitorFile,
     "tests/data/openfoam/loops/forceCoeffs.dat", true},
    {"OpenFOAM probes", SourceKind::MonitorFile,
     "tests/data/openfoam/com/postProcessing/probes/0/U"},
    {"OpenFOAM solverInfo", SourceKind::MonitorFile,
     "tests/data/openfoam/com/postProcessing/residuals/0/solverInfo.dat"},
    {"OpenFOAM case: logs and function objects", SourceKind::RunDirectory,
     "tests/data/openfoam/steady", true, true},
    {"OpenFOAM case: time folders, probes", SourceKind::RunDirectory, "tests/data/openfoam/org",
     true, true},
    {"OpenFOAM case: restart files, solverInfo", SourceKind::RunDirectory,
     "tests/data/openfoam/com", true, true},
    {"OpenFOAM case: regions", SourceKind::RunDirectory, "tests/data/openfoam/regions", true, true},
    {"SU2 steady history", SourceKind::MonitorFile, "tests/data/su2/steady.csv"},
    {"SU2 unsteady history", SourceKind::MonitorFile, "tests/data/su2/unsteady.csv", true},
    {"SU2 UTF-8 names, a garbled row", SourceKind::MonitorFile,
     "tests/data/follow/unsteady-utf8.csv", true},
    {"SU2 garbled rows", SourceKind::MonitorFile, "tests/data/su2/garbled.csv"},
    {"SU2 restart appended", SourceKind::MonitorFile, "tests/data/su2/appended.csv", true},
    {"SU2 outer passes", SourceKind::MonitorFile, "tests/data/su2/passes.csv", true},
    {"SU2 without iterations", SourceKind::MonitorFile, "tests/data/su2/noiter.csv"},
    {"SU2 legacy history", SourceKind::MonitorFile, "tests/data/su2/legacy.dat"},
    {"SU2 Tecplot history", SourceKind::MonitorFile, "tests/data/su2/tecplot.dat"},
    {"SU2 run folder: zones", SourceKind::RunDirectory, "tests/data/su2/multizone", true, true},
    {"SU2 run folder: restart files", SourceKind::RunDirectory, "tests/data/su2/restart", true,
     true},
};

// The files below a folder, by name, relative to it.
std::vector<std::string> filesBelow(const std::string& root, const std::string& under = "") {
    std::vector<std::string> files;
    for (const std::string& name : e2e::filesIn(root + "/" + under)) {
        const std::string relative = under.empty() ? name : under + "/" + name;
        struct stat info {};
        ::stat((root + "/" + relative).c_str(), &info);
        if (!S_ISDIR(info.st_mode)) {
            files.push_back(relative);
            continue;
        }
        for (std::string& below : filesBelow(root, relative)) files.push_back(std::move(below));
    }
    return files;
}

// Writes the case's bytes into a fresh folder a random chunk at a time,
// as its solver would, updating the follower after each chunk.
class GrowingSource {
  public:
    // Chunks are mostly up to 60 bytes, one in four up to 4000; a
    // large source (real solver files) gets chunks of up to largest bytes.
    GrowingSource(const SourceCase& source, unsigned seed, const std::string& root,
                  size_t largest = 0)
        : interleaved_(source.interleaved), random_(seed), largest_(largest) {
        const bool folder = source.kind == SourceKind::RunDirectory;
        const std::string name = root.substr(root.rfind('/') + 1);
        for (const std::string& file : folder ? filesBelow(root) : std::vector<std::string>{""})
            files_.push_back(
                {folder ? file : name, e2e::readFile(folder ? root + "/" + file : root), 0});
        path_ = folder ? folder_.path() : folder_.file(name);
        reference_ = folder ? reference_folder_.path() : reference_folder_.file(name);
    }

    bool done() const { return next_ == files_.size(); }
    // Appends the next chunk: up to a few bytes, a line or two, or much more.
    void writeChunk() {
        File& file = files_[pickFile()];
        const size_t most = largest_                                                 ? largest_
                            : std::uniform_int_distribution<int>(0, 3)(random_) == 0 ? 4000
                                                                                     : 60;
        const size_t length = std::uniform_int_distribution<size_t>(1, most)(random_);
        const size_t end = std::min(file.bytes.size(), file.written + length);
        append(file.name, file.bytes.substr(file.written, end - file.written));
        file.written = end;
        while (next_ < files_.size() && files_[next_].written == files_[next_].bytes.size())
            ++next_;
    }
    const std::string& path() const { return path_; }
    const std::string& folder() const { return folder_.path(); }
    // The same bytes written at once into a folder of their own.
    const std::string& reference() const { return reference_; }
    const std::string& referenceFolder() const { return reference_folder_.path(); }

  private:
    struct File {
        std::string name, bytes;
        size_t written;
    };

    size_t pickFile() {
        if (!interleaved_) return next_;
        std::vector<size_t> open;
        for (size_t i = next_; i < files_.size(); ++i)
            if (files_[i].written < files_[i].bytes.size()) open.push_back(i);
        return open[std::uniform_int_distribution<size_t>(0, open.size() - 1)(random_)];
    }

    void append(const std::string& name, const std::string& bytes) {
        for (const e2e::TempDir* folder : {&folder_, &reference_folder_}) {
            const size_t slash = name.rfind('/');
            if (slash != std::string::npos) folder->folder(name.substr(0, slash));
            std::FILE* file = std::fopen(folder->file(name).c_str(), "ab");
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
    }

    bool interleaved_;
    std::mt19937 random_;
    size_t largest_;
    std::vector<File> files_;
    size_t next_ = 0;  // files before it are written whole
    e2e::TempDir folder_, reference_folder_;
    std::string path_, reference_;
};

// Grows the source and checks the follower against a whole reading of the
// bytes after every update.
void followGrowing(const SourceCase& source, unsigned seed, const std::string& root,
                   size_t largest = 0) {
    SCOPED_TRACE(std::string(source.name) + ", seed " + std::to_string(seed));
    GrowingSource growing(source, seed, root, largest);
    mon::ReadOptions options;
    if (source.pattern) options.logPatterns = {source.pattern};
    mon::RunFollower follower(source.kind, growing.path(), options);
    int64_t records = 0;
    while (!growing.done()) {
        growing.writeChunk();
        size_t added = 0;
        const std::string now = followed(follower, growing.folder(), &added);
        ASSERT_EQ(now, wholeReading(source.kind, growing.reference(), growing.referenceFolder(),
                                    options));
        const int64_t total = follower.run().rows->rowCount();
        // A failed update adds nothing: the run stays as far as it was read.
        const bool failed = now.rfind("error: ", 0) == 0;
        if (!failed && source.restarts) {
            EXPECT_GE(static_cast<int64_t>(added), total - records);
        } else if (!failed) {
            EXPECT_EQ(static_cast<int64_t>(added), total - records);
        }
        records = total;
    }
}

TEST(Follow, EveryUpdateEqualsAWholeReadingOfTheBytesWrittenSoFar) {
    for (const SourceCase& source : kCases)
        for (unsigned seed = 1; seed <= 12; ++seed)
            followGrowing(source, seed, e2e::sourcePath(source.path));
}

// Real solver files, where the shared collection is at hand, in chunks of up
// to a twelfth of their size.
TEST(Follow, RealSolverFilesFollowedEqualTheirWholeReading) {
    std::string shared;
    for (const char* up : {"../shared/realdata/", "../../shared/realdata/"})
        if (e2e::fileExists(e2e::sourcePath(up) + "SOURCES.md")) shared = e2e::sourcePath(up);
    if (shared.empty()) GTEST_SKIP() << "no shared real data";
    for (const std::string& folder : {std::string("openfoam"), std::string("su2")})
        for (const std::string& run : e2e::filesIn(shared + folder)) {
            const std::string root = shared + folder + "/" + run;
            const SourceCase source{run.c_str(), SourceKind::RunDirectory, "", true, true};
            size_t bytes = 0;
            for (const std::string& file : filesBelow(root))
                bytes += e2e::readFile(root + "/" + file).size();
            followGrowing(source, 1, root, bytes / 12 + 1);
        }
}

// A follower of one file, and the file's whole reading to compare with.
class FollowedFile : public e2e::TempDir {
  public:
    explicit FollowedFile(const std::string& text, SourceKind kind = SourceKind::MonitorFile)
        : kind_(kind), path_(write("run.mon", text)), follower_(kind, path_) {
        follower_.update();
    }
    // Updates the follower: the records it reports new, and whether the run
    // now equals a whole reading of the file.
    size_t update() { return follower_.update(); }
    ::testing::AssertionResult equalsWholeReading() {
        const std::string whole = wholeReading(kind_, path_, path());
        const std::string now = snapshot(follower_.run());
        if (now == whole) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "followed:\n" << now << "whole:\n" << whole;
    }
    const std::string& file() const { return path_; }
    mon::RunFollower& follower() { return follower_; }

  private:
    SourceKind kind_;
    std::string path_;
    mon::RunFollower follower_;
};

void append(const std::string& path, const std::string& text) {
    if (!e2e::fileExists(path)) e2e::writeFile(path, "");
    e2e::writeFile(path, e2e::readFile(path) + text);
}

const std::string kHeader = "monitor-file 1\nvar A\n";

// A file cut below what was read, replaced by another file, or written again
// from its start in place (a solver started again with "> log"): the run is
// read again from the start, every record new.
TEST(Follow, AFileTruncatedOrReplacedIsReadAgainFromItsStart) {
    const std::string longer = kHeader + "1 10\n2 20\n3 30\n4 40\n";
    struct Change {
        const char* what;
        void (*apply)(const std::string& path);
        size_t records;
    };
    const Change changes[] = {
        {"truncated", [](const std::string& path) { ::truncate(path.c_str(), 26); }, 1},
        {"replaced by another file",
         [](const std::string& path) {
             e2e::writeFile(path + ".new", "monitor-file 1\nvar B\n7 1\n8 2\n9 3\n10 4\n");
             std::rename((path + ".new").c_str(), path.c_str());
         },
         4},
        {"written again in place, longer",
         [](const std::string& path) {
             e2e::writeFile(path, "monitor-file 1\nvar A\nvar B\n1 5 6\n2 7 8\n3 9 10\n4 1 2\n");
         },
         4},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        FollowedFile run(longer);
        change.apply(run.file());
        EXPECT_EQ(run.update(), change.records);
        EXPECT_TRUE(run.equalsWholeReading());
        EXPECT_TRUE(run.follower().changed());
        append(run.file(), "20 1\n");
        EXPECT_EQ(run.update(), 1u);  // followed from there on
        EXPECT_TRUE(run.equalsWholeReading());
    }
}

TEST(Follow, AFileThatDisappearsForAMomentIsWarnedOfAndFollowedAgain) {
    const std::string log = e2e::readFile(e2e::testData("foamlog/simpleFoam.log"));
    const size_t secondStep = log.find("Time = 2");
    for (const std::string& start : {kHeader + "1 10\n", log.substr(0, secondStep)}) {
        FollowedFile run(start);
        const int64_t records = run.follower().run().rows->rowCount();
        const std::string away = run.file() + ".away";
        std::rename(run.file().c_str(), away.c_str());
        EXPECT_EQ(run.update(), 0u);
        EXPECT_EQ(run.follower().warnings(),
                  std::vector<std::string>{"'" + run.file() +
                                           "' cannot be seen (No such file or directory): its "
                                           "records are kept, and it is followed again when it "
                                           "is back."});
        EXPECT_EQ(run.follower().run().rows->rowCount(), records);
        EXPECT_EQ(run.update(), 0u);
        EXPECT_TRUE(run.follower().warnings().empty());  // said once
        std::rename(away.c_str(), run.file().c_str());
        append(run.file(), start == log.substr(0, secondStep) ? log.substr(secondStep) : "2 20\n");
        EXPECT_GT(run.update(), 0u);
        EXPECT_TRUE(run.equalsWholeReading());
    }
}

// A segment added to a run directory restarts the run from its first step;
// one added before the last segment, or an earlier segment that grows, makes
// the directory be read again; a segment gone for a moment is waited for.
TEST(Follow, RunDirectorySegmentsAddedChangedOrMissing) {
    e2e::TempDir run;
    run.write("a.mon", kHeader + "1 10\n2 20\n3 30\n");
    mon::RunFollower follower(SourceKind::RunDirectory, run.path());
    EXPECT_EQ(follower.update(), 3u);
    const auto check = [&](size_t records) {
        EXPECT_EQ(follower.update(), records);
        EXPECT_EQ(snapshot(follower.run()), wholeReading(SourceKind::RunDirectory, run.path(), ""));
    };
    run.write("b.mon", kHeader + "2 21\n");
    check(1);  // the restart drops step 3 and writes step 2 again
    run.write("a2.mon", kHeader + "9 90\n");
    check(2);  // read again from the start: every record counts as new
    append(run.file("a.mon"), "4 40\n");
    check(2);
    std::rename(run.file("b.mon").c_str(), run.file("b.away").c_str());
    EXPECT_EQ(follower.update(), 0u);
    EXPECT_EQ(follower.warnings().size(), 1u);
    std::rename(run.file("b.away").c_str(), run.file("b.mon").c_str());
    append(run.file("b.mon"), "3 31\n");
    check(1);
}

// A function object started again writes a time folder of its own: its
// records replace those from its first time on, as in a whole reading.
TEST(Follow, ANewTimeFolderOfAFunctionObjectJoinsTheCase) {
    e2e::TempDir run;
    const std::string header = "# Residuals\n# Time\tp\tUx\n";
    run.folder("postProcessing/residuals/0");
    run.write("postProcessing/residuals/0/residuals.dat",
              header + "1\t1\t1\n2\t0.5\t0.5\n3\t0.25\t0.25\n4\t0.2\t0.2\n5\t0.1\t0.1\n");
    mon::RunFollower follower(SourceKind::RunDirectory, run.path());
    EXPECT_EQ(follower.update(), 5u);
    run.folder("postProcessing/residuals/3");
    run.write("postProcessing/residuals/3/residuals.dat",
              header + "4\t0.3\t0.3\n5\t0.15\t0.15\n6\t0.05\t0.05\n");
    EXPECT_EQ(follower.update(), 3u);  // steps 4 and 5 again, and 6
    EXPECT_EQ(follower.run().rows->rowCount(), 6);
    EXPECT_EQ(snapshot(follower.run()), wholeReading(SourceKind::RunDirectory, run.path(), ""));
}

// A turbulence equation solved from step 50 on: its variables come with the
// update that reads step 50, with no value before it.
TEST(Follow, AVariableThatAppearsAtStep50HasNoValueBefore) {
    const std::string log = e2e::readFile(e2e::testData("follow/late-turbulence.log"));
    const size_t step50 = log.find("\nTime = 0.025\n");
    e2e::TempDir run;
    const std::string path = run.write("log.pimpleFoam", log.substr(0, step50));
    MonDatabase database(QStringLiteral("main"), nullptr);
    const auto update = [&] {
        database.updateFrom(MonDatabase::MonitorFile, QString::fromStdString(path), false);
        database.updateData();
        return database.getVariable(QStringLiteral("k initial residual"));
    };
    EXPECT_EQ(update(), nullptr);
    const size_t solved = log.find("Solving for k", step50);
    append(path, log.substr(step50, solved - step50));
    EXPECT_EQ(update(), nullptr);  // step 50 is not complete yet
    append(path, log.substr(solved));
    const TimestepData* k = update();
    ASSERT_TRUE(k);
    EXPECT_EQ(database.followedRecords(), 22u);  // steps 50 to 60, two loops each
    EXPECT_EQ(k->getValue(49, 2), FLT_MAX);
    EXPECT_EQ(k->getValue(50, 2), 0.01231f);
    EXPECT_EQ(k->getValue(60, 2), 0.007468f);
}

// Results and CGNS files, which their writers rewrite, are read again whole
// when their size or time changes: the records after the last one read
// before count as new.
TEST(Follow, ResultsAndCgnsFilesAreReadAgainWholeWhenTheyChange) {
    e2e::TempDir run;
    const auto results = [&](const std::string& path, int steps) {
        std::string text = kHeader;
        for (int step = 1; step <= steps; ++step) text += std::to_string(step) + " 1\n";
        return e2e::monpack({"-mon", run.write("run.mon", text), "-out", path}).status;
    };
    const auto cgns = [](const char* flavour) {
        return [flavour](const std::string& path, int steps) {
            return e2e::run(e2e::binary("make_cgns"), {flavour, path, "2", std::to_string(steps)})
                .status;
        };
    };
    const std::pair<const char*, std::function<int(const std::string&, int)>> writers[] = {
        {"run.res", results}, {"adf.cgns", cgns("adf")}, {"hdf5.cgns", cgns("hdf5")}};
    for (const auto& [name, write] : writers) {
        SCOPED_TRACE(name);
        const std::string path = run.file(name);
        ASSERT_EQ(write(path, 2), 0);
        mon::RunFollower follower(SourceKind::ResultsFile, path);
        EXPECT_EQ(follower.update(), 2u);
        EXPECT_EQ(follower.update(), 0u);
        EXPECT_FALSE(follower.changed());
        ASSERT_EQ(write(path, 5), 0);
        EXPECT_EQ(follower.update(), 3u);
        EXPECT_TRUE(follower.changed());
        EXPECT_EQ(snapshot(follower.run()),
                  wholeReading(SourceKind::ResultsFile, path, run.path()));
        EXPECT_EQ(follower.run().rows->rowCount(), 5);
    }
}

// A reading that fails is not tried again until the source changes, and
// fails the same way meanwhile.
TEST(Follow, AFailedReadingIsTriedAgainWhenTheSourceChanges) {
    e2e::TempDir run;
    const std::string path = run.write("run.mon", kHeader + "1 x\n");
    mon::RunFollower follower(SourceKind::MonitorFile, path);
    const std::string error = e2e::errorOf([&] { follower.update(); });
    EXPECT_EQ(error, path + ":3: value 'x' of variable 'A' is not a number");
    EXPECT_EQ(e2e::errorOf([&] { follower.update(); }), error);
    e2e::writeFile(path, kHeader + "1 1\n");
    EXPECT_EQ(follower.update(), 1u);
}

// The database follows its source with replace false: the values it hands
// out after an update hold the new records.
TEST(Follow, TheDatabaseFollowsItsSourceWithReplaceFalse) {
    e2e::TempDir run;
    const std::string path = run.write("run.mon", kHeader + "1 10\n");
    MonDatabase database(QStringLiteral("main"), nullptr);
    const auto update = [&] {
        database.updateFrom(MonDatabase::MonitorFile, QString::fromStdString(path), false);
        database.updateData();
    };
    update();
    append(path, "2 20\nvar \"B\"\n3 30 31\n");
    update();
    EXPECT_EQ(database.followedRecords(), 2u);
    const TimestepData* a = database.getVariable(QStringLiteral("A"));
    const TimestepData* b = database.getVariable(QStringLiteral("B"));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->getLastTimestep(), 3);
    EXPECT_EQ(a->getValue(2, -1), 20.0f);
    EXPECT_EQ(b->getValue(2, -1), FLT_MAX);
    EXPECT_EQ(b->getValue(3, -1), 31.0f);
    update();
    EXPECT_EQ(database.followedRecords(), 0u);
    EXPECT_FALSE(database.followedChange());
}

}  // namespace
