// Measures loading through the monitor-data library, one measurement per
// process so that the peak resident memory belongs to it alone:
//   load_bench mon FILE            parse a monitor file (MB/s)
//   load_bench res FILE NAME...    open a results file and read the named variables
//   load_bench res-all FILE        open a results file and read every variable
// Prints one line of key=value figures.

#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "libs/exception/Error.h"
#include "libs/guiutils/MessageDisplay.h"
#include "libs/mondata/MonDatabase.h"

namespace {

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kB on Linux
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double fileMegabytes(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return static_cast<double>(info.st_size) / 1e6;
}

size_t readVariables(const MonDatabase& database, const std::vector<QString>& names) {
    size_t values = 0;
    for (const QString& name : names) {
        const TimestepData* data = database.getVariable(name);
        if (data) values += data->values().size();
    }
    return values;
}

std::vector<QString> allNames(const MonDatabase& database) {
    std::vector<QString> names;
    for (const MonVariable& variable : database.getVariableList())
        names.push_back(variable.getName());
    return names;
}

int run(int argc, char** argv) {
    const std::string mode = argv[1], path = argv[2];
    const auto start = std::chrono::steady_clock::now();
    MonDatabase database(QStringLiteral("bench"), new owl::LineMessageDisplay());
    database.updateFrom(mode == "mon" ? MonDatabase::MonitorFile : MonDatabase::ResultsFile,
                        QString::fromLatin1(path.c_str()), true);
    database.updateData();
    std::vector<QString> names;
    for (int i = 3; i < argc; ++i) names.push_back(QString::fromLatin1(argv[i]));
    if (mode == "res-all") names = allNames(database);
    const size_t values = readVariables(database, names);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "mode=%s file_mb=%.1f variables=%zu read_variables=%zu read_values=%zu "
        "seconds=%.3f cpu_seconds=%.3f mb_per_s=%.1f cpu_mb_per_s=%.1f peak_rss_mb=%.1f\n",
        mode.c_str(), fileMegabytes(path), database.getVariableList().size(), names.size(), values,
        seconds, cpuSeconds(), fileMegabytes(path) / seconds, fileMegabytes(path) / cpuSeconds(),
        peakMegabytes());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: load_bench mon|res|res-all FILE [VARIABLE...]\n");
        return 2;
    }
    try {
        return run(argc, argv);
    } catch (const owl::Error& error) {
        std::fprintf(stderr, "load_bench: %s\n", error.getErrorText().c_str());
        return 1;
    }
}
