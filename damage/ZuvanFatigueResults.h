#pragma once
// The results of the three damage analyses as plain values: everything a
// report shows and the JSON results give, in the order the analysis finds it.
// Stresses are MPa, angles radians (the report shows degrees), temperatures °C.
// A result holds copies of the objects its heading echoes.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "damage/ZuvanFatigueCorrection.h"
#include "damage/ZuvanFatigueCriticalPlaneValues.h"
#include "damage/ZuvanFatigueWeld.h"
#include "model/CZuvanFatigueComposant.h"
#include "model/CZuvanFatigueMateriau.h"
#include "model/CZuvanFatigueUWCourbe.h"
#include "model/CZuvanFatigueUWZone.h"
#include "stress/CZuvanFatigueHistorique.h"

namespace ZuvanFatigueResults {

// The names of the three analyses (the JSON line's "analysis").
constexpr const char kUWZoneAnalysis[] = "unwelded_zone";
constexpr const char kWeldAnalysis[] = "welded_zone";
constexpr const char kThroatAnalysis[] = "weld_throat";

// How an analysis ended: all its cycles summed, no damage on the critical
// plane (or throat) after the search, or a throat refused at the plasticity
// check (C11.3.11.1.1).
enum class Ending { kNormal, kZeroDamage, kRefused };

// How far an analysis got. The analysis computes into its result step by step
// and moves the stage on as each step is done; a result that a failure cut
// short is rendered as far as its stage, which is what a report written while
// the analysis ran would hold when the failure struck.
enum class Stage {
    kStarted,      // the report opened; nothing of it computed (too few records, look-ups)
    kDefined,      // the objects looked up: the heading, up to the search table's header
    kIntensified,  // welded zone: every record intensified (at once without imperfection)
    kSearched,     // the search chose its plane or its origin N0: the whole search table
    kSeries,       // throat: the series of N0 built
    kCounted,      // throat: its cycles counted, measured one by one
    kChecking,     // throat: every cycle measured, the plasticity check begun
    kFinal,        // every cycle ready for its final damage, computed one by one
    kDone,         // the whole analysis
};

// A counted cycle's start, peak (pivot) and end instants.
struct CycleInstants {
    int start = 0, pivot = 0, end = 0;
};

// Stresses of one record on the critical plane (or on the throat plane).
struct PlaneRecord {
    int instant = 0;
    double sxx = 0.0, sxy = 0.0, sxz = 0.0;
    double sigmaEq = 0.0;  // unwelded zones only: equivalent stress of the record
    double temperatureC = 0.0;
};

// One point of the equivalent stress variation series from the origin N0.
struct SeriesPoint {
    int instant = 0;
    double DSigmaEq = 0.0;
};

// The critical-plane search (C11.3.9.2.3): every plane of the grid in the
// order of the search, the rule that chose the critical plane and the plane
// it chose. sumScale multiplies Plane::sum where it is shown (the zone's Kt).
struct PlaneSearch {
    double searchCr = 0.0;
    double sumScale = 1.0;
    ZuvanFatigueCriticalPlane::PlaneChoice choice =
        ZuvanFatigueCriticalPlane::PlaneChoice::kStrictlyGreater;
    std::vector<ZuvanFatigueCriticalPlane::Plane> planes;
    // Positions in planes of each plane that became the best, in the order
    // found (the rows of the search table); the last is the critical plane.
    std::vector<std::size_t> improving;
    ZuvanFatigueCriticalPlane::Plane critical;
};

// A cycle of an unwelded zone: before and after the plasticity correction
// (C11.3.11.1.2), then the final damage (C11.3.11.2, C11.3.12.3).
struct UWZoneCycle : CycleInstants {
    ZuvanFatigueCorrection::CycleStresses before{}, after{};
    double temperatureC = 0.0, sigmaEqM = 0.0, Rpt = 0.0, Ke = 1.0, Kv = 1.0;
    double Kt = 1.0, Kf = 1.0, DSigmaF = 0.0, CtR = 1.0, Cs = 1.0, Ce = 1.0, Cm = 1.0, Cr = 1.0;
    int N = 0;
    double damage = 0.0;
};

struct UWZoneResult {
    CZuvanFatigueComposant component;
    CZuvanFatigueMateriau material;
    CZuvanFatigueUWZone zone;
    CZuvanFatigueUWCourbe curve;
    CZuvanFatigueHistorique history;
    bool ktApplied = false;  // geometric stresses: the zone's Kt multiplies them
    double zoneKt = 1.0;
    PlaneSearch search;
    Stage stage = Stage::kStarted;
    Ending ending = Ending::kNormal;
    // On the critical plane (empty on a zero-damage ending).
    std::vector<PlaneRecord> planeRecords;
    std::vector<SeriesPoint> series;
    std::vector<UWZoneCycle> cycles;
    double dSigmaMax = 0.0;         // largest corrected range of the spectrum
    std::size_t damagedCycles = 0;  // the first cycles whose final damage is computed
    double total = 0.0;
};

// The intensification of one record for the seam's form imperfection (C11.A6).
struct IntensifiedRecord {
    std::string name;
    double pressure = 0.0;
    double aPerpendicular = 1.0, aParallel = 1.0;
    std::array<double, 6> sijBefore{}, sijlmBefore{}, sijAfter{}, sijlmAfter{};
};

// A cycle of a welded zone: plasticity correction on DSigmaR, then the damage
// on the weld class with Ce and CtR (C11.3.12.4).
struct WeldCycle : CycleInstants {
    ZuvanFatigueCorrection::WeldCycleStresses before{}, after{};
    double temperatureC = 0.0, Rpt = 0.0, Ke = 1.0, Kv = 1.0;
    double CtR = 1.0, Cr = 1.0;
    int N = 0;
    double damage = 0.0;
};

struct WeldResult {
    ZuvanFatigueWeld::Parts parts;
    CZuvanFatigueHistorique history;
    bool hasImperfection = false;
    double externalPressure = 0.0;
    std::vector<IntensifiedRecord> intensified;  // empty without imperfection
    PlaneSearch search;
    Stage stage = Stage::kStarted;
    Ending ending = Ending::kNormal;
    std::vector<PlaneRecord> planeRecords;
    std::vector<SeriesPoint> series;
    std::vector<WeldCycle> cycles;
    double thickerMm = 0.0, Ce = 1.0, dSigmaMax = 0.0;
    std::size_t damagedCycles = 0;  // the first cycles whose final damage is computed
    double total = 0.0;
};

// A cycle of a weld throat; Rpt is known for the cycles checked (up to the
// refused one), the damage values on a normal ending only.
struct ThroatCycle : CycleInstants {
    double DSigmaR = 0.0, DSigmaRlm = 0.0, DSigmaRlt = 0.0, temperatureC = 0.0;
    bool checked = false;
    double Rpt = 0.0;
    double CtR = 1.0, Cr = 1.0;
    int N = 0;
    double damage = 0.0;
};

struct ThroatResult {
    ZuvanFatigueWeld::Parts parts;
    CZuvanFatigueHistorique history;
    std::vector<PlaneRecord> planeRecords;  // the stress vector on the throat plane
    double searchCr = 0.0;
    // Damage of every origin instant in order, and the determining one (C11.3.9.5.2).
    std::vector<ZuvanFatigueCriticalPlane::Origin> origins;
    // Positions in origins of each origin that became the best, in the order
    // found (the rows of the search table); the last is the determining one.
    std::vector<std::size_t> improvingOrigins;
    ZuvanFatigueCriticalPlane::Origin determining;
    Stage stage = Stage::kStarted;
    Ending ending = Ending::kNormal;
    std::vector<SeriesPoint> series;
    double dSigmaEqMax = 0.0;         // largest value of the series, the largest cycle
    std::size_t cycleCount = 0;       // cycles counted in the series of N0
    std::vector<ThroatCycle> cycles;  // the cycles measured, in the order counted
    int refusedCycle = -1;            // index in cycles on a refusal
    double thickerMm = 0.0, Ce = 1.0;
    std::size_t damagedCycles = 0;  // the first cycles whose final damage is computed
    double total = 0.0;
};

}  // namespace ZuvanFatigueResults
