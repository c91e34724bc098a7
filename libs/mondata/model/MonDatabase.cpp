#include "libs/mondata/model/MonDatabase.h"

#include <utility>

#include "libs/exception/Error.h"
#include "libs/guiutils/MessageDisplay.h"
#include "libs/mondata/model/RecordKey.h"
#include "libs/mondata/model/RunMetadata.h"
#include "libs/mondata/sources/RunFollower.h"
#include "libs/mondata/sources/RunSource.h"

MonDatabase::MonDatabase(const QString& name, owl::MessageDisplayItf* display)
    : name_(name), display_(display) {}

MonDatabase::~MonDatabase() = default;

namespace {
// Latin-1 only where it spells every name of the run: no name may lose a
// character (see mon::NameEncoding).
mon::NameEncoding encodingOf(const mon::RunData& run) {
    if (run.names == mon::NameEncoding::Utf8) return run.names;
    for (const auto& info : run.variables)
        for (const QChar c : info.name)
            if (c.unicode() > 0xFF) return mon::NameEncoding::Utf8;
    return mon::NameEncoding::Latin1;
}

}  // namespace

mon::SourceKind MonDatabase::sourceKind(SourceType type) {
    switch (type) {
        case MonDatabase::MonitorFile:
            return mon::SourceKind::MonitorFile;
        case MonDatabase::RunDirectory:
            return mon::SourceKind::RunDirectory;
        case MonDatabase::ResultsFile:
            return mon::SourceKind::ResultsFile;
    }
    throw owl::internal::error("MonDatabase", "sourceKind", "Unknown data source type.",
                               owl::errorFatal);
}

void MonDatabase::updateFrom(SourceType type, const QString& path, bool replace) {
    // Paths arrive as QString::fromLatin1 of the user's bytes; toLatin1 gives
    // those bytes back exactly.
    const QByteArray bytes = path.toLatin1();
    const std::string file(bytes.constData(), static_cast<size_t>(bytes.size()));
    const mon::SourceKind kind = sourceKind(type);
    if (replace) {
        pending_ = mon::readRun(kind, file, readOptions_);
        replacePending_ = true;
        return;
    }
    const bool same = follower_ && follower_->kind() == kind && follower_->path() == file &&
                      follower_->options().logPatterns == readOptions_.logPatterns;
    if (!same) {
        // A new source replaces the one followed only once it was read; the
        // first source is kept even when its reading fails, so that it is
        // read again only once it changed.
        auto follower = std::make_unique<mon::RunFollower>(kind, file, readOptions_);
        try {
            followedRecords_ = follower->update();
        } catch (const owl::Error&) {
            if (!follower_) follower_ = std::move(follower);
            throw;
        }
        follower_ = std::move(follower);
    } else {
        try {
            followedRecords_ = follower_->update();
        } catch (const owl::Error&) {
            if (followed_) bindFollowedRun();  // the values moved while they were read
            throw;
        }
    }
    followedChange_ = follower_->changed();
    followedWarnings_ = follower_->warnings();
    replacePending_ = false;
    bindFollowedRun();
}

void MonDatabase::bindFollowedRun() {
    const mon::RunData& live = follower_->run();
    followed_ = &live;
    run_ = mon::RunData();
    run_.hasCoefficientLoops = live.hasCoefficientLoops;
    run_.names = live.names;
    run_.stepsNumberedByReader = live.stepsNumberedByReader;
    run_.rows = live.rows;
    run_.variables = live.variables;
    run_.sourceFiles = live.sourceFiles;
    run_.loadColumn = live.loadColumn;
    run_.loadDoubleColumn = live.loadDoubleColumn;
    run_.loadAttributes = live.loadAttributes;
    columns_.clear();
    doubleColumns_.clear();
    indexVariables();
}

void MonDatabase::updateData() {
    if (followed_ && !replacePending_) {
        if (display_)
            for (const std::string& warning : followedWarnings_)
                display_->showMessage(owl::MessageKind::Warning, QString::fromStdString(warning));
        followedWarnings_.clear();
        return;
    }
    replacePending_ = false;
    followed_ = nullptr;
    follower_.reset();
    run_ = std::move(pending_);
    if (display_)
        for (const std::string& warning : run_.warnings)
            display_->showMessage(owl::MessageKind::Warning, QString::fromStdString(warning));
    pending_ = mon::RunData();
    columns_ = std::move(run_.columns);
    run_.columns.clear();
    doubleColumns_ = std::move(run_.doubleColumns);
    run_.doubleColumns.clear();
    indexVariables();
}

