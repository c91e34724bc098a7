#include "libs/mondata/formats/cgns/CgnsHistory.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <memory>

#include "libs/mondata/formats/cgns/CgnsDataNames.h"
#include "libs/mondata/formats/cgns/CgnsFile.h"
#include "libs/mondata/model/RecordKey.h"
#include "libs/mondata/sources/Hdf5Handle.h"
#include "libs/mondata/sources/SourceFileCheck.h"

namespace mon {

namespace {
const char* const kHistoryLabel = "ConvergenceHistory_t";

// One ConvergenceHistory_t node and what opening learnt about it.
struct History {
    History(CgnsNode node, std::string prefix, QString group)
        : node(std::move(node)), prefix(std::move(prefix)), group(std::move(group)) {}

    CgnsNode node;
    std::string prefix;  // put before its arrays' names to make variable names
    QString group;       // the zone's group; empty for a base's global history
    size_t iterations = 0;
    std::vector<int> steps;   // the step of each recorded iteration
    std::vector<int> rows;    // the run's record of each recorded iteration
    std::string description;  // NormDefinitions and other descriptors
};

// One variable: a data array of a history, read when first needed; by its
// kept identifier where the file keeps them (finding thousands of arrays by
// name one after the other would scan their parent once per array).
struct Column {
    size_t history;
    std::string array;
    double id;
};

std::string collapsedBlanks(const std::string& text) {
    std::string out;
    for (char c : text) {
        const bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        if (!blank)
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::string shown(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

void appendText(std::string& to, const std::string& text) {
    if (text.empty()) return;
    if (!to.empty()) to += "; ";
    to += text;
}

class CgnsHistorySource {
  public:
    explicit CgnsHistorySource(const std::string& path) : file_(path) {}

    RunData load();
    FloatColumn loadValues(size_t variable) const;

  private:
    void findHistories();
    void findInBase(const CgnsNode& base, const std::string& basePrefix);
    bool isHistory(const CgnsNode& node) const;
    void addHistory(CgnsNode node, std::string prefix, QString group);
    size_t readIterations(const CgnsNode& node) const;
    std::string readDescriptors(const CgnsNode& parent) const;
    void readArrays(History& history, std::vector<VariableInfo>& variables);
    void checkArray(const History& history, const CgnsNode& array) const;
    std::vector<int> readSteps(const History& history, const CgnsNode& array) const;
    VariableInfo variableOf(const History& history, const CgnsNode& array) const;
    std::shared_ptr<RowIndex> mergeSteps();

    CgnsFile file_;
    std::vector<History> histories_;
    std::vector<Column> columns_;
    int rowCount_ = 0;
};

void CgnsHistorySource::findHistories() {
    CgnsNode root = file_.root();
    std::vector<CgnsNode> bases;
    for (CgnsNode& node : file_.children(root))
        if (file_.label(node) == "CGNSBase_t") bases.push_back(std::move(node));
    for (const CgnsNode& base : bases)
        findInBase(base, bases.size() > 1 ? base.name() + "/" : std::string());
    if (histories_.empty())
        file_.fail(
            "it holds no convergence history (no ConvergenceHistory_t node under a "
            "base or a zone)");
}

void CgnsHistorySource::findInBase(const CgnsNode& base, const std::string& basePrefix) {
    std::vector<CgnsNode> zones;
    for (CgnsNode& node : file_.children(base)) {
        if (isHistory(node))
            addHistory(std::move(node), basePrefix, QString());
        else if (file_.label(node) == "Zone_t")
            zones.push_back(std::move(node));
    }
    for (const CgnsNode& zone : zones) {
        const std::string prefix = basePrefix + zone.name() + "/";
        const QString group = QString::fromStdString(basePrefix + zone.name());
        for (CgnsNode& node : file_.children(zone))
            if (isHistory(node)) addHistory(std::move(node), prefix, group);
    }
}

// A history is found by its type; a node named as one but of another type
// is a damaged tree.
bool CgnsHistorySource::isHistory(const CgnsNode& node) const {
    const std::string label = file_.label(node);
    if (label == kHistoryLabel) return true;
    const std::string name = node.name();
    if (name == "GlobalConvergenceHistory" || name == "ZoneConvergenceHistory")
        file_.fail(node, "is of type '" + label + "', not " + kHistoryLabel);
    return false;
}

void CgnsHistorySource::addHistory(CgnsNode node, std::string prefix, QString group) {
    History history(std::move(node), std::move(prefix), std::move(group));
    history.iterations = readIterations(history.node);
    history.description = readDescriptors(history.node);
    histories_.push_back(std::move(history));
}

size_t CgnsHistorySource::readIterations(const CgnsNode& node) const {
    const std::string type = file_.dataType(node);
    if (type != "I4" && type != "I8")
        file_.fail(node,
                   "does not hold its number of iterations as an integer (data type " + type + ")");
    std::vector<double> value = file_.readNumbers(node, 1);
    if (value[0] < 0 || value[0] > INT_MAX - 1)
        file_.fail(node, "holds an impossible number of iterations (" +
                             std::to_string(static_cast<long long>(value[0])) + ")");
    return static_cast<size_t>(value[0]);
}

// NormDefinitions first, then any other descriptors, in file order.
std::string CgnsHistorySource::readDescriptors(const CgnsNode& parent) const {
    std::string norms, others;
    for (const CgnsNode& node : file_.children(parent)) {
        if (file_.label(node) != "Descriptor_t") continue;
        const std::string text = collapsedBlanks(file_.readText(node));
        appendText(node.name() == "NormDefinitions" ? norms : others, text);
    }
    appendText(norms, others);
    return norms;
}

void CgnsHistorySource::readArrays(History& history, std::vector<VariableInfo>& variables) {
    bool explicitSteps = false;
    const size_t before = variables.size();
    for (const CgnsNode& array : file_.children(history.node)) {
        if (file_.label(array) != "DataArray_t") continue;
        checkArray(history, array);
        if (isIterationArrayName(array.name()) && !explicitSteps) {
            history.steps = readSteps(history, array);
            explicitSteps = true;
            continue;
        }
        variables.push_back(variableOf(history, array));
        columns_.push_back(
            {static_cast<size_t>(&history - histories_.data()), array.name(), array.id()});
    }
    // Steps are numbered only for a history with values: a damaged count of
    // iterations alone must not cost memory.
    if (!explicitSteps && variables.size() > before)
        for (size_t i = 0; i < history.iterations; ++i) history.steps.push_back(int(i) + 1);
}

void CgnsHistorySource::checkArray(const History& history, const CgnsNode& array) const {
    const size_t count = file_.valueCount(array);
    if (count < history.iterations)
        file_.fail(array, "holds " + std::to_string(count) + " values, fewer than the " +
                              std::to_string(history.iterations) + " iterations of its history");
}

std::vector<int> CgnsHistorySource::readSteps(const History& history, const CgnsNode& array) const {
    std::vector<double> numbers = file_.readNumbers(array, history.iterations);
    std::vector<int> steps;
    for (size_t i = 0; i < numbers.size(); ++i) {
        const double n = numbers[i];
        if (!(n >= 0 && n <= INT_MAX - 1) || n != std::floor(n))
            file_.fail(array, "holds " + shown(n) + " at record " + std::to_string(i + 1) +
                                  ", not an iteration number");
        if (!steps.empty() && int(n) <= steps.back())
            file_.fail(array, "holds iteration " + std::to_string(int(n)) + " at record " +
                                  std::to_string(i + 1) + ", not after iteration " +
                                  std::to_string(steps.back()));
        steps.push_back(int(n));
    }
    return steps;
}

VariableInfo CgnsHistorySource::variableOf(const History& history, const CgnsNode& array) const {
    const std::string arrayName = array.name();
    VariableInfo info;
    info.name = QString::fromStdString(history.prefix + arrayName);
    if (recordKeyOf(history.prefix + arrayName) != RecordKey::None)
        file_.fail(array, "has the name of a record key, which cannot be a variable");
    const CgnsArrayKind kind = kindOfDataName(arrayName);
    const QString group = history.group.isEmpty() ? kind.group : history.group;
    std::string description = readDescriptors(array);
    appendText(description, history.description);
    if (!kind.category.isEmpty())
        info.attributes.emplace_back(QStringLiteral("category"), kind.category);
    if (!kind.subcategory.isEmpty())
        info.attributes.emplace_back(QStringLiteral("subcategory"), kind.subcategory);
    if (!group.isEmpty()) info.attributes.emplace_back(QStringLiteral("group"), group);
    if (!description.empty())
        info.attributes.emplace_back(QStringLiteral("description"),
                                     QString::fromStdString(description));
    return info;
}

// The run's records are every step of every history, in order; a history
// without values at a step leaves its variables empty there.
std::shared_ptr<RowIndex> CgnsHistorySource::mergeSteps() {
    std::vector<int> all;
    for (const History& history : histories_)
        all.insert(all.end(), history.steps.begin(), history.steps.end());
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    auto rows = std::make_shared<RowIndex>();
    for (int step : all) rows->append(step, 1);
    for (History& history : histories_)
        for (int step : history.steps)
            history.rows.push_back(
                int(std::lower_bound(all.begin(), all.end(), step) - all.begin()));
    rowCount_ = rows->rowCount();
    return rows;
}

RunData CgnsHistorySource::load() {
    findHistories();
    RunData run;
    for (History& history : histories_) {
        const size_t before = run.variables.size();
        readArrays(history, run.variables);
        // A history without arrays records nothing, whatever its count says.
        if (run.variables.size() == before) history.steps.clear();
    }
    run.rows = mergeSteps();
    return run;
}

FloatColumn CgnsHistorySource::loadValues(size_t variable) const {
    const Column& column = columns_[variable];
    const History& history = histories_[column.history];
    CgnsNode array = file_.keepsNodeIds()
                         ? file_.keptNode(column.id, history.node.childPath(column.array))
                         : file_.child(history.node, column.array);
    std::vector<double> values = file_.readNumbers(array, history.iterations);
    FloatColumn out(static_cast<size_t>(rowCount_), FLT_MAX);
    for (size_t i = 0; i < values.size(); ++i) {
        if (std::fabs(values[i]) > FLT_MAX && !std::isinf(values[i]))
            file_.fail(array, "holds " + shown(values[i]) + " at record " + std::to_string(i + 1) +
                                  ", outside the single-precision range");
        out[static_cast<size_t>(history.rows[i])] = static_cast<float>(values[i]);
    }
    return out;
}

// Opened without file locking, so that a file its solver holds open is
// recognised; a file this process holds open already (a run kept while it is
// followed) opens only with the locking the CGNS library opened it with,
// HDF5's default.
bool hasCgnsRootMarkers(const std::string& path) {
    silenceHdf5Errors();
    Hdf5Handle unlocked = propertyHandle(H5Pcreate(H5P_FILE_ACCESS));
    H5Pset_file_locking(unlocked.get(), false, true);
    Hdf5Handle file = fileHandle(H5Fopen(path.c_str(), H5F_ACC_RDONLY, unlocked.get()));
    if (!file.valid()) file = fileHandle(H5Fopen(path.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT));
    if (!file.valid()) return false;
    return H5Lexists(file.get(), " hdf5version", H5P_DEFAULT) > 0 ||
           H5Lexists(file.get(), " format", H5P_DEFAULT) > 0;
}
}  // namespace

bool looksLikeCgns(const std::string& path, std::string_view head) {
    if (head.find("ADF Database") != std::string_view::npos) return true;
    return looksLikeHdf5(path) && hasCgnsRootMarkers(path);
}

RunData readCgnsFile(const std::string& path) {
    auto source = std::make_shared<CgnsHistorySource>(path);
    RunData run = source->load();
    run.loadColumn = [source](size_t variable) { return source->loadValues(variable); };
    run.sourceFiles.push_back(path);
    return run;
}

}  // namespace mon
