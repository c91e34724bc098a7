#include "libs/mondata/formats/openfoam/FoamCaseFollow.h"

#include <algorithm>
#include <limits>
#include <map>
#include <unordered_set>

#include <QSet>
#include <utility>
#include <vector>

#include "libs/mondata/formats/openfoam/FoamCase.h"
#include "libs/mondata/formats/openfoam/FoamDataParser.h"
#include "libs/mondata/formats/openfoam/FoamLog.h"
#include "libs/mondata/formats/openfoam/FoamLogParser.h"
#include "libs/mondata/formats/openfoam/FoamLogPattern.h"
#include "libs/mondata/formats/openfoam/FoamVariables.h"
#include "libs/mondata/sources/TimeKeyedHistory.h"

namespace mon {

namespace {
using Change = FollowedFile::Change;
using Outcome = FollowedSource::Outcome;
constexpr double kUnchanged = std::numeric_limits<double>::infinity();
constexpr int kTimeColumn = 0;  // declared first

// A solver log of the case: its records are the rows of its table, its
// variables declared in a builder of its own in the order it met them (the
// order a whole reading declares them in).
struct FollowedLog {
    FollowedLog(const std::string& path, const std::vector<FoamLogPattern>& patterns)
        : file(path), sink(table), parser(declarations, path, patterns, &sink) {}

    FollowedFile file;
    RunDataBuilder declarations;
    FoamTable table;
    FoamTableSink sink;
    FoamLogParser parser;
    // The step still open, written by a copy of the parser because it holds
    // a NaN (as the end of the log would), taken back before the next lines.
    bool openStepShown = false;
    size_t rowsBefore = 0, cellsBefore = 0;
    RunDataBuilder::Mark declarationsBefore{};
};

struct FollowedDataFile {
    explicit FollowedDataFile(const std::string& path) : file(path), parser(path) {}

    FollowedFile file;
    FoamDataParser parser;
    // The variables of the table's columns, made as the columns come.
    FoamOrigin origin;
    std::vector<VariableInfo> variables;
};

// A table the history joins, and the file it comes from.
struct JoinedTable {
    const FoamTable* table;
    const FollowedLog* log;  // or
    const FollowedDataFile* data;
    bool operator==(const JoinedTable& other) const { return table == other.table; }

    // A log table's cells name its log's declarations; a data file's, the
    // table's columns.
    size_t columnCount() const {
        return log ? log->declarations.variableCount() : data->variables.size();
    }
    const QString& columnName(size_t column) const {
        return log ? log->declarations.variableName(static_cast<int>(column))
                   : data->variables[column].name;
    }
    const std::string& path() const { return log ? log->file.path() : data->file.path(); }
};

// How the history joins the tables: its sources (the logs first, then one
// per series), each with its tables in run order.
struct JoinedSource {
    std::string key;  // "" for the logs, else the series' region, function object and file
    std::vector<JoinedTable> tables;
};

std::string seriesKey(const FoamOrigin& origin) {
    return origin.region + '\n' + origin.functionObject + '\n' + origin.file;
}

class FollowedFoamCase final : public FollowedSource {
  public:
    FollowedFoamCase(std::string path, bool dataFile, RunDataBuilder& builder,
                     const ReadOptions& options)
        : path_(std::move(path)),
          dataFile_(dataFile),
          builder_(builder),
          patterns_(compileFoamLogPatterns(options.logPatterns)) {}

    Outcome update() override {
        const Listing listing = listFiles();
        if (listing != Listing::Complete)
            return listing == Listing::Missing ? Outcome::Read : Outcome::ReadAgain;
        double changedFrom = kUnchanged;
        for (FollowedLog* log : logs_)
            if (!readLog(*log, changedFrom)) return Outcome::ReadAgain;
        for (const auto& series : series_)
            for (FollowedDataFile* file : series.second)
                if (!readDataFile(*file, changedFrom)) return Outcome::ReadAgain;
        deliver(changedFrom);
        return Outcome::Read;
    }

