#include "monplot/WatchLoop.h"

#include <time.h>

#include <algorithm>
#include <csignal>
#include <iostream>

#include "libs/exception/Error.h"
#include "libs/mondata/sources/SourceSignature.h"

namespace {
volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) {
    stopRequested = 1;
}

// Sleeps in short naps so that a stop request is seen quickly; false when
// one arrived.
bool sleepUnlessStopped(double seconds) {
    const double nap = 0.05;
    for (double slept = 0; slept < seconds && !stopRequested; slept += nap) {
        const double length = std::min(nap, seconds - slept);
        timespec pause{0, static_cast<long>(length * 1e9)};
        nanosleep(&pause, nullptr);
    }
    return !stopRequested;
}
}  // namespace

void installStopHandlers() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void watchAndRedraw(const std::vector<std::string>& sources, double seconds,
                    const std::function<void()>& redraw) {
    const auto signature = [&sources] {
        std::string all;
        for (const std::string& source : sources) all += mon::sourceSignature(source);
        return all;
    };
    std::string drawn = signature();
    while (sleepUnlessStopped(seconds)) {
        const std::string now = signature();
        if (now == drawn) continue;
        try {
            redraw();
            drawn = now;
        } catch (const owl::Error& error) {
            std::cerr << "Plot warning: " << error.getErrorText() << " Trying again." << std::endl;
        }
    }
}
