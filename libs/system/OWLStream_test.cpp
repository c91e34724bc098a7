#include "libs/system/OWLStream.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/CommandRunner.h"

namespace {

constexpr auto kTruncate = owl::OWLStream::Out | owl::OWLStream::Trunc;

// What writing text to path and then closing (or only destroying) the
// stream raises; "" when nothing.
std::string errorOfWriting(const std::string& path, const std::string& text, bool close) {
    return e2e::errorOf([&] {
        owl::OWLStream stream(path, owl::OWLStream::Out, false);
        *stream.getOstream(kTruncate) << text;
        if (close) stream.close();
    });
}

// Failures to open or write: the end-to-end -out tests.
TEST(OWLStream, ReplacesTheFileAndWritesEverythingOnCloseOrDestruction) {
    e2e::TempDir dir;
    const std::string path = dir.write("out.csv", "old content that is longer");
    const std::string text = "line 1\n" + std::string(3 << 20, 'x') + "\nend";
    EXPECT_EQ(errorOfWriting(path, text, true), "");
    EXPECT_EQ(e2e::readFile(path), text);
    EXPECT_EQ(errorOfWriting(path, "kept", false), "");
    EXPECT_EQ(e2e::readFile(path), "kept");
}

}  // namespace
