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

    // An object's parameters as "KEY=VALUE;..." in key order.
    std::string params(const char* path, bool inherited = false) {
        std::string text;
        for (const auto& [key, value] : db.getObjectParameters(q(path), inherited))
            text += key.toStdString() + "=" + value.toStdString() + ";";
        return text;
    }
    // The names of the children of that type, as "A,B,".
    std::string children(const char* type, const char* path) {
        std::string text;
        for (const QString& name : db.getObjectsByTypeAndPath(q(type), q(path)))
            text += name.toStdString() + ",";
        return text;
    }
    std::string load(const std::string& name, const std::string& bytes, bool replace = true) {
        return e2e::errorOf(
            [&] { db.loadRCLFile(QString::fromStdString(dir.write(name, bytes)), replace); });
    }

    RCLDatabase db;
    e2e::TempDir dir;
};

TEST_F(RCLDatabaseTest, PathsResolveWhateverTheBlanksAroundTheColon) {
    EXPECT_EQ(params("MONITOR WORKSPACE : Run/ MONITOR PLOT : B "),
              "Variable Rule=NAME = B;Window Label=Plot B;");
    EXPECT_TRUE(db.hasObject(q("/MONITOR WORKSPACE:Run")));
    EXPECT_FALSE(db.hasObject(q("/MONITOR WORKSPACE: run")));
    // Children of one type, in definition order.
    EXPECT_EQ(children("MONITOR PLOT", "/MONITOR WORKSPACE: Run"), "B,A,");
    EXPECT_EQ(children("MONITOR PLOT", "/NO WORKSPACE: Run"), "");
    EXPECT_EQ(children("MONITOR WORKSPACE", "/"), "Run,");
    // Inherited parameters come from enclosing objects.
    EXPECT_EQ(params("/MONITOR WORKSPACE: Run/MONITOR PLOT:A"), "");
    EXPECT_EQ(params("/MONITOR WORKSPACE: Run/MONITOR PLOT:A", true), "Plot Data By=Time Step;");
    EXPECT_EQ(e2e::errorOf([&] { params("/MONITOR WORKSPACE: Run/MONITOR PLOT:Z"); }),
              "No command-language object at '/MONITOR WORKSPACE: Run/MONITOR PLOT:Z'.");
}

TEST_F(RCLDatabaseTest, SentTextUpdatesOrAddsAndAFaultyOneChangesNothing) {
    db.sendRCL(q("MONITOR WORKSPACE : Run\nMONITOR PLOT: B\nWindow Label = New\nEND\n"
                 "MONITOR PLOT: C\nEND\nEND\n"),
               true);
    EXPECT_EQ(params("/MONITOR WORKSPACE: Run/MONITOR PLOT:B"),
              "Variable Rule=NAME = B;Window Label=New;");
    EXPECT_EQ(children("MONITOR PLOT", "/MONITOR WORKSPACE: Run"), "B,A,C,");
    // Without update, parameters already set keep their values.
    db.sendRCL(q("MONITOR WORKSPACE: Run\nMONITOR PLOT: B\nWindow Label = Newer\n"
                 "Visibility = false\nEND\nEND\n"),
               false);
    EXPECT_EQ(params("/MONITOR WORKSPACE: Run/MONITOR PLOT:B"),
              "Variable Rule=NAME = B;Visibility=false;Window Label=New;");
    EXPECT_EQ(e2e::errorOf([&] {
                  db.sendRCL(q("MONITOR WORKSPACE: Run\nMONITOR PLOT: B\nWindow Label = X\nEND\n"),
                             true);
              }),
              "sent text:1: object 'MONITOR WORKSPACE: Run' has no 'END'");
    EXPECT_EQ(params("/MONITOR WORKSPACE: Run/MONITOR PLOT:B"),
              "Variable Rule=NAME = B;Visibility=false;Window Label=New;");
}

TEST_F(RCLDatabaseTest, LoadingWithReplaceEmptiesTheDatabaseFirst) {
    EXPECT_EQ(load("new.mst", "OTHER: X\nA = 1\nEND\n"), "");
    EXPECT_FALSE(db.hasObject(q("/MONITOR WORKSPACE: Run")));
    EXPECT_EQ(params("/OTHER: X"), "A=1;");
    EXPECT_EQ(load("more.mst", "OTHER: Y\nEND\n", false), "");
    EXPECT_TRUE(db.hasObject(q("/OTHER: X")) && db.hasObject(q("/OTHER: Y")));
    // Files are read as UTF-8, a byte-order mark and CRLF line ends allowed.
    EXPECT_EQ(load("utf8.mst", "\xef\xbb\xbfT: caf\xc3\xa9\r\nX = \xce\x94p\r\nEND"), "");
    EXPECT_EQ(params("/T: caf\xc3\xa9"), "X=\xce\x94p;");
}

// Missing files and folders, and syntax errors: the end-to-end template tests.
TEST_F(RCLDatabaseTest, UnusableFilesRaiseErrorsNamingTheFile) {
    EXPECT_EQ(load("latin1.mst", "T: a\nX = caf\xe9\nEND\n"),
              dir.file("latin1.mst") + ":2: the text is not UTF-8");
    EXPECT_TRUE(db.hasObject(q("/MONITOR WORKSPACE: Run")));  // unchanged by the failures
}

}  // namespace
