// Writing a results file's monitor group (layout in docs/formats.md).

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/formats/results/ResultsFile.h"
#include "libs/mondata/formats/results/ResultsFileLayout.h"
#include "libs/mondata/sources/Hdf5Handle.h"

namespace mon {

namespace {
using namespace results;

// The system's reason for the file operation that HDF5 has just reported as
// failed ("No space left on device"), found in its error stack; empty when
// the stack names none.
std::string systemReason() {
    static const char kMarker[] = "error message = '";
    std::string reason;
    auto find = [](unsigned, const H5E_error2_t* error, void* out) -> herr_t {
        const char* at = error->desc ? std::strstr(error->desc, kMarker) : nullptr;
        if (at == nullptr) return 0;
        at += sizeof kMarker - 1;
        const char* end = std::strchr(at, '\'');
        static_cast<std::string*>(out)->assign(at, end ? end : at + std::strlen(at));
        return 1;
    };
    H5Ewalk2(H5E_DEFAULT, H5E_WALK_DOWNWARD, find, &reason);
    return reason;
}

// A text as a message quotes it, control characters escaped so that the
// report keeps its two lines.
std::string shown(const QString& text) {
    static const char hex[] = "0123456789abcdef";
    std::string quoted = "'";
    for (char c : text.toStdString()) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x20 || code == 0x7f)
            quoted += {'\\', 'x', hex[code >> 4], hex[code & 15]};
        else
            quoted += c;
    }
    return quoted + "'";
}

class ResultsWriter {
  public:
    ResultsWriter(const RunData& run, std::string path, const ResultsWriteOptions& options)
        : run_(run), path_(std::move(path)), options_(options) {
        if (run_.loadAttributes) loadedAttributes_ = run_.loadAttributes();
    }

    void write();

  private:
    [[noreturn]] void fail(const std::string& what) const {
        throw owl::internal::error("MonDatabase", "writeResultsFile",
                                   "Cannot write '" + owl::printable(path_) + "': " + what + ".",
                                   owl::errorFatal);
    }
    [[noreturn]] void failHdf5(const std::string& what) const {
        const std::string reason = systemReason();
        fail(reason.empty() ? what : what + ": " + reason);
    }
    void check(herr_t status, const std::string& what) const {
        if (status < 0) failHdf5(what);
    }
    void check(const Hdf5Handle& handle, const std::string& what) const {
        if (!handle.valid()) failHdf5(what);
    }
    // Closes an object of the file: closing may write to it.
    void close(Hdf5Handle& handle, const std::string& what) const {
        if (!handle.close()) failHdf5(what);
    }
    // A variable's attributes, read now if the source left them for later.
    const Attributes& attributesOf(size_t variable) const {
        return variable < loadedAttributes_.size() ? loadedAttributes_[variable]
                                                   : run_.variables[variable].attributes;
    }
    void refuseNulBytes() const;
    void syncToDisk() const;
    Hdf5Handle create(hid_t fileAccess);
    void writeIntAttribute(const char* name, int value);
    Hdf5Handle listProperties(hsize_t count) const;
    Hdf5Handle groupProperties() const;
    void writeList(hid_t parent, const std::string& name, hid_t fileType, hid_t memType,
                   hsize_t count, const void* data);
    void writeInts(const char* name, const std::vector<int>& values);
    void writeStrings(const char* name, const std::vector<QByteArray>& texts);
    void writeRecords();
    void writeVariables();
    void writeValues();
    template <typename Column>
    void writeColumn(const std::string& name, size_t variable, const Column& column, hid_t fileType,
                     hid_t memType);

    const RunData& run_;
    std::vector<Attributes> loadedAttributes_;
    std::string path_;
    ResultsWriteOptions options_;
    Hdf5Handle file_;
    Hdf5Handle group_;
};

Hdf5Handle ResultsWriter::create(hid_t fileAccess) {
    // The 1.10 file format: its object headers carry checksums, so that
    // damaged metadata is detected on reading, and its chunk indexes are
    // small. HDF5 1.10 or later reads it.
    check(H5Pset_libver_bounds(fileAccess, H5F_LIBVER_V110, H5F_LIBVER_V110), "HDF5 setup failed");
    Hdf5Handle creation = propertyHandle(H5Pcreate(H5P_FILE_CREATE));
    check(H5Pset_obj_track_times(creation.get(), false), "cannot turn off object times");
    Hdf5Handle file =
        fileHandle(H5Fcreate(path_.c_str(), H5F_ACC_TRUNC, creation.get(), fileAccess));
    check(file, "HDF5 could not create the file");
    return file;
}

Hdf5Handle ResultsWriter::groupProperties() const {
    Hdf5Handle properties = propertyHandle(H5Pcreate(H5P_GROUP_CREATE));
    check(H5Pset_obj_track_times(properties.get(), false), "cannot turn off object times");
    return properties;
}

