#include "damage/ZuvanFatigueCorrection.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "driver/CExceptionZuvanFatigue.h"
#include "model/CZuvanFatigueMateriau.h"

namespace ZuvanFatigueCorrection {

namespace {

constexpr int kTypeFerritique = CZuvanFatigueMateriau::kTypeFerritique;

// Refuses with code 440 unless every value is a finite number.
template <class... T>
void RequireFinite(const char* tag, T... values) {
    if (!(std::isfinite(values) && ...)) Raise(tag, kCodeIncoherent);
}

// Law of Cs and Ce: F^(0.1*ln N - 0.465) below the knee, F at the knee.
FactorLaw KneeLaw(double F, const char* tag) {
    return [F, tag](int n) -> double {
        if (n >= kKneeCycles) return F;
        if (n <= 0) Raise(tag, kCodeIncoherent);  // ln N needs N > 0
        return std::pow(F, 0.1 * std::log(static_cast<double>(n)) - 0.465);
    };
}

// Mean-stress curves of C11.3.12.3 at 2000000 cycles and more, for Rm = 400, 600,
// 800 and 1000 MPa.
double G400(double sm) {
    return sm >= 100.0 ? 0.9875 - 1.25e-4 * sm : 1.0 / (0.9979 + 0.00029 * sm);
}
double G600(double sm) { return sm >= 150.0 ? 0.93 - 2e-4 * sm : std::sqrt(0.9989 - 0.00127 * sm); }
double G800(double sm) {
    return sm >= 200.0 ? 0.9167 - 3.333e-4 * sm : std::sqrt(1.0104 - 0.00147 * sm);
}
double G1000(double sm) {
    return sm >= 220.0 ? 0.8688 - 3.125e-4 * sm : std::sqrt(0.9931 - 0.00159 * sm);
}

// Cm at the knee: the curves interpolated linearly in Rm.
double KneeCm(double rm, double sm) {
    if (rm < 400.0) return G400(sm);
    if (rm < 600.0) {
        const double g400 = G400(sm), g600 = G600(sm);
        return g400 + (g600 - g400) * (rm - 400.0) / 200.0;
    }
    if (rm < 800.0) {
        const double g600 = G600(sm), g800 = G800(sm);
        return g600 + (g800 - g600) * (rm - 600.0) / 200.0;
    }
    if (rm < 1000.0) {
        const double g800 = G800(sm), g1000 = G1000(sm);
        return g800 + (g1000 - g800) * (rm - 800.0) / 200.0;
    }
    return G1000(sm);
}

}  // namespace

double Ke(int materialType, double rmMPa, double rptMPa, double dSigmaRlmMPa) {
    static const char kTag[] = "<ZuvanFatigueCorrection::Ke>";
    return Guard(kTag, [&]() -> double {
        double a = 0.4;
        if (materialType == kTypeFerritique) {
            if (rmMPa <= 500.0) {
                a = 0.4;
            } else if (rmMPa <= 800.0) {
                a = 0.4 + (rmMPa - 500.0) / 3000.0;
            } else if (rmMPa <= 1000.0) {
                a = 0.5;
            } else {
                Raise(kTag, kCodeKe);
            }
        }
        double ke = 1.0 + a * (dSigmaRlmMPa / (2.0 * rptMPa) - 1.0);
        if (ke <= 1.0) ke = 1.0;
        RequireFinite(kTag, ke);
        return ke;
    });
}

double Kv(double nu, double rptMPa, double dSigmaRltMPa) {
    static const char kTag[] = "<ZuvanFatigueCorrection::Kv>";
    return Guard(kTag, [&]() -> double {
        double kv = (1.0 - nu) / (2.0 * (0.5 - nu) * rptMPa / dSigmaRltMPa + 0.5);
        if (kv <= 1.0) kv = 1.0;
        RequireFinite(kTag, kv);
        return kv;
    });
}

void PlasticityCorrection(int materialType, double rmMPa, double nu, double rptMPa,
                          CycleStresses& cycle, double& ke, double& kv) {
    static const char kTag[] = "<ZuvanFatigueCorrection::PlasticityCorrection>";
    Guard(kTag, [&] {
        CycleStresses c = cycle;
        RequireFinite(kTag, rptMPa, c.DSigmaR, c.DSigmaRlm, c.DSigmaRlt, c.DSigmaRl, c.Sigmo);
        double keValue = 1.0, kvValue = 1.0;
        if (c.DSigmaRl > 2.0 * rptMPa) {
            const bool mechanical = c.DSigmaRlm > kAbsentVariationMPa;
            const bool thermal = c.DSigmaRlt > kAbsentVariationMPa;
            if (mechanical && !thermal) {
                keValue = Ke(materialType, rmMPa, rptMPa, c.DSigmaRlm);
                c.DSigmaRlm *= keValue;
                c.DSigmaRl *= keValue;
                c.DSigmaR *= keValue;
                c.Sigmo *= keValue;
            } else if (!mechanical && thermal) {
                kvValue = Kv(nu, rptMPa, c.DSigmaRlt);
                c.DSigmaRlt *= kvValue;
                c.DSigmaRl *= kvValue;
                c.DSigmaR *= kvValue;
                c.Sigmo *= kvValue;
            } else if (!mechanical && !thermal) {
                Raise(kTag, kCodeIncoherent);
            } else {
                keValue = Ke(materialType, rmMPa, rptMPa, c.DSigmaRlm);
                kvValue = Kv(nu, rptMPa, c.DSigmaRlt);
                const double A = std::min(c.DSigmaRlm, c.DSigmaRl);
                const double B = c.DSigmaRl - A;
                const double dSigmaRl = keValue * A + kvValue * B;
                const double ratio = dSigmaRl / c.DSigmaRl;
                c.DSigmaR *= ratio;
                c.Sigmo *= ratio;
                c.DSigmaRl = dSigmaRl;
                c.DSigmaRlm *= keValue;
                c.DSigmaRlt *= kvValue;
            }
            RequireFinite(kTag, c.DSigmaR, c.DSigmaRlm, c.DSigmaRlt, c.DSigmaRl, c.Sigmo);
        }
        cycle = c;
        ke = keValue;
        kv = kvValue;
    });
}

void WeldPlasticityCorrection(int materialType, double rmMPa, double nu, double rptMPa,
                              WeldCycleStresses& cycle, double& ke, double& kv) {
    static const char kTag[] = "<ZuvanFatigueCorrection::WeldPlasticityCorrection>";
    Guard(kTag, [&] {
        WeldCycleStresses c = cycle;
        RequireFinite(kTag, rptMPa, c.DSigmaR, c.DSigmaRlm, c.DSigmaRlt);
        double keValue = 1.0, kvValue = 1.0;
        if (c.DSigmaR > 2.0 * rptMPa) {
            const bool mechanical = c.DSigmaRlm > kAbsentVariationMPa;
            const bool thermal = c.DSigmaRlt > kAbsentVariationMPa;
            if (mechanical && !thermal) {
                keValue = Ke(materialType, rmMPa, rptMPa, c.DSigmaRlm);
                c.DSigmaRlm *= keValue;
                c.DSigmaR *= keValue;
            } else if (!mechanical && thermal) {
                kvValue = Kv(nu, rptMPa, c.DSigmaRlt);
                c.DSigmaRlt *= kvValue;
                c.DSigmaR *= kvValue;
            } else if (!mechanical && !thermal) {
                Raise(kTag, kCodeIncoherent);
            } else {
                keValue = Ke(materialType, rmMPa, rptMPa, c.DSigmaRlm);
                kvValue = Kv(nu, rptMPa, c.DSigmaRlt);
                const double A = std::min(c.DSigmaRlm, c.DSigmaR);
                const double B = c.DSigmaR - A;
                c.DSigmaR = keValue * A + kvValue * B;
                c.DSigmaRlm *= keValue;
                c.DSigmaRlt *= kvValue;
            }
            RequireFinite(kTag, c.DSigmaR, c.DSigmaRlm, c.DSigmaRlt);
        }
        cycle = c;
        ke = keValue;
        kv = kvValue;
    });
}

double KtKf(bool ktApplied, double zoneKt, double dSigmaR, double dSigmaRl, double dSigmaD,
            double& kt, double& kf) {
    static const char kTag[] = "<ZuvanFatigueCorrection::KtKf>";
    return Guard(kTag, [&]() -> double {
        RequireFinite(kTag, dSigmaR, dSigmaRl, dSigmaD);
        double ktValue, kfValue;
        if (!ktApplied) {
            // A cycle of no range has no concentration (0/0 would give no number).
            ktValue = (dSigmaR == 0.0 && dSigmaRl == 0.0) ? 1.0 : dSigmaR / dSigmaRl;
            if (1.0 >= ktValue) ktValue = 1.0;
            RequireFinite(kTag, ktValue);  // DSigmaRl = 0 under a non-zero range
            if (dSigmaD >= dSigmaR) {
                kfValue = ktValue;
            } else {
                double x = ktValue * dSigmaRl / dSigmaD;
                if (x <= 1.0) x = 1.0;
                kfValue = 1.0 + 1.5 * (ktValue - 1.0) / (1.0 + 0.5 * x);
            }
        } else {
            RequireFinite(kTag, zoneKt);
            ktValue = zoneKt;
            if (ktValue <= 1.0) ktValue = 1.0;
            if (dSigmaRl * ktValue <= dSigmaD) {
                kfValue = ktValue;
            } else {
                double x = dSigmaRl * ktValue / dSigmaD;
                if (x <= 1.0) x = 1.0;
                kfValue = 1.0 + 1.5 * (ktValue - 1.0) / (1.0 + 0.5 * x);
            }
        }
        const double dSigmaF = (kfValue / ktValue) * dSigmaR;
        RequireFinite(kTag, kfValue, dSigmaF);
        kt = ktValue;
        kf = kfValue;
        return dSigmaF;
    });
}

double CtR(int materialType, double temperatureC) {
    static const char kTag[] = "<ZuvanFatigueCorrection::CtR>";
    return Guard(kTag, [&]() -> double {
        const double t = temperatureC;
        RequireFinite(kTag, t);
        if (t <= 100.0) return 1.0;
        if (materialType == kTypeFerritique) return 1.03 - 1.5e-4 * t - 1.5e-6 * (t * t);
        return 1.043 - 4.3e-4 * t;
    });
}

double IterateFactor(int n1, const FactorLaw& law, double dSigmaF, double dSigmaMax,
                     const PermissibleCyclesFn& permissibleCycles) {
    static const char kTag[] = "<ZuvanFatigueCorrection::IterateFactor>";
    return Guard(kTag, [&]() -> double {
        RequireFinite(kTag, dSigmaF, dSigmaMax);
        int n = std::min(n1, kKneeCycles);
        double c = 1.0;
        double previous = kStartPrevious;
        int count = 0;
        while (std::fabs(c - previous) > kConvergenceTolerance) {
            previous = c;
            c = law(n);
            RequireFinite(kTag, c);
            const int nPrime = std::min(permissibleCycles(dSigmaF, dSigmaMax, c), kKneeCycles);
            n = static_cast<int>(
                (static_cast<std::int64_t>(nPrime) + 3 * static_cast<std::int64_t>(n)) / 4);
            ++count;
            if (count > kMaxIterations) Raise(kTag, kCodeNonConvergence);
        }
        return c;
    });
}

double Cs(double rzUm, double rmMPa, int n1, double dSigmaF, double dSigmaMax,
          const PermissibleCyclesFn& permissibleCycles) {
    static const char kTag[] = "<ZuvanFatigueCorrection::Cs>";
    return Guard(kTag, [&]() -> double {
        if (rzUm < 6.0) return 1.0;
        const double lnRz = std::log(rzUm);
        const double F =
            1.0 - 0.056 * std::pow(lnRz, 0.64) * std::log(rmMPa) + 0.289 * std::pow(lnRz, 0.53);
        RequireFinite(kTag, F);
        return IterateFactor(n1, KneeLaw(F, kTag), dSigmaF, dSigmaMax, permissibleCycles);
    });
}

double Ce(double thicknessMm, int n1, double dSigmaF, double dSigmaMax,
          const PermissibleCyclesFn& permissibleCycles) {
    static const char kTag[] = "<ZuvanFatigueCorrection::Ce>";
    return Guard(kTag, [&]() -> double {
        const double e = thicknessMm;
        double base;
        if (e < 25.0) {
            base = 1.0;
        } else if (e <= 150.0) {
            base = 25.0 / e;
        } else {
            base = 25.0 / 150.0;
        }
        const double F = std::pow(base, 0.182);
        RequireFinite(kTag, F);
        return IterateFactor(n1, KneeLaw(F, kTag), dSigmaF, dSigmaMax, permissibleCycles);
    });
}

double Cm(double rmMPa, double rptMPa, double dSigmaRl, double sigmo, double sigmaEqM,
          double dSigmaF, int n1, double dSigmaMax, const PermissibleCyclesFn& permissibleCycles) {
    static const char kTag[] = "<ZuvanFatigueCorrection::Cm>";
    return Guard(kTag, [&]() -> double {
        RequireFinite(kTag, rmMPa, rptMPa, dSigmaRl, sigmo, sigmaEqM, dSigmaF, dSigmaMax);
        if (2.0 * rptMPa < dSigmaRl) return 1.0;  // the cycle shakes down plastically
        const double rpt = rptMPa;
        const double M = 0.00035 * rmMPa - 0.1;
        double sm;
        if (std::fabs(sigmaEqM) <= rpt) {
            sm = sigmo;
        } else if (sigmo <= 0.0) {
            sm = dSigmaF / 2.0 - rpt;
        } else {
            sm = rpt - dSigmaF / 2.0;
        }
        const FactorLaw law = [&](int n) -> double {
            if (n >= kKneeCycles) return KneeCm(rmMPa, sm);
            const double bound = dSigmaF / (2.0 * (1.0 + M));
            if (-rpt <= sm && sm <= bound) {
                return std::sqrt(1.0 - (M * (2.0 + M) / (1.0 + M)) * (2.0 * sm / dSigmaF));
            }
            if (bound < sm && sm <= rpt) {
                return (1.0 + M / 3.0) / (1.0 + M) - (M / 3.0) * (2.0 * sm / dSigmaF);
            }
            Raise(kTag, kCodeInterne);
        };
        return IterateFactor(n1, law, dSigmaF, dSigmaMax, permissibleCycles);
    });
}

double WeldCe(double thicknessMm) {
    const double e = thicknessMm;
    if (e <= 25.0) return 1.0;
    if (e <= 150.0) return std::pow(25.0 / e, 0.25);
    return std::pow(25.0 / 150.0, 0.25);
}

}  // namespace ZuvanFatigueCorrection
