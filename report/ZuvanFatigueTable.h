#pragma once
// Tables of the calculation reports, described once and printed by one
// writer: the header lines, then for every row one or more lines of cells
// between bars, each cell a value right-aligned in its width. Each table
// states its own notation and precision for its reals; nothing is inherited
// from what the stream held before. A cell's format says how its value is
// written: a number in the table's notation, a real in scientific notation of
// precision 3 (with fixed notation again after it), or an integer formatted in
// the classic locale whatever the report's locale. The stream keeps the
// notation and precision of the last cell written.

#include <cstddef>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "report/CZuvanFatigueRapport.h"

namespace ZuvanFatigueTable {

enum class Format { kPlain, kScientific, kClassic };

// The notation of a table's plain reals: fixed with precision decimals, or the
// stream's default notation with precision significant digits.
enum class Notation { kFixed, kDefault };

// The value of a cell: an integer, a real, or nothing (a blank cell).
struct Value {
    enum class Kind { kInteger, kReal, kBlank };
    Value() : kind(Kind::kBlank) {}
    Value(int v) : kind(Kind::kInteger), integer(v) {}
    Value(double v) : kind(Kind::kReal), real(v) {}
    Kind kind;
    long long integer = 0;
    double real = 0.0;
};

template <class Row>
struct Column {
    int width;
    std::function<Value(const Row&)> value;  // empty: a blank cell
    Format format = Format::kPlain;
    // The precision of this column's plain reals on the first row, when it is
    // not the table's (0): the search table's angles show 6 decimals on its
    // first row, 3 on the others.
    int firstRowPrecision = 0;
};

template <class Row>
struct Table {
    std::vector<std::string> header;
    // The lines of one row, each a list of cells.
    std::vector<std::vector<Column<Row>>> lines;
    // Rows apart: between two rows, a line of empty cells of the first line's widths.
    bool separated = false;
    Notation notation = Notation::kFixed;
    int precision = 3;
};

// One cell into the report: "| " or " | ", then the value; plain reals in
// notation with precision.
void WriteCell(CZuvanFatigueRapport& r, const Value& value, int width, Format format,
               Notation notation, int precision);

// The header lines, then the first count rows (every row unless told).
template <class Row>
void Write(CZuvanFatigueRapport& r, const Table<Row>& table, const std::vector<Row>& rows,
           std::size_t count = std::numeric_limits<std::size_t>::max()) {
    for (const std::string& line : table.header) r.Line(line);
    bool first = true;
    for (std::size_t i = 0; i < rows.size() && i < count; ++i) {
        const Row& row = rows[i];
        if (!first && table.separated) {
            for (const Column<Row>& c : table.lines.front()) {
                WriteCell(r, Value(), c.width, c.format, table.notation, table.precision);
            }
            r.RowEnd();
        }
        for (const std::vector<Column<Row>>& line : table.lines) {
            for (const Column<Row>& c : line) {
                const int precision =
                    first && c.firstRowPrecision > 0 ? c.firstRowPrecision : table.precision;
                WriteCell(r, c.value ? c.value(row) : Value(), c.width, c.format, table.notation,
                          precision);
            }
            r.RowEnd();
        }
        first = false;
    }
}

// A blank cell of width characters.
template <class Row>
Column<Row> Blank(int width) {
    return Column<Row>{width, nullptr, Format::kPlain};
}

// The start, pivot and end instants of a cycle (members start, pivot, end of
// the row), in cells of 6.
template <class Row>
std::vector<Column<Row>> InstantColumns() {
    return {Column<Row>{6, [](const Row& c) { return Value(c.start); }},
            Column<Row>{6, [](const Row& c) { return Value(c.pivot); }},
            Column<Row>{6, [](const Row& c) { return Value(c.end); }}};
}

// The instant columns followed by more cells.
template <class Row>
std::vector<Column<Row>> WithInstants(std::vector<Column<Row>> more) {
    std::vector<Column<Row>> line = InstantColumns<Row>();
    line.insert(line.end(), more.begin(), more.end());
    return line;
}

// Three blank cells of 6 under the instants, followed by more cells.
template <class Row>
std::vector<Column<Row>> UnderInstants(std::vector<Column<Row>> more) {
    std::vector<Column<Row>> line(3, Blank<Row>(6));
    line.insert(line.end(), more.begin(), more.end());
    return line;
}

}  // namespace ZuvanFatigueTable
