#pragma once
// Ownership of HDF5 identifiers: each handle closes its identifier with the
// matching H5?close function when it goes away. Closing an object of a file
// being written may write to it (a dataset flushes its cached chunks): a
// writer closes such handles with close() and checks the result.

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
    // Closes the identifier now; false when HDF5 reports a failure.
    bool close() {
        hid_t id = release();
        return id < 0 || close_(id) >= 0;
    }
    void reset() { close(); }

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

// Sets HDF5 up before its first use. Its printing of error stacks is turned
// off: failures are reported as owl::Error messages instead. Its clean-up at
// exit is turned off too: after a file failed to close (a full disk), HDF5
// keeps an identifier whose file it has already freed, and its clean-up would
// crash on it. Files are closed explicitly; the system reclaims the rest.
inline void silenceHdf5Errors() {
    static const bool silenced =
        (H5dont_atexit(), H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr), true);
    (void)silenced;
}

}  // namespace mon
