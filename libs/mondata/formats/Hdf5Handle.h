#pragma once
// Ownership of HDF5 identifiers: each handle closes its identifier with the
// matching H5?close function when it goes away.

#include <hdf5.h>

#include <utility>

namespace mon {

class Hdf5Handle {
  public:
    using Closer = herr_t (*)(hid_t);
    Hdf5Handle() = default;
    Hdf5Handle(hid_t id, Closer close) : id_(id), close_(close) {}
    ~Hdf5Handle() { reset(); }
    Hdf5Handle(Hdf5Handle&& other) noexcept
        : id_(std::exchange(other.id_, H5I_INVALID_HID)), close_(other.close_) {}
    Hdf5Handle& operator=(Hdf5Handle&& other) noexcept {
        if (this != &other) {
            reset();
            id_ = std::exchange(other.id_, H5I_INVALID_HID);
            close_ = other.close_;
        }
        return *this;
    }
    Hdf5Handle(const Hdf5Handle&) = delete;
    Hdf5Handle& operator=(const Hdf5Handle&) = delete;

    hid_t get() const { return id_; }
    bool valid() const { return id_ >= 0; }
    // Gives up ownership: the caller closes the identifier.
    hid_t release() { return std::exchange(id_, H5I_INVALID_HID); }
    void reset() {
        if (id_ >= 0) close_(id_);
        id_ = H5I_INVALID_HID;
    }

  private:
    hid_t id_ = H5I_INVALID_HID;
    Closer close_ = nullptr;
};

inline Hdf5Handle fileHandle(hid_t id) {
    return Hdf5Handle(id, H5Fclose);
}
inline Hdf5Handle groupHandle(hid_t id) {
    return Hdf5Handle(id, H5Gclose);
}
inline Hdf5Handle datasetHandle(hid_t id) {
    return Hdf5Handle(id, H5Dclose);
}
inline Hdf5Handle spaceHandle(hid_t id) {
    return Hdf5Handle(id, H5Sclose);
}
inline Hdf5Handle typeHandle(hid_t id) {
    return Hdf5Handle(id, H5Tclose);
}
inline Hdf5Handle attributeHandle(hid_t id) {
    return Hdf5Handle(id, H5Aclose);
}
inline Hdf5Handle propertyHandle(hid_t id) {
    return Hdf5Handle(id, H5Pclose);
}

// Turns off HDF5's own printing of error stacks: failures are reported as
// owl::Error messages instead.
inline void silenceHdf5Errors() {
    static const bool silenced = (H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr), true);
    (void)silenced;
}

}  // namespace mon
