#include "python/RunTable.h"

#include <QDir>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>

#include "export/ExporterError.h"
#include "export/VariableSelection.h"
#include "libs/exception/MessageText.h"
#include "libs/guiutils/MessageDisplay.h"
#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/model/RecordKey.h"
#include "libs/mondata/model/TimestepData.h"
#include "libs/mondata/rules/MonVariableRule.h"
#include "study/RunKind.h"

namespace {

// Paths reach the library as the command gives them: their bytes, as
// Latin-1 characters that MonDatabase turns back into the same bytes.
QString pathText(const std::string& path) {
    return QString::fromLatin1(path.c_str());
}
// Names and texts are UTF-8 both ways: Python's str holds any character.
QString toQString(const std::string& text) {
    return exporter::nameText(text, exporter::NameBytes::Utf8);
}
std::string toBytes(const QString& text) {
    return exporter::nameBytes(text, exporter::NameBytes::Utf8);
}

MonDatabase::SourceType sourceType(RunTable::Source source) {
    if (source == RunTable::Source::Results) return MonDatabase::ResultsFile;
    if (source == RunTable::Source::Directory) return MonDatabase::RunDirectory;
    return MonDatabase::MonitorFile;
}

std::unique_ptr<MonVariableRule> ruleOf(const std::string& rule) {
    if (rule.empty()) return nullptr;
    return std::make_unique<MonVariableRule>(toQString(rule));
}

template <typename Value>
Value orNaN(Value value) {
    return value == FLT_MAX ? std::numeric_limits<Value>::quiet_NaN() : value;
}

// The library's messages, kept for the front end to pass on.
class CollectedMessages : public owl::MessageDisplayItf {
  public:
    explicit CollectedMessages(std::vector<std::string>& messages) : messages_(messages) {}
    void showMessage(owl::MessageKind, const QString& text) override {
        messages_.push_back(toBytes(text));
    }

  private:
    std::vector<std::string>& messages_;
};

}  // namespace

// The source is followed from the start, so that update() reads only what
// its writer appends.
RunTable::RunTable(const std::string& path, Source source, std::vector<std::string> patterns)
    : path_(path),
      source_(source == Source::Guess ? sourceOf(path) : source),
      database_(
          std::make_unique<MonDatabase>(QStringLiteral("main"), new CollectedMessages(warnings_))) {
    database_->setReadOptions({std::move(patterns)});
    update();
}

size_t RunTable::update() {
    database_->updateFrom(sourceType(source_), pathText(path_), false);
    database_->updateData();
    return database_->followedRecords();
}

RunTable::~RunTable() = default;

int64_t RunTable::recordCount() const {
    return data(mon::kAccumulatedTimestep).rows().rowCount();
}

std::vector<std::string> RunTable::takeWarnings() const {
    return std::exchange(warnings_, {});
}

RunTable::Source RunTable::sourceOf(const std::string& path) {
    switch (study::runKindOf(path)) {
        case MonDatabase::RunDirectory:
            return Source::Directory;
        case MonDatabase::ResultsFile:
            return Source::Results;
        default:
            return Source::Monitor;
    }
}

std::vector<std::string> RunTable::variables() const {
    std::vector<std::string> names;
    for (const MonVariable& variable : database_->getVariableList())
        names.push_back(toBytes(variable.getName()));
    return names;
}

std::vector<std::string> RunTable::groups() const {
    std::vector<std::string> names;
    for (const QString& group : database_->getGroupList()) names.push_back(toBytes(group));
    return names;
}

RunTable::Description RunTable::info(const std::string& name) const {
    for (const MonVariable& variable : database_->getVariableList()) {
        if (toBytes(variable.getName()) != name) continue;
        QStringList path;
        for (const QString& step : variable.getTreePath(true)) path << step;
        Description description{toBytes(variable.getPreferredLabel()),
                                toBytes(variable.getTreeName(true)),
                                toBytes(path.join(QLatin1Char('/'))),
                                toBytes(variable.getAttribute(QStringLiteral("group"))),
                                {}};
        if (const mon::VariableInfo* declared = database_->variableInfo(variable.getName()))
            for (const auto& [key, value] : declared->attributes)
                description.attributes.emplace_back(toBytes(key), toBytes(value));
        return description;
    }
    exporter::raise("info", "Unknown variable: " + owl::printable(name));
}

bool RunTable::showsLoops(bool loops) const {
    return loops && database_->getVariable(toQString(mon::kCoefficientLoop)) != nullptr;
}

std::vector<std::string> RunTable::select(const std::vector<std::string>& names,
                                          const std::string& rule, bool withKeys,
                                          bool loops) const {
    std::vector<std::string> keyFields;
    if (withKeys) keyFields.push_back(mon::kAccumulatedTimestep);
    if (withKeys && showsLoops(loops)) keyFields.push_back(mon::kCoefficientLoop);
    PreparedData data;
    std::vector<std::string> columns;
    const std::unique_ptr<MonVariableRule> parsed = ruleOf(rule);
    const size_t matches = exporter::selectVariables(*database_, names, parsed.get(), keyFields,
                                                     data, columns, exporter::NameBytes::Utf8);
    if (parsed && matches == 0) warnings_.push_back(exporter::noMatchWarning(*database_, rule));
    if (withKeys && !showsLoops(loops))
        columns.erase(std::remove(columns.begin(), columns.end(), mon::kCoefficientLoop),
                      columns.end());
    return columns;
}

