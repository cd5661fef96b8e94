#pragma once
// The search of the critical plane (C11.3.9.2.3) shared by the unwelded-zone
// and the welded-zone analyses: over the 72 x 72 grid of plane orientations,
// for every origin instant, the equivalent stress variation series is counted
// into cycles and their damage rates are summed; the plane of the largest
// damage wins.

#include <cmath>
#include <cstddef>
#include <functional>
#include <limits>
#include <vector>

#include "damage/ZuvanFatigueAnalysis.h"
#include "damage/ZuvanFatigueCriticalPlaneValues.h"
#include "damage/ZuvanFatiguePlane.h"
#include "damage/ZuvanFatigueSearchOptions.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "stress/CZuvanFatigueCountingMethod.h"

namespace ZuvanFatigueCriticalPlane {

// Tells a search's progress callback (SearchOptions) of its advance: its
// start when made, Done after each item the calling thread finishes, its end
// when destroyed (also when the search fails). What the callback throws is
// swallowed: showing the advance is no part of the search.
class SearchAdvance {
   public:
    SearchAdvance(const std::function<void(const SearchProgress&)>& progress, const char* what,
                  const char* items, std::size_t total);
    SearchAdvance(const SearchAdvance&) = delete;
    SearchAdvance& operator=(const SearchAdvance&) = delete;
    ~SearchAdvance();
    void Done(std::size_t done) { Tell(done, false); }

   private:
    void Tell(std::size_t done, bool finished);

    const std::function<void(const SearchProgress&)>& m_progress;
    const char* m_what;
    const char* m_items;
    std::size_t m_total;
    std::size_t m_done = 0;
};

// The search of the determining origin instant (C11.3.9.2.3, C11.3.9.5.2):
// the damage of every origin 0 .. n - 1 in order, each appended to origins as
// soon as it is known, and the position in origins of each origin that became
// the best appended to improving as found (strictly greater damage: the
// earlier stays on equality; the last is the determining origin). A failure
// leaves the origins and the choices made before it.
// series(n0, instants, values) fills the n + 1 points of the series of origin
// n0 and returns its largest value; the series is counted and its damage is
// the sum of 1/N over the cycle map, N = permissible(range, largest). The
// buffers hold n + 1 points; afterwards they and the maps hold the last
// origin's series and cycles. The options' progress is told of every origin.
template <class Series, class Permissible>
void OriginDamages(int n, const CZuvanFatigueCountingMethod& counting, Series&& series,
                   Permissible&& permissible, int* instants, double* values,
                   CZuvanFatigueCountingMethod::CycleMap& cycles,
                   CZuvanFatigueCountingMethod::RangeMap& ranges, std::vector<Origin>& origins,
                   std::vector<std::size_t>& improving,
                   const SearchOptions& options = SearchOptions()) {
    static const char kTag[] = "<ZuvanFatigueCriticalPlane::OriginDamages>";
    SearchAdvance advance(options.progress, "Recherche de l'instant d'origine", "origines",
                          n > 0 ? static_cast<std::size_t>(n) : 0);
    origins.reserve(origins.size() + (n > 0 ? static_cast<std::size_t>(n) : 0));
    double best = std::numeric_limits<double>::lowest();
    for (int n0 = 0; n0 < n; ++n0) {
        const double largest = series(n0, instants, values);
        counting.LoadingCycles(n + 1, instants, values, cycles, ranges);
        Origin o;
        o.index = n0;
        for (const auto& cycle : cycles) {
            o.damage += ZuvanFatigueAnalysis::DamageRate(permissible(cycle.second, largest), kTag);
        }
        origins.push_back(o);
        if (o.damage > best) {
            best = o.damage;
            improving.push_back(origins.size() - 1);
        }
        advance.Done(static_cast<std::size_t>(n0) + 1);
    }
}

// The origin that improving names last, the determining one; without any,
// index -1 and the lowest damage (no damage).
inline Origin DeterminingOrigin(const std::vector<Origin>& origins,
                                const std::vector<std::size_t>& improving) {
    if (!improving.empty()) return origins[improving.back()];
    Origin none;
    none.damage = std::numeric_limits<double>::lowest();
    return none;
}

// The search over the grid of planes. The planes are searched on the options'
// threads, each with its own buffers; every plane's result lands at its place
// in grid order, so the result does not depend on the thread count.
class Search {
   public:
    Search(const std::vector<ZuvanFatigueAnalysis::Record>& records,
           const CZuvanFatigueCountingMethod& counting, const SearchOptions& options);

