#include "export/OrderedBlocks.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using owl::OrderedBlocks;
using owl::TextBlock;

namespace {

void produceNumber(size_t block, TextBlock& text) {
    const std::string number = std::to_string(block) + ";";
    char* out = text.reserve(number.size());
    number.copy(out, number.size());
    text.setEnd(out + number.size());
}

}  // namespace

TEST(OrderedBlocks, ConsumesEveryBlockInOrderUntilConsumeStops) {
    for (unsigned workers : {0u, 1u, 2u, 5u}) {
        std::string consumed, expected;
        for (size_t block = 0; block < 500; ++block) expected += std::to_string(block) + ";";
        OrderedBlocks::run(500, workers, produceNumber, [&](const TextBlock& text) {
            consumed.append(text.data(), text.size());
            return true;
        });
        EXPECT_EQ(consumed, expected) << workers;
    }
    size_t calls = 0;  // consume stops the run by returning false
    OrderedBlocks::run(1000, 2, produceNumber, [&](const TextBlock&) { return ++calls < 3; });
    EXPECT_EQ(calls, 3u);
}

TEST(OrderedBlocks, AFailureComesAfterEveryEarlierBlock) {
    for (unsigned workers : {0u, 2u}) {
        std::string consumed;
        auto produce = [](size_t block, TextBlock& text) {
            if (block == 37) throw std::runtime_error("block 37");
            produceNumber(block, text);
        };
        try {
            OrderedBlocks::run(100, workers, produce, [&](const TextBlock& text) {
                consumed.append(text.data(), text.size());
                return true;
            });
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "block 37");
        }
        EXPECT_EQ(consumed.substr(consumed.size() - 3), "36;") << workers;
    }
}
