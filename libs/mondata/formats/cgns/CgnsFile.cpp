#include "libs/mondata/formats/cgns/CgnsFile.h"

#include <cgns_io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <mutex>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/sources/Hdf5Handle.h"

namespace mon {

namespace {
// Data stored in a file takes room in it: a node claiming more values than
// the file could hold is damaged and must not make the reader allocate them.
// ADF stores values plainly; HDF5 datasets may be compressed (deflate shrinks
// data at most about 1:1032).
constexpr int64_t kMaxHdf5ValuesPerStoredByte = 1100;
constexpr size_t kMaxTextSize = 1 << 20;

// The library writes names, labels and data types from the file's own
// fields, which damaged ADF files fill past the documented lengths: room
// for the longest field and a terminator the library may leave out.
constexpr size_t kFieldRoom = 64;

// The library keeps its open files and its last error in globals: one
// thread at a time may use it (the dashboard reads runs on several). Never
// destroyed, for files closed at exit.
std::unique_lock<std::recursive_mutex> libraryLock() {
    static auto* const mutex = new std::recursive_mutex;
    return std::unique_lock<std::recursive_mutex>(*mutex);
}

std::string fieldText(const char (&field)[kFieldRoom]) {
    return std::string(field, strnlen(field, kFieldRoom - 1));
}

std::string libraryMessage() {
    char text[CGIO_MAX_ERROR_LENGTH + 64] = {};
    cgio_error_message(text);
    return std::string(text, strnlen(text, CGIO_MAX_ERROR_LENGTH));
}

template <typename Stored>
void widen(const std::vector<char>& bytes, std::vector<double>& out) {
    const size_t count = bytes.size() / sizeof(Stored);
    out.resize(count);
    for (size_t i = 0; i < count; ++i) {
        Stored value;
        std::memcpy(&value, bytes.data() + i * sizeof(Stored), sizeof(Stored));
        out[i] = static_cast<double>(value);
    }
}

size_t sizeOfNumber(const std::string& type) {
    if (type == "I4" || type == "U4" || type == "R4") return 4;
    if (type == "I8" || type == "U8" || type == "R8") return 8;
    return 0;
}
}  // namespace

CgnsNode::CgnsNode(const CgnsFile& file, double id, std::string path, bool owned)
    : file_(&file), id_(id), path_(std::move(path)), owned_(owned) {}

CgnsNode::CgnsNode(CgnsNode&& other) noexcept
    : file_(other.file_), id_(other.id_), path_(std::move(other.path_)), owned_(other.owned_) {
    other.owned_ = false;
}

CgnsNode::~CgnsNode() {
    if (!owned_) return;
    const auto lock = libraryLock();
    cgio_release_id(file_->handle(), id_);
}

CgnsFile::CgnsFile(std::string path) : path_(std::move(path)) {
    silenceHdf5Errors();
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0) fail(std::strerror(errno));
    if (!S_ISREG(info.st_mode)) fail("not a regular file");
    const auto lock = libraryLock();
    if (cgio_open_file(path_.c_str(), CGIO_MODE_READ, CGIO_FILE_NONE, &handle_) != CGIO_ERR_NONE)
        fail("the CGNS file is damaged or truncated (" + libraryMessage() + ")");
    int type = CGIO_FILE_NONE;
    cgio_get_file_type(handle_, &type);
    const int64_t factor = type == CGIO_FILE_HDF5 ? kMaxHdf5ValuesPerStoredByte : 1;
    maxStoredBytes_ = static_cast<int64_t>(info.st_size) * factor + 64;
    keepsNodeIds_ = type == CGIO_FILE_ADF || type == CGIO_FILE_ADF2;
}

CgnsNode CgnsFile::keptNode(double id, std::string path) const {
    return CgnsNode(*this, id, std::move(path), false);
}

CgnsFile::~CgnsFile() {
    const auto lock = libraryLock();
    if (handle_ >= 0) cgio_close_file(handle_);
}

CgnsNode CgnsFile::root() const {
    const auto lock = libraryLock();
    double id = 0;
    if (cgio_get_root_id(handle_, &id) != CGIO_ERR_NONE)
        fail("the CGNS file has no readable root node (" + libraryMessage() + ")");
    return CgnsNode(*this, id, "/", false);
}

std::vector<CgnsNode> CgnsFile::children(const CgnsNode& parent) const {
    const auto lock = libraryLock();
    int count = 0;
    if (cgio_number_children(handle_, parent.id(), &count) != CGIO_ERR_NONE || count < 0)
        failLibrary(parent, "its children cannot be listed");
    std::vector<double> ids(static_cast<size_t>(count));
    int returned = 0;
    if (count > 0 &&
        cgio_children_ids(handle_, parent.id(), 1, count, &returned, ids.data()) != CGIO_ERR_NONE)
        failLibrary(parent, "its children cannot be listed");
    std::vector<CgnsNode> nodes;
    nodes.reserve(static_cast<size_t>(returned));
    for (int i = 0; i < returned && i < count; ++i)
        nodes.emplace_back(*this, ids[static_cast<size_t>(i)], std::string(), true);
    for (CgnsNode& node : nodes) {
        char name[kFieldRoom] = {};
        if (cgio_get_name(handle_, node.id(), name) != CGIO_ERR_NONE)
            failLibrary(parent, "the name of a child cannot be read");
        node.setPath(parent.childPath(fieldText(name)));
    }
    return nodes;
}

