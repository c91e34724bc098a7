// Reading a results file's monitor group (layout in docs/formats.md).

#include <QSet>
#include <algorithm>
#include <climits>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/formats/results/Fletcher32.h"
#include "libs/mondata/formats/results/ResultsFile.h"
#include "libs/mondata/formats/results/ResultsFileLayout.h"
#include "libs/mondata/formats/results/ResultsFileStorage.h"
#include "libs/mondata/formats/results/ResultsFileTextPool.h"
#include "libs/mondata/formats/results/ResultsFileTexts.h"
#include "libs/mondata/model/RunDataBuilder.h"
#include "libs/mondata/sources/Hdf5Handle.h"
#include "libs/mondata/sources/SourceFileCheck.h"
#include "libs/utilities/Utf8.h"

namespace mon {

namespace {
using namespace results;

// Deflate cannot shrink data more than about 1:1032, so a dataset claiming
// more elements than this many per stored byte is damaged (and would make
// the reader allocate memory the file never held).
constexpr hsize_t kMaxElementsPerStoredByte = 1100;

std::string quoted(const std::string& text) {
    return "'" + owl::printable(text) + "'";
}

// The 32-bit integers the writer stores are read as they are and widened
// here: HDF5 would convert them through a buffer of a megabyte, whose
// zero-filled pages cost more than the rest of the reading.
bool readIntegersInto(hid_t set, hid_t fileType, std::vector<long long>& values) {
    if (H5Tequal(fileType, H5T_NATIVE_INT) <= 0)
        return H5Dread(set, H5T_NATIVE_LLONG, H5S_ALL, H5S_ALL, H5P_DEFAULT, values.data()) >= 0;
    std::vector<int> narrow(values.size());
    if (H5Dread(set, H5T_NATIVE_INT, H5S_ALL, H5S_ALL, H5P_DEFAULT, narrow.data()) < 0)
        return false;
    std::copy(narrow.begin(), narrow.end(), values.begin());
    return true;
}

// An open results file and what is needed to read values later.
class ResultsSource {
  public:
    ResultsSource(std::string name, Hdf5Handle file)
        : name_(std::move(name)), file_(std::move(file)) {}

    RunData load();
    FloatColumn loadValues(size_t variable) const;
    std::optional<DoubleColumn> loadDoubleValues(size_t variable) const;
    std::vector<Attributes> loadAttributes() const;

  private:
    [[noreturn]] void fail(const std::string& what, const char* operation = "updateFrom") const {
        throw owl::data::error("MonDatabase", operation,
                               "Cannot read '" + name_ + "': " + what + ".", owl::errorFatal);
    }
    std::string where(const std::string& dataset) const { return quoted("/monitor/" + dataset); }

    void openMonitorGroup();
    Hdf5Handle openGroup(hid_t parent, const char* name, const std::string& shown) const;
    long long readIntAttribute(const char* name) const;
    void refuseForeignLink(hid_t parent, const std::string& name, const std::string& shown) const;
    Hdf5Handle openDataset(hid_t parent, const std::string& name, const std::string& shown) const;
    hsize_t elementCount(hid_t set, const std::string& shown, StoredChunks* chunks = nullptr) const;
    std::vector<long long> readIntegers(const char* name) const;
    FixedTexts readStrings(const char* name) const;
    FixedTexts readFixedStrings(hid_t set, hid_t fileType, size_t count,
                                const std::string& shown) const;
    std::shared_ptr<RowIndex> readRows(bool loops) const;
    std::vector<VariableInfo> readVariables() const;
    std::vector<Attributes> attributesOf(const std::vector<long long>& owners,
                                         const FixedTexts& keys, const FixedTexts& values) const;
    // A variable's open dataset of values, its type and its chunks.
    struct Values {
        size_t variable;
        Hdf5Handle set;
        Hdf5Handle type;
        StoredChunks chunks;
    };
    Values openValues(size_t variable) const;
    template <typename Column>
    Column readValues(const Values& values, hid_t memoryType) const;
    enum class ChunkRead { Done, Unsuitable, Damaged };
    ChunkRead readChunks(const Values& values, hid_t memoryType, void* out, size_t count) const;

