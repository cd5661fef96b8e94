#pragma once
// Plausibility of a history's values, for --check: what a deck in the wrong
// units usually shows (stresses in GPa, totals in ksi or without their
// thermal part, a pressure in bar, temperatures in kelvins). The values stay
// valid: a warning changes no result, no code and no report.

#include <vector>

#include "stress/CZuvanFatigueHistorique.h"

namespace ZuvanFatiguePlausibility {

// Every stress component of the history below this in magnitude (MPa).
constexpr double kSmallStressMPa = 1.0;
// A stress component above this in magnitude (MPa).
constexpr double kLargeStressMPa = 5000.0;
// A pressure above this (MPa).
constexpr double kLargePressureMPa = 100.0;
// A pressure above the largest membrane stress of the history divided by
// this: the membrane stress of a shell under pressure is about p R / t, and a
// wall with R / t below 10 is seldom met, while a pressure in bar (ten times
// its value in MPa) gives it for every R / t below 100. Not looked at when
// the history's membrane stresses are all zero.
constexpr double kMembranePerPressure = 10.0;
// The total-stress range of a record pair below its linearised range by
// more than this (MPa) and this fraction of it.
constexpr double kRangeShortfallMPa = 1.0;
constexpr double kRangeShortfallFraction = 0.01;
// The lowest temperature of the history at or above this (degrees).
constexpr double kKelvinLikeC = 273.0;

enum class Kind {
    kAllStressesSmall,       // value: the largest magnitude of all components
    kLargeStress,            // record: the first; value: its largest magnitude
    kTotalBelowLinearised,   // record and other: the first pair; value, limit: the two ranges
    kLargePressure,          // record: the first; value: its pressure
    kPressureAboveMembrane,  // record: the first; value: its pressure, limit: largest membrane
    kKelvinLikeTemperatures  // value: the lowest temperature
};

struct Warning {
    Kind kind;
    int record = -1;  // number of the (first) record concerned, -1 for the whole history
    int other = -1;   // the pair's other record (kTotalBelowLinearised)
    int count = 0;    // records (pairs) concerned
    double value = 0.0;
    double limit = 0.0;
};

// The ranges compared are von Mises equivalents of the tensor differences:
// total Sij against linearised Sijlm + Sijlt, for each record against the
// first record and against the one before it.
std::vector<Warning> Check(const CZuvanFatigueHistorique& history);

}  // namespace ZuvanFatiguePlausibility
