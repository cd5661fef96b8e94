#pragma once
// Cycle counting: turns a scalar signal (one value per instant, MPa) into
// counted cycles, each with a range and three instants: the start, the pivot
// (the lower extreme of the cycle, headed "Pic" in the reports) and the end.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <new>
#include <tuple>
#include <utility>
#include <vector>

// Allocator of the nodes of the counting maps. A count empties and refills its
// maps thousands of times per analysis: freed nodes are kept on a free list
// (per node type and thread, at most kKept of them, until the process ends)
// and handed out again, so that counting in steady state does not go to the
// heap. Under AddressSanitizer every request goes to the heap, so that the
// sanitizer still checks the nodes.
#if defined(__SANITIZE_ADDRESS__)
#define ZUVAN_NODE_POOL 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZUVAN_NODE_POOL 0
#endif
#endif
#ifndef ZUVAN_NODE_POOL
#define ZUVAN_NODE_POOL 1
#endif
template <class T>
class ZuvanFatigueNodeAllocator {
   public:
    using value_type = T;
    ZuvanFatigueNodeAllocator() noexcept = default;
    template <class U>
    ZuvanFatigueNodeAllocator(const ZuvanFatigueNodeAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (ZUVAN_NODE_POOL && n == 1) {
            FreeList& list = List();
            if (list.head != nullptr) {
                Link* link = list.head;
                list.head = link->next;
                --list.size;
                return reinterpret_cast<T*>(link);
            }
            return reinterpret_cast<T*>(::operator new(sizeof(Link)));
        }
        return static_cast<T*>(::operator new(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept {
        if (ZUVAN_NODE_POOL && n == 1) {
            FreeList& list = List();
            if (list.size < kKept) {
                Link* link = reinterpret_cast<Link*>(p);
                link->next = list.head;
                list.head = link;
                ++list.size;
                return;
            }
        }
        ::operator delete(static_cast<void*>(p));
    }
    friend bool operator==(const ZuvanFatigueNodeAllocator&, const ZuvanFatigueNodeAllocator&) {
        return true;
    }
    friend bool operator!=(const ZuvanFatigueNodeAllocator&, const ZuvanFatigueNodeAllocator&) {
        return false;
    }

   private:
    static constexpr std::size_t kKept = 4096;
    union Link {
        Link* next;
        alignas(T) unsigned char storage[sizeof(T)];
    };
    // Trivially destructible, so that a map destroyed late in the life of its
    // thread still finds its list.
    struct FreeList {
        Link* head;
        std::size_t size;
    };
    static FreeList& List() {
        thread_local FreeList list{nullptr, 0};
        return list;
    }
};

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
    using CycleMap = std::map<CycleInstants, double, std::less<CycleInstants>,
                              ZuvanFatigueNodeAllocator<std::pair<const CycleInstants, double>>>;
    // Every counted cycle by ascending range; equal ranges in the order counted.
    using RangeMap =
        std::multimap<double, CycleInstants, std::less<double>,
                      ZuvanFatigueNodeAllocator<std::pair<const double, CycleInstants>>>;

    // Values closer than this (MPa) are one level.
    static constexpr double kTolerance = 0.01;

    // The working arrays of a count, kept from one count to the next so that a
    // count in steady state does not go to the heap. A count uses one Work and
    // nothing else that changes: counts on different Work objects may run at
    // the same time on one counting object. Its content belongs to the counting.
    struct Work {
        struct Counted {
            double range;
            int pivot;    // position of the pivot point in the signal
            int instant;  // its instant number
        };
        // The cycles in the order counted; their ends are located only when needed.
        std::vector<Counted> counted;
        const int* instants = nullptr;  // of the signal counted
        // First point of the instant of each point (-1 until looked up), and a
        // table by instant number when the numbers are dense; prepared only when
        // a count needs many look-ups, until then each is a scan from the start.
        std::vector<int> firstPoint, byInstant;
        bool firstReady = false;
        long long scanBudget = 0;            // scan steps left before the table pays
        std::vector<CycleInstants> located;  // triple of each counted cycle
        struct Key {
            std::uint64_t high, low;
        };
        std::vector<Key> keys;
        struct RangeKey {
            double range;
            std::size_t index;
        };
        std::vector<RangeKey> rangeKeys;
        // Ranges of the distinct triples in map order (the first selectedCount),
        // and the lists that sort the cycles by pivot instant.
        std::vector<double> selected;
        std::size_t selectedCount = 0;
        std::vector<std::uint64_t> pivotBits;
        std::vector<int> head, tail, next, group;
        // The counting method's own lists.
        std::vector<int> list[5];
        std::vector<double> levels[3];
        std::vector<char> flags;
    };

    virtual ~CZuvanFatigueCountingMethod();

    // Counts the cycles of the signal of n points: instants[k] is the instant
    // number of point k and values[k] its value (MPa), in time order. Both maps
    // are emptied first, then filled. Codes: 220 when n < 3; 210 for a NaN or
    // infinite value (or one beyond 2.2e307), or a failed internal check;
    // the reservoir adds 460. Not reentrant: the object reuses its working
    // buffers from one call to the next.
    virtual void LoadingCycles(int n, const int* instants, const double* values, CycleMap& cycles,
                               RangeMap& ranges) const;

    // The sum of term(range) over the cycle map that LoadingCycles would give,
    // in the map's order (the same additions in the same order, hence the same
    // double), without building the maps: the start and end of a cycle are
    // located only when another cycle has the same pivot instant. term is not
    // called for a triple counted again. Same codes as LoadingCycles; a code
    // raised by term goes through. Reentrant on distinct works.
    template <class Term>
    double CycleMapSum(Work& work, int n, const int* instants, const double* values,
                       Term&& term) const {
        Count(work, n, instants, values);
        SelectDistinct(work, n, instants, values);
        double sum = 0.0;
        const double* selected = work.selected.data();
        for (std::size_t i = 0; i < work.selectedCount; ++i) sum += term(selected[i]);
        return sum;
    }

    // Locates a counted cycle in the full signal: the start and the end are the
    // instants before and after the pivot (searching cyclically) where the signal
    // stands at value(pivot) + range, each widened over a plateau. Code 210 when
    // range < 0.01 or no point has the pivot's instant number.
    void CycleEnds(int n, const int* instants, const double* values, double range, int pivot,
                   int& start, int& end) const;

   protected:
    // Counts the signal into work.counted (after BeginCount), in the order the
    // method counts; raises as LoadingCycles does.
    virtual void Count(Work& work, int n, const int* instants, const double* values) const = 0;

    // CycleEnds with the pivot's position p (the first point of its instant) known.
    static void CycleEndsAt(int n, const int* instants, const double* values, double range, int p,
                            int& start, int& end, const char* tag);
    // Starts a count of the signal: no cycle recorded yet.
    static void BeginCount(Work& work, int n, const int* instants) {
        work.counted.clear();
        work.instants = instants;
        work.firstReady = false;
        work.scanBudget = 2LL * n + 64;
    }
    // Refuses (code 210) null arrays, NaN or infinite values, and values so large
    // (beyond an eighth of the largest double) that differences could overflow.
    static void CheckSignal(int n, const int* instants, const double* values, const char* tag);
    // Records the cycle of pivot point k with the range; a range below the
    // tolerance is no cycle and is not recorded.
    static void Record(Work& work, double range, int k) {
        // Two levels less than the tolerance apart are one level: no cycle. Dropping
        // points can bring such levels side by side, in a signal that varies by
        // hundredths of a MPa.
        if (!(range >= kTolerance)) return;
        work.counted.push_back(Work::Counted{range, k, work.instants[k]});
    }

   private:
    // Position of the first point that has the instant number of point k.
    static int FirstPoint(Work& work, int n, const int* instants, int k) {
        if (!work.firstReady) {
            int p = 0;
            while (instants[p] != instants[k]) ++p;
            work.scanBudget -= p + 1;
            if (work.scanBudget >= 0) return p;
            PrepareFirstPoints(work, n, instants);
        }
        int& p = work.firstPoint[k];
        if (p < 0) {
            p = 0;
            while (instants[p] != instants[k]) ++p;
        }
        return p;
    }
    static void PrepareFirstPoints(Work& work, int n, const int* instants);
    // Locates every counted cycle and inserts them into both maps, as if each
    // had been inserted when it was counted.
    static void Deliver(Work& work, int n, const int* instants, const double* values,
                        CycleMap& cycles, RangeMap& ranges);
    // Fills work.selected with the ranges of the cycle map, in map order.
    static void SelectDistinct(Work& work, int n, const int* instants, const double* values);

    mutable Work m_work;  // the work of LoadingCycles
};
