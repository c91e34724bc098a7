#include "monplot/serve/RunFollower.h"

#include "libs/exception/Error.h"
#include "libs/guiutils/MessageDisplay.h"
#include "libs/mondata/model/RunCopy.h"
#include "monplot/serve/SourceStamp.h"

namespace serve {

namespace {
// The readers' warnings are not the dashboard's output: a log read every two
// seconds would repeat them forever.
class QuietDisplay : public owl::MessageDisplayItf {
  public:
    void showMessage(owl::MessageKind, const QString&) override {}
};
}  // namespace

RunFollower::RunFollower(MonDatabase::SourceType kind, std::string path, Summarize summarize)
    : kind_(kind),
      path_(std::move(path)),
      summarize_(std::move(summarize)),
      current_(std::make_shared<RunSnapshot>()) {}

// The run as read so far, copied so that the next update leaves it alone;
// a run whose values are loaded on first use is read whole instead.
std::shared_ptr<MonDatabase> RunFollower::readDatabase() {
    auto database = std::make_shared<MonDatabase>(QStringLiteral("main"), new QuietDisplay());
    if (!readsWhole_) {
        if (!live_)
            live_ = std::make_unique<mon::RunFollower>(MonDatabase::sourceKind(kind_), path_);
        live_->update();
        if (mon::holdsEverything(live_->run())) {
            database->takeRun(mon::copyOfRun(live_->run()));
            return database;
        }
        readsWhole_ = true;
        live_.reset();
    }
    database->updateFrom(kind_, QString::fromLocal8Bit(path_.c_str()), true);
    database->updateData();
    return database;
}

std::shared_ptr<RunSnapshot> RunFollower::read(int64_t newestTime) {
    auto snapshot = std::make_shared<RunSnapshot>();
    snapshot->newestTime = newestTime;
    try {
        std::shared_ptr<MonDatabase> database = readDatabase();
        snapshot->status = summarize_(*database);
        snapshot->database = std::move(database);
    } catch (const owl::data::noRecordsYet&) {
        snapshot->error.clear();  // a run that has only just started: no data, no fault
    } catch (const owl::Error& error) {
        snapshot->error = error.getErrorText();
    } catch (const std::exception& error) {
        snapshot->error = error.what();
    }
    return snapshot;
}

bool RunFollower::refresh() {
    const SourceStamp stamp = stampOf(path_);
    if (stamp.signature == signature_) return false;
    signature_ = stamp.signature;
    std::shared_ptr<RunSnapshot> snapshot = read(stamp.newestTime);
    if (!stamp.exists) snapshot->error = "'" + path_ + "' is gone.";
    std::lock_guard<std::mutex> lock(mutex_);
    snapshot->version = current_->version + 1;
    current_ = std::move(snapshot);
    return true;
}

std::shared_ptr<const RunSnapshot> RunFollower::current() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return current_;
}

}  // namespace serve
