#include "libs/rcl/RCLDatabase.h"

#include <gtest/gtest.h>

#include "libs/exception/Error.h"
#include "tests/CommandRunner.h"

namespace {

QString q(const char* text) {
    return QString::fromUtf8(text);
}

const char* const kWorkspace =
    "MONITOR WORKSPACE: Run\n"
    "  Plot Data By = Time Step\n"
    "  MONITOR PLOT: B\n"
    "    Variable Rule = NAME = B\n"
    "    Window Label = Plot B\n"
    "  END\n"
    "  RESIDUAL MONITOR: R\n"
    "  END\n"
    "  MONITOR PLOT: A\n"
    "  END\n"
    "END\n";

class RCLDatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override { db.sendRCL(q(kWorkspace), true); }

    std::string write(const std::string& name, const std::string& bytes) {
        return dir.write(name, bytes);
    }

    std::string loadError(const std::string& path) {
        return e2e::errorOf([&] { db.loadRCLFile(QString::fromStdString(path), true); });
    }

    RCLDatabase db;
    e2e::TempDir dir;
};

TEST_F(RCLDatabaseTest, PathsResolveWhateverTheBlanksAroundTheColon) {
    const ParamMap expected{{q("Variable Rule"), q("NAME = B")}, {q("Window Label"), q("Plot B")}};
    EXPECT_EQ(db.getObjectParameters(q("/MONITOR WORKSPACE: Run/MONITOR PLOT:B"), false), expected);
    EXPECT_EQ(db.getObjectParameters(q("MONITOR WORKSPACE : Run/ MONITOR PLOT : B "), false),
              expected);
    EXPECT_TRUE(db.hasObject(q("/MONITOR WORKSPACE:Run")));
    EXPECT_FALSE(db.hasObject(q("/MONITOR WORKSPACE: run")));
    EXPECT_FALSE(db.hasObject(q("/MONITOR WORKSPACE: Run/MONITOR PLOT: C")));
}

TEST_F(RCLDatabaseTest, ListsChildrenOfOneTypeInDefinitionOrder) {
    EXPECT_EQ(db.getObjectsByTypeAndPath(q("MONITOR PLOT"), q("/MONITOR WORKSPACE: Run")),
              (std::vector<QString>{q("B"), q("A")}));
    EXPECT_EQ(db.getObjectsByTypeAndPath(q("RESIDUAL MONITOR"), q("MONITOR WORKSPACE : Run")),
              (std::vector<QString>{q("R")}));
    EXPECT_TRUE(db.getObjectsByTypeAndPath(q("MONITOR PLOT"), q("/NO WORKSPACE: Run")).empty());
    EXPECT_EQ(db.getObjectsByTypeAndPath(q("MONITOR WORKSPACE"), q("/")),
              (std::vector<QString>{q("Run")}));
}

TEST_F(RCLDatabaseTest, SentTextUpdatesExistingObjectsAndAddsNewOnes) {
    db.sendRCL(q("MONITOR WORKSPACE : Run\nMONITOR PLOT: B\nWindow Label = New\nEND\n"
                 "MONITOR PLOT: C\nEND\nEND\n"),
               true);
    EXPECT_EQ(db.getObjectParameters(q("/MONITOR WORKSPACE: Run/MONITOR PLOT:B"), false),
              (ParamMap{{q("Variable Rule"), q("NAME = B")}, {q("Window Label"), q("New")}}));
    EXPECT_EQ(db.getObjectsByTypeAndPath(q("MONITOR PLOT"), q("/MONITOR WORKSPACE: Run")),
              (std::vector<QString>{q("B"), q("A"), q("C")}));
}

TEST_F(RCLDatabaseTest, WithoutUpdateSetParametersKeepTheirValues) {
    db.sendRCL(q("MONITOR WORKSPACE: Run\nMONITOR PLOT: B\nWindow Label = New\n"
                 "Visibility = false\nEND\nEND\n"),
               false);
    EXPECT_EQ(db.getObjectParameters(q("/MONITOR WORKSPACE: Run/MONITOR PLOT:B"), false),
              (ParamMap{{q("Variable Rule"), q("NAME = B")},
                        {q("Visibility"), q("false")},
                        {q("Window Label"), q("Plot B")}}));
}

