// What following a growing run costs (bench/README.md, "Following a run"):
//   follow_bench mon|dir SOURCE WORKDIR [APPEND_MB [UPDATES]]
// copies all of SOURCE but its last UPDATES x APPEND_MB megabytes (default
// 3 x 1) to WORKDIR (a monitor file or log given with mon, the largest file
// of a run folder given with dir: a run directory's last segment, a case's
// log), reads it whole through a
// mon::RunFollower, then appends APPEND_MB and updates, UPDATES times. A
// whole reading of the grown source is timed first, in the same process.
// Prints one line of key=value figures per update: whole_cpu_s (one whole
// reading), update_cpu_s, update_share (their ratio), records (before it),
// added (by it), rss_mb before and after it, and value_mb: what the added
// records' values take.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/ProcessUsage.h"
#include "libs/exception/Error.h"
#include "libs/mondata/sources/RunFollower.h"

namespace {

using bench::cpuSeconds;
using bench::residentMegabytes;

// Copies bytes [from, to) of source to the end of target.
void copyRange(const std::string& source, const std::string& target, off_t from, off_t to) {
    const int in = ::open(source.c_str(), O_RDONLY);
    const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (in < 0 || out < 0) throw std::runtime_error("cannot open " + source + " or " + target);
    std::string buffer(4 << 20, '\0');
    for (off_t at = from; at < to;) {
        const ssize_t got =
            ::pread(in, buffer.data(), static_cast<size_t>(std::min<off_t>(to - at, 4 << 20)), at);
        if (got <= 0 || ::write(out, buffer.data(), static_cast<size_t>(got)) != got)
            throw std::runtime_error("cannot copy " + source);
        at += got;
    }
    ::close(in);
    ::close(out);
}

off_t sizeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_size;
}

// The file that grows: the monitor file, or the largest file below a run
// folder (a run directory's last segment, a case's log), the others copied
// whole. followed is the source to follow.
std::string prepare(const std::string& mode, const std::string& source, const std::string& work,
                    std::string& followed) {
    namespace fs = std::filesystem;
    fs::remove_all(work);
    fs::create_directories(work);
    if (mode == "mon") {
        followed = work + "/" + fs::path(source).filename().string();
        return source;
    }
    followed = work;
    std::string largest;
    for (const auto& entry : fs::recursive_directory_iterator(source))
        if (entry.is_regular_file() &&
            (largest.empty() || entry.file_size() > fs::file_size(largest)))
            largest = entry.path().string();
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        const fs::path target = work / fs::relative(entry.path(), source);
        if (entry.is_directory())
            fs::create_directories(target);
        else if (entry.path().string() != largest)
            fs::copy_file(entry.path(), target);
    }
    return largest;
}

int run(const std::string& mode, const std::string& source, const std::string& work,
        double appendMegabytes, int updates) {
    std::string followed;
    const std::string growing = prepare(mode, source, work, followed);
    const std::string target =
        mode == "mon"
            ? followed
            : (std::filesystem::path(work) / std::filesystem::relative(growing, source)).string();
    const off_t size = sizeOf(growing);
    const auto append = static_cast<off_t>(appendMegabytes * 1e6);
    copyRange(growing, target, 0, size);
    const mon::SourceKind kind =
        mode == "mon" ? mon::SourceKind::MonitorFile : mon::SourceKind::RunDirectory;
    double start = cpuSeconds();
    { const mon::RunData whole = mon::readRun(kind, followed); }
    const double wholeCpu = cpuSeconds() - start;
    off_t cut = size - append * updates;
    ::truncate(target.c_str(), cut);

    mon::RunFollower follower(kind, followed);
    follower.update();
    for (int update = 0; update < updates; ++update, cut += append) {
        const int64_t records = follower.run().rows->rowCount();
        const double before = residentMegabytes();
        copyRange(growing, target, cut, cut + append);
        start = cpuSeconds();
        const size_t added = follower.update();
        const double updateCpu = cpuSeconds() - start;
        const size_t variables = follower.run().variables.size();
        std::printf(
            "mode=%s file_mb=%.1f appended_mb=%.1f variables=%zu records=%lld added=%zu "
            "whole_cpu_s=%.3f update_cpu_s=%.4f update_share=%.4f rss_mb_before=%.1f "
            "rss_mb_after=%.1f value_mb=%.2f\n",
            mode.c_str(), static_cast<double>(size) / 1e6, appendMegabytes, variables,
            static_cast<long long>(records), added, wholeCpu, updateCpu, updateCpu / wholeCpu,
            before, residentMegabytes(),
            static_cast<double>(added * variables * sizeof(float)) / 1e6);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: follow_bench mon|dir SOURCE WORKDIR [APPEND_MB [UPDATES]]\n");
        return 2;
    }
    try {
        return run(argv[1], argv[2], argv[3], argc > 4 ? std::atof(argv[4]) : 1.0,
                   argc > 5 ? std::atoi(argv[5]) : 3);
    } catch (const owl::Error& error) {
        std::fprintf(stderr, "follow_bench: %s\n", error.getErrorText().c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "follow_bench: %s\n", error.what());
    }
    return 1;
}
