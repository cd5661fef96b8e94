#pragma once
// Working data shared by the damage analyses: the records of a history as
// plain arrays, in time order, and the small rules every analysis applies.

#include <algorithm>
#include <array>
#include <fstream>
#include <memory>
#include <ostream>
#include <vector>

#include "stress/CZuvanFatiguePlasticityCriteria.h"

class CZuvanFatigueHistorique;

namespace ZuvanFatigueAnalysis {

// One record of a history: its instant and the tensors the analyses use
// (six components each, Sxx, Sxy, Sxz, Syy, Syz, Szz, MPa).
struct Record {
    int instant;
    std::array<double, 6> sij;    // total
    std::array<double, 6> sijm;   // membrane
    std::array<double, 6> sijlm;  // linearised mechanical
    std::array<double, 6> sijlt;  // linearised thermal
    double temperatureC;
    double pressure;
};

// The records in key order (time order).
std::vector<Record> Records(const CZuvanFatigueHistorique& history);

// Index of the record of an instant, or -1 when the history has none.
int IndexOf(const std::vector<Record>& records, int instant);

// Variation of a tensor during a cycle of pivot p, start s and end e (record
// indices): the larger of the equivalent stresses of at(s) - at(p) and
// at(e) - at(p), the differences taken component by component.
template <class TensorAt>
double LargestVariation(const CZuvanFatiguePlasticityCriteria& criterion, const TensorAt& at, int p,
                        int s, int e) {
    CZuvanFatiguePlasticityCriteria::Tensor ds, de;
    const auto& tp = at(p);
    const auto& ts = at(s);
    const auto& te = at(e);
    for (int c = 0; c < 6; ++c) {
        ds[c] = ts[c] - tp[c];
        de[c] = te[c] - tp[c];
    }
    return std::max(criterion.EquivalentStress(ds), criterion.EquivalentStress(de));
}

// Variation of one tensor of the records (&Record::sijlm, &Record::sijlt, ...)
// during the cycle: LargestVariation on that member.
inline double LargestVariation(const CZuvanFatiguePlasticityCriteria& criterion,
                               const std::vector<Record>& records,
                               const std::array<double, 6> Record::*tensor, int p, int s, int e) {
    return LargestVariation(
        criterion, [&](int k) -> const std::array<double, 6>& { return records[k].*tensor; }, p, s,
        e);
}

// Record indices of the pivot, start and end instants of a counted cycle;
// 210 when one of them is not a record of the history.
struct CycleIndices {
    int pivot, start, end;
};
CycleIndices Locate(const std::vector<Record>& records, int pivot, int start, int end,
                    const char* tag);

// Cycle temperature t* = 0.75 * largest + 0.25 * smallest record temperature
// over the indices between p and s and between e and p (bounds included).
double CycleTemperature(const std::vector<Record>& records, int p, int s, int e);

// Damage rate 1/N of one cycle; N must be positive (440 otherwise, a range so
// large that the curve gives no cycle at all).
double DamageRate(int permissibleCycles, const char* tag);

// The report stream of an analysis: the report file when one was opened,
// otherwise a stream that writes nothing (compute only).
class ReportStream {
   public:
    explicit ReportStream(std::unique_ptr<std::ofstream> file);
    std::ostream& Stream() { return m_file ? static_cast<std::ostream&>(*m_file) : m_nowhere; }
    // Whether a report file was opened.
    bool IsOpen() const { return m_file != nullptr; }
    // Flushes and closes the report (290 when it could not be written whole).
    void Finish(const char* tag);

   private:
    std::unique_ptr<std::ofstream> m_file;
    std::ostream m_nowhere;
};

// Flushes a report; a report that could not be written whole (a full disk)
// fails with 290. Does nothing without a report.
void FinishReport(std::ofstream* report, const char* tag);

}  // namespace ZuvanFatigueAnalysis
