#include "study/StudyGathering.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "libs/mondata/formats/monitor/MonitorFileParser.h"
#include "libs/system/UsableCores.h"

namespace study {

unsigned defaultStudyWorkers() {
    return std::min(owl::usableCores(), 8u);
}

std::vector<StudyRow> gatherRows(const std::vector<std::string>& runs,
                                 const StudySettings& settings, unsigned workers) {
    if (workers == 0) workers = defaultStudyWorkers();
    workers = static_cast<unsigned>(std::min<size_t>(workers, runs.size()));
    std::vector<StudyRow> rows(runs.size());
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i; (i = next++) < runs.size();) rows[i] = readRow(runs[i], settings);
    };
    if (workers <= 1) {
        work();
        return rows;
    }
    // The cores go to runs side by side, not to pieces of one run's file.
    mon::forceLoadWorkers(1);
    std::vector<std::thread> threads;
    for (unsigned w = 0; w < workers; ++w) threads.emplace_back(work);
    for (std::thread& thread : threads) thread.join();
    mon::forceLoadWorkers(0);
    return rows;
}

}  // namespace study