  private:
    enum class Listing { Complete, Missing, Changed };

    // The case's logs and series as they are now; every file read before
    // must still be among them (one that cannot be seen is waited for).
    Listing listFiles() {
        std::vector<std::string> logPaths;
        std::vector<FoamSeries> found;
        if (dataFile_) {
            found.push_back(foamDataFileSeries(path_));
        } else {
            found = scanCase(path_);
            logPaths = caseLogs(path_);
            if (logFiles_.empty() && dataFiles_.empty() && found.empty() && logPaths.empty())
                throw noFoamCaseData(path_);
        }
        std::unordered_set<std::string> listed(logPaths.begin(), logPaths.end());
        for (const FoamSeries& series : found)
            listed.insert(series.segments.begin(), series.segments.end());
        for (const auto& [path, log] : logFiles_)
            if (!listed.count(path)) return vanished(log->file);
        for (const auto& [path, file] : dataFiles_)
            if (!listed.count(path)) return vanished(file->file);
        logs_.clear();
        for (const std::string& path : logPaths) {
            auto& log = logFiles_[path];
            if (!log) log = std::make_unique<FollowedLog>(path, patterns_);
            logs_.push_back(log.get());
        }
        series_.clear();
        for (const FoamSeries& series : found) {
            series_.emplace_back(series.origin, std::vector<FollowedDataFile*>());
            for (const std::string& path : series.segments) {
                auto& file = dataFiles_[path];
                if (!file) file = std::make_unique<FollowedDataFile>(path);
                series_.back().second.push_back(file.get());
            }
        }
        return Listing::Complete;
    }

    Listing vanished(FollowedFile& file) {
        pollFollowed(file, builder_);
        return file.missing() ? Listing::Missing : Listing::Changed;
    }

    bool readLog(FollowedLog& log, double& changedFrom) {
        const Change change = pollFollowed(log.file, builder_);
        if (change == Change::Restarted) return false;
        if (change == Change::None) return true;
        if (!takeBackOpenStep(log, changedFrom)) return false;
        if (!log.file.readAppended(
                [&log](std::string_view text) { return log.parser.parseLines(text); }))
            return false;
        log.parser.settleLoops();
        log.parser.warnSkipped();
        showOpenStep(log);
        changedFrom = std::min(changedFrom, std::exchange(log.sink.changedFrom, kUnchanged));
        return true;
    }

    static void showOpenStep(FollowedLog& log) {
        if (!log.parser.mayWriteOpenStep()) return;
        log.rowsBefore = log.table.rows.size();
        log.cellsBefore = log.table.cells.size();
        log.declarationsBefore = log.declarations.mark();
        log.sink.erased = false;
        FoamLogParser end(log.parser);
        end.finishOpenStep();
        log.openStepShown = true;
    }

    // False when the open step replaced rows (a restart that diverged at
    // once): they cannot be taken back.
    static bool takeBackOpenStep(FollowedLog& log, double& changedFrom) {
        if (!log.openStepShown) return true;
        log.openStepShown = false;
        if (log.sink.erased) return false;
        if (log.table.rows.size() > log.rowsBefore)
            changedFrom = std::min(changedFrom, log.table.rows[log.rowsBefore].time);
        log.table.rows.resize(log.rowsBefore);
        log.table.cells.resize(log.cellsBefore);
        log.declarations.rollBack(log.declarationsBefore);
        return true;
    }

    bool readDataFile(FollowedDataFile& data, double& changedFrom) {
        const Change change = pollFollowed(data.file, builder_);
        if (change == Change::Restarted) return false;
        if (change == Change::None) return true;
        if (!data.file.readAppended(
                [&data](std::string_view text) { return data.parser.parseLines(text); }))
            return false;
        const size_t row = data.parser.takeFirstChangedRow();
        if (row != SIZE_MAX)
            changedFrom = std::min(changedFrom, data.parser.table().rows[row].time);
        return true;
    }

