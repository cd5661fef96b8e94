#pragma once
// The critical-plane engine's plain values, which results hold and reports
// show: a plane and an origin as the searches find them, how a plane becomes
// the best one, and the engine's two constants. No search here: a renderer
// that includes the results includes this, not the threaded search.

namespace ZuvanFatigueCriticalPlane {

// Damages closer than this are equal for the choice of the critical plane,
// and a best damage (of a plane or of a throat's origin) below it is no
// damage: the analysis ends with a total of 0.
constexpr double kDamageTolerance = 1e-08;

// The global correction factor Cr of the searches (C11.3.9.2.3, C11.3.9.5.2):
// low, so that nearly every cycle counts.
constexpr double kSearchCr = 0.2;

// How a plane becomes the best one. kToleranceThenSum (unwelded zones): its
// damage exceeds the best by more than kDamageTolerance, or is equal within
// kDamageTolerance with a strictly greater sum of normal stresses. kStrictlyGreater
// (welded zones): its damage is strictly greater; on equality the first stays.
enum class PlaneChoice { kToleranceThenSum, kStrictlyGreater };

// The determining origin of one series family: its index and damage.
struct Origin {
    int index = -1;
    double damage = 0.0;
};

struct Plane {
    double theta = 0.0;  // rad
    double phi = 0.0;    // rad
    int origin = -1;     // index of the determining origin instant N0
    double damage = 0.0;
    double sum = 0.0;  // sum of the normal stresses Sx'x' of all records (unscaled)
};

}  // namespace ZuvanFatigueCriticalPlane
