#pragma once
// The critical-plane engine, part 1 of 3 (namespace ZuvanFatigueCriticalPlane):
// plane orientations of the search (C11.3.9.2.3, Figure C11.3.9.2.3a), the
// stresses of a tensor on a plane and the DSigmaEq series of an origin. Part
// 2, ZuvanFatigueCriticalPlane.h: the search; part 3,
// ZuvanFatiguePlaneStages.h: the analyses' stages. Tensors are six
// doubles in MPa in the order Sxx, Sxy, Sxz, Syy, Syz, Szz.

#include <array>
#include <vector>

namespace ZuvanFatigueCriticalPlane {

// Grid of the search: both angles from 0 while below kAngleEnd, by kAngleStep
// (2.5° with pi taken as 3.141592654): 72 values each.
constexpr double kAngleStep = 0.043633231305555555;
constexpr double kAngleEnd = 3.141492654;
constexpr double kDegreesPerRadian = 57.29577950560105;

// The angles of the grid, in the order of the search.
const std::vector<double>& GridAngles();

// Frame of the plane (Theta, Phi): x' is the normal.
struct Frame {
    double x[3];
    double y[3];
    double z[3];
};
Frame MakeFrame(double thetaRad, double phiRad);

// Normal stress Sx'x' and shear components Sx'y', Sx'z' of tensor s on the plane.
void PlaneStresses(const std::array<double, 6>& s, const Frame& f, double& sxx, double& sxy,
                   double& sxz);

// Equivalent stress variation between two instants: twice the change of length
// of the shear vector on the plane (C11.3.9.2.3d2).
inline double DSigmaEq(double sxyK, double sxzK, double sxy0, double sxz0);

// Builds the series of n + 1 points cyclic from origin n0: instants n0 .. n-1,
// 0 .. n0-1, then n0 again with the value 0; the value of position k is
// variation(k) (the first is 0 whatever it gives). Returns the largest value
// (0 when all are 0). instants and values must hold n + 1 entries.
template <class Variation>
double CyclicSeries(int n, int n0, const int* recordInstants, Variation&& variation, int* instants,
                    double* values);

// The series of origin n0 on a plane, as CyclicSeries builds it, with the
// values DSigmaEq(k, n0) * scale of the shear components sxy, sxz: the one
// builder of the search's hot loop, of its reference and of the final stage.
// Returns its largest value.
inline double OriginSeries(int n, int n0, const double* sxy, const double* sxz,
                           const int* recordInstants, double scale, int* instants, double* values);

}  // namespace ZuvanFatigueCriticalPlane

#include <cmath>

inline double ZuvanFatigueCriticalPlane::DSigmaEq(double sxyK, double sxzK, double sxy0,
                                                  double sxz0) {
    const double dy = sxyK - sxy0;
    const double dz = sxzK - sxz0;
    return 2.0 * std::sqrt(dy * dy + dz * dz);
}

inline double ZuvanFatigueCriticalPlane::OriginSeries(int n, int n0, const double* sxy,
                                                      const double* sxz, const int* recordInstants,
                                                      double scale, int* instants, double* values) {
    // The largest value taken on the way; the first point is 0 whatever
    // DSigmaEq(n0, n0) gives.
    const double y0 = sxy[n0], z0 = sxz[n0];
    double largest = 0.0;
    int j = 0;
    const auto point = [&](int k) {
        const double v = DSigmaEq(sxy[k], sxz[k], y0, z0) * scale;
        instants[j] = recordInstants[k];
        values[j] = v;
        ++j;
        if (v > largest) largest = v;
    };
    instants[j] = recordInstants[n0];
    values[j] = 0.0;
    ++j;
    for (int k = n0 + 1; k < n; ++k) point(k);
    for (int k = 0; k < n0; ++k) point(k);
    instants[n] = recordInstants[n0];
    values[n] = 0.0;
    return largest;
}

template <class Variation>
double ZuvanFatigueCriticalPlane::CyclicSeries(int n, int n0, const int* recordInstants,
                                               Variation&& variation, int* instants,
                                               double* values) {
    int j = 0;
    for (int k = n0; k < n; ++k, ++j) {
        instants[j] = recordInstants[k];
        values[j] = variation(k);
    }
    for (int k = 0; k < n0; ++k, ++j) {
        instants[j] = recordInstants[k];
        values[j] = variation(k);
    }
    values[0] = 0.0;
    instants[n] = recordInstants[n0];
    values[n] = 0.0;
    double largest = 0.0;
    for (int k = 0; k <= n; ++k) {
        if (values[k] > largest) largest = values[k];
    }
    return largest;
}