    // The logs that give values, in run order (by their first time, then by
    // name), then each series' files.
    std::vector<JoinedSource> joinedSources() const {
        std::vector<JoinedSource> sources;
        std::vector<const FollowedLog*> kept;
        for (const FollowedLog* log : logs_)
            if (log->parser.hasMonitorValues()) kept.push_back(log);
        const auto firstTime = [](const FollowedLog* log) {
            return log->table.rows.empty() ? std::numeric_limits<double>::infinity()
                                           : log->table.rows.front().time;
        };
        std::stable_sort(kept.begin(), kept.end(), [&](const FollowedLog* a, const FollowedLog* b) {
            return firstTime(a) < firstTime(b);
        });
        if (!kept.empty()) sources.push_back({"", {}});
        for (const FollowedLog* log : kept)
            sources.back().tables.push_back({&log->table, log, nullptr});
        for (const auto& [origin, files] : series_) {
            sources.push_back({seriesKey(origin), {}});
            for (const FollowedDataFile* file : files)
                sources.back().tables.push_back({&file->parser.table(), nullptr, file});
        }
        return sources;
    }

    // Every variable in the order a whole reading declares them: TIME, the
    // logs' (by name), the series' columns.
    std::vector<const VariableInfo*> wantedVariables() {
        std::vector<const VariableInfo*> wanted{&time_};
        QSet<QString> named{time_.name};
        const auto want = [&](const VariableInfo& info) {
            if (named.contains(info.name)) return;
            named.insert(info.name);
            wanted.push_back(&info);
        };
        for (const FollowedLog* log : logs_)
            for (const VariableInfo& info : log->declarations.data().variables) want(info);
        for (const auto& [origin, files] : series_)
            for (FollowedDataFile* file : files) {
                describeColumns(*file, origin);
                for (const VariableInfo& info : file->variables) want(info);
            }
        return wanted;
    }

    static void describeColumns(FollowedDataFile& file, const FoamOrigin& origin) {
        const std::vector<FoamColumn>& columns = file.parser.table().columns;
        const bool sameOrigin = seriesKey(file.origin) == seriesKey(origin) &&
                                file.origin.regionInName == origin.regionInName;
        if (!sameOrigin) file.variables.clear();
        file.origin = origin;
        for (size_t i = file.variables.size(); i < columns.size(); ++i)
            file.variables.push_back(foamVariable(origin, columns[i]));
    }

    // Whether the builder's variables are the first of those wanted.
    bool declaredInOrder(const std::vector<const VariableInfo*>& wanted) const {
        const size_t declared = builder_.variableCount();
        if (declared > wanted.size()) return false;
        for (size_t i = 0; i < declared; ++i)
            if (builder_.variableName(static_cast<int>(i)) != wanted[i]->name) return false;
        return true;
    }

    void deliver(double changedFrom) {
        const std::vector<const VariableInfo*> wanted = wantedVariables();
        const std::vector<JoinedSource> sources = joinedSources();
        if (!declaredInOrder(wanted) || !extendJoin(sources, changedFrom)) {
            rebuild(wanted, sources);
        } else {
            for (size_t i = builder_.variableCount(); i < wanted.size(); ++i)
                builder_.declare(*wanted[i]);
            mapColumns();
            if (changedFrom < kUnchanged) history_.deliverFrom(builder_, kTimeColumn, changedFrom);
        }
        bool loops = history_.hasLoops();
        for (FollowedLog* log : logs_) {
            loops = loops || log->declarations.hasCoefficientLoops();
            for (std::string& warning : log->declarations.takeWarnings())
                builder_.addWarning(std::move(warning));
        }
        builder_.setCoefficientLoops(loops);
    }

