#include "libs/mondata/formats/openfoam/FoamDataParser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "libs/exception/Error.h"
#include "libs/mondata/text/PiecesTestSupport.h"

namespace {

using mon::FoamTable;

FoamTable parse(const std::string& text) {
    return mon::FoamDataParser("f.dat").parse(text);
}

std::string errorOf(const std::string& text) {
    try {
        parse(text);
    } catch (const owl::Error& error) {
        return error.what();
    }
    return "no error";
}

std::string columnNames(const FoamTable& table) {
    std::string names;
    for (const auto& column : table.columns) names += (names.empty() ? "" : "|") + column.name();
    return names;
}

// "time/loop: column=value ..." per row.
std::string rows(const FoamTable& table) {
    std::ostringstream out;
    for (size_t row = 0; row < table.rows.size(); ++row) {
        out << table.rows[row].time << "/" << table.rows[row].loop << ":";
        for (size_t cell = table.rows[row].firstCell; cell < table.cellEnd(row); ++cell)
            out << " " << table.columns[table.cells[cell].column].name() << "="
                << table.cells[cell].value;
        out << "\n";
    }
    return out.str();
}

// A file, its columns ("" to leave them unchecked) and its rows.
struct Parsed {
    const char* text;
    const char* columns;
    const char* rows;
};

const Parsed kParsed[] = {
    // Header columns; rows separated by tabs or blanks; a last line still
    // being written is left out.
    {"# Force coefficients\n# magUInf : 1\n# Time   \tCm  \tCd\tCl(f)\n0.1\t1\t2\t3\n"
     "  0.2   4 5   6\r\n0.3\t7\t8",
     "Cm|Cd|Cl(f)", "0.1/1: Cm=1 Cd=2 Cl(f)=3\n0.2/1: Cm=4 Cd=5 Cl(f)=6\n"},
    // Vectors, tensors and nested vectors give their components.
    {"# Time forces(pressure viscous) U\tR\n1 ((1 2 3) (4 5 6)) (7 8 9) (1 2 3 4 5 6)\n",
     "forces pressure_x|forces pressure_y|forces pressure_z|forces viscous_x|forces viscous_y|"
     "forces viscous_z|U_x|U_y|U_z|R_xx|R_xy|R_xz|R_yy|R_yz|R_zz",
     "1/1: forces pressure_x=1 forces pressure_y=2 forces pressure_z=3 forces viscous_x=4 "
     "forces viscous_y=5 forces viscous_z=6 U_x=7 U_y=8 U_z=9 R_xx=1 R_xy=2 R_xz=3 R_yy=4 "
     "R_yz=5 R_zz=6\n"},
    // Texts and N/A leave no value; a row of nothing but N/A, whatever its
    // length, is no row, and the first row with values shows the vectors.
    {"# Time p k\n1 N/A 2\n2 3 nan\n", "p|k", "1/1: k=2\n2/1: p=3 k=nan\n"},
    {"# Time p U\n0 N/A\n0.5 N/A N/A\n1 1 (2 3 4)\n", "p|U_x|U_y|U_z",
     "1/1: p=1 U_x=2 U_y=3 U_z=4\n"},
    // Values as written, in double precision; a probe not found (-1e+300,
    // -1.79769e+307 at any precision): no value.
    {"# Time a b c d e\n1 5.3e+56 0.05 -1e+300 -1.79769e+307 -1.797693134862316e+307\n",
     "a|b|c|d|e", "1/1: a=5.3e+56 b=0.05 c=3.40282e+38 d=3.40282e+38 e=3.40282e+38\n"},
    // Rows of one time are loops; an earlier time starts over from there.
    {"# Time a\n1 1\n2 2\n2 3\n3 4\n4 5\n2 6\n3 7\n", "a", "1/1: a=1\n2/1: a=6\n3/1: a=7\n"},
    // Long format: rows of one time make one record, a field again the next loop.
    {"# Time field min\n1 p -1\n1 U 2\n2 p -2\n2 p -3\n", "p min|U min",
     "1/1: p min=-1 U min=2\n2/1: p min=-2\n2/2: p min=-3\n"},
    // A new header block changes the columns.
    {"# Time a b\n1 1 2\n# ===\n# Title\n# Time b c\n2 3 4\n", "a|b|c",
     "1/1: a=1 b=2\n2/1: b=3 c=4\n"},
};

TEST(FoamDataParser, ReadsColumnsAndRows) {
    for (const Parsed& p : kParsed) {
        const FoamTable table = parse(p.text);
        EXPECT_EQ(columnNames(table), p.columns) << p.text;
        EXPECT_EQ(rows(table), p.rows) << p.text;
    }
}

// A file read block by block: whatever a piece leaves unread comes again at
// the start of the next. Every piece size gives the table read whole.
TEST(FoamDataParser, AFileReadInPiecesIsTheFileReadWhole) {
    const std::string text =
        "# Probe 0 (0 0 1)\n# Probe 1 (0 1 0)\n#  Probe 0 1\n#   Time\n"
        "0.1 (1 2 3) (4 5 6)\r\n0.2 (7 8 9) (1 2 3)\n0.2 (2 2 2) N/A\n"
        "# ===\n# Time a b\n0.3 1e-05 2.5\n0.25 3 4\n0.35 5 6";  // still being written
    const FoamTable whole = parse(text);
    ASSERT_EQ(whole.rows.size(), 4u);
    for (size_t piece = 1; piece <= text.size(); ++piece) {
        mon::FoamDataParser parser("f.dat");
        mon::testing::feedInPieces(
            text, piece, [&](std::string_view lines) { return parser.parseLines(lines); });
        const FoamTable table = parser.finish();
        EXPECT_EQ(columnNames(table), columnNames(whole)) << piece << "-byte pieces";
        EXPECT_EQ(rows(table), rows(whole)) << piece << "-byte pieces";
    }
}

TEST(FoamDataParser, RecognisesDataFilesByTheirHeader) {
    EXPECT_TRUE(mon::looksLikeFoamData("# Residuals\n\n# Time p\n"));
    EXPECT_TRUE(mon::looksLikeFoamData("#  Time\n"));
    EXPECT_FALSE(mon::looksLikeFoamData("# Residuals\n0.1 2\n"));
    EXPECT_FALSE(mon::looksLikeFoamData("monitor-file 1\n# Time\n"));
    EXPECT_FALSE(mon::looksLikeFoamData("# Timer a\n"));
    std::string probes;
    for (int i = 0; probes.size() < 4096; ++i)
        probes += "# Probe " + std::to_string(i) + " (0 0 0)\n";
    EXPECT_TRUE(mon::looksLikeFoamData(probes.substr(0, 4096)));
    EXPECT_FALSE(mon::looksLikeFoamData(probes.substr(0, 100)));
}

TEST(FoamDataParser, DamagedContentNamesFileAndLine) {
    EXPECT_EQ(errorOf("# Title\n1 2\n"), "f.dat:2: a row before the column line ('# Time ...')");
    EXPECT_EQ(errorOf("# Time a\nx 2\n"), "f.dat:2: time 'x' is not a number");
    EXPECT_EQ(errorOf("# Time a\n1 2.5.1\n"),
              "f.dat:2: value '2.5.1' of column 'a' is not a number");
    EXPECT_EQ(errorOf("# Time U\n1 (1 2 3)\n2 (1 2)\n"),
              "f.dat:3: column 'U' holds 2 numbers here, but 3 in its first row");
    EXPECT_EQ(errorOf("# Time U\n1 (1 2 3\n"), "f.dat:2: unbalanced parentheses in '(1 2 3'");
    EXPECT_EQ(errorOf("# Time U\n1 (1 2)\n2 (1 2 3e)\n"),
              "f.dat:3: value '3e' of column 'U_y' is not a number");
    EXPECT_EQ(errorOf("# Time U\n1 ()\n"), "f.dat:2: column 'U' holds no numbers");
    EXPECT_EQ(errorOf("# Time U\n1 (1 2 3)\n2 4\n"),
              "f.dat:3: column 'U' holds 1 number here, but 3 in its first row");
}

}  // namespace
