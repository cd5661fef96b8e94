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

void CZuvanFatigueCountingMethod::BeginCount(int n, const int* instants) const {
    m_counted.clear();
    if (m_firstPoint.size() < static_cast<std::size_t>(n)) m_firstPoint.resize(n);
    int* first = m_firstPoint.data();
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
    if (m_byInstant.size() < static_cast<std::size_t>(span)) m_byInstant.resize(span);
    int* slot = m_byInstant.data();
    std::fill(slot, slot + span, -1);
    for (int k = 0; k < n; ++k) {
        int& s = slot[instants[k] - low];
        if (s < 0) s = k;
        first[k] = s;
    }
}

void CZuvanFatigueCountingMethod::Record(int n, const int* instants, const double* values,
                                         double range, int k, const char* tag) const {
    // Two levels less than the tolerance apart are one level: no cycle. Dropping
    // points can bring such levels side by side, in a signal that varies by
    // hundredths of a MPa.
    if (!(range >= kTolerance)) return;
    Counted c;
    c.range = range;
    c.instants.pivot = instants[k];
    CycleEndsAt(n, instants, values, range, FirstPoint(instants, k), c.instants.start,
                c.instants.end, tag);
    m_counted.push_back(c);
}

namespace {
// Order-preserving image of an instant number as an unsigned 32-bit value.
inline std::uint64_t Biased(int v) { return static_cast<std::uint32_t>(v) ^ 0x80000000u; }
}  // namespace

void CZuvanFatigueCountingMethod::Deliver(CycleMap& cycles, RangeMap& ranges) const {
    // Each map is filled in its own order, so that every insertion goes at the end
    // without a search of the tree.
    const std::size_t count = m_counted.size();
    if (m_tripleKeys.size() < count) m_tripleKeys.resize(count);
    if (m_rangeKeys.size() < count) m_rangeKeys.resize(count);
    const Counted* counted = m_counted.data();

    // By triple, the first counted first: of a triple counted again, the first range stays.
    TripleKey* triples = m_tripleKeys.data();
    for (std::size_t i = 0; i < count; ++i) {
        const CycleInstants& t = counted[i].instants;
        triples[i].high = (Biased(t.pivot) << 32) | Biased(t.start);
        triples[i].low = (Biased(t.end) << 32) | i;
    }
    std::sort(triples, triples + count, [](const TripleKey& a, const TripleKey& b) {
        return a.high < b.high || (a.high == b.high && a.low < b.low);
    });
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && triples[i].high == triples[i - 1].high &&
            (triples[i].low >> 32) == (triples[i - 1].low >> 32)) {
            continue;
        }
        const Counted& c = counted[triples[i].low & 0xFFFFFFFFu];
        cycles.emplace_hint(cycles.end(), c.instants, c.range);
    }

    // By range, equal ranges in the order counted.
    RangeKey* byRange = m_rangeKeys.data();
    for (std::size_t i = 0; i < count; ++i) {
        byRange[i].range = counted[i].range;
        byRange[i].index = i;
    }
    std::sort(byRange, byRange + count, [](const RangeKey& a, const RangeKey& b) {
        return a.range < b.range || (a.range == b.range && a.index < b.index);
    });
    for (std::size_t i = 0; i < count; ++i) {
        ranges.emplace_hint(ranges.end(), byRange[i].range, counted[byRange[i].index].instants);
    }
}
