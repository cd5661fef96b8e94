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
#define ZUVAN_NO_NODE_POOL
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZUVAN_NO_NODE_POOL
#endif
#endif
template <class T>
class ZuvanFatigueNodeAllocator {
   public:
    using value_type = T;
    ZuvanFatigueNodeAllocator() noexcept = default;
    template <class U>
    ZuvanFatigueNodeAllocator(const ZuvanFatigueNodeAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
#ifndef ZUVAN_NO_NODE_POOL
        if (n == 1) {
            FreeList& list = List();
            if (list.head != nullptr) {
                Link* link = list.head;
                list.head = link->next;
                --list.size;
                return reinterpret_cast<T*>(link);
            }
            return reinterpret_cast<T*>(::operator new(sizeof(Link)));
        }
#endif
        return static_cast<T*>(::operator new(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept {
#ifndef ZUVAN_NO_NODE_POOL
        if (n == 1) {
            FreeList& list = List();
            if (list.size < kKept) {
                Link* link = reinterpret_cast<Link*>(p);
                link->next = list.head;
                list.head = link;
                ++list.size;
                return;
            }
        }
#endif
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
