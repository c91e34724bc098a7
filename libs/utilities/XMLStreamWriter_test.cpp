#include "libs/utilities/XMLStreamWriter.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "libs/utilities/XMLDocument.h"
#include "libs/utilities/XMLTestSupport.h"

namespace {

using owl::XMLDocument;
using owl::XMLStreamWriter;

using xmltest::errorOf;
using xmltest::kDeclaration;

// Random trees of elements with random byte values (ill-formed UTF-8,
// controls and characters to escape among them, empty values), elements
// left open at the end, far beyond one block of output: the streamed text
// must equal the document builder's (whose layout its own tests pin), byte
// for byte.
TEST(XMLStreamWriter, WritesWhatTheDocumentBuilderWritesForRandomTrees) {
    std::vector<std::string> pool;
    for (char c : std::string("\t\n\r <&>\"'a\x7F")) pool.emplace_back(1, c);
    for (const char* multibyte : {"\xC3\xA9", "\xCE\x94", "\xEF\xBF\xBE", "\xF0\x9F\x98\x80"})
        pool.emplace_back(multibyte);
    pool.emplace_back(1, '\0');
    std::mt19937 random(7122026);
    std::uniform_int_distribution<size_t> pick(0, pool.size() - 1);
    std::uniform_int_distribution<int> action(0, 9), length(0, 10), byte(0, 255);
    auto value = [&] {
        std::string text;
        for (int n = length(random); n > 0; --n)
            text +=
                n % 5 == 0 ? std::string(1, static_cast<char>(byte(random))) : pool[pick(random)];
        return text;
    };
    const char* names[] = {"A", "B-1", "c.d", "\xC3\xA9l\xC3\xA9ment"};
    XMLDocument doc;
    doc.startDocument("R");
    doc.createDuplicateElements(true);
    std::ostringstream out;
    XMLStreamWriter writer(out, "R");
    XMLDocument::Path path{owl::XMLElement("R")};
    bool mayAddAttribute = true;
    int attributes = 0;
    for (int step = 0; step < 40000; ++step) {
        const int what = action(random);
        if (what < 4 && mayAddAttribute && attributes < 3) {
            const std::string name = "a" + std::to_string(attributes++), text = value();
            doc.addAttribute(path, {name, text});
            writer.addAttribute(name, text);
        } else if (what < 7 && path.size() < 6) {
            path.emplace_back(names[what % 4]);
            doc.addElement(path, "");
            writer.startElement(path.back().getName());
            mayAddAttribute = true;
            attributes = 0;
        } else if (path.size() > 1) {
            path.pop_back();
            writer.endElement();
            mayAddAttribute = false;
        }
    }
    writer.finish();
    EXPECT_GT(out.str().size(), size_t(200000));
    EXPECT_EQ(out.str(), doc.writeDocumentString());
}

// The root alone: the end-to-end -plotinfo tests.
TEST(XMLStreamWriter, MisuseIsReportedWithWhatIsWrong) {
    std::ostringstream out;
    XMLStreamWriter writer(out, "R");
    writer.startElement("A");
    writer.addAttribute("x", "1");
    EXPECT_EQ(errorOf([&] { writer.addAttribute("x", "2"); }),
              "The element 'A' already has the attribute 'x'.");
    writer.endElement();
    writer.endElement();
    EXPECT_EQ(errorOf([&] { writer.endElement(); }), "No XML element is open.");
    EXPECT_EQ(out.str(), "");  // nothing before the first full block
    writer.finish();
    writer.finish();
    EXPECT_EQ(out.str(), kDeclaration + "<R>\n  <A x=\"1\" />\n</R>");
    EXPECT_EQ(errorOf([&] { writer.startElement("C"); }),
              "The XML document is finished: cannot add 'C'.");
}

}  // namespace
