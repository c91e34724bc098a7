#include "libs/system/OWLStream.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "libs/exception/Error.h"

namespace {

std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "owlstream-" + std::to_string(::getpid()) + "-" + name;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(OWLStream, ReplacesTheFileAndWritesEverythingOnClose) {
    std::string path = tempPath("replace");
    std::ofstream(path) << "old content that is longer";
    {
        owl::OWLStream stream(path, owl::OWLStream::Out, false);
        std::ostream* out = stream.getOstream(owl::OWLStream::Out | owl::OWLStream::Trunc);
        *out << "line 1\n" << std::string(3 << 20, 'x') << "\nend";
        stream.close();
    }
    std::string text = slurp(path);
    EXPECT_EQ(text.size(), 7 + (3u << 20) + 4);
    EXPECT_EQ(text.substr(0, 7), "line 1\n");
    EXPECT_EQ(text.substr(text.size() - 4), "\nend");
    ::unlink(path.c_str());
}

TEST(OWLStream, DestructorFlushesWithoutClose) {
    std::string path = tempPath("destroy");
    {
        owl::OWLStream stream(path, owl::OWLStream::Out, false);
        *stream.getOstream(owl::OWLStream::Out | owl::OWLStream::Trunc) << "kept";
    }
    EXPECT_EQ(slurp(path), "kept");
    ::unlink(path.c_str());
}

TEST(OWLStream, UnopenableFileNamesPathAndReason) {
    owl::OWLStream stream("/nonexistent-dir/out.csv", owl::OWLStream::Out, false);
    try {
        stream.getOstream(owl::OWLStream::Out | owl::OWLStream::Trunc);
        FAIL() << "no error";
    } catch (const owl::Error& e) {
        EXPECT_EQ(e.getErrorText(),
                  "Cannot open output file '/nonexistent-dir/out.csv': No such file or directory.");
    }
}

TEST(OWLStream, FullDeviceIsReportedOnClose) {
    owl::OWLStream stream("/dev/full", owl::OWLStream::Out, false);
    *stream.getOstream(owl::OWLStream::Out | owl::OWLStream::Trunc) << "data";
    try {
        stream.close();
        FAIL() << "no error";
    } catch (const owl::Error& e) {
        EXPECT_EQ(e.getErrorText(),
                  "Failed to write output file '/dev/full': No space left on device.");
    }
}

}  // namespace