void MonDatabase::takeRun(mon::RunData run) {
    pending_ = std::move(run);
    replacePending_ = true;
    updateData();
}

void MonDatabase::indexVariables() {
    keyNames_ = {QString::fromLatin1(mon::kAccumulatedTimestep.c_str())};
    if (run_.hasCoefficientLoops)
        keyNames_.push_back(QString::fromLatin1(mon::kCoefficientLoop.c_str()));
    std::vector<const QString*> names;
    names.reserve(keyNames_.size() + run_.variables.size());
    for (const QString& key : keyNames_) names.push_back(&key);
    for (const auto& info : run_.variables) names.push_back(&info.name);
    index_.assign(std::move(names));
    nameEncoding_ = encodingOf(run_);
    data_.clear();
    data_.resize(keyNames_.size() + run_.variables.size());
}

const TimestepData* MonDatabase::getVariable(const QString& name) const {
    const long found = index_.find(name);
    if (found < 0) return nullptr;
    const size_t position = static_cast<size_t>(found);
    std::lock_guard<std::mutex> lock(lazy_);
    if (!data_[position]) {
        if (position < keyNames_.size()) {
            const auto key = position == 0 ? TimestepData::Key::Step : TimestepData::Key::Loop;
            data_[position] =
                std::make_unique<TimestepData>(run_.rows, key, run_.hasCoefficientLoops);
        } else {
            data_[position] = loadVariable(position - keyNames_.size());
        }
    }
    return data_[position].get();
}

void MonDatabase::requireAttributes() const {
    std::lock_guard<std::mutex> lock(lazy_);
    mon::completeAttributes(run_);
}

// Called with lazy_ held.
std::unique_ptr<TimestepData> MonDatabase::loadVariable(size_t variable) const {
    const bool loops = run_.hasCoefficientLoops;
    // A results file tells a variable held in double precision by its 64-bit
    // dataset, and a time among them by its attributes.
    if (run_.loadDoubleColumn)
        if (std::optional<mon::DoubleColumn> values = run_.loadDoubleColumn(variable)) {
            mon::completeAttributes(run_);
            const bool time = run_.variables[variable].declaresSimulationTime();
            return std::make_unique<TimestepData>(
                run_.rows, std::move(*values), loops,
                time ? mon::VariableInfo::Precision::Time : mon::VariableInfo::Precision::Double);
        }
    const mon::VariableInfo& info = run_.variables[variable];
    if (followed_ && !run_.loadColumn) {
        const bool doubles = variable < followed_->doubleColumns.size() && info.holdsDoubles();
        return std::make_unique<TimestepData>(
            run_.rows, followed_->columns[variable],
            doubles ? &followed_->doubleColumns[variable] : nullptr, loops, info.precision);
    }
    if (variable < doubleColumns_.size() && variable < columns_.size() && info.holdsDoubles())
        return std::make_unique<TimestepData>(run_.rows, std::move(columns_[variable]),
                                              std::move(doubleColumns_[variable]), loops,
                                              info.precision);
    mon::FloatColumn values =
        run_.loadColumn ? run_.loadColumn(variable) : std::move(columns_[variable]);
    return std::make_unique<TimestepData>(run_.rows, std::move(values), loops);
}

std::vector<MonVariable> MonDatabase::getVariableList() const {
    requireAttributes();
    std::vector<MonVariable> list;
    list.reserve(keyNames_.size() + run_.variables.size());
    for (const QString& key : keyNames_) list.emplace_back(key, MonVariable::Declared{nullptr});
    for (const auto& info : run_.variables)
        list.emplace_back(info.name, MonVariable::Declared{&info});
    return list;
}

const mon::VariableInfo* MonDatabase::variableInfo(const QString& name) const {
    const long found = index_.find(name);
    if (found < 0 || static_cast<size_t>(found) < keyNames_.size()) return nullptr;
    requireAttributes();
    return &run_.variables[static_cast<size_t>(found) - keyNames_.size()];
}

QStringList MonDatabase::getGroupList() const {
    requireAttributes();
    return mon::groupsOf(run_.variables);
}

QStringList MonDatabase::getAssociatedVariablesForTimeTransformedVariables(
    const QStringList& names) const {
    requireAttributes();
    return mon::associatedVariables(run_.variables, names);
}

QString MonDatabase::getAssociatedTimeTransformedVariable(const QString& name) const {
    // The index finds the variable at once: a plot asks this for each of its
    // lines.
    return mon::timeVariableOf(variableInfo(name));
}