    // Adds the tables new to the join when every source keeps its tables
    // first and in order; false when it does not.
    bool extendJoin(const std::vector<JoinedSource>& sources, double& changedFrom) {
        for (const JoinedSource& joined : joined_)
            if (std::none_of(sources.begin(), sources.end(),
                             [&](const JoinedSource& now) { return now.key == joined.key; }))
                return false;
        for (const JoinedSource& now : sources) {
            auto known = std::find_if(joined_.begin(), joined_.end(),
                                      [&](const JoinedSource& s) { return s.key == now.key; });
            if (known != joined_.end() &&
                (known->tables.size() > now.tables.size() ||
                 !std::equal(known->tables.begin(), known->tables.end(), now.tables.begin())))
                return false;
        }
        for (const JoinedSource& now : sources) {
            auto known = std::find_if(joined_.begin(), joined_.end(),
                                      [&](const JoinedSource& s) { return s.key == now.key; });
            const size_t source = static_cast<size_t>(known - joined_.begin());
            if (known == joined_.end()) joined_.push_back({now.key, {}});
            for (size_t i = joined_[source].tables.size(); i < now.tables.size(); ++i) {
                joinTable(source, now.tables[i]);
                const auto& rows = now.tables[i].table->rows;
                if (!rows.empty()) changedFrom = std::min(changedFrom, rows.front().time);
            }
        }
        return true;
    }

    void joinTable(size_t source, const JoinedTable& table) {
        history_.addGrowingSegment(source, *table.table, {});
        joined_[source].tables.push_back(table);
        mapped_.push_back({source, history_.segmentCount(source) - 1, table, 0});
        builder_.addSourceFile(table.path());
    }

    // Every record written again, the variables declared in order.
    void rebuild(const std::vector<const VariableInfo*>& wanted,
                 const std::vector<JoinedSource>& sources) {
        builder_.clear();
        for (const VariableInfo* info : wanted) builder_.declare(*info);
        history_ = TimeKeyedHistory();
        joined_.clear();
        mapped_.clear();
        for (const JoinedSource& now : sources) {
            joined_.push_back({now.key, {}});
            for (const JoinedTable& table : now.tables) joinTable(joined_.size() - 1, table);
        }
        mapColumns();
        history_.deliverFrom(builder_, kTimeColumn, TimeKeyedHistory::kFromStart);
    }

    // The builder column of each table column, for the tables that gained
    // columns.
    void mapColumns() {
        for (MappedTable& mapped : mapped_) {
            const size_t columns = mapped.table.columnCount();
            if (columns == mapped.columns) continue;
            std::vector<int> builderColumns;
            for (size_t i = 0; i < columns; ++i)
                builderColumns.push_back(builder_.columnOf(mapped.table.columnName(i)));
            history_.setBuilderColumns(mapped.source, mapped.segment, std::move(builderColumns));
            mapped.columns = columns;
        }
    }

    std::string path_;
    bool dataFile_;
    RunDataBuilder& builder_;
    const std::vector<FoamLogPattern> patterns_;
    const VariableInfo time_ = foamTimeVariable();
    // Every file read, by path, and the case as last listed.
    std::map<std::string, std::unique_ptr<FollowedLog>> logFiles_;
    std::map<std::string, std::unique_ptr<FollowedDataFile>> dataFiles_;
    std::vector<FollowedLog*> logs_;  // by name
    std::vector<std::pair<FoamOrigin, std::vector<FollowedDataFile*>>> series_;
    // The join: its sources as the history numbers them, and the builder
    // columns its tables were given.
    TimeKeyedHistory history_;
    std::vector<JoinedSource> joined_;
    struct MappedTable {
        size_t source, segment;
        JoinedTable table;
        size_t columns;  // mapped so far
    };
    std::vector<MappedTable> mapped_;
};
}  // namespace

std::unique_ptr<FollowedSource> followFoamCase(const std::string& folder, RunDataBuilder& builder,
                                               const ReadOptions& options) {
    return std::make_unique<FollowedFoamCase>(folder, false, builder, options);
}

std::unique_ptr<FollowedSource> followFoamDataFile(const std::string& path, RunDataBuilder& builder,
                                                   const ReadOptions& options) {
    return std::make_unique<FollowedFoamCase>(path, true, builder, options);
}

}  // namespace mon
