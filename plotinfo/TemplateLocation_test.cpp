#include "plotinfo/TemplateLocation.h"

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

// ORB_DATA_DIR as given, else the installation's share/monexport/, else the
// source tree's data/; else an error that says where it looked.
TEST(TemplateLocation, TriesEachPlaceInTurnAndSaysWhereItLooked) {
    e2e::TempDir prefix, source;
    const std::string executable = prefix.file("bin/monexport");
    EXPECT_EQ(findTemplateDirectory("/orb", executable, source.path()), "/orb");
    source.write("workspace-basic.mst", "");
    EXPECT_EQ(findTemplateDirectory("", executable, source.path()), source.path());
    prefix.write("share/monexport/workspace-basic.mst", "");
    EXPECT_EQ(findTemplateDirectory("", executable, source.path()), prefix.file("share/monexport"));
    EXPECT_EQ(e2e::errorOf([&] { findTemplateDirectory("", "/none/bin/monplot", "/none/data"); }),
              "Initial workspace file not found.\nORB_DATA_DIR is not set, and neither "
              "'/none/share/monexport' nor '/none/data' holds workspace-basic.mst: set "
              "ORB_DATA_DIR to the folder that holds it.");
}

}  // namespace
