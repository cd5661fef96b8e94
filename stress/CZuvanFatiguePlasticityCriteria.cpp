#include "stress/CZuvanFatiguePlasticityCriteria.h"

#include <cmath>

#include "driver/CExceptionZuvanFatigue.h"

namespace {
constexpr double kNormThreshold = 0.0001;
// The constants of the closed form as the calculation note gives them; they
// decide the last digits of every equivalent stress.
constexpr double kTwoPi = 6.283185308;
constexpr double kFourPi = 12.566370616;
constexpr double kOneThird = 0.3333333333333333;
}  // namespace

CZuvanFatiguePlasticityCriteria::~CZuvanFatiguePlasticityCriteria() = default;

bool CZuvanFatiguePlasticityCriteria::PrincipalStresses(const Tensor& s, double principal[3],
                                                        const char* tag) {
    const double sxx = s[0], sxy = s[1], sxz = s[2], syy = s[3], syz = s[4], szz = s[5];
    for (double c : s) {
        if (!std::isfinite(c)) Raise(tag, kCodeInterne);
    }
    const double norm =
        std::sqrt(sxx * sxx + sxy * sxy + sxz * sxz + syy * syy + syz * syz + szz * szz);
    if (norm < kNormThreshold) return false;

    const double i1 = sxx + syy + szz;
    const double i2 = sxx * syy + syy * szz + szz * sxx - sxy * sxy - syz * syz - sxz * sxz;
    const double i3 = sxx * (syy * szz - syz * syz) - sxy * (szz * sxy - syz * sxz) +
                      sxz * (sxy * syz - syy * sxz);
    const double q = i1 * i1 - 3.0 * i2;
    const double r = 2.0 * (i1 * i1 * i1) - 9.0 * i1 * i2 + 27.0 * i3;
    if (!std::isfinite(q) || !std::isfinite(r)) Raise(tag, kCodeInterne);

    if (q <= 0.0) {
        // Hydrostatic state (Q = 0; rounding may leave it a hair below): the three
        // principal stresses coincide, at the limit of the closed form.
        const double mean = i1 * kOneThird;
        principal[0] = principal[1] = principal[2] = mean;
        return true;
    }
    const double qCubed = q * q * q;
    if (!std::isfinite(qCubed)) Raise(tag, kCodeInterne);
    double ratio = r / (2.0 * std::sqrt(qCubed));
    // Rounding can carry the ratio a hair beyond +-1; the limits are theta = 0 and pi.
    if (ratio > 1.0) ratio = 1.0;
    if (ratio < -1.0) ratio = -1.0;
    const double theta = std::acos(ratio);
    const double rootQ = std::sqrt(q);
    principal[0] = (i1 + 2.0 * rootQ * std::cos(theta / 3.0)) * kOneThird;
    principal[1] = (i1 + 2.0 * rootQ * std::cos((theta + kTwoPi) / 3.0)) * kOneThird;
    principal[2] = (i1 + 2.0 * rootQ * std::cos((theta + kFourPi) / 3.0)) * kOneThird;
    return true;
}
