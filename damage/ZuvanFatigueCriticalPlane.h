#pragma once
// The search of the critical plane (C11.3.9.2.3) shared by the unwelded-zone
// and the welded-zone analyses: over the 72 x 72 grid of plane orientations,
// for every origin instant, the equivalent stress variation series is counted
// into cycles and their damage rates are summed; the plane of the largest
// damage wins.

#include <cmath>
#include <limits>
#include <vector>

#include "damage/ZuvanFatigueAnalysis.h"
#include "damage/ZuvanFatiguePlane.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "stress/CZuvanFatigueCountingMethod.h"

namespace ZuvanFatigueCriticalPlane {

// Damages closer than this are equal for the choice of the critical plane.
constexpr double kDamageTie = 1e-08;

struct Plane {
    double theta = 0.0;  // rad
    double phi = 0.0;    // rad
    int origin = -1;     // index of the determining origin instant N0
    double damage = 0.0;
    double sum = 0.0;  // sum of the normal stresses Sx'x' of all records (unscaled)
};

// Working buffers of one search, reused by every plane and origin; after Run
// they hold the values of the last plane searched.
class Search {
   public:
    Search(const std::vector<ZuvanFatigueAnalysis::Record>& records,
           const CZuvanFatigueCountingMethod& counting);

    // scale multiplies every DSigmaEq (the zone's Kt when it applies, else 1).
    // permissible(range, largest) gives the permissible cycles of a counted
    // cycle of the series whose largest value is largest. With tieBreakOnSum,
    // a plane whose damage equals the best one within kDamageTie wins when its
    // sum of normal stresses is strictly greater. onBest(plane) is called each
    // time a plane becomes the best one.
    template <class Permissible, class OnBest>
    Plane Run(double scale, bool tieBreakOnSum, Permissible&& permissible, OnBest&& onBest);

    std::vector<int>& RecordInstants() { return m_recordInstants; }
    std::vector<double>& Sxy() { return m_sxy; }
    std::vector<double>& Sxz() { return m_sxz; }
    std::vector<int>& Instants() { return m_instants; }
    std::vector<double>& Values() { return m_values; }
    CZuvanFatigueCountingMethod::CycleMap& Cycles() { return m_cycles; }
    CZuvanFatigueCountingMethod::RangeMap& Ranges() { return m_ranges; }

   private:
    const std::vector<ZuvanFatigueAnalysis::Record>& m_records;
    const CZuvanFatigueCountingMethod& m_counting;
    int m_n;
    std::vector<int> m_recordInstants;
    std::vector<double> m_sxy, m_sxz;
    std::vector<int> m_instants;
    std::vector<double> m_values;
    CZuvanFatigueCountingMethod::CycleMap m_cycles;
    CZuvanFatigueCountingMethod::RangeMap m_ranges;
};

template <class Permissible, class OnBest>
Plane Search::Run(double scale, bool tieBreakOnSum, Permissible&& permissible, OnBest&& onBest) {
    static const char kTag[] = "<ZuvanFatigueCriticalPlane::Search::Run>";
    namespace plane = ZuvanFatiguePlane;
    Plane best;
    best.damage = std::numeric_limits<double>::lowest();
    const int n = m_n;
    for (double theta : plane::GridAngles()) {
        for (double phi : plane::GridAngles()) {
            const plane::Frame frame = plane::MakeFrame(theta, phi);
            double sum = 0.0;
            for (int k = 0; k < n; ++k) {
                double sxx;
                plane::PlaneStresses(m_records[k].sij, frame, sxx, m_sxy[k], m_sxz[k]);
                sum += sxx;
            }
            double planeDamage = std::numeric_limits<double>::lowest();
            int planeOrigin = -1;
            for (int n0 = 0; n0 < n; ++n0) {
                const double largest =
                    plane::OriginSeries(n, n0, m_sxy.data(), m_sxz.data(), m_recordInstants.data(),
                                        scale, m_instants.data(), m_values.data());
                m_counting.LoadingCycles(n + 1, m_instants.data(), m_values.data(), m_cycles,
                                         m_ranges);
                double damage = 0.0;
                for (const auto& cycle : m_cycles) {
                    damage +=
                        ZuvanFatigueAnalysis::DamageRate(permissible(cycle.second, largest), kTag);
                }
                // On equal damage the earlier origin stays.
                if (damage > planeDamage) {
                    planeDamage = damage;
                    planeOrigin = n0;
                }
            }
            if (planeDamage - best.damage > kDamageTie ||
                (tieBreakOnSum && std::fabs(planeDamage - best.damage) < kDamageTie &&
                 sum > best.sum)) {
                best.theta = theta;
                best.phi = phi;
                best.origin = planeOrigin;
                best.damage = planeDamage;
                best.sum = sum;
                onBest(best);
            }
        }
    }
    return best;
}

}  // namespace ZuvanFatigueCriticalPlane
