#include "stress/CZuvanFatigueTresca.h"

#include <algorithm>
#include <cmath>

#include "driver/CExceptionZuvanFatigue.h"

double CZuvanFatigueTresca::EquivalentStress(const Tensor& s) const {
    static const char kTag[] = "<CZuvanFatigueTresca::EquivalentStress>";
    double p[3];
    if (!PrincipalStresses(s, p, kTag)) return 0.0;
    const double result = std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]});
    if (!std::isfinite(result)) Raise(kTag, kCodeInterne);
    return result;
}