void ResultsWriter::writeIntAttribute(const char* name, int value) {
    Hdf5Handle space = spaceHandle(H5Screate(H5S_SCALAR));
    Hdf5Handle attribute = attributeHandle(
        H5Acreate2(group_.get(), name, H5T_STD_I32LE, space.get(), H5P_DEFAULT, H5P_DEFAULT));
    check(attribute, std::string("cannot create attribute '") + name + "'");
    check(H5Awrite(attribute.get(), H5T_NATIVE_INT, &value), "cannot write an attribute");
    close(attribute, std::string("cannot write attribute '") + name + "'");
}

// Lists are chunked with checksums, so that damaged data are detected, and
// compressed when asked for. Empty lists are stored contiguously (chunks
// cannot be empty). No times are recorded, so that the same run always
// gives the same bytes.
Hdf5Handle ResultsWriter::listProperties(hsize_t count) const {
    Hdf5Handle properties = propertyHandle(H5Pcreate(H5P_DATASET_CREATE));
    check(H5Pset_obj_track_times(properties.get(), false), "cannot turn off object times");
    if (count == 0) return properties;
    hsize_t chunk = std::min<hsize_t>(count, std::max<size_t>(options_.chunkRecords, 1));
    check(H5Pset_chunk(properties.get(), 1, &chunk), "cannot set the chunk size");
    if (options_.deflateLevel > 0) {
        check(H5Pset_shuffle(properties.get()), "cannot set the shuffle filter");
        check(H5Pset_deflate(properties.get(), static_cast<unsigned>(options_.deflateLevel)),
              "cannot set the deflate filter");
    }
    check(H5Pset_fletcher32(properties.get()), "cannot set the checksum filter");
    return properties;
}

void ResultsWriter::writeList(hid_t parent, const std::string& name, hid_t fileType, hid_t memType,
                              hsize_t count, const void* data) {
    Hdf5Handle space = spaceHandle(H5Screate_simple(1, &count, nullptr));
    Hdf5Handle properties = listProperties(count);
    Hdf5Handle set = datasetHandle(H5Dcreate2(parent, name.c_str(), fileType, space.get(),
                                              H5P_DEFAULT, properties.get(), H5P_DEFAULT));
    check(set, "cannot create dataset '" + name + "'");
    if (count > 0)
        check(H5Dwrite(set.get(), memType, H5S_ALL, H5S_ALL, H5P_DEFAULT, data),
              "cannot write dataset '" + name + "'");
    close(set, "cannot write dataset '" + name + "'");
}

void ResultsWriter::writeInts(const char* name, const std::vector<int>& values) {
    writeList(group_.get(), name, H5T_STD_I32LE, H5T_NATIVE_INT, values.size(), values.data());
}

// Fixed-length strings, stored like numbers (chunked with checksums):
// variable-length strings live in a heap that HDF5 does not checksum.
void ResultsWriter::writeStrings(const char* name, const std::vector<QByteArray>& texts) {
    size_t width = 1;
    for (const QByteArray& text : texts) width = std::max(width, static_cast<size_t>(text.size()));
    std::vector<char> bytes(width * texts.size(), '\0');
    for (size_t i = 0; i < texts.size(); ++i)
        std::copy(texts[i].begin(), texts[i].end(), bytes.begin() + static_cast<long>(i * width));
    Hdf5Handle type = typeHandle(H5Tcopy(H5T_C_S1));
    check(H5Tset_size(type.get(), width), "cannot make a string type");
    check(H5Tset_strpad(type.get(), H5T_STR_NULLPAD), "cannot make a string type");
    check(H5Tset_cset(type.get(), H5T_CSET_UTF8), "cannot make a string type");
    writeList(group_.get(), name, type.get(), type.get(), texts.size(), bytes.data());
}

void ResultsWriter::writeRecords() {
    const RowIndex& rows = *run_.rows;
    std::vector<int> steps, loops;
    steps.reserve(static_cast<size_t>(rows.rowCount()));
    loops.reserve(static_cast<size_t>(rows.rowCount()));
    for (int position = 0; position < rows.stepCount(); ++position)
        for (int64_t record = rows.firstRecordAt(position); record < rows.endRecordAt(position);
             ++record) {
            steps.push_back(rows.stepAt(position));
            loops.push_back(rows.loopOfRecord(record));
        }
    writeInts(kStep, steps);
    if (run_.hasCoefficientLoops) writeInts(kLoop, loops);
}

