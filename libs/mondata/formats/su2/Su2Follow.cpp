#include "libs/mondata/formats/su2/Su2Follow.h"

#include <algorithm>
#include <climits>
#include <map>
#include <utility>
#include <vector>

#include "libs/exception/Error.h"
#include "libs/mondata/formats/su2/Su2History.h"
#include "libs/mondata/formats/su2/Su2RunFolder.h"
#include "libs/mondata/sources/MergedRuns.h"

namespace mon {

namespace {
using Change = FollowedFile::Change;
using Outcome = FollowedSource::Outcome;
using Iteration = Su2Table::Iteration;

// One history file, its reader, and the rows that decide the layout of its
// history: its first row and, for each iteration column, the first row
// that differs from it (isUnsteadySu2Run and su2StepColumn look no further).
struct FollowedHistory {
    explicit FollowedHistory(const std::string& path) : file(path), reader(path) {}

    // Takes the rows appended since; false when the file was replaced.
    bool read(Su2Table& rows) {
        if (!file.readAppended([this](std::string_view text) { return reader.parseLines(text); }))
            return false;
        rows = reader.takeRows();
        keepDecidingRows(rows);
        rowCount += rows.rowCount;
        return true;
    }

    void keepDecidingRows(const Su2Table& rows) {
        deciding.fileName = rows.fileName;
        deciding.names = rows.names;
        std::copy(std::begin(rows.hasIteration), std::end(rows.hasIteration),
                  deciding.hasIteration);
        for (size_t row = 0; row < rows.rowCount; ++row) {
            bool keep = deciding.rowCount == 0;
            for (int which = 0; which < Su2Table::kIterations && !keep; ++which) {
                const auto column = static_cast<Iteration>(which);
                if (!deciding.hasIteration[which] || differs[which] ||
                    rows.iteration(row, column) == deciding.iteration(0, column))
                    continue;
                differs[which] = true;
                keep = true;
            }
            if (!keep) continue;
            deciding.lines.push_back(rows.lines[row]);
            const auto first =
                rows.iterations.begin() + static_cast<long>(row) * Su2Table::kIterations;
            deciding.iterations.insert(deciding.iterations.end(), first,
                                       first + Su2Table::kIterations);
            ++deciding.rowCount;
        }
    }

    FollowedFile file;
    Su2HistoryReader reader;
    Su2Table deciding;  // the deciding rows, without their values
    bool differs[Su2Table::kIterations] = {false, false, false};
    size_t rowCount = 0;   // read
    size_t delivered = 0;  // given to a builder as records
};

// What the records of a history look like.
struct Layout {
    bool unsteady = false;
    std::vector<Iteration> steps;  // per zone
    bool operator==(const Layout& other) const {
        return unsteady == other.unsteady && steps == other.steps;
    }
};

std::vector<Su2Table> decidingTables(const std::vector<FollowedHistory*>& histories) {
    std::vector<Su2Table> tables;
    for (const FollowedHistory* history : histories) tables.push_back(history->deciding);
    return tables;
}

// Gives a history's new rows to the builder.
void deliver(FollowedHistory& history, const Su2Table& rows, const Su2Layout& layout,
             Iteration step, RunDataBuilder& builder) {
    addSu2Rows(rows, layout, step, history.delivered, builder);
    history.delivered += rows.rowCount;
}

class FollowedSu2History final : public FollowedSource {
  public:
    FollowedSu2History(const std::string& path, RunDataBuilder& builder)
        : builder_(builder), history_(path) {}

    Outcome update() override {
        const Change change = pollFollowed(history_.file, builder_);
        if (change == Change::Restarted) return Outcome::ReadAgain;
        if (change == Change::None) return Outcome::Read;
        if (!history_.file.opened()) builder_.addSourceFile(history_.file.path());
        Su2Table rows;
        if (!history_.read(rows)) return Outcome::ReadAgain;
        const std::vector<Su2Table> tables = decidingTables({&history_});
        Layout layout;
        layout.unsteady = isUnsteadySu2Run(tables);
        layout.steps = {su2StepColumn(tables, layout.unsteady)};
        if (history_.delivered > 0 && !(layout == layout_)) return Outcome::ReadAgain;
        layout_ = layout;
        builder_.setCoefficientLoops(layout.unsteady);
        deliver(history_, rows, Su2Layout{layout.unsteady, ""}, layout.steps[0], builder_);
        return Outcome::Read;
    }

