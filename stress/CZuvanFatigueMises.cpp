#include "stress/CZuvanFatigueMises.h"

#include <cmath>

#include "driver/CExceptionZuvanFatigue.h"

double CZuvanFatigueMises::EquivalentStress(const Tensor& s) const {
    static const char kTag[] = "<CZuvanFatigueMises::EquivalentStress>";
    double p[3];
    if (!PrincipalStresses(s, p, kTag)) return 0.0;
    const double d12 = p[0] - p[1], d23 = p[1] - p[2], d13 = p[0] - p[2];
    const double result = std::sqrt(d12 * d12 + d23 * d23 + d13 * d13) * (1.0 / std::sqrt(2.0));
    if (!std::isfinite(result)) Raise(kTag, kCodeInterne);
    return result;
}
