#include "libs/utilities/XMLDocument.h"

#include <gtest/gtest.h>

#include <random>

#include "libs/utilities/XMLTestSupport.h"

namespace {

using owl::XMLDocument;
using owl::XMLElement;

using xmltest::errorOf;
using xmltest::kDeclaration;

XMLDocument::Path path(std::initializer_list<const char*> names) {
    XMLDocument::Path steps;
    for (const char* name : names) steps.emplace_back(name);
    return steps;
}

TEST(XMLDocument, RootAloneIsAnEmptyElementAfterTheDeclaration) {
    XMLDocument doc;
    doc.startDocument("Variables");
    EXPECT_EQ(doc.writeDocumentString(), kDeclaration + "<Variables />");
}

TEST(XMLDocument, DuplicatesOnAddSiblingsAndStepsDesignateTheLatest) {
    XMLDocument doc;
    doc.startDocument("Plots");
    doc.createDuplicateElements(true);
    doc.addElement(path({"Plots", "Plot"}), "");
    doc.addAttribute(path({"Plots", "Plot"}), {"Name", "first"});
    doc.addElement(path({"Plots", "Plot", "XAxis"}), "");
    doc.addElement(path({"Plots", "Plot"}), "");
    doc.addAttribute(path({"Plots", "Plot"}), {"Name", "second"});
    doc.addAttribute(path({"Plots", "Plot"}), {"A", "2"});
    doc.addElement(path({"Plots", "Plot", "PlotLine"}), "");
    doc.addElement(path({"Plots", "Plot", "PlotLine"}), "");
    doc.addAttribute(path({"Plots", "Plot", "PlotLine"}), {"Var", "v"});
    doc.addElement(path({"Plots", "Plot", "PlotLine", "Deep"}), "");
    doc.addAttribute(path({"Plots"}), {"Count", "2"});
    EXPECT_EQ(doc.writeDocumentString(), kDeclaration +
                                             "<Plots Count=\"2\">\n"
                                             "  <Plot Name=\"first\">\n"
                                             "    <XAxis />\n"
                                             "  </Plot>\n"
                                             "  <Plot Name=\"second\" A=\"2\">\n"
                                             "    <PlotLine />\n"
                                             "    <PlotLine Var=\"v\">\n"
                                             "      <Deep />\n"
                                             "    </PlotLine>\n"
                                             "  </Plot>\n"
                                             "</Plots>");
}

TEST(XMLDocument, ALaterSiblingOfAnotherNameDoesNotHideTheLatestOfThisName) {
    XMLDocument doc;
    doc.startDocument("R");
    doc.createDuplicateElements(true);
    doc.addElement(path({"R", "A"}), "");
    doc.addElement(path({"R", "A"}), "");
    doc.addElement(path({"R", "B"}), "");
    doc.addAttribute(path({"R", "A"}), {"n", "2"});
    EXPECT_EQ(doc.writeDocumentString(),
              kDeclaration + "<R>\n  <A />\n  <A n=\"2\" />\n  <B />\n</R>");
}

TEST(XMLDocument, DuplicatesOffReuseTheElementAndAttributesAreReplacedInPlace) {
    XMLDocument doc;
    doc.startDocument("R");
    doc.addElement(path({"R", "A"}), "one");
    doc.addElement(path({"R", "B"}), "");
    doc.addElement(path({"R", "A"}), "two");
    doc.addElement(path({"R", "A"}), "");
    doc.addAttribute(path({"R", "A"}), {"x", "1"});
    doc.addAttribute(path({"R", "A"}), {"y", "2"});
    doc.addAttribute(path({"R", "A"}), {"x", "3"});
    EXPECT_EQ(doc.writeDocumentString(),
              kDeclaration + "<R>\n  <A x=\"3\" y=\"2\">two</A>\n  <B />\n</R>");
}

TEST(XMLDocument, AttributeValuesAreEscapedSoThatTheyReadBackUnchanged) {
    XMLDocument doc;
    doc.startDocument("R");
    doc.addAttribute(path({"R"}), {"v", "a<b>&\"c\"'d'\te\nf\r\ng caf\xC3\xA9 \xF0\x9F\x98\x80"});
    EXPECT_EQ(doc.writeDocumentString(),
              kDeclaration +
                  "<R v=\"a&lt;b&gt;&amp;&quot;c&quot;'d'&#9;e&#10;f&#13;&#10;g "
                  "caf\xC3\xA9 \xF0\x9F\x98\x80\" />");
}

TEST(XMLDocument, TextsRoundTripThroughAParser) {
    const std::string value = "<a href=\"x\">&amp; 'q'\t\n\r\n  end \xCE\x94p caf\xC3\xA9";
    XMLDocument doc;
    doc.startDocument("R");
    doc.createDuplicateElements(true);
    doc.addElement(path({"R", "E"}), value);
    doc.addAttribute(path({"R", "E"}), {"v", value});
    pugi::xml_document parsed;
    ASSERT_TRUE(parsed.load_string(doc.writeDocumentString().c_str(),
                                   pugi::parse_default | pugi::parse_declaration));
    pugi::xml_node element = parsed.child("R").child("E");
    EXPECT_EQ(element.attribute("v").value(), value);
    EXPECT_EQ(element.text().get(), value);
}

std::string utf8(char32_t code) {
    std::string out;
    if (code < 0x80) return std::string(1, static_cast<char>(code));
    const int length = code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
    static const unsigned char leads[] = {0, 0, 0xC0, 0xE0, 0xF0};
    for (int i = length - 1; i > 0; --i, code >>= 6)
        out.insert(out.begin(), static_cast<char>(0x80 | (code & 0x3F)));
    out.insert(out.begin(), static_cast<char>(leads[length] | code));
    return out;
}

TEST(XMLDocument, EveryCharacterXmlCarriesRoundTripsInAttributesAndText) {
    const char32_t pool[] = {'\t',  '\n',  '\r',   ' ',    '<',    '&',     '>',     '"',
                             '\'',  ']',   ';',    'a',    0x7F,   0x85,    0xE9,    0x394,
                             0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFD, 0x10000, 0x1F600, 0x10FFFF};
    std::mt19937 random(20261206);
    std::uniform_int_distribution<size_t> pick(0, sizeof(pool) / sizeof(pool[0]) - 1);
    std::uniform_int_distribution<int> length(0, 12);
    std::vector<std::string> values(300);
    XMLDocument doc;
    doc.startDocument("R");
    doc.createDuplicateElements(true);
    for (std::string& value : values) {
        for (int n = length(random); n > 0; --n) value += utf8(pool[pick(random)]);
        doc.addElement(path({"R", "E"}), value);
        doc.addAttribute(path({"R", "E"}), {"v", value});
    }
    pugi::xml_document parsed;
    // Keep texts of white space alone, as conforming XML parsers do.
    ASSERT_TRUE(parsed.load_string(doc.writeDocumentString().c_str(),
                                   pugi::parse_default | pugi::parse_ws_pcdata));
    size_t i = 0;
    for (pugi::xml_node element : parsed.child("R").children("E")) {
        ASSERT_LT(i, values.size());
        EXPECT_EQ(element.attribute("v").value(), values[i]) << i;
        EXPECT_EQ(element.text().get(), values[i]) << i;
        ++i;
    }
    EXPECT_EQ(i, values.size());
}

TEST(XMLDocument, ElementTextIsEscapedKeepingTabsAndLineFeeds) {
    XMLDocument doc;
    doc.startDocument("R");
    doc.addElement(path({"R", "T"}), "]]> <&'\"\t\n\r");
    EXPECT_EQ(doc.writeDocumentString(),
              kDeclaration + "<R>\n  <T>]]&gt; &lt;&amp;'\"\t\n&#13;</T>\n</R>");
}

TEST(XMLDocument, WhatXmlCannotCarryBecomesTheReplacementCharacter) {
    const std::string fffd = "\xEF\xBF\xBD";
    XMLDocument doc;
    doc.startDocument("R");
    const std::string nul(1, '\0');
    doc.addAttribute(path({"R"}), {"c", "a\x01" + nul + "b\x1F\x7F"});
    doc.addAttribute(path({"R"}), {"u",
                                   "\xFF|\xC3|\xE2\x82|\xC0\xAF|\xED\xA0\x80|\xF4\x90\x80\x80|"
                                   "\xEF\xBF\xBE|\xEF\xBF\xBF|\xEF\xBF\xBD"});
    EXPECT_EQ(doc.writeDocumentString(),
              kDeclaration + "<R c=\"a" + fffd + fffd + "b" + fffd + "\x7F\" u=\"" + fffd + "|" +
                  fffd + "|" + fffd + "|" + fffd + fffd + "|" + fffd + fffd + fffd + "|" + fffd +
                  fffd + fffd + fffd + "|" + fffd + "|" + fffd + "|" + fffd + "\" />");
}

TEST(XMLDocument, MisuseIsReportedWithWhatIsWrong) {
    XMLDocument doc;
    EXPECT_EQ(errorOf([&] {
                  doc.addElement(path({"R", "A"}), "");
              }),
              "The XML document has not been started: cannot add the element 'R/A'.");
    EXPECT_EQ(errorOf([&] {
                  doc.addAttribute(path({"R"}), {"a", "1"});
              }),
              "The XML document has not been started: cannot add the attribute 'a' to 'R'.");
    EXPECT_EQ(errorOf([&] { doc.writeDocumentString(); }),
              "The XML document has not been started: cannot write it.");
    EXPECT_EQ(errorOf([&] { doc.startDocument("1R"); }), "'1R' is not a valid XML element name.");
    doc.startDocument("R");
    EXPECT_EQ(errorOf([&] { doc.startDocument("S"); }),
              "The XML document has already been started with the root element 'R'; it cannot "
              "be started again with 'S'.");
    EXPECT_EQ(errorOf([&] { doc.addElement(path({"R"}), ""); }),
              "The element path 'R' is too short: it must name the root and the element to add.");
    EXPECT_EQ(errorOf([&] {
                  doc.addElement(path({"S", "A"}), "");
              }),
              "The element path 'S/A' does not start at the root element 'R'.");
    EXPECT_EQ(errorOf([&] {
                  doc.addAttribute(path({}), {"a", "1"});
              }),
              "The element path '' does not start at the root element 'R'.");
    EXPECT_EQ(errorOf([&] {
                  doc.addElement(path({"R", "A", "B"}), "");
              }),
              "The element path 'R/A/B' designates no element: 'R' has no child 'A'.");
    EXPECT_EQ(errorOf([&] {
                  doc.addAttribute(path({"R", "A"}), {"a", "1"});
              }),
              "The element path 'R/A' designates no element: 'R' has no child 'A'.");
    EXPECT_EQ(errorOf([&] {
                  doc.addElement(path({"R", "a b"}), "");
              }),
              "'a b' is not a valid XML element name.");
    EXPECT_EQ(errorOf([&] {
                  doc.addAttribute(path({"R"}), {"", "1"});
              }),
              "'' is not a valid XML attribute name.");
    EXPECT_EQ(doc.writeDocumentString(), kDeclaration + "<R />");
}

TEST(XMLDocument, NamesFollowTheXmlNameRules) {
    XMLDocument doc;
    doc.startDocument("R");
    for (const char* good : {"a", "_a", "A.b-c_9", "ns:x", "caf\xC3\xA9", "\xCE\x94p"})
        EXPECT_EQ(errorOf([&] { doc.addElement(path({"R", good}), ""); }), "") << good;
    for (const char* bad : {"9a", "-a", ".a", "a<", "a&b", "a\"", "\xC3", "a\xFF", "\xC2\xB7x"})
        EXPECT_NE(errorOf([&] { doc.addAttribute(path({"R"}), {bad, ""}); }), "") << bad;
}

}  // namespace
