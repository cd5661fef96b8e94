#include "stress/CZuvanFatigueCountingMethod.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "driver/CExceptionZuvanFatigue.h"

namespace {
// From point p, stepping by dir (-1 backward, wrapping from the first point to
// the last; +1 forward, wrapping from the last to the first): the last point
// seen below level until the signal meets it (within the tolerance) or rises
// above it; p when there is none.
int LastBelow(int n, const double* values, int p, double level, int dir, double tolerance) {
    int c = p;
    for (int step = 0, k = p; step < n; ++step) {
        if (dir < 0) {
            k = (k == 0) ? n - 1 : k - 1;
        } else {
            k = (k == n - 1) ? 0 : k + 1;
        }
        const double v = values[k];
        if (std::fabs(v - level) < tolerance) {
            c = k;
            break;
        }
        if (v + tolerance < level) {
            c = k;
        } else if (v > level + tolerance) {
            break;
        }
    }
    return c;
}
}  // namespace

CZuvanFatigueCountingMethod::~CZuvanFatigueCountingMethod() = default;

void CZuvanFatigueCountingMethod::CycleEnds(int n, const int* instants, const double* values,
                                            double range, int pivot, int& start, int& end) const {
    static const char kTag[] = "<CZuvanFatigueCountingMethod::CycleEnds>";
    if (n < 1 || instants == nullptr || values == nullptr) Raise(kTag, kCodeInterne);
    int p = 0;
    while (p < n && instants[p] != pivot) ++p;
    if (p == n) Raise(kTag, kCodeInterne);
    CycleEndsAt(n, instants, values, range, p, start, end, kTag);
}

void CZuvanFatigueCountingMethod::CycleEndsAt(int n, const int* instants, const double* values,
                                              double range, int p, int& start, int& end,
                                              const char* tag) {
    if (!(range >= kTolerance)) Raise(tag, kCodeInterne);  // NaN refused too
    const double level = values[p] + range;

    // Backward, then forward, to the points the cycle spans.
    int c = LastBelow(n, values, p, level, -1, kTolerance);
    const double startValue = values[c];
    while (c - 1 >= 0 && std::fabs(values[c - 1] - startValue) < kTolerance) --c;
    start = instants[c];

    c = LastBelow(n, values, p, level, +1, kTolerance);
    const double endValue = values[c];
    while (c + 1 <= n - 1 && std::fabs(values[c + 1] - endValue) < kTolerance) ++c;
    end = instants[c];
}

void CZuvanFatigueCountingMethod::CheckSignal(int n, const int* instants, const double* values,
                                              const char* tag) {
    if (instants == nullptr || values == nullptr) Raise(tag, kCodeInterne);
    // Far below the overflow bound, so that every difference of two values and
    // every value plus a range stays finite; NaN fails the comparison too.
    constexpr double kLargest = std::numeric_limits<double>::max() / 8.0;
    for (int k = 0; k < n; ++k) {
        if (!(std::fabs(values[k]) <= kLargest)) Raise(tag, kCodeInterne);
    }
}

void CZuvanFatigueCountingMethod::LoadingCycles(int n, const int* instants, const double* values,
                                                CycleMap& cycles, RangeMap& ranges) const {
    static const char kTag[] = "<CZuvanFatigueCountingMethod::LoadingCycles>";
    cycles.clear();
    ranges.clear();
    Count(m_work, n, instants, values);
    Guard(kTag, [&] { Deliver(m_work, n, instants, values, cycles, ranges); });
}

void CZuvanFatigueCountingMethod::PrepareFirstPoints(Work& work, int n, const int* instants) {
    work.firstReady = true;
    if (work.firstPoint.size() < static_cast<std::size_t>(n)) work.firstPoint.resize(n);
    int* first = work.firstPoint.data();
    int low = instants[0], high = instants[0];
    for (int k = 1; k < n; ++k) {
        if (instants[k] < low) low = instants[k];
        if (instants[k] > high) high = instants[k];
    }
    const long long span = static_cast<long long>(high) - low + 1;
    if (span > 4LL * n + 64) {  // sparse instant numbers: looked up when needed
        std::fill(first, first + n, -1);
        return;
    }
    if (work.byInstant.size() < static_cast<std::size_t>(span)) work.byInstant.resize(span);
    int* slot = work.byInstant.data();
    std::fill(slot, slot + span, -1);
    for (int k = 0; k < n; ++k) {
        int& s = slot[instants[k] - low];
        if (s < 0) s = k;
        first[k] = s;
    }
}

