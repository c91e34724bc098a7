// -varinfo: the variable information document.

#include <gtest/gtest.h>

#include <cstring>
#include <pugixml.hpp>

#include "libs/guiapp/MakeStdString.h"
#include "libs/guiutils/MessageDisplay.h"
#include "libs/guiutils/QStringUtils.h"
#include "libs/mondata/model/MonDatabase.h"
#include "tests/CommandRunner.h"

namespace {

using e2e::example;
using e2e::monexportOutput;

// The attributes of one "Variable" element, in document order.
using Attributes = std::vector<std::pair<std::string, std::string>>;

// What the document must say about each variable, from the monitor-data
// library loading the same file in this process.
std::vector<Attributes> expectedVariables(const std::string& monFile) {
    MonDatabase database(QStringLiteral("main"), new owl::LineMessageDisplay());
    database.updateFrom(MonDatabase::MonitorFile, QString::fromLatin1(monFile.c_str()), true);
    database.updateData();
    std::vector<Attributes> expected;
    for (const MonVariable& v : database.getVariableList()) {
        const QString path = QStringUtils::qStringVectorToQString(v.getTreePath(true), ';');
        expected.push_back({{"Name", owl::MakeStdString(v.getName())},
                            {"DisplayName", owl::MakeStdString(v.getPreferredLabel())},
                            {"TreeName", owl::MakeStdString(v.getTreeName(true))},
                            {"TreePath", owl::MakeStdString(path)}});
    }
    return expected;
}

// The "Variable" elements of a well-formed document that ends in one line
// end, each with its attributes in order.
std::vector<Attributes> parseVariables(const std::string& document) {
    e2e::TempDir dir;
    const e2e::Result lint =
        e2e::run("/usr/bin/xmllint", {"--noout", dir.write("doc.xml", document)});
    EXPECT_EQ(lint.status + lint.err.size(), 0u) << lint.err;
    EXPECT_TRUE(document.size() > 2 && document.back() == '\n' && document.end()[-2] != '\n');
    pugi::xml_document parsed;
    EXPECT_TRUE(parsed.load_string(document.c_str())) << document;
    const pugi::xml_node root = parsed.document_element();
    EXPECT_STREQ(root.name(), "Variables");
    std::vector<Attributes> variables;
    for (pugi::xml_node element : root.children()) {
        EXPECT_STREQ(element.name(), "Variable");
        Attributes attributes;
        for (pugi::xml_attribute a : element.attributes())
            attributes.push_back({a.name(), a.value()});
        variables.push_back(attributes);
    }
    return variables;
}

// The document of a monitor file, which says what the library says.
std::vector<Attributes> checkedVariables(const std::string& mon) {
    const std::vector<Attributes> variables =
        parseVariables(monexportOutput({"-varinfo", "-mon", mon}));
    EXPECT_EQ(variables, expectedVariables(mon));
    return variables;
}

TEST(VarInfo, DescribesEveryListedVariableOfTheExamplesInOrder) {
    for (const char* run : {"transient.mon", "steady.mon"}) checkedVariables(example(run));
}

// Markup characters, escapes and non-ASCII letters come back as the library
// reads them; what XML cannot carry (a stray byte that is not UTF-8, control
// characters) becomes replacement characters in a well-formed document.
TEST(VarInfo, SpecialCharactersAndNonAsciiLettersRoundTrip) {
    e2e::TempDir dir;
    const std::vector<Attributes> variables = checkedVariables(
        dir.write("names.mon",
                  "monitor-file 1\n"
                  "var \"p<1> & \\\"q\\\" 'r' >\" label=\"a&b <c>\"\n"
                  "var \"caf\xc3\xa9 \xce\x94p \xe6\xb8\xa9\xe5\xba\xa6\" category=MONITOR\n"
                  "var G label=\"Gr\xc3\xbc\xc3\x9f \xe0\"\n"
                  "var \"tab\\there\\nnew line\" path=\"A&B/<C>\"\n"
                  "var \"]]> &amp; &#10;\"\n1 1 2 3 4 5\n"));
    ASSERT_EQ(variables.size(), 6u);
    EXPECT_EQ(variables[1][0].second, "p<1> & \"q\" 'r' >");
    EXPECT_EQ(variables[3][1].second.substr(0, 10), "Gr\xc3\xbc\xc3\x9f \xef\xbf\xbd");
    std::string everyByte;  // but the line end, the quote and the escape
    for (int byte = 1; byte < 256; ++byte)
        if (!std::strchr("\r\n\"\\", byte)) everyByte += static_cast<char>(byte);
    const std::string bytes = dir.write(
        "bytes.mon", "monitor-file 1\nvar \"bell\x07 esc\x1b\"\nvar \"" + everyByte + "\"\n");
    const std::vector<Attributes> replaced =
        parseVariables(monexportOutput({"-varinfo", "-mon", bytes}));
    ASSERT_EQ(replaced.size(), 3u);
    EXPECT_EQ(replaced[1][0].second, "bell\xEF\xBF\xBD esc\xEF\xBF\xBD");
}

// A run of thousands of variables gives a document many times larger than
// what is written in one piece: it is still whole and in order, from the
// monitor file and from the results file packed from it alike.
TEST(VarInfo, LargeRunIsDescribedWholeFromEitherSource) {
    e2e::TempDir dir;
    const std::string mon = dir.file("large.mon"), res = dir.file("large.res");
    ASSERT_EQ(e2e::run(e2e::binary("monsynth"),
                       {"--out", mon, "--variables", "4000", "--steps", "2", "--groups", "30"})
                  .status,
              0);
    ASSERT_EQ(e2e::monpack({"-mon", mon, "-out", res}).status, 0);
    EXPECT_EQ(checkedVariables(mon).size(), 4001u);
    EXPECT_EQ(monexportOutput({"-varinfo", "-res", res}),
              monexportOutput({"-varinfo", "-mon", mon}));
}

// Selection and table options play no part; -out replaces a longer file.
TEST(VarInfo, OutWritesTheWholeDocumentToTheFileOnly) {
    e2e::TempDir dir;
    const std::string file = dir.write("vars.xml", std::string(100000, 'x'));
    EXPECT_EQ(monexportOutput({"-varinfo", "-mon", example("transient.mon"), "-out", file,
                               "-varlist", "RMS P-Mass", "-nocoeffloops", "-noheader",
                               "-firsttimestep", "3", "-lasttimestep", "4"}),
              "");
    EXPECT_EQ(e2e::readFile(file), monexportOutput({"-varinfo", "-mon", example("transient.mon")}));
}

}  // namespace
