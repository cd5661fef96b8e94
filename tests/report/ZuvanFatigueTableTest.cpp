// The report tables' writer: each table's own notation and precision, and
// header bars that stand on the cells' bars in every reference report.

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "report/CZuvanFatigueRapport.h"
#include "report/ZuvanFatigueTable.h"
#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTable;

namespace {

struct Row {
    double angle, damage, sum;
};

Table<Row> SearchLike() {
    Table<Row> t;
    t.header = {"|    Theta   |  Dommage   |    Sum     |"};
    t.lines = {{
        {10, [](const Row& r) { return Value(r.angle); }, Format::kPlain, 6},
        {10, [](const Row& r) { return Value(r.damage); }, Format::kScientific},
        {10, [](const Row& r) { return Value(r.sum); }},
    }};
    return t;
}

// Positions, in characters, of the bars of a line.
std::vector<std::size_t> Bars(const std::string& line) {
    std::vector<std::size_t> bars;
    std::size_t at = 0;
    for (unsigned char c : line) {
        if ((c & 0xC0) == 0x80) continue;  // inside a UTF-8 character
        if (c == '|') bars.push_back(at);
        ++at;
    }
    return bars;
}

}  // namespace

// Whatever the stream held before, a table writes its reals in its own
// notation and precision; a column's first-row precision holds on the first
// row only.
TEST(ZuvanFatigueTable, TablesStateTheirOwnNotationAndPrecision) {
    const std::vector<Row> rows = {{0.0, 1.5e-6, 400.0}, {2.5, 2.25e-5, 396.9626}};
    const std::string expected =
        "|    Theta   |  Dommage   |    Sum     |\n"
        "|   0.000000 |  1.500e-06 |    400.000 |\n"
        "|      2.500 |  2.250e-05 |    396.963 |\n";
    for (int before : {0, 1, 2}) {
        SCOPED_TRACE(before);
        std::ostringstream os;
        if (before == 1) os << std::scientific << std::setprecision(9);
        if (before == 2) os << std::fixed << std::setprecision(1);
        CZuvanFatigueRapport r(os);
        Write(r, SearchLike(), rows);
        EXPECT_EQ(os.str(), expected);
    }
    // The default notation with 6 significant digits, as the records' echo.
    Table<Row> echo;
    echo.header = {"|    Sxx     |    Sxy     |"};
    echo.notation = Notation::kDefault;
    echo.precision = 6;
    echo.lines = {{{10, [](const Row& r) { return Value(r.angle); }},
                   {10, [](const Row& r) { return Value(r.sum); }}}};
    std::ostringstream os;
    os << std::fixed << std::setprecision(3);
    CZuvanFatigueRapport r(os);
    Write(r, echo, std::vector<Row>{{0.0, 0.0, 396.9626}}, 1);
    EXPECT_EQ(os.str(), "|    Sxx     |    Sxy     |\n|          0 |    396.963 |\n");
}

// In every reference report, each table's lines (header, rows, lines between
// rows) have their bars at the same characters: the header text agrees with
// the cell widths.
TEST(ZuvanFatigueTable, HeaderBarsStandOnTheCellsBarsInEveryReport) {
    namespace fs = boost::filesystem;
    const fs::path expected = fs::path(ZUVAN_TEST_DIR) / "expected";
    std::size_t reports = 0, tables = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(expected)) {
        if (!fs::is_regular_file(entry.path())) continue;
        ++reports;
        std::istringstream text(ZuvanFatigueTest::ReadFile(entry.path().string()));
        std::string line, first;
        std::vector<std::size_t> bars;
        int lineNumber = 0;
        while (std::getline(text, line)) {
            ++lineNumber;
            if (line.empty() || line[0] != '|') {
                first.clear();
                continue;
            }
            if (first.empty()) {
                first = line;
                bars = Bars(line);
                ++tables;
                continue;
            }
            EXPECT_EQ(Bars(line), bars)
                << entry.path().filename().string() << ":" << lineNumber << "\n"
                << first << "\n"
                << line;
        }
    }
    EXPECT_GT(reports, 0u);
    EXPECT_GT(tables, 0u);
}