  private:
    RunDataBuilder& builder_;
    FollowedHistory history_;
    Layout layout_;
};

class FollowedSu2RunFolder final : public FollowedSource {
  public:
    FollowedSu2RunFolder(std::string folder, RunDataBuilder& builder)
        : folder_(std::move(folder)), builder_(builder) {}

    Outcome update() override {
        const std::vector<Su2FolderFile> listed = su2FolderFiles(folder_);
        if (files_.empty() && listed.empty())
            throw owl::data::error("MonDatabase", "updateFrom",
                                   "SU2 run folder '" + folder_ + "' holds no SU2 history file.",
                                   owl::errorFatal);
        for (const auto& known : files_)
            if (std::none_of(listed.begin(), listed.end(),
                             [&](const Su2FolderFile& file) { return file.path == known.first; })) {
                FollowedFile& file = known.second->file;
                pollFollowed(file, builder_);
                return file.missing() ? Outcome::Read : Outcome::ReadAgain;
            }
        std::map<const FollowedHistory*, Su2Table> rows;
        for (const Su2FolderFile& file : listed) {
            auto& history = files_[file.path];
            if (!history) {
                history = std::make_unique<FollowedHistory>(file.path);
                builder_.addSourceFile(file.path);
            }
            const Change change = pollFollowed(history->file, builder_);
            if (change == Change::Restarted) return Outcome::ReadAgain;
            if (change == Change::Appended && !history->read(rows[history.get()]))
                return Outcome::ReadAgain;
        }
        std::vector<std::string> zoneNames;
        const std::vector<std::vector<FollowedHistory*>> zones = fullestByZone(listed, zoneNames);
        if (!extendsDelivered(zones, rows)) return Outcome::ReadAgain;
        Layout layout;
        layout.unsteady = unsteadyRun(listed, zones);
        for (const auto& zone : zones)
            layout.steps.push_back(su2StepColumn(decidingTables(zone), layout.unsteady));
        if (!delivered_.empty() && !(layout == layout_)) return Outcome::ReadAgain;
        layout_ = layout;
        builder_.setCoefficientLoops(layout.unsteady);
        if (zones.size() == 1) {
            for (FollowedHistory* history : zones[0])
                deliver(*history, rows[history], Su2Layout{layout.unsteady, zoneNames[0]},
                        layout.steps[0], builder_);
        } else if (!mergeZones(zones, zoneNames, rows)) {
            return Outcome::ReadAgain;
        }
        delivered_ = zones;
        return Outcome::Read;
    }

  private:
    // Of the files of one slot the one with the most rows (the first on
    // equal counts), in zone order and run order; zoneNames gets each
    // zone's number.
    std::vector<std::vector<FollowedHistory*>> fullestByZone(
        const std::vector<Su2FolderFile>& listed, std::vector<std::string>& zoneNames) {
        std::vector<std::vector<FollowedHistory*>> zones;
        for (size_t i = 0; i < listed.size(); ++i) {
            FollowedHistory* history = files_[listed[i].path].get();
            if (i > 0 && listed[i].sameSlot(listed[i - 1])) {
                if (history->rowCount > zones.back().back()->rowCount)
                    zones.back().back() = history;
                continue;
            }
            if (zones.empty() || listed[i].zone != zoneNames.back()) {
                zones.emplace_back();
                zoneNames.push_back(listed[i].zone);
            }
            zones.back().push_back(history);
        }
        return zones;
    }

