// Measures loading through the monitor-data library, one measurement per
// process so that the peak resident memory belongs to it alone:
//   load_bench mon FILE            parse a monitor file (MB/s)
//   load_bench res FILE NAME...    open a results file and read the named variables
//   load_bench res-all FILE        open a results file and read every variable
//   load_bench dir FOLDER          load a run directory (MB/s over all its segments)
// Prints one line of key=value figures. LOAD_WORKERS=N reads monitor files on
// N threads instead of one per usable core (LOAD_WORKERS=1: one core).

#include <sys/stat.h>

#include <dirent.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/ProcessUsage.h"
#include "libs/exception/Error.h"
#include "libs/guiutils/MessageDisplay.h"
#include "libs/mondata/formats/monitor/MonitorFileParser.h"
#include "libs/mondata/model/MonDatabase.h"

namespace {

using bench::cpuSeconds;
using bench::peakMegabytes;

double fileMegabytes(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return static_cast<double>(info.st_size) / 1e6;
}

// A run directory's size: its files, not looking further down.
double folderMegabytes(const std::string& path) {
    double megabytes = 0;
    if (DIR* dir = opendir(path.c_str())) {
        while (const dirent* entry = readdir(dir))
            megabytes += fileMegabytes(path + "/" + entry->d_name);
        closedir(dir);
    }
    return megabytes;
}

MonDatabase::SourceType sourceType(const std::string& mode) {
    if (mode == "mon") return MonDatabase::MonitorFile;
    return mode == "dir" ? MonDatabase::RunDirectory : MonDatabase::ResultsFile;
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
    if (const char* workers = std::getenv("LOAD_WORKERS"))
        mon::forceLoadWorkers(static_cast<unsigned>(std::atoi(workers)));
    const auto start = std::chrono::steady_clock::now();
    MonDatabase database(QStringLiteral("bench"), new owl::LineMessageDisplay());
    database.updateFrom(sourceType(mode), QString::fromLatin1(path.c_str()), true);
    database.updateData();
    std::vector<QString> names;
    for (int i = 3; i < argc; ++i) names.push_back(QString::fromLatin1(argv[i]));
    if (mode == "res-all") names = allNames(database);
    const size_t values = readVariables(database, names);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double megabytes = mode == "dir" ? folderMegabytes(path) : fileMegabytes(path);
    std::printf(
        "mode=%s file_mb=%.1f variables=%zu read_variables=%zu read_values=%zu workers=%u "
        "seconds=%.3f cpu_seconds=%.3f mb_per_s=%.1f cpu_mb_per_s=%.1f peak_rss_mb=%.1f\n",
        mode.c_str(), megabytes, database.getVariableList().size(), names.size(), values,
        mon::defaultWorkers(), seconds, cpuSeconds(), megabytes / seconds, megabytes / cpuSeconds(),
        peakMegabytes());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: load_bench mon|dir|res|res-all FILE [VARIABLE...]\n");
        return 2;
    }
    try {
        return run(argc, argv);
    } catch (const owl::Error& error) {
        std::fprintf(stderr, "load_bench: %s\n", error.getErrorText().c_str());
        return 1;
    }
}