    std::string name_;
    Hdf5Handle file_;
    Hdf5Handle group_;
    Hdf5Handle values_;
    int64_t recordCount_ = 0;
    std::vector<QString> names_;
    // The dataset loadDoubleValues opened and found to hold floats, which
    // loadValues reads next; and the buffer chunks are read into.
    mutable std::optional<Values> opened_;
    mutable std::vector<unsigned char> chunk_;
};

void ResultsSource::openMonitorGroup() {
    htri_t exists = H5Lexists(file_.get(), kGroup, H5P_DEFAULT);
    if (exists < 0) fail("the file is damaged");
    if (exists == 0) fail("it holds no monitor data (no group '/monitor')");
    group_ = openGroup(file_.get(), kGroup, "'/monitor'");
    if (!group_.valid()) fail("it holds no monitor data ('/monitor' is not a readable group)");
}

Hdf5Handle ResultsSource::openGroup(hid_t parent, const char* name,
                                    const std::string& shown) const {
    refuseForeignLink(parent, name, shown);
    return groupHandle(H5Gopen2(parent, name, H5P_DEFAULT));
}

// Only objects the file holds itself are read: a link could lead the reader
// to another file, or a soft link through one.
void ResultsSource::refuseForeignLink(hid_t parent, const std::string& name,
                                      const std::string& shown) const {
    const std::string kind = foreignLinkKind(parent, name.c_str());
    if (!kind.empty())
        fail(shown + " is " + kind + "; only objects stored in the results file itself are read");
}

long long ResultsSource::readIntAttribute(const char* name) const {
    htri_t exists = H5Aexists(group_.get(), name);
    if (exists <= 0) fail("the monitor group has no attribute '" + std::string(name) + "'");
    Hdf5Handle attribute = attributeHandle(H5Aopen(group_.get(), name, H5P_DEFAULT));
    Hdf5Handle space = spaceHandle(attribute.valid() ? H5Aget_space(attribute.get()) : -1);
    Hdf5Handle type = typeHandle(attribute.valid() ? H5Aget_type(attribute.get()) : -1);
    long long value = 0;
    if (!space.valid() || !type.valid() || H5Sget_simple_extent_npoints(space.get()) != 1 ||
        H5Tget_class(type.get()) != H5T_INTEGER ||
        H5Aread(attribute.get(), H5T_NATIVE_LLONG, &value) < 0)
        fail("attribute '" + std::string(name) + "' of the monitor group is not one integer");
    return value;
}

// Opens a dataset of the file itself, checking its storage before anything
// reads from it.
Hdf5Handle ResultsSource::openDataset(hid_t parent, const std::string& name,
                                      const std::string& shown) const {
    htri_t exists = H5Lexists(parent, name.c_str(), H5P_DEFAULT);
    if (exists == 0) fail("dataset " + shown + " is missing");
    if (exists > 0) refuseForeignLink(parent, name, shown);
    Hdf5Handle set = datasetHandle(exists > 0 ? H5Dopen2(parent, name.c_str(), H5P_DEFAULT) : -1);
    if (!set.valid()) fail("dataset " + shown + " cannot be opened: the file is damaged");
    const std::string layout = foreignLayout(set.get());
    if (!layout.empty())
        fail("dataset " + shown + " " + layout +
             "; only data stored in the results file itself are read");
    return set;
}

hsize_t ResultsSource::elementCount(hid_t set, const std::string& shown,
                                    StoredChunks* chunks) const {
    Hdf5Handle space = spaceHandle(H5Dget_space(set));
    hsize_t count = 0;
    if (!space.valid() || H5Sget_simple_extent_ndims(space.get()) != 1 ||
        H5Sget_simple_extent_dims(space.get(), &count, nullptr) != 1)
        fail("dataset " + shown + " is not a one-dimensional list");
    if (count > static_cast<hsize_t>(INT_MAX) - 1 ||
        count > H5Dget_storage_size(set) * kMaxElementsPerStoredByte + 64)
        fail("dataset " + shown + " is damaged: it claims " + std::to_string(count) +
             " elements but stores too few bytes for them");
    if (!storedInFull(set, count, chunks))
        fail("dataset " + shown + " is damaged: part of it was never written");
    return count;
}

// Integers of any size, read at 64 bits so that none is clamped unseen.
std::vector<long long> ResultsSource::readIntegers(const char* name) const {
    const std::string shown = where(name);
    Hdf5Handle set = openDataset(group_.get(), name, shown);
    size_t count = elementCount(set.get(), shown);
    Hdf5Handle type = typeHandle(H5Dget_type(set.get()));
    if (!type.valid() || H5Tget_class(type.get()) != H5T_INTEGER)
        fail("dataset " + shown + " does not hold integers");
    std::vector<long long> values(count);
    if (count > 0 && !readIntegersInto(set.get(), type.get(), values))
        fail("dataset " + shown + " cannot be read: the file is damaged");
    return values;
}

FixedTexts ResultsSource::readStrings(const char* name) const {
    const std::string shown = where(name);
    Hdf5Handle set = openDataset(group_.get(), name, shown);
    size_t count = elementCount(set.get(), shown);
    Hdf5Handle type = typeHandle(H5Dget_type(set.get()));
    if (!type.valid() || H5Tget_class(type.get()) != H5T_STRING)
        fail("dataset " + shown + " does not hold strings");
    if (count == 0) return FixedTexts();
    // Variable-length strings live in a heap without checksums, where damage
    // can make HDF5 itself read out of bounds: only fixed-length strings are
    // accepted.
    if (H5Tis_variable_str(type.get()) != 0)
        fail("dataset " + shown +
             " holds variable-length strings; fixed-length strings are needed");
    return readFixedStrings(set.get(), type.get(), count, shown);
}

FixedTexts ResultsSource::readFixedStrings(hid_t set, hid_t fileType, size_t count,
                                           const std::string& shown) const {
    size_t size = H5Tget_size(fileType);
    if (size == 0 || size > (1u << 20) || count > (size_t(1) << 32) / size)
        fail("dataset " + shown + " holds strings of an unusable size");
    Hdf5Handle memType = typeHandle(H5Tcopy(H5T_C_S1));
    H5Tset_size(memType.get(), size);
    H5Tset_strpad(memType.get(), H5T_STR_NULLPAD);
    H5Tset_cset(memType.get(), H5Tget_cset(fileType));
    FixedTexts texts(size, count);
    if (H5Dread(set, memType.get(), H5S_ALL, H5S_ALL, H5P_DEFAULT, texts.data()) < 0)
        fail("dataset " + shown + " cannot be read: the file is damaged");
    const size_t cut = texts.firstWithNulInside();
    if (cut < count)
        fail("dataset " + shown + " holds a text with a NUL byte inside (element " +
             std::to_string(cut) + ")");
    return texts;
}

std::shared_ptr<RowIndex> ResultsSource::readRows(bool loops) const {
    std::vector<long long> steps = readIntegers(kStep);
    std::vector<long long> loopNumbers =
        loops ? readIntegers(kLoop) : std::vector<long long>(steps.size(), 1);
    if (loopNumbers.size() != steps.size())
        fail("datasets '/monitor/step' and '/monitor/loop' differ in length");
    auto rows = std::make_shared<RowIndex>();
    for (size_t i = 0; i < steps.size(); ++i) {
        if (steps[i] < 0 || steps[i] > INT_MAX)
            fail("record " + std::to_string(i) + ": time step " + std::to_string(steps[i]) +
                 " is not a whole number from 0 to 2147483647");
        if (loopNumbers[i] < 1 || loopNumbers[i] > RunDataBuilder::kMaxLoop)
            fail("record " + std::to_string(i) + ": coefficient loop " +
                 std::to_string(loopNumbers[i]) + " is not a whole number from 1 to " +
                 std::to_string(RunDataBuilder::kMaxLoop));
        const int step = static_cast<int>(steps[i]), loop = static_cast<int>(loopNumbers[i]);
        bool next =
            i == 0 || (step == steps[i - 1] && loop > loopNumbers[i - 1]) || step > steps[i - 1];
        if (!next)
            fail("record " + std::to_string(i) + " (step " + std::to_string(step) + ", loop " +
                 std::to_string(loop) + ") does not follow the one before it");
        rows->append(step, loop);
    }
    return rows;
}

// Only the names are read with the run: a command that reads a few
// variables of thousands has no use for the attributes of the others.
std::vector<VariableInfo> ResultsSource::readVariables() const {
    const FixedTexts names = readStrings(kVariableNames);
    TextPool texts;  // refers to the bytes above, which outlive it
    std::vector<VariableInfo> variables(names.size());
    // Distinct bytes can decode to one text only through ill-formed UTF-8,
    // which decodes beyond ASCII: those names are compared decoded.
    QSet<QString> beyondAscii;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string_view name = names[i];
        if (name.empty()) fail("a variable has an empty name");
        if (name == "ACCUMULATED TIMESTEP" || name == "COEFFICIENT LOOP")
            fail(quoted(std::string(name)) +
                 " is the name of a record key and cannot be a variable");
        QString& text = variables[i].name;
        bool isNew = texts.decodeNew(name, text);
        if (isNew && !isAscii(name)) {
            isNew = !beyondAscii.contains(text);
            beyondAscii.insert(text);
        }
        if (!isNew) fail("variable " + quoted(std::string(name)) + " is listed twice");
    }
    return variables;
}

std::vector<Attributes> ResultsSource::loadAttributes() const {
    const std::vector<long long> owners = readIntegers(kAttributeVariable);
    const FixedTexts keys = readStrings(kAttributeKey);
    const FixedTexts values = readStrings(kAttributeValue);
    if (keys.size() != owners.size() || values.size() != owners.size())
        fail("the datasets '/monitor/attribute_*' differ in length");
    return attributesOf(owners, keys, values);
}

// Each variable's attributes are counted first, so that its list is
// allocated once. Values repeated across variables share their text.
std::vector<Attributes> ResultsSource::attributesOf(const std::vector<long long>& owners,
                                                    const FixedTexts& keys,
                                                    const FixedTexts& values) const {
    std::vector<Attributes> attributes(names_.size());
    std::vector<unsigned> counts(names_.size());
    for (size_t i = 0; i < owners.size(); ++i) {
        if (owners[i] < 0 || static_cast<size_t>(owners[i]) >= names_.size())
            fail("attribute " + std::to_string(i) + " belongs to no variable (index " +
                 std::to_string(owners[i]) + ")");
        ++counts[static_cast<size_t>(owners[i])];
    }
    for (size_t i = 0; i < counts.size(); ++i) attributes[i].reserve(counts[i]);
    TextPool lowerKeys(TextPool::Case::kLowered), texts;
    for (size_t i = 0; i < owners.size(); ++i) {
        const size_t owner = static_cast<size_t>(owners[i]);
        const QString& key = lowerKeys.decode(keys[i]);
        if (key.isEmpty() || !attributeOf(attributes[owner], key).isNull())
            fail("attribute " + quoted(std::string(keys[i])) + " of variable " +
                 quoted(names_[owner].toStdString()) + " is empty or given twice");
        attributes[owner].emplace_back(key, texts.decode(values[i]));
    }
    return attributes;
}

RunData ResultsSource::load() {
    openMonitorGroup();
    const long long version = readIntAttribute(kVersion);
    if (version != kCurrentVersion)
        fail("monitor data version " + std::to_string(version) + " is not supported (expected 1)");
    const long long loops = readIntAttribute(kCoefficientLoops);
    if (loops != 0 && loops != 1) fail("attribute 'coefficient_loops' must be 0 or 1");
    RunData run;
    run.hasCoefficientLoops = loops == 1;
    auto rows = readRows(run.hasCoefficientLoops);
    recordCount_ = rows->rowCount();
    run.rows = std::move(rows);
    run.variables = readVariables();
    if (H5Lexists(group_.get(), kValues, H5P_DEFAULT) > 0)
        values_ = openGroup(group_.get(), kValues, where(kValues));
    if (!values_.valid()) fail("the monitor group has no readable group 'values'");
    // Each variable's dataset is opened and checked when its values are first
    // read: opening costs nothing per variable that is never read.
    for (const VariableInfo& info : run.variables) names_.push_back(info.name);
    return run;
}

ResultsSource::Values ResultsSource::openValues(size_t variable) const {
    if (opened_ && opened_->variable == variable) {
        Values values = std::move(*opened_);
        opened_.reset();
        return values;
    }
    const std::string name = std::to_string(variable);
    const std::string shown = where(std::string(kValues) + "/" + name);
    Values values{variable, openDataset(values_.get(), name, shown), Hdf5Handle(), StoredChunks()};
    values.type = typeHandle(H5Dget_type(values.set.get()));
    if (!values.type.valid() || H5Tget_class(values.type.get()) != H5T_FLOAT)
        fail("dataset " + shown + " does not hold floating-point values");
    if (elementCount(values.set.get(), shown, &values.chunks) != static_cast<hsize_t>(recordCount_))
        fail("dataset " + shown + " does not hold one value per record");
    return values;
}

// Datasets stored as the writer stores them, in chunks with a checksum as
// their one filter and in the type asked for, are read chunk by chunk into
// one buffer, whose checksum is checked here: HDF5 would sum each chunk 16
// bits at a time, keep it in its chunk cache and copy it twice.
ResultsSource::ChunkRead ResultsSource::readChunks(const Values& values, hid_t memoryType,
                                                   void* out, size_t count) const {
    const StoredChunks& chunks = values.chunks;
    const size_t size = H5Tget_size(memoryType);
    if (!chunks.checksumOnly || chunks.values == 0 || H5Tequal(values.type.get(), memoryType) <= 0)
        return ChunkRead::Unsuitable;
    const size_t data = static_cast<size_t>(chunks.values) * size;
    for (size_t i = 0; i < chunks.bytes.size(); ++i)
        if (chunks.unfiltered[i] != 0 || chunks.bytes[i] != data + 4) return ChunkRead::Unsuitable;
    chunk_.resize(data + 4);
    char* target = static_cast<char*>(out);
    for (size_t first = 0; first < count; first += chunks.values) {
        hsize_t offset = first;
        uint32_t filters = 0;
        if (H5Dread_chunk(values.set.get(), H5P_DEFAULT, &offset, &filters, chunk_.data()) < 0 ||
            filters != 0 || !fletcher32Matches(chunk_.data(), data, chunk_.data() + data))
            return ChunkRead::Damaged;
        const size_t taken = std::min<size_t>(chunks.values, count - first);
        std::memcpy(target + first * size, chunk_.data(), taken * size);
    }
    return ChunkRead::Done;
}

// Reads a variable's whole dataset, converted to the column's type.
template <typename Column>
Column ResultsSource::readValues(const Values& values, hid_t memoryType) const {
    Column column(static_cast<size_t>(recordCount_));
    if (column.empty()) return column;
    const ChunkRead read = readChunks(values, memoryType, column.data(), column.size());
    if (read == ChunkRead::Damaged ||
        (read == ChunkRead::Unsuitable &&
         H5Dread(values.set.get(), memoryType, H5S_ALL, H5S_ALL, H5P_DEFAULT, column.data()) < 0))
        fail("the values of variable " + quoted(names_[values.variable].toStdString()) +
                 " cannot be read: the file is damaged",
             "getVariable");
    return column;
}

FloatColumn ResultsSource::loadValues(size_t variable) const {
    return readValues<FloatColumn>(openValues(variable), H5T_NATIVE_FLOAT);
}

// A dataset of floats wider than 32 bits is read as doubles: monpack stores
// a variable held in double precision (a time) so. Otherwise the open
// dataset is kept for loadValues, which the caller calls next.
std::optional<DoubleColumn> ResultsSource::loadDoubleValues(size_t variable) const {
    Values values = openValues(variable);
    if (H5Tget_size(values.type.get()) <= sizeof(float)) {
        opened_ = std::move(values);
        return std::nullopt;
    }
    return readValues<DoubleColumn>(values, H5T_NATIVE_DOUBLE);
}

[[noreturn]] void failOpen(const std::string& path, const std::string& what) {
    throw owl::data::error("MonDatabase", "updateFrom",
                           "Cannot read '" + owl::printable(path) + "': " + what + ".",
                           owl::errorFatal);
}

RunData loadFrom(std::string name, hid_t file) {
    auto source = std::make_shared<ResultsSource>(std::move(name), fileHandle(file));
    RunData run = source->load();
    run.loadColumn = [source](size_t variable) { return source->loadValues(variable); };
    run.loadDoubleColumn = [source](size_t variable) { return source->loadDoubleValues(variable); };
    run.loadAttributes = [source] { return source->loadAttributes(); };
    return run;
}
}  // namespace

