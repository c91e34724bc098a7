#pragma once
// A CGNS file opened read-only through the CGNS library's low-level cgio
// layer, which reads both storage flavours (ADF and HDF5) the same way.
// Nodes are addressed by their path from the root ("/Base/Zone1/..."), which
// every error message names.

#include <cstdint>
#include <string>
#include <vector>

namespace mon {

class CgnsFile;

// One node of an open file. Owns the library's identifier of it (HDF5 keeps
// an object open per identifier) and releases it when it goes away.
class CgnsNode {
  public:
    CgnsNode(const CgnsFile& file, double id, std::string path, bool owned);
    ~CgnsNode();
    CgnsNode(CgnsNode&& other) noexcept;
    CgnsNode& operator=(CgnsNode&&) = delete;
    CgnsNode(const CgnsNode&) = delete;
    CgnsNode& operator=(const CgnsNode&) = delete;

    double id() const { return id_; }
    const std::string& path() const { return path_; }
    // The last step of the path.
    std::string name() const { return path_.substr(path_.rfind('/') + 1); }
    // The path of a child of this node with the given name.
    std::string childPath(const std::string& name) const {
        return (path_ == "/" ? "" : path_) + "/" + name;
    }
    void setPath(std::string path) { path_ = std::move(path); }

  private:
    const CgnsFile* file_;
    double id_;
    std::string path_;
    bool owned_;
};

class CgnsFile {
  public:
    // Throws owl::data::error naming the file when it cannot be opened as CGNS.
    explicit CgnsFile(std::string path);
    ~CgnsFile();
    CgnsFile(const CgnsFile&) = delete;
    CgnsFile& operator=(const CgnsFile&) = delete;

    const std::string& path() const { return path_; }
    int handle() const { return handle_; }

    // Whether a node's identifier stays valid after its CgnsNode is gone, so
    // a reader may keep it instead of finding the node by name again: true
    // for ADF storage (identifiers are positions in the file, and finding a
    // child by name scans its parent's children), false for HDF5 (each
    // identifier holds an open object).
    bool keepsNodeIds() const { return keepsNodeIds_; }
    // A node by an identifier kept while keepsNodeIds().
    CgnsNode keptNode(double id, std::string path) const;

    CgnsNode root() const;
    std::vector<CgnsNode> children(const CgnsNode& parent) const;
    // The named child, or throws naming the path it expected.
    CgnsNode child(const CgnsNode& parent, const std::string& name) const;

    std::string label(const CgnsNode& node) const;
    // The data type code: "MT", "I4", "I8", "R4", "R8", "C1", ...
    std::string dataType(const CgnsNode& node) const;
    std::vector<int64_t> dimensions(const CgnsNode& node) const;

    // The length of a one-dimensional numeric node (I4, I8, U4, U8, R4, R8);
    // throws for any other node and for a length the file cannot hold.
    size_t valueCount(const CgnsNode& node) const;
    // The first count values of a one-dimensional numeric node, widened to
    // double; the node must hold at least that many.
    std::vector<double> readNumbers(const CgnsNode& node, size_t count) const;
    // The characters of a C1 node (of any shape), as stored.
    std::string readText(const CgnsNode& node) const;

    // Throws owl::data::error: "Cannot read 'FILE': node 'PATH' WHAT."
    [[noreturn]] void fail(const CgnsNode& node, const std::string& what) const;
    // Throws owl::data::error: "Cannot read 'FILE': WHAT."
    [[noreturn]] void fail(const std::string& what) const;

  private:
    [[noreturn]] void failLibrary(const CgnsNode& node, const std::string& doing) const;
    size_t checkedCount(const CgnsNode& node, size_t elementSize) const;

    std::string path_;
    int handle_ = -1;
    int64_t maxStoredBytes_ = 0;  // the most data a node of this file can hold
    bool keepsNodeIds_ = false;
};

}  // namespace mon
