#pragma once
// The system library's output file stream. Construct it with a file name and
// open mode; getOstream opens the file and lends the std::ostream that writes
// into it. Unlike a bare std::ofstream, every failure is reported: a file that
// cannot be opened, and a write that does not reach the file (a full disk, a
// closed pipe), raise an owl::Error that names the path and the system's
// reason, so no output is ever lost silently.

#include <memory>
#include <ostream>
#include <string>

namespace owl {

class OWLStream {
  public:
    // Open-mode bits, as the system library has always numbered them.
    enum OpenMode { In = 1, Out = 2, Ate = 4, App = 8, Trunc = 16, Binary = 32 };

    OWLStream(const std::string& fileName, int openMode, bool binary);
    virtual ~OWLStream();  // flushes and closes; never throws

    OWLStream(const OWLStream&) = delete;
    OWLStream& operator=(const OWLStream&) = delete;

    // Opens the file with the given mode bits (Out | Trunc replaces it,
    // Out | App appends) and returns its stream. Throws if it cannot be opened.
    std::ostream* getOstream(int openMode);

    // Flushes everything written and closes the file. Throws if any byte
    // could not be written. Closing twice does nothing.
    void close();

    const std::string& fileName() const { return fileName_; }

  private:
    class FileBuffer;
    std::string fileName_;
    int defaultMode_;
    std::unique_ptr<FileBuffer> buffer_;
    std::unique_ptr<std::ostream> stream_;
};

}  // namespace owl
