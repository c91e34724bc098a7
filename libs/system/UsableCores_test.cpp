#include "libs/system/UsableCores.h"

#include <gtest/gtest.h>
#include <sched.h>

#include <thread>

namespace {

// Restricts the calling thread's affinity for the test's duration.
class Affinity {
  public:
    explicit Affinity(int cores) {
        sched_getaffinity(0, sizeof saved_, &saved_);
        cpu_set_t set;
        CPU_ZERO(&set);
        for (int cpu = 0, added = 0; cpu < CPU_SETSIZE && added < cores; ++cpu)
            if (CPU_ISSET(cpu, &saved_)) {
                CPU_SET(cpu, &set);
                ++added;
            }
        sched_setaffinity(0, sizeof set, &set);
    }
    ~Affinity() { sched_setaffinity(0, sizeof saved_, &saved_); }

  private:
    cpu_set_t saved_;
};

TEST(UsableCores, FollowsTheAffinityNotTheMachine) {
    {
        Affinity one(1);
        EXPECT_EQ(owl::usableCores(), 1u);
    }
    EXPECT_GE(owl::usableCores(), 1u);
    EXPECT_LE(owl::usableCores(), std::thread::hardware_concurrency());
}

}  // namespace
