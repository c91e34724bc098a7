#include "libs/utilities/XMLDocument.h"

#include <gtest/gtest.h>

#include <algorithm>

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

// Misuse is a fault of the caller: the message says what is wrong.
TEST(XMLDocument, MisuseIsReportedWithWhatIsWrong) {
    XMLDocument doc;
    const auto element = [&](const char* path) {
        return errorOf([&] { doc.addElement(pathOf(path), ""); });
    };
    EXPECT_EQ(element("R/A"),
              "The XML document has not been started: cannot add the element 'R/A'.");
    doc.startDocument("R");
    const std::pair<std::string, std::string> cases[] = {
        {element("R"),
         "The element path 'R' is too short: it must name the root and the element to add."},
        {element("S/A"), "The element path 'S/A' does not start at the root element 'R'."},
        {element("R/A/B"), "The element path 'R/A/B' designates no element: 'R' has no child 'A'."},
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