    // Every plane of the grid in the order of the search (Theta outer, Phi
    // inner), each with its determining origin, damage and sum of normal
    // stresses. scale multiplies every DSigmaEq (the zone's Kt when it
    // applies, else 1). permissible(range, largest) gives the permissible
    // cycles of a counted cycle of the series whose largest value is largest;
    // it is called from several threads at once. A code raised in a plane is
    // raised here, that of the first such plane in grid order.
    template <class Permissible>
    std::vector<Plane> Planes(double scale, Permissible&& permissible);

    // The buffers of one thread of the search.
    struct Worker {
        std::vector<double> sxy, sxz;
        std::vector<int> instants;
        std::vector<double> values;
        CZuvanFatigueCountingMethod::Work work;
    };

   private:
    // Runs plane(worker, index) for index 0 .. count - 1 on the options'
    // threads, the calling thread among them, and tells the progress; raises
    // what the plane of the lowest index raised.
    void EachPlane(std::size_t count, const std::function<void(Worker&, std::size_t)>& plane);

    const std::vector<ZuvanFatigueAnalysis::Record>& m_records;
    const CZuvanFatigueCountingMethod& m_counting;
    SearchOptions m_options;
    int m_n;
    std::vector<int> m_recordInstants;
};

// The critical plane: one pass over the planes in grid order; choice says how
// a plane becomes the best one, and onBest(plane) is called with the plane of
// planes each time one does.
template <class OnBest>
Plane Choose(const std::vector<Plane>& planes, PlaneChoice choice, OnBest&& onBest) {
    Plane best;
    best.damage = std::numeric_limits<double>::lowest();
    for (const Plane& plane : planes) {
        const bool better = choice == PlaneChoice::kStrictlyGreater
                                ? plane.damage > best.damage
                                : (plane.damage - best.damage > kDamageTolerance ||
                                   (std::fabs(plane.damage - best.damage) < kDamageTolerance &&
                                    plane.sum > best.sum));
        if (better) {
            best = plane;
            onBest(plane);
        }
    }
    return best;
}

template <class Permissible>
std::vector<Plane> Search::Planes(double scale, Permissible&& permissible) {
    static const char kTag[] = "<ZuvanFatigueCriticalPlane::Search::Planes>";
    const std::vector<double>& angles = GridAngles();
    const std::size_t side = angles.size();
    std::vector<Plane> planes(side * side);
    const int n = m_n;
    const int* recordInstants = m_recordInstants.data();
    EachPlane(planes.size(), [&](Worker& w, std::size_t index) {
        Plane& p = planes[index];
        p.theta = angles[index / side];
        p.phi = angles[index % side];
        const Frame frame = MakeFrame(p.theta, p.phi);
        double* sxy = w.sxy.data();
        double* sxz = w.sxz.data();
        double sum = 0.0;
        for (int k = 0; k < n; ++k) {
            double sxx;
            PlaneStresses(m_records[k].sij, frame, sxx, sxy[k], sxz[k]);
            sum += sxx;
        }
        p.sum = sum;
        // The origins as OriginDamages takes them, each series summed over its
        // cycle map without building it.
        double best = std::numeric_limits<double>::lowest();
        int bestOrigin = -1;
        int* instants = w.instants.data();
        double* values = w.values.data();
        for (int n0 = 0; n0 < n; ++n0) {
            const double largest =
                OriginSeries(n, n0, sxy, sxz, recordInstants, scale, instants, values);
            const double damage =
                m_counting.CycleMapSum(w.work, n + 1, instants, values, [&](double range) {
                    return ZuvanFatigueAnalysis::DamageRate(permissible(range, largest), kTag);
                });
            if (damage > best) {
                best = damage;
                bestOrigin = n0;
            }
        }
        p.origin = bestOrigin;
        p.damage = best;
    });
    return planes;
}

}  // namespace ZuvanFatigueCriticalPlane