const TimestepData& RunTable::data(const std::string& name) const {
    if (const TimestepData* found = database_->getVariable(toQString(name))) return *found;
    throw owl::data::notFound("RunHistoryWriter", "outputData",
                              "Requested variable(s) not found: \n    " + owl::printable(name),
                              owl::errorFatal);
}

bool RunTable::isKey(const std::string& name) const {
    return data(name).key() != TimestepData::Key::None;
}

RunTable::Rows RunTable::rows(bool loops, int32_t first, int32_t last) const {
    const TimestepData* steps = database_->getVariable(toQString(mon::kAccumulatedTimestep));
    if (!steps) exporter::raise("outputData", "Failed to locate Accumulated Timestep key field.");
    if (first <= 0 || first < steps->getFirstTimestep()) first = steps->getFirstTimestep();
    if (last <= 0 || last > steps->getLastTimestep()) last = steps->getLastTimestep();
    const mon::RowIndex& index = steps->rows();
    Rows rows;
    rows.index = &index;
    for (int position = 0; position < index.stepCount(); ++position) {
        const int step = index.stepAt(position), count = index.loopCountAt(position);
        if (step < first || step > last) continue;
        int64_t record = loops ? index.firstRecordAt(position) : index.endRecordAt(position) - 1;
        for (int loop = loops ? 1 : count; loop <= count; ++loop) {
            rows.steps.push_back(step);
            rows.loops.push_back(loop);
            const bool held = index.loopOfRecord(record) == loop;
            rows.records.push_back(held ? record : -1);
            record += held;
        }
    }
    return rows;
}

std::vector<float> RunTable::values(const std::string& name, const Rows& rows, bool loops) const {
    const TimestepData& column = data(name);
    std::vector<float> values(rows.steps.size());
    if (&column.rows() == rows.index && column.key() == TimestepData::Key::None) {
        const mon::FloatColumn& held = column.values();
        for (size_t row = 0; row < values.size(); ++row)
            values[row] = rows.records[row] < 0 ? NAN : orNaN(held[size_t(rows.records[row])]);
        return values;
    }
    for (size_t row = 0; row < values.size(); ++row)
        values[row] = orNaN(column.getValue(static_cast<int>(rows.steps[row]),
                                            loops ? static_cast<int>(rows.loops[row]) : -1));
    return values;
}

bool RunTable::holdsDoubles(const std::string& name) const {
    return data(name).holdsDoubles();
}

std::vector<double> RunTable::doubleValues(const std::string& name, const Rows& rows,
                                           bool loops) const {
    const TimestepData& column = data(name);
    std::vector<double> values(rows.steps.size());
    for (size_t row = 0; row < values.size(); ++row)
        values[row] = orNaN(column.getDoubleValue(static_cast<int>(rows.steps[row]),
                                                  loops ? static_cast<int>(rows.loops[row]) : -1));
    return values;
}

std::vector<int64_t> RunTable::keyValues(const std::string& name, const Rows& rows) const {
    return data(name).key() == TimestepData::Key::Loop ? rows.loops : rows.steps;
}

std::vector<RunTable::LastValue> RunTable::lastValues(const std::vector<std::string>& names,
                                                      const std::string& rule) const {
    std::vector<LastValue> fields;
    for (const std::string& name : select(names, rule, false, true)) {
        const TimestepData& column = data(name);
        const int step = column.getLastTimestep(), loop = column.getLastCloop();
        const double value = column.getDoubleValue(step, loop);
        const TimestepData::Key key = column.key();
        double field = orNaN(value);
        if (key != TimestepData::Key::None && value != FLT_MAX)
            field = key == TimestepData::Key::Step ? step : loop;
        fields.push_back({name, field, key != TimestepData::Key::None});
    }
    return fields;
}

void RunTable::narrowToTimes(const exporter::TimeRange& times, int32_t& first,
                             int32_t& last) const {
    exporter::narrowToTimes(*database_, times, first, last);
}

exporter::StatsReport RunTable::stats(const std::vector<std::string>& names,
                                      const std::string& rule,
                                      const exporter::StatsSettings& settings, int32_t first,
                                      int32_t last) const {
    if (!rule.empty()) select({}, rule, false, true);  // warns when it matches nothing
    const std::unique_ptr<MonVariableRule> parsed = ruleOf(rule);
    exporter::StatsReport report =
        exporter::statsReport(*database_, names, parsed.get(), settings, first, last,
                              exporter::NameBytes::Utf8);
    exporter::requireMatchedCriteria(report);
    return report;
}
