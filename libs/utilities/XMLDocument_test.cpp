#include "libs/utilities/XMLDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "libs/utilities/XMLTestSupport.h"

namespace {

using owl::XMLDocument;
using owl::XMLElement;

using xmltest::errorOf;
using xmltest::kDeclaration;

XMLDocument::Path pathOf(const std::string& text) {
    XMLDocument::Path steps;
    for (size_t at = 0; at <= text.size() && !text.empty();) {
        const size_t end = std::min(text.find('/', at), text.size());
        steps.emplace_back(text.substr(at, end - at));
        at = end + 1;
    }
    return steps;
}

// Builds a document from steps: "dup" allows duplicate elements, "P/A" adds
// element A under P, "P/A=text" with a text, "P/A@k=v" adds an attribute.
std::string build(std::initializer_list<std::string> steps) {
    XMLDocument doc;
    doc.startDocument(*steps.begin());
    for (const std::string& step : steps) {
        const size_t at = step.find('@'), equals = step.find('=');
        if (step == "dup")
            doc.createDuplicateElements(true);
        else if (at != std::string::npos)
            doc.addAttribute(pathOf(step.substr(0, at)),
                             {step.substr(at + 1, equals - at - 1), step.substr(equals + 1)});
        else if (step.find('/') != std::string::npos)
            doc.addElement(pathOf(step.substr(0, equals)),
                           equals == std::string::npos ? "" : step.substr(equals + 1));
    }
    return doc.writeDocumentString();
}

TEST(XMLDocument, ElementsAndAttributesGoWhereTheirPathsDesignate) {
    const std::pair<std::string, std::string> cases[] = {
        // The root alone is an empty element after the declaration.
        {build({"Variables"}), "<Variables />"},
        // Duplicates on: adding makes a sibling; steps designate the latest.
        {build({"Plots", "dup", "Plots/Plot", "Plots/Plot@Name=first", "Plots/Plot/XAxis",
                "Plots/Plot", "Plots/Plot@Name=second", "Plots/Plot@A=2", "Plots/Plot/PlotLine",
                "Plots/Plot/PlotLine", "Plots/Plot/PlotLine@Var=v", "Plots/Plot/PlotLine/Deep",
                "Plots@Count=2"}),
         "<Plots Count=\"2\">\n  <Plot Name=\"first\">\n    <XAxis />\n  </Plot>\n"
         "  <Plot Name=\"second\" A=\"2\">\n    <PlotLine />\n    <PlotLine Var=\"v\">\n"
         "      <Deep />\n    </PlotLine>\n  </Plot>\n</Plots>"},
        // A later sibling of another name does not hide the latest of this name.
        {build({"R", "dup", "R/A", "R/A", "R/B", "R/A@n=2"}),
         "<R>\n  <A />\n  <A n=\"2\" />\n  <B />\n</R>"},
        // Duplicates off: the element is reused, attributes replaced in place.
        {build({"R", "R/A=one", "R/B", "R/A=two", "R/A", "R/A@x=1", "R/A@y=2", "R/A@x=3"}),
         "<R>\n  <A x=\"3\" y=\"2\">two</A>\n  <B />\n</R>"},
    };
    for (const auto& [document, expected] : cases) EXPECT_EQ(document, kDeclaration + expected);
}

// Attribute values and texts are escaped so that they read back unchanged;
// texts keep tabs and line feeds. What XML cannot carry (control characters,
// ill-formed UTF-8, noncharacters) becomes one U+FFFD per ill-formed part.
TEST(XMLDocument, TextsAreEscapedAndWhatXmlCannotCarryIsReplaced) {
    const std::string r = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {build({"R", "R@v=a<b>&\"c\"'d'\te\nf\r\ng caf\xC3\xA9 \xF0\x9F\x98\x80"}),
         "<R v=\"a&lt;b&gt;&amp;&quot;c&quot;'d'&#9;e&#10;f&#13;&#10;g caf\xC3\xA9 "
         "\xF0\x9F\x98\x80\" />"},
        {build({"R", "R/T=]]> <&'\"\t\n\r"}), "<R>\n  <T>]]&gt; &lt;&amp;'\"\t\n&#13;</T>\n</R>"},
        {build({"R", "R@c=a\x01" + std::string(1, '\0') + "b\x1F\x7F"}),
         "<R c=\"a" + r + r + "b" + r + "\x7F\" />"},
        {build({"R",
                "R@u=\xFF|\xC3|\xE2\x82|\xC0\xAF|\xED\xA0\x80|\xF4\x90\x80\x80|\xEF\xBF\xBE|"
                "\xEF\xBF\xBF|\xEF\xBF\xBD"}),
         "<R u=\"" + r + "|" + r + "|" + r + "|" + r + r + "|" + r + r + r + "|" + r + r + r + r +
             "|" + r + "|" + r + "|" + r + "\" />"},
    };
    for (const auto& [document, expected] : cases) EXPECT_EQ(document, kDeclaration + expected);
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
        doc.addElement(pathOf("R/E"), value);
        doc.addAttribute(pathOf("R/E"), {"v", value});
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

TEST(XMLDocument, MisuseIsReportedWithWhatIsWrong) {
    XMLDocument doc;
    const auto element = [&](const char* path) {
        return errorOf([&] { doc.addElement(pathOf(path), ""); });
    };
    const auto attribute = [&](const char* path, const char* name) {
        return errorOf([&] { doc.addAttribute(pathOf(path), {name, "1"}); });
    };
    const std::string unstarted = "The XML document has not been started: ";
    EXPECT_EQ(element("R/A"), unstarted + "cannot add the element 'R/A'.");
    EXPECT_EQ(attribute("R", "a"), unstarted + "cannot add the attribute 'a' to 'R'.");
    EXPECT_EQ(errorOf([&] { doc.writeDocumentString(); }), unstarted + "cannot write it.");
    EXPECT_EQ(errorOf([&] { doc.startDocument("1R"); }), "'1R' is not a valid XML element name.");
    doc.startDocument("R");
    const std::pair<std::string, std::string> cases[] = {
        {errorOf([&] { doc.startDocument("S"); }),
         "The XML document has already been started with the root element 'R'; it cannot be "
         "started again with 'S'."},
        {element("R"),
         "The element path 'R' is too short: it must name the root and the element to add."},
        {element("S/A"), "The element path 'S/A' does not start at the root element 'R'."},
        {attribute("", "a"), "The element path '' does not start at the root element 'R'."},
        {element("R/A/B"), "The element path 'R/A/B' designates no element: 'R' has no child 'A'."},
        {attribute("R/A", "a"),
         "The element path 'R/A' designates no element: 'R' has no child 'A'."},
        {element("R/a b"), "'a b' is not a valid XML element name."},
        {attribute("R", ""), "'' is not a valid XML attribute name."},
    };
    for (const auto& [message, expected] : cases) EXPECT_EQ(message, expected);
    EXPECT_EQ(doc.writeDocumentString(), kDeclaration + "<R />");
}

TEST(XMLDocument, NamesFollowTheXmlNameRules) {
    XMLDocument doc;
    doc.startDocument("R");
    for (const char* good : {"a", "_a", "A.b-c_9", "ns:x", "caf\xC3\xA9", "\xCE\x94p"})
        EXPECT_EQ(errorOf([&] { doc.addElement(pathOf(std::string("R/") + good), ""); }), "")
            << good;
    for (const char* bad : {"9a", "-a", ".a", "a<", "a&b", "a\"", "\xC3", "a\xFF", "\xC2\xB7x"})
        EXPECT_NE(errorOf([&] { doc.addAttribute(pathOf("R"), {bad, ""}); }), "") << bad;
}

}  // namespace
