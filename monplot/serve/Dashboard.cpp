#include "monplot/serve/Dashboard.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <iostream>
#include <mutex>
#include <thread>

#include "libs/exception/Error.h"
#include "monplot/serve/DashboardApi.h"
#include "monplot/serve/HttpServer.h"
#include "monplot/serve/JsonWriter.h"
#include "monplot/serve/PlotViews.h"
#include "monplot/serve/RequestGuard.h"
#include "monplot/serve/RunCatalog.h"
#include "monplot/serve/ServeAddress.h"
#include "monplot/serve/Token.h"
#include "monplot/serve/WebFiles.h"
#include "plotinfo/TemplateLocation.h"

namespace serve {

namespace {
// How many last values the runs page shows when no variables were chosen.
constexpr size_t kShownValues = 6;

std::string hostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || !name[0]) return "login-node";
    return name;
}

int64_t secondsNow() {
    return static_cast<int64_t>(std::time(nullptr));
}

// The variables whose last values the runs page shows: the lines of the
// first plot (the chosen variables with -varlist or -varrule).
std::vector<std::string> shownVariables(const PlotViews& views, MonDatabase& run) {
    std::vector<std::string> names;
    try {
        const std::vector<plot::DefaultPlot> plots = views.plotsOf(run);
        if (plots.empty()) return names;
        for (const plot::PlotLineSource& line : plots.front().lines)
            if (names.size() < kShownValues || plots.front().name == "Selected Variables")
                names.push_back(line.yVariable.toUtf8().toStdString());
    } catch (const owl::Error&) {
    }
    return names;
}

std::string runEvent(const CatalogRun& run, int64_t now) {
    const auto snapshot = run.follower->current();
    JsonWriter json;
    json.beginObject().key("id").string(run.id).key("lastStep");
    snapshot->status.lastStep ? json.integer(*snapshot->status.lastStep) : json.null();
    json.key("state").string(stateName(stateOf(*snapshot, now)));
    return event("run", json.endObject().text());
}

// Reads the runs again and again until told to stop, telling the server
// what changed.
class Poller {
  public:
    Poller(RunCatalog& catalog, HttpServer& server, double seconds)
        : catalog_(catalog), server_(server), seconds_(seconds) {}

    void run() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!stopped_) {
            lock.unlock();
            pollOnce();
            lock.lock();
            wake_.wait_for(lock, std::chrono::duration<double>(seconds_),
                           [this] { return stopped_; });
        }
    }
    void stop() {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
        wake_.notify_all();
    }

  private:
    void pollOnce() {
        try {
            if (catalog_.discover()) {
                server_.broadcast(event("runs", "{}"));
                const std::string& error = catalog_.listing()->parametersError;
                if (!error.empty()) std::cerr << "Warning: " << error << std::endl;
            }
        } catch (const owl::Error& error) {
            std::cerr << "Warning: " << error.getErrorText() << std::endl;
        }
        const auto listing = catalog_.listing();
        for (const CatalogRun& run : listing->runs) {
            if (isStopped()) return;
            if (run.follower->refresh()) server_.broadcast(runEvent(run, secondsNow()));
        }
    }
    bool isStopped() {
        std::lock_guard<std::mutex> lock(mutex_);
        return stopped_;
    }

    RunCatalog& catalog_;
    HttpServer& server_;
    double seconds_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopped_ = false;
};

void printAddress(const ServeAddress& address, unsigned port, const std::string& token) {
    if (!address.loopbackOnly)
        std::cerr << "Warning: the dashboard listens on " << address.addresses.front()
                  << ": anyone who can reach this machine and learns the token sees the runs."
                  << std::endl;
    const std::string portText = std::to_string(port);
    std::cout << "Dashboard: http://" << urlHost(address) << ":" << portText << "/?token=" << token
              << "  (from your machine: ssh -N -L " << portText << ":localhost:" << portText << " "
              << hostName() << ", then open http://localhost:" << portText << "/?token=...)"
              << std::endl;
}
}  // namespace

void runDashboard(const PlotOptions& options, const std::string& orbDataDir) {
    const ServeAddress address = parseServeAddress(options.serveAddress);
    StatusSettings status;
    if (!options.convergedCriteria.empty())
        status.criteria = stats::parseCriteria(options.convergedCriteria);
    if (options.sources.empty() && options.studyPatterns.empty())
        throw owl::internal::error("monplot", "main",
                                   "No run to serve: give -dir, -mon, -res or -study.",
                                   owl::errorFatal);
    const std::string executable = runningExecutable();
    const PlotViews views(options, findTemplateDirectory(orbDataDir, executable));
    const WebFiles files(findWebFolder(executable));
    // The chosen variables come from the first run read, on the poller's
    // thread, before any page can ask for them.
    std::vector<std::string> shown;
    bool chosen = false;
    RunCatalog catalog(options.sources, options.studyPatterns, options.matrixFile,
                       [&](MonDatabase& run) {
                           if (!chosen) shown = shownVariables(views, run), chosen = !shown.empty();
                           StatusSettings settings = status;
                           settings.variables = shown;
                           return statusOf(run, settings);
                       });
    catalog.discover();  // the runs are listed from the first request on
    if (const std::string& error = catalog.listing()->parametersError; !error.empty())
        throw owl::internal::error("serve", "Dashboard", error, owl::errorFatal);
    const DashboardApi api(catalog, views, files);
    const std::string token = newToken();
    std::unique_ptr<RequestGuard> guard;
    HttpServer server(address.addresses, address.port, [&](const HttpRequest& request) {
        std::optional<HttpResponse> response = guard->check(request);
        if (!response) response = api.answer(request, secondsNow());
        addSecurityHeaders(*response);
        return *response;
    });
    GuardSettings settings{token, server.port(), {}};
    if (!address.loopbackOnly)
        settings.extraHosts = {address.wildcard ? hostName() : urlHost(address)};
    guard = std::make_unique<RequestGuard>(settings);
    printAddress(address, server.port(), token);
    Poller poller(catalog, server, options.pollSeconds);
    std::thread polling([&poller] { poller.run(); });
    server.run();
    poller.stop();
    polling.join();
}

}  // namespace serve