    // Only an unsteady run writes restart files.
    bool unsteadyRun(const std::vector<Su2FolderFile>& listed,
                     const std::vector<std::vector<FollowedHistory*>>& zones) {
        for (const auto& zone : zones) {
            const auto last = std::find_if(listed.begin(), listed.end(), [&](const auto& file) {
                return files_[file.path].get() == zone.back();
            });
            if (last->restart >= 0 || isUnsteadySu2Run(decidingTables(zone))) return true;
        }
        return false;
    }

    // The zones' histories must be those delivered, with new files after
    // them, and rows may come only to a file no delivered file follows.
    bool extendsDelivered(const std::vector<std::vector<FollowedHistory*>>& zones,
                          std::map<const FollowedHistory*, Su2Table>& rows) const {
        if (delivered_.empty()) return true;
        if (zones.size() != delivered_.size()) return false;
        for (size_t z = 0; z < zones.size(); ++z) {
            const auto& before = delivered_[z];
            const auto& now = zones[z];
            if (before.size() > now.size() ||
                !std::equal(before.begin(), before.end(), now.begin()))
                return false;
            for (size_t k = 0; k + 1 < before.size(); ++k)
                if (rows[now[k]].rowCount > 0) return false;
        }
        return true;
    }

    // Each zone read into a run of its own, the runs merged again from the
    // first record any of them changed; false when a zone's new variables
    // would not come where a whole reading declares them.
    bool mergeZones(const std::vector<std::vector<FollowedHistory*>>& zones,
                    const std::vector<std::string>& zoneNames,
                    std::map<const FollowedHistory*, Su2Table>& rows) {
        if (zoneRuns_.empty())
            for (size_t z = 0; z < zones.size(); ++z)
                zoneRuns_.push_back(std::make_unique<RunDataBuilder>());
        std::pair<int, int> from{INT_MAX, INT_MAX};  // no record: the new variables only
        std::vector<const RunData*> runs;
        for (size_t z = 0; z < zones.size(); ++z) {
            RunDataBuilder& zone = *zoneRuns_[z];
            zone.setCoefficientLoops(layout_.unsteady);
            for (FollowedHistory* history : zones[z])
                deliver(*history, rows[history], Su2Layout{layout_.unsteady, zoneNames[z]},
                        layout_.steps[z], zone);
            const int64_t added = zone.publish();
            const RowIndex& records = *zone.data().rows;
            if (added > 0) {
                const int64_t first = records.rowCount() - added;
                from =
                    std::min(from, std::make_pair(records.stepAt(records.positionOfRecord(first)),
                                                  records.loopOfRecord(first)));
            }
            for (std::string& warning : zone.takeWarnings())
                builder_.addWarning(std::move(warning));
            runs.push_back(&zone.data());
        }
        if (!declaredInZoneOrder(runs)) return false;
        addMergedRunsFrom(runs, builder_, from);
        return true;
    }

    bool declaredInZoneOrder(const std::vector<const RunData*>& runs) const {
        size_t column = 0;
        for (const RunData* run : runs)
            for (const VariableInfo& info : run->variables) {
                if (column == builder_.variableCount()) return true;
                if (builder_.variableName(static_cast<int>(column++)) != info.name) return false;
            }
        return true;
    }

    std::string folder_;
    RunDataBuilder& builder_;
    std::map<std::string, std::unique_ptr<FollowedHistory>> files_;  // every file listed
    std::vector<std::vector<FollowedHistory*>> delivered_;           // each zone's history
    Layout layout_;
    std::vector<std::unique_ptr<RunDataBuilder>> zoneRuns_;  // with several zones
};
}  // namespace

std::unique_ptr<FollowedSource> followSu2History(const std::string& path, RunDataBuilder& builder,
                                                 const ReadOptions&) {
    return std::make_unique<FollowedSu2History>(path, builder);
}

std::unique_ptr<FollowedSource> followSu2RunFolder(const std::string& folder,
                                                   RunDataBuilder& builder, const ReadOptions&) {
    return std::make_unique<FollowedSu2RunFolder>(folder, builder);
}

}  // namespace mon
