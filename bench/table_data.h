#pragma once
// Loads a run for the table benchmarks and selects what a default
// time-history export selects: the keys, then every variable.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "export/RunHistoryWriter.h"
#include "libs/guiutils/MessageDisplay.h"
#include "libs/mondata/model/MonDatabase.h"

namespace bench {

struct LoadedTable {
    std::unique_ptr<MonDatabase> database;
    PreparedData data;
    std::vector<std::string> columns;
    size_t values = 0;  // fields in the table's data lines
    double seconds = 0;
};

inline double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// source is "-mon" or "-res".
inline LoadedTable loadTable(const std::string& source, const std::string& path) {
    const auto start = std::chrono::steady_clock::now();
    LoadedTable table;
    table.database =
        std::make_unique<MonDatabase>(QStringLiteral("main"), new owl::LineMessageDisplay());
    table.database->updateFrom(
        source == "-res" ? MonDatabase::ResultsFile : MonDatabase::MonitorFile,
        QString::fromLatin1(path.c_str()), true);
    table.database->updateData();
    for (const MonVariable& variable : table.database->getVariableList()) {
        const QByteArray name = variable.getName().toLatin1();
        table.columns.emplace_back(name.constData());
        table.data.emplace(table.columns.back(), table.database->getVariable(variable.getName()));
    }
    const TimestepData* key = table.data.at("ACCUMULATED TIMESTEP");
    table.values = static_cast<size_t>(key->rows().rowCount()) * table.columns.size();
    table.seconds = secondsSince(start);
    return table;
}

}  // namespace bench
