#include "stress/CZuvanFatigueReservoir.h"

#include <algorithm>
#include <cmath>

#include "driver/CExceptionZuvanFatigue.h"

namespace {
template <class T>
void Reserve(std::vector<T>& buffer, std::size_t size) {
    if (buffer.size() < size) buffer.resize(size);
}
}  // namespace

void CZuvanFatigueReservoir::Count(Work& work, int n, const int* instants,
                                   const double* values) const {
    static const char kTag[] = "<CZuvanFatigueReservoir::LoadingCycles>";
    Guard(kTag, [&] {
        work.counted.clear();
        if (n < 3) Raise(kTag, kCodePasAssezDeReleves);
        CheckSignal(n, instants, values, kTag);
        if (std::fabs(values[0] - values[n - 1]) > kTolerance) Raise(kTag, kCodeReservoir);
        BeginCount(work, n, instants);
        // Positions in the signal of the cleaned points; the same turned to start
        // at the maximum; the valleys (indices into turned), the paired peak of
        // each valley, and the peaks already paired.
        std::vector<int>& cleanList = work.list[0];
        std::vector<int>& turnedList = work.list[1];
        std::vector<int>& valleyList = work.list[2];
        std::vector<int>& peakList = work.list[3];
        Reserve(cleanList, n);
        Reserve(turnedList, n);
        Reserve(valleyList, n);
        Reserve(peakList, n);
        Reserve(work.flags, n);

        // Cleaning: a point less than 0.01 from the one before is dropped; a point
        // between two others on one slope is dropped.
        int* clean = cleanList.data();
        int m = 1;
        clean[0] = 0;
        for (int k = 1; k < n; ++k) {
            const double v = values[k];
            const double last = values[clean[m - 1]];
            if (std::fabs(v - last) < kTolerance) continue;
            if (m >= 2 && (last - values[clean[m - 2]]) * (v - last) > 0.0) {
                clean[m - 1] = k;
            } else {
                clean[m++] = k;
            }
        }
        if (m < 3) return;

        // Turn the cleaned signal to start and end at its first maximum; the first
        // point, the last one again within 0.01, is left out.
        int top = 0;
        for (int k = 1; k < m; ++k) {
            if (values[clean[k]] > values[clean[top]]) top = k;
        }
        int* turned = turnedList.data();
        int size = 0;
        if (top > 0) {
            for (int k = top; k < m; ++k) turned[size++] = clean[k];
            for (int k = 1; k <= top; ++k) turned[size++] = clean[k];
            // The last point now sits between the one before it and the second
            // point. When the signal leaves its first point on the slope on which
            // it comes back to its last one, that point lies on one slope and is no
            // peak nor valley: it goes, as the cleaning would drop it, so that
            // peaks and valleys still alternate.
            const int q = m - 1 - top;
            if (q >= 1 && q + 1 < size &&
                (values[turned[q]] - values[turned[q - 1]]) *
                        (values[turned[q + 1]] - values[turned[q]]) >
                    0.0) {
                std::copy(turned + q + 1, turned + size, turned + q);
                --size;
            }
        } else {
            std::copy(clean, clean + m, turned);
            size = m;
        }

        // Valleys (odd indices) from the highest to the lowest; a tie keeps the order.
        int* valleys = valleyList.data();
        int valleyCount = 0;
        for (int j = 1; j + 1 < size; j += 2) valleys[valleyCount++] = j;
        std::sort(valleys, valleys + valleyCount, [&](int a, int b) {
            const double va = values[turned[a]], vb = values[turned[b]];
            return va > vb || (va == vb && a < b);
        });

        // Pairing: each valley takes the lower of the nearest free peaks on either
        // side (the left one on a tie).
        char* used = work.flags.data();
        std::fill(used, used + size, 0);
        int* peakOf = peakList.data();
        for (int i = 0; i < valleyCount; ++i) {
            const int j = valleys[i];
            int left = j - 1;
            while (left >= 0 && used[left]) left -= 2;
            int right = j + 1;
            while (right < size && used[right]) right += 2;
            int peak = -1;
            if (left >= 0 && right < size) {
                peak = (values[turned[right]] < values[turned[left]]) ? right : left;
            } else if (left >= 0) {
                peak = left;
            } else if (right < size) {
                peak = right;
            }
            peakOf[i] = peak;
            if (peak >= 0) used[peak] = 1;
        }

        // Recording, from the lowest valley to the highest: the cycle is confirmed
        // when, on either side, the signal reaches its peak's level before rising
        // above it. The level is the paired peak's own value: the valley plus the
        // range may miss it by a unit in the last place.
        for (int i = valleyCount - 1; i >= 0; --i) {
            if (peakOf[i] < 0) continue;
            const int j = valleys[i];
            const double valley = values[turned[j]];
            const double peakValue = values[turned[peakOf[i]]];
            const double range = peakValue - valley;
            bool confirmed = false;
            for (int k = j - 1; k >= 0; --k) {
                const double v = values[turned[k]];
                if (v == peakValue) confirmed = true;
                if (v >= peakValue) break;
            }
            for (int k = j + 1; !confirmed && k < size; ++k) {
                const double v = values[turned[k]];
                if (v == peakValue) confirmed = true;
                if (v >= peakValue) break;
            }
            if (confirmed) {
                Record(work, range, turned[j]);
            }
        }
    });
}
