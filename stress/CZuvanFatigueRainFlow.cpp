#include "stress/CZuvanFatigueRainFlow.h"

#include <cmath>

#include "driver/CExceptionZuvanFatigue.h"

namespace {
template <class T>
void Reserve(std::vector<T>& buffer, std::size_t size) {
    if (buffer.size() < size) buffer.resize(size);
}
}  // namespace

void CZuvanFatigueRainFlow::Count(Work& work, int n, const int* instants,
                                  const double* values) const {
    static const char kTag[] = "<CZuvanFatigueRainFlow::LoadingCycles>";
    Guard(kTag, [&] {
        work.counted.clear();
        if (n < 3) Raise(kTag, kCodePasAssezDeReleves);
        CheckSignal(n, instants, values, kTag);
        BeginCount(work, n, instants);
        // Positions in the signal, each list with the values of its points beside
        // it: the merged and turning points, the live points, the joined residue.
        Reserve(work.list[0], n);
        Reserve(work.list[1], 2 * static_cast<std::size_t>(n));
        Reserve(work.list[2], 2 * static_cast<std::size_t>(n));
        Reserve(work.levels[0], n);
        Reserve(work.levels[1], 2 * static_cast<std::size_t>(n));
        Reserve(work.levels[2], 2 * static_cast<std::size_t>(n));
        int* points = work.list[0].data();
        double* level = work.levels[0].data();
        int* live = work.list[1].data();
        double* liveLevel = work.levels[1].data();

        // Merge repeats: of a run of values 0.01 or less apart, the last point stays.
        // Dropping a point joins its neighbours, which may then be as close: the
        // new pair is merged too, so that no two neighbours remain 0.01 or less
        // apart (the turning points below rely on it).
        int count = 1;
        points[0] = 0;
        level[0] = values[0];
        for (int k = 1; k < n; ++k) {
            const double v = values[k];
            if (std::fabs(v - level[count - 1]) > kTolerance) {
                points[count] = k;
                level[count] = v;
                ++count;
                continue;
            }
            points[count - 1] = k;
            level[count - 1] = v;
            while (count >= 2 && std::fabs(v - level[count - 2]) <= kTolerance) {
                points[count - 2] = k;
                level[count - 2] = v;
                --count;
            }
        }
        if (count < 3) return;

        // Turning points: the ends, and every point where the slope changes sign.
        int turning = 1;
        double dIn = level[1] - level[0];
        for (int k = 1; k + 1 < count; ++k) {
            const double dOut = level[k + 1] - level[k];
            points[turning] = points[k];  // kept when the slope changes sign
            level[turning] = level[k];
            turning += (dIn * dOut < 0.0) ? 1 : 0;
            dIn = dOut;
        }
        points[turning] = points[count - 1];
        level[turning] = level[count - 1];
        ++turning;
        if (turning < 3) return;

        // First pass; what stays is the residue R(1..r).
        const int r = FourPointPass(work, points, level, turning, live, liveLevel);
        if (r < 2) Raise(kTag, kCodeInterne);
        const int* residue = live;  // read only to build the joined list below
        const double* residueLevel = liveLevel;

        // Closing the residue: the residue joined to a copy of itself, the junction
        // points that are not turning points left out. When exactly one of the two
        // is a turning point (p1 < 0), it is the one kept: p2 >= 0 makes R(1) the
        // turning point, p2 < 0 makes R(r) it. This keeps the largest range of a
        // signal that does not close on its first value. The signals of the damage
        // analyses start and end at 0 on the origin's instant, where either way
        // counts the same ranges; but when the record after the origin repeats the
        // origin's stresses, the merge of repeats drops the first point, the two
        // ends of the residue then carry different instants, and this choice
        // decides the pivot of the closing cycle, hence its temperatures and its
        // permissible number of cycles.
        const double dEnd = residueLevel[r - 1] - residueLevel[r - 2];
        const double jump = residueLevel[0] - residueLevel[r - 1];
        const double dStart = residueLevel[1] - residueLevel[0];
        const double p1 = dStart * dEnd;
        const double p2 = jump * dEnd;
        int* joined = work.list[2].data();
        double* joinedLevel = work.levels[2].data();
        int length = 0;
        const auto append = [&](int from, int to) {  // residue positions from..to, inclusive
            for (int k = from; k <= to; ++k, ++length) {
                joined[length] = residue[k];
                joinedLevel[length] = residueLevel[k];
            }
        };
        if (p1 > 0.0 && p2 < 0.0) {
            append(0, r - 1);
            append(0, r - 1);
        } else if (p1 > 0.0) {
            append(0, r - 2);
            append(1, r - 1);
        } else if (p1 < 0.0 && p2 >= 0.0) {
            append(0, r - 2);
            append(0, r - 1);
        } else if (p1 < 0.0) {
            append(0, r - 1);
            append(1, r - 1);
        } else {
            Raise(kTag, kCodeInterne);  // a flat junction: no turning-point list has one
        }

        // Second pass over the joined list; it must leave a residue as long as the first.
        const int left = FourPointPass(work, joined, joinedLevel, length, live, liveLevel);
        if (left != r) Raise(kTag, kCodeInterne);
    });
}

int CZuvanFatigueRainFlow::FourPointPass(Work& work, const int* list, const double* levels,
                                         int count, int* live, double* liveLevel) {
    // The live list is a stack: a point is pushed, then the window of the four last
    // live points is tested until it no longer forms a cycle. Restarting the window
    // at the live start after an extraction would only test again, unchanged, the
    // windows that lay wholly before the extracted pair, so this is the same count.
    int size = 0;
    for (int j = 0; j < count; ++j) {
        live[size] = list[j];
        liveLevel[size] = levels[j];
        ++size;
        while (size >= 4) {
            const double a = liveLevel[size - 4];
            const double b = liveLevel[size - 3];
            const double c = liveLevel[size - 2];
            const double d = liveLevel[size - 1];
            const double rangeA = std::fabs(b - a);
            const double rangeB = std::fabs(c - b);
            const double rangeC = std::fabs(d - c);
            if (rangeB > rangeA + kTolerance || rangeB > rangeC + kTolerance) break;
            // The points b and c form a cycle; its pivot is the lower (b on a tie).
            const int pivot = (c < b) ? live[size - 2] : live[size - 3];
            Record(work, rangeB, pivot);
            live[size - 3] = live[size - 1];
            liveLevel[size - 3] = d;
            size -= 2;
        }
    }
    return size;
}
