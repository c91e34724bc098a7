// Texts and numbers of monitor files as users write them: backslashes that
// are no escape, number forms, byte-order marks and broken UTF-8 in names,
// control characters in reports. Text and results file must agree.

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

using e2e::monexport;

const std::string kFffd = "\xEF\xBF\xBD", kBom = "\xEF\xBB\xBF";
const char* const kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// The run written into dir as text and packed into a results file.
std::string writeRun(const e2e::TempDir& dir, const std::string& content) {
    const e2e::Result pack =
        e2e::monpack({"-mon", dir.write("run.mon", content), "-out", dir.file("run.res")});
    EXPECT_EQ(pack.err + std::to_string(pack.status), "0");
    return dir.path() + "/run.";
}

// monexport's output on both sources of the run, which must agree.
std::string output(const std::string& run, std::vector<std::string> args) {
    args.insert(args.end(), {"-mon", run + "mon"});
    const std::string fromText = e2e::monexportOutput(args);
    args.end()[-2] = "-res";
    args.back() = run + "res";
    EXPECT_EQ(e2e::monexportOutput(args), fromText) << "-res differs from -mon";
    return fromText;
}

std::string variable(const std::string& name, const std::string& label) {
    return "  <Variable Name=\"" + name + "\" DisplayName=\"" + label + "\" TreeName=\"" + label +
           "\" TreePath=\"" + label + "\" />\n";
}

std::string keyAndVariables(const std::string& variables) {
    return kDeclaration + std::string("<Variables>\n") +
           variable("ACCUMULATED TIMESTEP", "Accumulated Time Step") + variables + "</Variables>\n";
}

TEST(Texts, BackslashesThatAreNoEscapeStandForThemselves) {
    e2e::TempDir dir;
    const std::string run = writeRun(dir,
                                     "monitor-file 1\n"
                                     "var \"C:\\runs\\case 1\" label=\"a\\qb\\\\c\\\"d\\te\"\n"
                                     "var D:\\bare\\word\n"
                                     "1 1 2\n");
    EXPECT_EQ(output(run, {"-showvars"}),
              "ACCUMULATED TIMESTEP\nC:\\runs\\case 1\nD:\\bare\\word\n");
    EXPECT_EQ(output(run, {"-varinfo"}),
              keyAndVariables(variable("C:\\runs\\case 1", "a\\qb\\c&quot;d&#9;e") +
                              variable("D:\\bare\\word", "D:\\bare\\word")));
}

TEST(Texts, EveryDocumentedNumberFormIsRead) {
    e2e::TempDir dir;
    const std::string run =
        writeRun(dir,
                 "monitor-file 1\n"
                 "var A\nvar B\n"
                 "1 NaN -nan\n2 Inf -Inf\n3 infinity +INFINITY\n4 +inf -iNf\n"
                 "5 .5 -.5\n6 5. +5.\n7 1E5 1e-5\n8 +.25E+1 -0\n9 1e-60 -1e-60\n");
    EXPECT_EQ(output(run, {"-noheader"}),
              "1,nan,-nan\n2,inf,-inf\n3,inf,inf\n4,inf,-inf\n5,5.00000000e-01,-5.00000000e-01\n"
              "6,5.00000000e+00,5.00000000e+00\n7,1.00000000e+05,9.99999975e-06\n"
              "8,2.50000000e+00,-0.00000000e+00\n9,0.00000000e+00,-0.00000000e+00\n");
}

TEST(Texts, OtherNumberFormsAreRejectedWithTheirLine) {
    e2e::TempDir dir;
    for (const std::string bad : {"0x1p3", "nan(1)", "+-1", "1e", ".", "e5", "1,5", "infinit"}) {
        const std::string mon = dir.write("bad.mon", "monitor-file 1\nvar A\n1 1\n2 " + bad + "\n");
        EXPECT_TRUE(
            e2e::failsWith(monexport({"-mon", mon}),
                           mon + ":4: value '" + bad + "' of variable 'A' is not a number"));
    }
}

// U+FEFF at the start of a text is a character like any other: U+FEFF "A"
// is a name of its own, and a label keeps it. Bytes that are not UTF-8 become
// one U+FFFD per maximal ill-formed part; -showvars, as Latin-1 lacks both,
// prints the run's names in UTF-8.
TEST(Texts, ByteOrderMarksAreKeptAndBrokenUtf8IsReplacedPerIllFormedPart) {
    e2e::TempDir dir;
    const std::string run =
        writeRun(dir, "monitor-file 1\nvar A label=x\nvar " + kBom + "A label=" + kBom +
                          "y\nvar \"" + kBom + kBom +
                          "\"\nvar \xE2\x82\x41 label=\"\xF0\x9F\x98 x\"\n"
                          "var \"\xC0\xAF\" label=\"\xE2\x82\"\nvar \"\xED\xA0\x80.\xE2\x82\xAC\"\n"
                          "1 1 2 3 4 5 6\n");
    const std::string euro = kFffd + kFffd + kFffd + ".\xE2\x82\xAC";
    EXPECT_EQ(
        output(run, {"-varinfo"}),
        keyAndVariables(variable("A", "x") + variable(kBom + "A", kBom + "y") +
                        variable(kBom + kBom, kBom + kBom) + variable(kFffd + "A", kFffd + " x") +
                        variable(kFffd + kFffd, kFffd) + variable(euro, euro)));
    EXPECT_EQ(output(run, {"-showvars"}), "ACCUMULATED TIMESTEP\nA\n" + kBom + "A\n" + kBom + kBom +
                                              "\n" + kFffd + "A\n" + kFffd + kFffd + "\n" + euro +
                                              "\n");
}

TEST(Texts, ControlCharactersInNamesAreEscapedInReports) {
    e2e::TempDir dir;
    const std::string folder = dir.file("run\ndir");
    dir.write("run\ndir/seg\n001.mon", "monitor-file 1\nvar \"P\\n1\"\n1 oops\n");
    EXPECT_TRUE(e2e::failsWith(monexport({"-dir", folder}),
                               dir.path() + "/run\\ndir/seg\\n001.mon:3: value 'oops' of "
                                            "variable 'P\\n1' is not a number"));
    dir.write("run\ndir/seg\n001.mon", "monitor-file 1\nvar A\n1 1\n");
    EXPECT_TRUE(e2e::failsWith(monexport({"-dir", folder, "-varlist", "A;X\nY;\tZ\x01"}),
                               "Requested variable(s) not found: \n    X\\nY\n    Z\\x01"));
}

}  // namespace
