#include "tools/monpack/TemporaryFile.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "libs/exception/Error.h"

namespace {

const int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The temporary file a stop signal removes. Written only with the stop
// signals blocked, so that the handler never sees it half changed.
const char* volatile pendingPath = nullptr;

extern "C" void removePendingAndStop(int signal) {
    if (pendingPath != nullptr) ::unlink(pendingPath);
    // The handler was installed for one use: the signal now takes effect.
    ::raise(signal);
}

void installStopHandlers() {
    struct sigaction action {};
    action.sa_handler = removePendingAndStop;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signal : kStopSignals) {
        struct sigaction previous {};
        // A signal the caller ignores (nohup) stays ignored.
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN)
            ::sigaction(signal, &action, nullptr);
    }
}

// Holds the stop signals back for its lifetime.
class StopSignalsBlocked {
  public:
    StopSignalsBlocked() {
        sigset_t stops;
        sigemptyset(&stops);
        for (int signal : kStopSignals) sigaddset(&stops, signal);
        ::sigprocmask(SIG_BLOCK, &stops, &saved_);
    }
    ~StopSignalsBlocked() { ::sigprocmask(SIG_SETMASK, &saved_, nullptr); }

  private:
    sigset_t saved_;
};

[[noreturn]] void fail(const std::string& message) {
    throw owl::internal::error("monpack", "TemporaryFile", message, owl::errorFatal);
}

}  // namespace

TemporaryFile::TemporaryFile(const std::string& target) : target_(target) {
    const size_t slash = target.rfind('/');
    const size_t base = slash == std::string::npos ? 0 : slash + 1;
    path_ = target.substr(0, base) + "." + target.substr(base) + ".tmp-XXXXXX";
    installStopHandlers();
    StopSignalsBlocked blocked;
    const int fd = ::mkstemp(&path_[0]);
    if (fd < 0)
        fail("Cannot write '" + target +
             "': cannot create a temporary file beside it: " + std::strerror(errno) + ".");
    pendingPath = path_.c_str();
    // Readable as a newly created file would be (mkstemp makes it private).
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    ::close(fd);
}

TemporaryFile::~TemporaryFile() {
    StopSignalsBlocked blocked;
    if (pendingPath != nullptr) ::unlink(path_.c_str());
    pendingPath = nullptr;
}

int TemporaryFile::commit() {
    StopSignalsBlocked blocked;
    const int error = std::rename(path_.c_str(), target_.c_str()) == 0 ? 0 : errno;
    if (error != 0) ::unlink(path_.c_str());
    pendingPath = nullptr;
    return error;
}