CgnsNode CgnsFile::child(const CgnsNode& parent, const std::string& name) const {
    const auto lock = libraryLock();
    double id = 0;
    const std::string path = parent.childPath(name);
    if (cgio_get_node_id(handle_, parent.id(), name.c_str(), &id) != CGIO_ERR_NONE)
        fail("node '" + path + "' cannot be found (" + libraryMessage() + ")");
    return CgnsNode(*this, id, path, true);
}

std::string CgnsFile::label(const CgnsNode& node) const {
    const auto lock = libraryLock();
    char label[kFieldRoom] = {};
    if (cgio_get_label(handle_, node.id(), label) != CGIO_ERR_NONE)
        failLibrary(node, "its label cannot be read");
    return fieldText(label);
}

std::string CgnsFile::dataType(const CgnsNode& node) const {
    const auto lock = libraryLock();
    char type[kFieldRoom] = {};
    if (cgio_get_data_type(handle_, node.id(), type) != CGIO_ERR_NONE)
        failLibrary(node, "its data type cannot be read");
    return fieldText(type);
}

std::vector<int64_t> CgnsFile::dimensions(const CgnsNode& node) const {
    const auto lock = libraryLock();
    int count = 0;
    cgsize_t dims[kFieldRoom] = {};  // room past the maximum, as for the texts
    if (cgio_get_dimensions(handle_, node.id(), &count, dims) != CGIO_ERR_NONE || count < 0 ||
        count > CGIO_MAX_DIMENSIONS)
        failLibrary(node, "its dimensions cannot be read");
    std::vector<int64_t> out(dims, dims + count);
    for (int64_t extent : out)
        if (extent < 0) fail(node, "has a negative dimension");
    return out;
}

size_t CgnsFile::checkedCount(const CgnsNode& node, size_t elementSize) const {
    int64_t bytes = static_cast<int64_t>(elementSize);
    for (int64_t extent : dimensions(node)) {
        if (extent > 0 && bytes > maxStoredBytes_ / extent)
            fail(node, "is damaged: it claims more values than the file can hold");
        bytes *= extent;
    }
    if (bytes > maxStoredBytes_)
        fail(node, "is damaged: it claims more values than the file can hold");
    const int64_t count = bytes / static_cast<int64_t>(elementSize);
    return static_cast<size_t>(count);
}

size_t CgnsFile::valueCount(const CgnsNode& node) const {
    const std::string type = dataType(node);
    const size_t size = sizeOfNumber(type);
    if (size == 0) fail(node, "holds " + type + " data where numbers are needed");
    if (dimensions(node).size() != 1) fail(node, "is not a one-dimensional array");
    return checkedCount(node, size);
}

std::vector<double> CgnsFile::readNumbers(const CgnsNode& node, size_t count) const {
    const auto lock = libraryLock();
    const std::string type = dataType(node);
    const size_t size = sizeOfNumber(type);
    if (valueCount(node) < count)
        fail(node, "holds fewer than the " + std::to_string(count) + " values needed");
    std::vector<double> out;
    if (count == 0) return out;
    std::vector<char> bytes(count * size);
    const cgsize_t one = 1, last = static_cast<cgsize_t>(count);
    if (cgio_read_data(handle_, node.id(), &one, &last, &one, 1, &last, &one, &last, &one,
                       bytes.data()) != CGIO_ERR_NONE)
        failLibrary(node, "its values cannot be read");
    if (type == "I4") widen<int32_t>(bytes, out);
    if (type == "I8") widen<int64_t>(bytes, out);
    if (type == "U4") widen<uint32_t>(bytes, out);
    if (type == "U8") widen<uint64_t>(bytes, out);
    if (type == "R4") widen<float>(bytes, out);
    if (type == "R8") widen<double>(bytes, out);
    return out;
}

std::string CgnsFile::readText(const CgnsNode& node) const {
    const auto lock = libraryLock();
    if (dataType(node) != "C1") fail(node, "does not hold text (data type C1)");
    const size_t count = checkedCount(node, 1);
    if (count > kMaxTextSize) fail(node, "holds an implausibly long text");
    std::string text(count, '\0');
    if (count > 0 && cgio_read_all_data(handle_, node.id(), text.data()) != CGIO_ERR_NONE)
        failLibrary(node, "its text cannot be read");
    return text.substr(0, std::strlen(text.c_str()));
}

void CgnsFile::fail(const CgnsNode& node, const std::string& what) const {
    fail("node '" + node.path() + "' " + what);
}

void CgnsFile::fail(const std::string& what) const {
    throw owl::data::error("MonDatabase", "updateFrom",
                           "Cannot read '" + owl::printable(path_) + "': " + what + ".",
                           owl::errorFatal);
}

void CgnsFile::failLibrary(const CgnsNode& node, const std::string& doing) const {
    fail(node, "is damaged: " + doing + " (" + libraryMessage() + ")");
}

}  // namespace mon