TEST_F(RCLDatabaseTest, InheritedParametersComeFromEnclosingObjects) {
    const QString path = q("/MONITOR WORKSPACE: Run/MONITOR PLOT:A");
    EXPECT_EQ(db.getObjectParameters(path, false), ParamMap{});
    EXPECT_EQ(db.getObjectParameters(path, true), (ParamMap{{q("Plot Data By"), q("Time Step")}}));
}

TEST_F(RCLDatabaseTest, UnknownObjectIsNotFound) {
    EXPECT_THROW(db.getObjectParameters(q("/MONITOR WORKSPACE: Run/MONITOR PLOT:Z"), false),
                 owl::data::notFound);
    EXPECT_EQ(e2e::errorOf([&] {
                  db.getObjectParameters(q("/MONITOR WORKSPACE: Run/MONITOR PLOT:Z"), false);
              }),
              "No command-language object at '/MONITOR WORKSPACE: Run/MONITOR PLOT:Z'.");
}

TEST_F(RCLDatabaseTest, FaultySentTextLeavesTheDatabaseUnchanged) {
    EXPECT_EQ(e2e::errorOf([&] {
                  db.sendRCL(
                      q("MONITOR WORKSPACE: Run\nMONITOR PLOT: B\nWindow Label = New\nEND\n"),
                      true);
              }),
              "sent text:1: object 'MONITOR WORKSPACE: Run' has no 'END'");
    EXPECT_EQ(db.getObjectParameters(q("/MONITOR WORKSPACE: Run/MONITOR PLOT: B"), false)
                  .at(q("Window Label")),
              q("Plot B"));
}

TEST_F(RCLDatabaseTest, LoadingWithReplaceEmptiesTheDatabaseFirst) {
    const std::string file = write("new.mst", "OTHER: X\nA = 1\nEND\n");
    db.loadRCLFile(QString::fromStdString(file), true);
    EXPECT_FALSE(db.hasObject(q("/MONITOR WORKSPACE: Run")));
    EXPECT_EQ(db.getObjectParameters(q("/OTHER: X"), false), (ParamMap{{q("A"), q("1")}}));
    db.loadRCLFile(QString::fromStdString(write("more.mst", "OTHER: Y\nEND\n")), false);
    EXPECT_TRUE(db.hasObject(q("/OTHER: X")));
    EXPECT_TRUE(db.hasObject(q("/OTHER: Y")));
}

TEST_F(RCLDatabaseTest, UnusableFilesRaiseErrorsNamingTheFile) {
    const std::string missing = dir.path() + "/missing.mst";
    EXPECT_EQ(loadError(missing), "Cannot open the command-language file '" + missing +
                                      "': No such file or directory.");
    EXPECT_EQ(loadError(dir.path()),
              "Cannot read the command-language file '" + dir.path() + "': Is a directory.");
    const std::string bad = write("bad.mst", "T: a\nX = 1\n");
    EXPECT_EQ(loadError(bad), bad + ":1: object 'T: a' has no 'END'");
    const std::string latin1 = write("latin1.mst", "T: a\nX = caf\xe9\nEND\n");
    EXPECT_EQ(loadError(latin1), latin1 + ":2: the text is not UTF-8");
    EXPECT_TRUE(db.hasObject(q("/MONITOR WORKSPACE: Run")));  // unchanged by the failures
}

TEST_F(RCLDatabaseTest, FilesAreReadAsUtf8) {
    const std::string file =
        write("utf8.mst", "\xef\xbb\xbfT: caf\xc3\xa9\r\nX = \xce\x94p\r\nEND");
    db.loadRCLFile(QString::fromStdString(file), true);
    EXPECT_EQ(db.getObjectParameters(q("/T: caf\xc3\xa9"), false),
              (ParamMap{{q("X"), q("\xce\x94p")}}));
}

}  // namespace