namespace {
// Order-preserving image of an instant number as an unsigned 32-bit value.
inline std::uint64_t Biased(int v) { return static_cast<std::uint32_t>(v) ^ 0x80000000u; }
}  // namespace

void CZuvanFatigueCountingMethod::Deliver(Work& work, int n, const int* instants,
                                          const double* values, CycleMap& cycles,
                                          RangeMap& ranges) {
    static const char kTag[] = "<CZuvanFatigueCountingMethod::Deliver>";
    // Each map is filled in its own order, so that every insertion goes at the end
    // without a search of the tree.
    const std::size_t count = work.counted.size();
    if (work.located.size() < count) work.located.resize(count);
    if (work.keys.size() < count) work.keys.resize(count);
    if (work.rangeKeys.size() < count) work.rangeKeys.resize(count);
    const Work::Counted* counted = work.counted.data();
    CycleInstants* located = work.located.data();
    if (count > 0 && !work.firstReady) PrepareFirstPoints(work, n, instants);
    for (std::size_t i = 0; i < count; ++i) {
        const int k = counted[i].pivot;
        located[i].pivot = instants[k];
        CycleEndsAt(n, instants, values, counted[i].range, FirstPoint(work, n, instants, k),
                    located[i].start, located[i].end, kTag);
    }

    // By triple, the first counted first: of a triple counted again, the first range stays.
    Work::Key* triples = work.keys.data();
    for (std::size_t i = 0; i < count; ++i) {
        const CycleInstants& t = located[i];
        triples[i].high = (Biased(t.pivot) << 32) | Biased(t.start);
        triples[i].low = (Biased(t.end) << 32) | i;
    }
    std::sort(triples, triples + count, [](const Work::Key& a, const Work::Key& b) {
        return a.high < b.high || (a.high == b.high && a.low < b.low);
    });
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && triples[i].high == triples[i - 1].high &&
            (triples[i].low >> 32) == (triples[i - 1].low >> 32)) {
            continue;
        }
        const std::size_t j = triples[i].low & 0xFFFFFFFFu;
        cycles.emplace_hint(cycles.end(), located[j], counted[j].range);
    }

    // By range, equal ranges in the order counted.
    Work::RangeKey* byRange = work.rangeKeys.data();
    for (std::size_t i = 0; i < count; ++i) {
        byRange[i].range = counted[i].range;
        byRange[i].index = i;
    }
    std::sort(byRange, byRange + count, [](const Work::RangeKey& a, const Work::RangeKey& b) {
        return a.range < b.range || (a.range == b.range && a.index < b.index);
    });
    for (std::size_t i = 0; i < count; ++i) {
        ranges.emplace_hint(ranges.end(), byRange[i].range, located[byRange[i].index]);
    }
}

