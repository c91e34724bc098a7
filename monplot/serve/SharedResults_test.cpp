#include "monplot/serve/SharedResults.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace serve {
namespace {

TEST(SharedResults, ThreadsAskingAtOnceGetOneComputation) {
    SharedResults<int> results(4);
    std::atomic<int> computed{0};
    std::vector<std::thread> threads;
    std::vector<int> got(8);
    for (size_t i = 0; i < got.size(); ++i)
        threads.emplace_back([&, i] {
            got[i] = results.get("key", {}, [&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                return ++computed;
            });
        });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(computed, 1);
    EXPECT_EQ(got, std::vector<int>(8, 1));
}

TEST(SharedResults, AFailureIsThrownAndForgotten) {
    SharedResults<int> results(4);
    EXPECT_THROW(results.get("key", {}, []() -> int { throw std::runtime_error("no"); }),
                 std::runtime_error);
    EXPECT_EQ(results.get("key", {}, [] { return 2; }), 2);
}

TEST(SharedResults, ResultsGoWithTheirHoldersAndBeyondTheCapacity) {
    SharedResults<int> results(3);
    int computed = 0;
    const auto compute = [&] { return ++computed; };
    auto reading = std::make_shared<int>(0);
    const auto other = std::make_shared<int>(0);
    results.get("old reading", {reading, other}, compute);
    results.get("other", {other}, compute);
    reading.reset();  // only the cache holds it: its results go at the next computation
    results.get("new reading", {other}, compute);
    EXPECT_EQ(results.get("old reading", {other}, compute), 4);
    EXPECT_EQ(results.get("other", {other}, compute), 2);
    EXPECT_EQ(results.get("a third", {}, compute), 5);  // "other", the oldest, goes
    EXPECT_EQ(results.get("other", {other}, compute), 6);
}

}  // namespace
}  // namespace serve
