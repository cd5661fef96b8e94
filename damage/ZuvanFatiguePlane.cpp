#include "damage/ZuvanFatiguePlane.h"

namespace ZuvanFatigueCriticalPlane {

const std::vector<double>& GridAngles() {
    static const std::vector<double> angles = [] {
        std::vector<double> a;
        for (double angle = 0.0; angle < kAngleEnd; angle += kAngleStep) a.push_back(angle);
        return a;
    }();
    return angles;
}

Frame MakeFrame(double thetaRad, double phiRad) {
    const double ct = std::cos(thetaRad), st = std::sin(thetaRad);
    const double cp = std::cos(phiRad), sp = std::sin(phiRad);
    return Frame{{ct * cp, st * cp, sp}, {-st, ct, 0.0}, {-ct * sp, -st * sp, cp}};
}

namespace {
// a . S . b for the symmetric tensor s.
inline double Bilinear(const std::array<double, 6>& s, const double a[3], const double b[3]) {
    return s[0] * a[0] * b[0] + s[3] * a[1] * b[1] + s[5] * a[2] * b[2] +
           s[1] * (a[0] * b[1] + a[1] * b[0]) + s[2] * (a[0] * b[2] + a[2] * b[0]) +
           s[4] * (a[1] * b[2] + a[2] * b[1]);
}
}  // namespace

void PlaneStresses(const std::array<double, 6>& s, const Frame& f, double& sxx, double& sxy,
                   double& sxz) {
    const double* u = f.x;
    sxx = s[0] * u[0] * u[0] + s[3] * u[1] * u[1] + s[5] * u[2] * u[2] + 2.0 * s[1] * u[0] * u[1] +
          2.0 * s[2] * u[0] * u[2] + 2.0 * s[4] * u[1] * u[2];
    sxy = Bilinear(s, f.y, f.x);
    sxz = Bilinear(s, f.z, f.x);
}

}  // namespace ZuvanFatigueCriticalPlane
