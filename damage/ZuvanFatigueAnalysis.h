#pragma once
// Working data shared by the damage analyses: the records of a history as
// plain arrays, in time order, and the small rules every analysis applies.

#include <array>
#include <fstream>
#include <vector>

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

// Damage rate 1/N of one cycle; N must be positive (440 otherwise, a range so
// large that the curve gives no cycle at all).
double DamageRate(int permissibleCycles, const char* tag);

// Flushes a report; a report that could not be written whole (a full disk)
// fails with 290. Does nothing without a report.
void FinishReport(std::ofstream* report, const char* tag);

}  // namespace ZuvanFatigueAnalysis