RunData readResultsFile(const std::string& path) {
    silenceHdf5Errors();
    // Examined before HDF5 opens it: opening a FIFO would wait for a writer,
    // and a device could be read forever.
    const std::string problem = notRegularFileReason(path);
    if (!problem.empty()) failOpen(path, problem);
    Hdf5Handle access = propertyHandle(H5Pcreate(H5P_FILE_ACCESS));
    H5Pset_file_locking(access.get(), false, true);
    hid_t file = H5Fopen(path.c_str(), H5F_ACC_RDONLY, access.get());
    if (file < 0) {
        if (!looksLikeHdf5(path)) failOpen(path, "not a results file (not in HDF5 format)");
        failOpen(path, "the results file is damaged or truncated");
    }
    RunData run = loadFrom(path, file);
    run.sourceFiles.push_back(path);
    return run;
}

RunData readResultsImage(const std::string& name, const void* data, size_t size) {
    silenceHdf5Errors();
    Hdf5Handle access = propertyHandle(H5Pcreate(H5P_FILE_ACCESS));
    H5Pset_fapl_core(access.get(), 1 << 16, false);
    if (size > 0) H5Pset_file_image(access.get(), const_cast<void*>(data), size);
    hid_t file = size > 0 ? H5Fopen(name.c_str(), H5F_ACC_RDONLY, access.get()) : -1;
    if (file < 0) failOpen(name, "the results file is damaged, truncated or not in HDF5 format");
    return loadFrom(name, file);
}

}  // namespace mon
