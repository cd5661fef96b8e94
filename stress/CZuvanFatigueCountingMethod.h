#pragma once
// Cycle counting: turns a scalar signal (one value per instant, MPa) into
// counted cycles, each with a range and three instants: the start, the pivot
// (the lower extreme of the cycle, headed "Pic" in the reports) and the end.

#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

class CZuvanFatigueCountingMethod {
   public:
    // The three instants of a counted cycle, ordered pivot first, then start, then end.
    struct CycleInstants {
        int pivot;
        int start;
        int end;
        bool operator<(const CycleInstants& o) const {
            return std::tie(pivot, start, end) < std::tie(o.pivot, o.start, o.end);
        }
        bool operator==(const CycleInstants& o) const {
            return pivot == o.pivot && start == o.start && end == o.end;
        }
    };
    // One entry per distinct triple; the first range counted for a triple stays.
    using CycleMap = std::map<CycleInstants, double>;
    // Every counted cycle by ascending range; equal ranges in the order counted.
    using RangeMap = std::multimap<double, CycleInstants>;

    // Values closer than this (MPa) are one level.
    static constexpr double kTolerance = 0.01;

    virtual ~CZuvanFatigueCountingMethod();

    // Counts the cycles of the signal of n points: instants[k] is the instant
    // number of point k and values[k] its value (MPa), in time order. Both maps
    // are emptied first, then filled. Codes: 220 when n < 3; 210 for a NaN or
    // infinite value (or one beyond 2.2e307), or a failed internal check;
    // the reservoir adds 460. Not reentrant: the object reuses its working
    // buffers from one call to the next.
    virtual void LoadingCycles(int n, const int* instants, const double* values, CycleMap& cycles,
                               RangeMap& ranges) const = 0;

    // Locates a counted cycle in the full signal: the start and the end are the
    // instants before and after the pivot (searching cyclically) where the signal
    // stands at value(pivot) + range, each widened over a plateau. Code 210 when
    // range < 0.01 or no point has the pivot's instant number.
    void CycleEnds(int n, const int* instants, const double* values, double range, int pivot,
                   int& start, int& end) const;

   protected:
    // CycleEnds with the pivot's position p (the first point of its instant) known.
    static void CycleEndsAt(int n, const int* instants, const double* values, double range, int p,
                            int& start, int& end, const char* tag);
    // Starts a count of the signal: no cycle recorded yet, FirstPoint prepared.
    void BeginCount(int n, const int* instants) const;
    // Position of the first point that has the instant number of point k.
    int FirstPoint(const int* instants, int k) const {
        int& p = m_firstPoint[k];
        if (p < 0) {
            p = 0;
            while (instants[p] != instants[k]) ++p;
        }
        return p;
    }
    // Refuses (code 210) null arrays, NaN or infinite values, and values so large
    // (beyond an eighth of the largest double) that differences could overflow.
    static void CheckSignal(int n, const int* instants, const double* values, const char* tag);
    // Locates the cycle of pivot point k with the range and records it; a range
    // below the tolerance is no cycle and is not recorded.
    void Record(int n, const int* instants, const double* values, double range, int k,
                const char* tag) const;
    // Inserts the cycles recorded since BeginCount into both maps, as if each had
    // been inserted when it was counted.
    void Deliver(CycleMap& cycles, RangeMap& ranges) const;

   private:
    struct Counted {
        double range;
        CycleInstants instants;
    };
    // Working buffers, reused from one count to the next: the first point of the
    // instant of each point (-1 until looked up), a table by instant number, the
    // cycles in the order counted and their sort keys.
    mutable std::vector<int> m_firstPoint;
    mutable std::vector<int> m_byInstant;
    mutable std::vector<Counted> m_counted;
    struct TripleKey {
        std::uint64_t high, low;  // pivot, start | end, order counted
    };
    struct RangeKey {
        double range;
        std::size_t index;
    };
    mutable std::vector<TripleKey> m_tripleKeys;
    mutable std::vector<RangeKey> m_rangeKeys;
};