void ResultsWriter::writeVariables() {
    std::vector<QByteArray> names, keys, values;
    std::vector<int> owners;
    for (size_t i = 0; i < run_.variables.size(); ++i) {
        const VariableInfo& info = run_.variables[i];
        names.push_back(info.name.toUtf8());
        for (const auto& [key, value] : attributesOf(i)) {
            owners.push_back(static_cast<int>(i));
            keys.push_back(key.toUtf8());
            values.push_back(value.toUtf8());
        }
    }
    writeStrings(kVariableNames, names);
    writeInts(kAttributeVariable, owners);
    writeStrings(kAttributeKey, keys);
    writeStrings(kAttributeValue, values);
}

// Each variable's values as the run holds them: floats, or doubles for a
// variable held in double precision (a time, a value of solver text), which
// keeps every digit.
void ResultsWriter::writeValues() {
    Hdf5Handle values = groupHandle(
        H5Gcreate2(group_.get(), kValues, H5P_DEFAULT, groupProperties().get(), H5P_DEFAULT));
    check(values, "cannot create group 'values'");
    for (size_t i = 0; i < run_.variables.size(); ++i) {
        const std::string name = std::string(kValues) + "/" + std::to_string(i);
        std::optional<DoubleColumn> loaded;
        if (run_.loadDoubleColumn) loaded = run_.loadDoubleColumn(i);
        if (loaded)
            writeColumn(name, i, *loaded, H5T_IEEE_F64LE, H5T_NATIVE_DOUBLE);
        else if (i < run_.doubleColumns.size() && run_.variables[i].holdsDoubles())
            writeColumn(name, i, run_.doubleColumns[i], H5T_IEEE_F64LE, H5T_NATIVE_DOUBLE);
        else if (i < run_.columns.size())
            writeColumn(name, i, run_.columns[i], H5T_IEEE_F32LE, H5T_NATIVE_FLOAT);
        else if (run_.loadColumn)
            writeColumn(name, i, run_.loadColumn(i), H5T_IEEE_F32LE, H5T_NATIVE_FLOAT);
        else
            fail("the values of variable '" + run_.variables[i].name.toStdString() +
                 "' are missing");
    }
    close(values, "cannot write group 'values'");
}

template <typename Column>
void ResultsWriter::writeColumn(const std::string& name, size_t variable, const Column& column,
                                hid_t fileType, hid_t memType) {
    const size_t records = static_cast<size_t>(run_.rows->rowCount());
    if (column.size() != records)
        fail("the values of variable '" + run_.variables[variable].name.toStdString() +
             "' do not match the records");
    writeList(group_.get(), name, fileType, memType, records, column.data());
}

// Results files hold texts as null-padded strings, where a NUL byte would end
// the text: a run with such a text is refused before anything is written.
void ResultsWriter::refuseNulBytes() const {
    const QChar nul(0);
    const std::string why = " holds a NUL byte, which a results file cannot store";
    for (size_t i = 0; i < run_.variables.size(); ++i) {
        const VariableInfo& info = run_.variables[i];
        if (info.name.contains(nul)) fail("the name of variable " + shown(info.name) + why);
        for (const auto& [key, value] : attributesOf(i))
            if (key.contains(nul) || value.contains(nul))
                fail("attribute " + shown(key) + " of variable " + shown(info.name) + why);
    }
}

// The file's bytes reach the disk before the file may replace another one.
void ResultsWriter::syncToDisk() const {
    int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    bool synced = fd >= 0 && ::fsync(fd) == 0;
    int error = errno;
    if (fd >= 0) ::close(fd);
    if (!synced) fail(std::string("cannot write it to disk: ") + std::strerror(error));
}

void ResultsWriter::write() {
    silenceHdf5Errors();
    refuseNulBytes();
    Hdf5Handle access = propertyHandle(H5Pcreate(H5P_FILE_ACCESS));
    // Closing the file then fails while one of its objects is open, instead
    // of reporting success and leaving the file open (and unfinished).
    check(H5Pset_fclose_degree(access.get(), H5F_CLOSE_SEMI), "HDF5 setup failed");
    file_ = create(access.get());
    group_ = groupHandle(
        H5Gcreate2(file_.get(), kGroup, H5P_DEFAULT, groupProperties().get(), H5P_DEFAULT));
    check(group_, "cannot create group '/monitor'");
    writeIntAttribute(kVersion, kCurrentVersion);
    writeIntAttribute(kCoefficientLoops, run_.hasCoefficientLoops ? 1 : 0);
    writeRecords();
    writeVariables();
    writeValues();
    close(group_, "cannot write group '/monitor'");
    check(H5Fflush(file_.get(), H5F_SCOPE_LOCAL), "HDF5 could not complete the file");
    close(file_, "HDF5 could not complete the file");
    syncToDisk();
}
}  // namespace

void writeResultsFile(const RunData& run, const std::string& path,
                      const ResultsWriteOptions& options) {
    ResultsWriter(run, path, options).write();
}

}  // namespace mon
