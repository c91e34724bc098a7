// How fast variable rules parse and match: a plot gathering run matches
// dozens of rules against every variable of runs with thousands of them.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "libs/guiutils/MessageDisplay.h"
#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/rules/MonVariableRule.h"

namespace {

const QString kRule = QStringLiteral(
    "(CATEGORY = RESIDUAL or CATEGORY = IMBALANCE) and NAME != *W-Mom* and not GROUP = \"Probes "
    "*\"");

// A run of `count` variables with six attributes each, written as a monitor
// file and loaded, as the exporter does.
std::unique_ptr<MonDatabase> largeRun(int count) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run%1.mon").arg(count));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("monitor-file 1\n");
    const char* categories[] = {"RESIDUAL", "IMBALANCE", "MONITOR", "FORCE"};
    const char* equations[] = {"P-Mass", "U-Mom", "V-Mom", "W-Mom"};
    for (int i = 0; i < count; ++i) {
        const std::string line = "var \"RMS " + std::string(equations[i % 4]) + " " +
                                 std::to_string(i) + "\" category=" + categories[(i / 4) % 4] +
                                 " subcategory=RMS group=\"Probes " + std::to_string(i % 50) +
                                 "\" units=Pa path=\"A/B\" label=\"Variable " + std::to_string(i) +
                                 "\"\n";
        file.write(line.c_str());
    }
    file.write("1 1\n");
    file.close();
    auto database =
        std::make_unique<MonDatabase>(QStringLiteral("main"), new owl::LineMessageDisplay());
    database->updateFrom(MonDatabase::MonitorFile, path, true);
    database->updateData();
    return database;
}

void ParseRule(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(MonVariableRule(kRule));
}
BENCHMARK(ParseRule);

// One rule against every variable of the run, with the variable list fetched
// once as plot gathering does.
void MatchRun(benchmark::State& state) {
    const auto database = largeRun(static_cast<int>(state.range(0)));
    const std::vector<MonVariable> variables = database->getVariableList();
    const MonVariableRule rule(kRule);
    for (auto _ : state) {
        int matched = 0;
        for (const MonVariable& variable : variables) matched += rule.match(variable);
        benchmark::DoNotOptimize(matched);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(MatchRun)->Arg(5000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
