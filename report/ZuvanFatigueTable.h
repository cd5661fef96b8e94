#pragma once
// Tables of the calculation reports, described once and printed by one
// writer: the header lines, then for every row one or more lines of cells
// between bars, each cell a value right-aligned in its width. A cell's format
// says how its value meets the report stream: as the stream stands (fixed
// notation and the precision of the moment), in scientific notation of
// precision 3 with fixed notation again after it, or as an integer formatted
// in the classic locale whatever the report's locale.

#include <cstddef>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "report/CZuvanFatigueRapport.h"

namespace ZuvanFatigueTable {

enum class Format { kStream, kScientific, kClassic };

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
    Format format = Format::kStream;
};

template <class Row>
struct Table {
    std::vector<std::string> header;
    // The lines of one row, each a list of cells.
    std::vector<std::vector<Column<Row>>> lines;
    // Rows apart: between two rows, a line of empty cells of the first line's widths.
    bool separated = false;
};

// One cell into the report: "| " or " | ", then the value.
void WriteCell(CZuvanFatigueRapport& r, const Value& value, int width, Format format);

// The header lines, then the first count rows (every row unless told).
template <class Row>
void Write(CZuvanFatigueRapport& r, const Table<Row>& table, const std::vector<Row>& rows,
           std::size_t count = std::numeric_limits<std::size_t>::max()) {
    for (const std::string& line : table.header) r.Line(line);
    bool first = true;
    for (std::size_t i = 0; i < rows.size() && i < count; ++i) {
        const Row& row = rows[i];
        if (!first && table.separated) {
            for (const Column<Row>& c : table.lines.front())
                WriteCell(r, Value(), c.width, c.format);
            r.RowEnd();
        }
        first = false;
        for (const std::vector<Column<Row>>& line : table.lines) {
            for (const Column<Row>& c : line) {
                WriteCell(r, c.value ? c.value(row) : Value(), c.width, c.format);
            }
            r.RowEnd();
        }
    }
}

// A blank cell of width characters.
template <class Row>
Column<Row> Blank(int width) {
    return Column<Row>{width, nullptr, Format::kStream};
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