void CZuvanFatigueCountingMethod::SelectDistinct(Work& work, int n, const int* instants,
                                                 const double* values) {
    static const char kTag[] = "<CZuvanFatigueCountingMethod::CycleMapSum>";
    Guard(kTag, [&] {
        // The map's order is the pivot instant's first, and two cycles can share a
        // triple only when they share a pivot instant. The cycles are listed by
        // pivot instant, each list in the order counted; a cycle alone on its
        // pivot instant is taken as it is, and only the cycles of a shared pivot
        // instant are located, ordered by start and end, and kept once per triple.
        const std::size_t count = work.counted.size();
        work.selectedCount = 0;
        if (count == 0) return;
        const Work::Counted* counted = work.counted.data();
        if (work.next.size() < count) work.next.resize(count);
        if (work.selected.size() < count) work.selected.resize(count);
        if (work.located.size() < count) work.located.resize(count);
        int* next = work.next.data();
        double* selected = work.selected.data();
        std::size_t taken = 0;
        CycleInstants* located = work.located.data();
        std::vector<int>& group = work.group;

        // The cycles of one pivot instant, from the first of its list.
        const auto take = [&](int first) {
            if (next[first] < 0) {
                selected[taken++] = counted[first].range;
                return;
            }
            group.clear();
            for (int i = first; i >= 0; i = next[i]) {
                CycleInstants& t = located[i];
                const int k = counted[i].pivot;
                t.pivot = counted[i].instant;
                CycleEndsAt(n, instants, values, counted[i].range, FirstPoint(work, n, instants, k),
                            t.start, t.end, kTag);
                group.push_back(i);
            }
            // By start, then end; a stable insertion sort (the lists are short),
            // so that of a triple counted again the first range stays.
            const auto before = [&](int a, int b) {
                return located[a].start < located[b].start ||
                       (located[a].start == located[b].start && located[a].end < located[b].end);
            };
            for (std::size_t g = 1; g < group.size(); ++g) {
                const int item = group[g];
                std::size_t h = g;
                for (; h > 0 && before(item, group[h - 1]); --h) group[h] = group[h - 1];
                group[h] = item;
            }
            for (std::size_t g = 0; g < group.size(); ++g) {
                if (g > 0 && located[group[g]] == located[group[g - 1]]) continue;
                selected[taken++] = counted[group[g]].range;
            }
        };

        int low = counted[0].instant, high = low;
        for (std::size_t i = 1; i < count; ++i) {
            const int v = counted[i].instant;
            if (v < low) low = v;
            if (v > high) high = v;
        }
        const long long span = static_cast<long long>(high) - low + 1;
        if (span <= 4LL * static_cast<long long>(count) + 256) {
            // Dense pivot instants: one bit per instant, the lists' heads and tails
            // by instant, then the bits in order.
            const std::size_t slots = static_cast<std::size_t>(span);
            const std::size_t words = (slots + 63) / 64;
            if (work.pivotBits.size() < words) work.pivotBits.resize(words);
            if (work.head.size() < slots) work.head.resize(slots);
            if (work.tail.size() < slots) work.tail.resize(slots);
            std::uint64_t* bits = work.pivotBits.data();
            int* head = work.head.data();
            int* tail = work.tail.data();
            std::fill(bits, bits + words, 0);
            for (std::size_t i = 0; i < count; ++i) {
                const std::size_t slot =
                    static_cast<std::size_t>(static_cast<long long>(counted[i].instant) - low);
                const std::uint64_t bit = std::uint64_t{1} << (slot & 63);
                next[i] = -1;
                if ((bits[slot >> 6] & bit) == 0) {
                    bits[slot >> 6] |= bit;
                    head[slot] = static_cast<int>(i);
                } else {
                    next[tail[slot]] = static_cast<int>(i);
                }
                tail[slot] = static_cast<int>(i);
            }
            for (std::size_t w = 0; w < words; ++w) {
                for (std::uint64_t b = bits[w]; b != 0; b &= b - 1) {
                    take(head[(w << 6) + static_cast<std::size_t>(__builtin_ctzll(b))]);
                }
            }
        } else {
            // Sparse instant numbers: sorted by pivot instant, then order counted.
            if (work.keys.size() < count) work.keys.resize(count);
            Work::Key* keys = work.keys.data();
            for (std::size_t i = 0; i < count; ++i) {
                keys[i].high = Biased(counted[i].instant);
                keys[i].low = i;
            }
            std::sort(keys, keys + count, [](const Work::Key& a, const Work::Key& b) {
                return a.high < b.high || (a.high == b.high && a.low < b.low);
            });
            for (std::size_t i = 0; i < count; ++i) {
                next[keys[i].low] = -1;
                if (i > 0 && keys[i].high == keys[i - 1].high)
                    next[keys[i - 1].low] = static_cast<int>(keys[i].low);
            }
            for (std::size_t i = 0; i < count; ++i) {
                if (i == 0 || keys[i].high != keys[i - 1].high) take(static_cast<int>(keys[i].low));
            }
        }
        work.selectedCount = taken;
    });
}
