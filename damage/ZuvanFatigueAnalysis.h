#pragma once
// Working data shared by the damage analyses: the records of a history as
// plain arrays, in time order, and the small rules every analysis applies.

#include <algorithm>
#include <array>
#include <locale>
#include <memory>
#include <ostream>
#include <sstream>
#include <vector>

#include "report/ZuvanFatigueOutputFile.h"
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

// The report of an analysis, rendered into memory and appended to its file
// whole at the end; without a file (compute only) it is rendered nowhere.
class ReportStream {
   public:
    // The report file, or null; text goes in the locale given (the
    // environment's native locale for a report).
    ReportStream(std::unique_ptr<ZuvanFatigueOutputFile> file, const std::locale& locale);
    ~ReportStream();
    std::ostream& Stream() { return m_file ? static_cast<std::ostream&>(m_text) : m_nowhere; }
    // Whether there is a report file.
    bool IsOpen() const { return m_file != nullptr; }
    // Appends what was rendered to the report file in one write (290 when it
    // could not be written whole; the file is then as it was before).
    void Finish(const char* tag);

   private:
    std::unique_ptr<ZuvanFatigueOutputFile> m_file;
    std::ostringstream m_text;
    std::ostream m_nowhere;
};

}  // namespace ZuvanFatigueAnalysis
