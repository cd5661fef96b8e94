#pragma once
// Pieces shared by the reports of the analyses: the tables that more than one
// report prints, the weld heading and final-damage heading, the closing lines.

#include <string>
#include <vector>

#include "damage/ZuvanFatigueResults.h"
#include "report/CZuvanFatigueRapport.h"
#include "report/ZuvanFatigueTable.h"

namespace ZuvanFatigueReportParts {

using ZuvanFatigueTable::Column;
using ZuvanFatigueTable::Format;
using ZuvanFatigueTable::Table;
using ZuvanFatigueTable::Value;

// The search table, in fixed notation with 3 decimals (6 for the angles of
// its first row): its header, then a row for each plane that became the
// best, in order. withSum adds the column of the normal-stress sum (times the sum
// scale).
void WriteSearchTable(CZuvanFatigueRapport& r, const ZuvanFatigueResults::PlaneSearch& search,
                      bool withSum);

// The legend lines of the cycle values and factors of a weld report.
extern const char* const kWeldCycleLegend[8];

// The search section of a critical-plane report: its title, the intro lines
// and the search table; on a zero-damage ending, the zero-damage lines with
// zero as the total. Returns whether the report goes on.
bool WritePlaneSearch(CZuvanFatigueRapport& r, const std::vector<const char*>& intro,
                      const ZuvanFatigueResults::PlaneSearch& search,
                      ZuvanFatigueResults::Ending ending, bool withSum, const std::string& zero);

// The critical plane of a critical-plane report: the box of the plane's
// stresses (its second title line given), the angles (degrees) and origin,
// the stresses per record (with SigmaEq or not), the DSigmaEq series and the
// head of the section of the counted cycles.
void WriteCriticalPlane(CZuvanFatigueRapport& r, const std::string& secondTitleLine,
                        const ZuvanFatigueCriticalPlane::Plane& plane,
                        const std::vector<ZuvanFatigueResults::PlaneRecord>& records,
                        bool withSigmaEq,
                        const std::vector<ZuvanFatigueResults::SeriesPoint>& series,
                        std::size_t cycleCount);

// Head of the section of the counted cycles: its title and their number.
void WriteCycleCount(CZuvanFatigueRapport& r, std::size_t cycleCount);

// Stresses on the plane per record: instant, Sx'x', Sx'y', Sx'z', [SigmaEq,]
// Temp, in fixed notation with precision decimals.
void WritePlaneRecords(CZuvanFatigueRapport& r, const std::string& header,
                       const std::vector<ZuvanFatigueResults::PlaneRecord>& records,
                       bool withSigmaEq, int precision);

// The DSigmaEq series: instant, value.
void WriteSeries(CZuvanFatigueRapport& r, const std::string& header,
                 const std::vector<ZuvanFatigueResults::SeriesPoint>& series);

// The cells that the plasticity tables of zones and welds share (width 8):
// before the correction DSigmaRlm, DSigmaRlt, Temp and Rpt; after it
// DSigmaRlm, DSigmaRlt, Ke and Kv. Row has before, after, temperatureC, Rpt, Ke, Kv.
template <class Row>
std::vector<Column<Row>> PlasticityBefore(std::vector<Column<Row>> first) {
    first.insert(first.end(), {
                                  {8, [](const Row& c) { return Value(c.before.DSigmaRlm); }},
                                  {8, [](const Row& c) { return Value(c.before.DSigmaRlt); }},
                                  {8, [](const Row& c) { return Value(c.temperatureC); }},
                                  {8, [](const Row& c) { return Value(c.Rpt); }},
                              });
    return ZuvanFatigueTable::WithInstants<Row>(first);
}
template <class Row>
std::vector<Column<Row>> PlasticityAfter(std::vector<Column<Row>> first) {
    first.insert(first.end(), {
                                  {8, [](const Row& c) { return Value(c.after.DSigmaRlm); }},
                                  {8, [](const Row& c) { return Value(c.after.DSigmaRlt); }},
                                  {8, [](const Row& c) { return Value(c.Ke); }},
                                  {8, [](const Row& c) { return Value(c.Kv); }},
                              });
    return ZuvanFatigueTable::UnderInstants<Row>(first);
}

// The legend of a weld report: its own first lines, the lines of the cycle
// values and factors, its own last lines, the page break.
void WriteWeldLegend(CZuvanFatigueRapport& r, const std::vector<const char*>& head,
                     const std::vector<const char*>& tail);

// Size of the counted cycles of a weld report: instants, DSigmaR, DSigmaRlm,
// DSigmaRlt and Temp in cells of 10.
template <class Row>
Table<Row> WeldCycleSizeTable(std::function<Value(const Row&)> dSigmaR,
                              std::function<Value(const Row&)> dSigmaRlm,
                              std::function<Value(const Row&)> dSigmaRlt) {
    Table<Row> t;
    t.header = {"| Temps1 | Temps2 | Temps3 |   DSigmaR  |  DSigmaRlm |  DSigmaRlt |   Temp.    |",
                "| Début  | Pic    | Fin    |            |            |            |            |"};
    t.lines = {ZuvanFatigueTable::WithInstants<Row>(
        {{10, dSigmaR}, {10, dSigmaRlm}, {10, dSigmaRlt}, {10, [](const Row& c) {
                                                               return Value(c.temperatureC);
                                                           }}})};
    return t;
}

// The final table of a weld report (after WriteWeldFinalHeading), its header
// and cells: instants, DSigmaR, Temp, CtR, Cr, N (in nFormat) and the damage.
template <class Row>
Table<Row> WeldFinalTable(std::function<Value(const Row&)> dSigmaR, Format nFormat) {
    Table<Row> t;
    t.header = {
        "| Temps1 | Temps2 | Temps3 |  DSigmaR  |   Temp.  |   CtR   |   Cr    |     N      "
        "|  Dommage   |",
        "| Début  | Pic    | Fin    |           |          |         |         |            "
        "|            |"};
    t.lines = {ZuvanFatigueTable::WithInstants<Row>({
        {9, dSigmaR},
        {8, [](const Row& c) { return Value(c.temperatureC); }},
        {7, [](const Row& c) { return Value(c.CtR); }},
        {7, [](const Row& c) { return Value(c.Cr); }},
        {10, [](const Row& c) { return Value(c.N); }, nFormat},
        {10, [](const Row& c) { return Value(c.damage); }, Format::kScientific},
    })};
    return t;
}

// Head of a weld report after the banner: the two components and their
// materials, a page break, the seam, its classification and the fatigue
// class under their section titles, a page break, the history box and echo,
// a page break.
void WriteWeldHeading(CZuvanFatigueRapport& r, const ZuvanFatigueWeld::Parts& parts,
                      const std::string& seamTitle, const std::string& classificationTitle,
                      const std::vector<std::string>& classTitle,
                      const CZuvanFatigueHistorique& history);

// Head of the final-damage section of a weld report: the title, the
// explanation lines, the thicker plate, Ce and the largest cycle of the
// spectrum (WeldFinalTable follows).
void WriteWeldFinalHeading(CZuvanFatigueRapport& r, const std::vector<const char*>& intro,
                           double thickerMm, double ce, double dSigmaMax);

// The closing lines of a report: the total damage rate (scientific, precision
// 4, width 10), the rule of 61 '*', fixed notation again and the final form feed.
void WriteTotal(CZuvanFatigueRapport& r, double total);

// The lines of a zero-damage ending: what is nul, the total of 0 as text and
// the rule of 53 '*'.
void WriteZeroDamage(CZuvanFatigueRapport& r, const std::string& what, const std::string& zero);

}  // namespace ZuvanFatigueReportParts
