// -varinfo: the variable information document.

#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <random>

#include "libs/guiapp/MakeStdString.h"
#include "libs/guiutils/MessageDisplay.h"
#include "libs/guiutils/QStringUtils.h"
#include "libs/mondata/model/MonDatabase.h"
#include "libs/utilities/XMLDocument.h"
#include "tests/CommandRunner.h"

namespace {

using e2e::example;
using e2e::monexport;
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

void expectWellFormed(const std::string& document) {
    e2e::TempDir dir;
    const e2e::Result lint =
        e2e::run("/usr/bin/xmllint", {"--noout", dir.write("doc.xml", document)});
    EXPECT_EQ(lint.status, 0) << lint.err;
    EXPECT_EQ(lint.err, "");
}

// The "Variable" elements of a well-formed document that ends in one line
// end, each with its attributes in order.
std::vector<Attributes> parseVariables(const std::string& document) {
    expectWellFormed(document);
    EXPECT_TRUE(document.size() > 2 && document.back() == '\n' && document.end()[-2] != '\n');
    pugi::xml_document parsed;
    EXPECT_TRUE(parsed.load_string(document.c_str())) << document;
    const pugi::xml_node root = parsed.document_element();
    EXPECT_STREQ(root.name(), "Variables");
    EXPECT_TRUE(root.text().empty());
    std::vector<Attributes> variables;
    for (pugi::xml_node element : root.children()) {
        EXPECT_STREQ(element.name(), "Variable");
        EXPECT_TRUE(element.first_child().empty()) << "Variable has content";
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
    for (const char* run : {"transient.mon", "steady.mon"}) {
        std::string names;
        for (const Attributes& variable : checkedVariables(example(run)))
            names += variable.at(0).second + "\n";
        EXPECT_EQ(names, monexportOutput({"-showvars", "-mon", example(run)})) << run;
    }
}

TEST(VarInfo, SpecialCharactersAndNonAsciiLettersRoundTrip) {
    e2e::TempDir dir;
    const std::vector<Attributes> variables = checkedVariables(
        dir.write("names.mon",
                  "monitor-file 1\n"
                  "var \"p<1> & \\\"q\\\" 'r' >\" label=\"a&b <c>\"\n"
                  "var \"caf\xc3\xa9 \xce\x94p \xe6\xb8\xa9\xe5\xba\xa6\" category=MONITOR\n"
                  // A label holding a stray byte that is not UTF-8.
                  "var G label=\"Gr\xc3\xbc\xc3\x9f \xe0\"\n"
                  "var \"tab\\there\\nnew line\" path=\"A&B/<C>\"\n"
                  "var \"]]> &amp; &#10;\"\n"
                  "1 1 2 3 4 5\n"));
    ASSERT_EQ(variables.size(), 6u);
    EXPECT_EQ(variables[1][0].second, "p<1> & \"q\" 'r' >");
    EXPECT_EQ(variables[1][1].second, "a&b <c>");
    EXPECT_EQ(variables[2][0].second, "caf\xc3\xa9 \xce\x94p \xe6\xb8\xa9\xe5\xba\xa6");
    EXPECT_NE(variables[3][1].second.find("Gr\xc3\xbc\xc3\x9f \xef\xbf\xbd"), std::string::npos)
        << variables[3][1].second;
    EXPECT_EQ(variables[4][0].second, "tab\there\nnew line");
    EXPECT_EQ(variables[5][0].second, "]]> &amp; &#10;");
    // Control characters become the replacement character.
    const std::string control =
        dir.write("control.mon", "monitor-file 1\nvar \"bell\x07 esc\x1b\"\n");
    EXPECT_EQ(parseVariables(monexportOutput({"-varinfo", "-mon", control})).at(1).at(0).second,
              "bell\xEF\xBF\xBD esc\xEF\xBF\xBD");
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
    const std::string document = monexportOutput({"-varinfo", "-mon", mon});
    EXPECT_GT(document.size(), 500000u);
    EXPECT_EQ(parseVariables(document), expectedVariables(mon));
    EXPECT_EQ(expectedVariables(mon).size(), 4001u);
    EXPECT_EQ(monexportOutput({"-varinfo", "-res", res}), document);
}

TEST(VarInfo, OutWritesTheDocumentToTheFileOnly) {
    e2e::TempDir dir;
    const std::string file =
        dir.write("vars.xml", "previous content that is longer than nothing\n");
    EXPECT_EQ(monexportOutput({"-varinfo", "-mon", example("steady.mon"), "-out", file}), "");
    EXPECT_EQ(e2e::readFile(file), monexportOutput({"-varinfo", "-mon", example("steady.mon")}));
}

TEST(VarInfo, SelectionAndTableOptionsPlayNoPart) {
    EXPECT_EQ(monexportOutput({"-varinfo", "-mon", example("transient.mon"), "-varlist",
                               "RMS P-Mass", "-nocoeffloops", "-noheader", "-firsttimestep", "3",
                               "-lasttimestep", "4"}),
              monexportOutput({"-varinfo", "-mon", example("transient.mon")}));
}

// The builder under a strict parser: whatever bytes the texts hold, the
// document is well-formed UTF-8 XML.
TEST(VarInfo, BuilderOutputIsWellFormedWhateverTheBytes) {
    std::mt19937 random(6122026);
    std::uniform_int_distribution<int> byte(0, 255), length(0, 16);
    owl::XMLDocument doc;
    doc.startDocument("Variables");
    doc.createDuplicateElements(true);
    const owl::XMLDocument::Path path{owl::XMLElement("Variables"), owl::XMLElement("Variable")};
    for (int i = 0; i < 2000; ++i) {
        std::string text;
        for (int n = length(random); n > 0; --n) text += static_cast<char>(byte(random));
        doc.addElement(path, text);
        doc.addAttribute(path, {"Name", text});
    }
    expectWellFormed(doc.writeDocumentString() + "\n");
}

}  // namespace
