#include "libs/system/UsableCores.h"

#include <gtest/gtest.h>
#include <sched.h>

#include <thread>

TEST(UsableCores, FollowsTheAffinityNotTheMachine) {
    cpu_set_t saved, one;
    ASSERT_EQ(sched_getaffinity(0, sizeof saved, &saved), 0);
    int cpu = 0;
    while (!CPU_ISSET(cpu, &saved)) ++cpu;
    CPU_ZERO(&one);
    CPU_SET(cpu, &one);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    const unsigned restricted = owl::usableCores();
    sched_setaffinity(0, sizeof saved, &saved);
    EXPECT_EQ(restricted, 1u);
    EXPECT_GE(owl::usableCores(), 1u);
    EXPECT_LE(owl::usableCores(), std::thread::hardware_concurrency());
}
