#include "varinfo/VarInfoXML.h"

#include <gtest/gtest.h>

namespace {

using owl::VarInfoRecord;

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

VarInfoRecord record(const char* name, const char* label, const char* tree, const char* path) {
    return {QString::fromUtf8(name), QString::fromUtf8(label), QString::fromUtf8(tree),
            QString::fromUtf8(path), QString()};
}

TEST(VarInfoXML, EmptyListGivesTheRootAlone) {
    EXPECT_EQ(owl::VarInfoXML().generateXML({}), kDeclaration + "<Variables />");
}

// Four attributes always, Scale only for a record that has one.
TEST(VarInfoXML, OneVariablePerRecordInListOrderWithFourAttributes) {
    VarInfoRecord scaled = record("R", "R", "R", "R");
    scaled.scale = QStringLiteral("log10");
    const std::vector<VarInfoRecord> records{
        record("B", "Bee", "Bee", "Group;Bee"), record("A", "A", "A", "A"),
        record("B", "Bee", "Bee", "Group;Bee"), VarInfoRecord(), scaled};
    EXPECT_EQ(owl::VarInfoXML().generateXML(records),
              kDeclaration +
                  "<Variables>\n"
                  "  <Variable Name=\"B\" DisplayName=\"Bee\" TreeName=\"Bee\" "
                  "TreePath=\"Group;Bee\" />\n"
                  "  <Variable Name=\"A\" DisplayName=\"A\" TreeName=\"A\" TreePath=\"A\" />\n"
                  "  <Variable Name=\"B\" DisplayName=\"Bee\" TreeName=\"Bee\" "
                  "TreePath=\"Group;Bee\" />\n"
                  "  <Variable Name=\"\" DisplayName=\"\" TreeName=\"\" TreePath=\"\" />\n"
                  "  <Variable Name=\"R\" DisplayName=\"R\" TreeName=\"R\" TreePath=\"R\" "
                  "Scale=\"log10\" />\n"
                  "</Variables>");
}

}  // namespace
