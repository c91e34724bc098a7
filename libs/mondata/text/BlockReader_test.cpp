#include "libs/mondata/text/BlockReader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "libs/exception/Error.h"
#include "libs/mondata/formats/monitor/MonitorFileParser.h"
#include "tests/CommandRunner.h"

namespace {

using e2e::errorOf;

// Every line of a monitor file, parsed through blocks of the given size.
mon::FloatColumn valuesThroughBlocks(const std::string& path, size_t blockBytes) {
    mon::RunDataBuilder builder;
    mon::MonitorFileParser parser(builder, path, true);
    mon::BlockReader reader(path, blockBytes);
    size_t consumed = 0;
    for (std::string_view text = reader.next(0); !text.empty(); text = reader.next(consumed))
        consumed = parser.parseLines(text);
    parser.requireFirstLine();
    return builder.finish().columns.at(0);
}

TEST(BlockReader, CarriesLinesAcrossBlocksOfAnySize) {
    e2e::TempDir folder;
    std::string text = "monitor-file 1\nvar A\n";
    mon::FloatColumn expected;
    for (int step = 1; step <= 300; ++step) {
        text += std::to_string(step) + std::string(static_cast<size_t>(step % 37), ' ') + " " +
                std::to_string(step * 3) + "\n";
        expected.push_back(static_cast<float>(step * 3));
    }
    const std::string path =
        folder.write("run.mon", text + "301 9");  // the last line is unfinished
    for (size_t block : {1u, 2u, 7u, 40u, 4096u, 1u << 20})
        EXPECT_EQ(valuesThroughBlocks(path, block), expected) << block;
}

TEST(BlockReader, AFileThatShrinksBetweenReadsIsAnError) {
    e2e::TempDir folder;
    const std::string path = folder.write("run.mon", std::string(100, 'x'));
    mon::BlockReader reader(path, 16);
    EXPECT_EQ(reader.next(0).size(), 16u);
    ASSERT_EQ(::truncate(path.c_str(), 20), 0);
    EXPECT_EQ(errorOf([&] { reader.next(16); }),
              "Cannot read '" + path +
                  "': the file shrank while it was read (truncated or replaced by its writer).");
}

TEST(BlockReader, ReadsNoMoreThanTheFileHeldWhenOpened) {
    e2e::TempDir folder;
    const std::string path = folder.write("run.mon", "0123456789");
    mon::BlockReader reader(path, 8);
    std::ofstream(path, std::ios::app) << "appended";
    EXPECT_EQ(reader.next(0), "01234567");
    EXPECT_EQ(reader.next(6), "6789");  // "67" carried over
    EXPECT_EQ(reader.next(4), "");
}

// FIFOs and devices: the end-to-end hardening tests of monitor files.
TEST(BlockReader, RefusesFolders) {
    EXPECT_EQ(errorOf([&] { mon::BlockReader reader("/tmp"); }),
              "Cannot read '/tmp': Is a directory.");
}

}  // namespace
