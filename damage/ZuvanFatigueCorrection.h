#pragma once
// Correction rules applied to one counted stress cycle before its permissible number
// of cycles is read on a fatigue curve: plasticity correction (C11.3.11.1.2), Kt -> Kf
// and the effective range (C11.3.11.2), and the correction factors CtR, Cs, Ce, Cm of
// C11.3.12.3 whose product is the global factor Cr.
//
// Stresses are MPa. The fatigue curve is reached only through a permissible-cycles
// function (Δσ, Δσmax, f) -> N, f dividing both ranges; the yield strength Rpt at the
// cycle temperature is given by the caller. No rule returns a value that is not a
// finite number: where a formula would give one, the rule refuses with code 440.
// Every rule lets CExceptionZuvanFatigue pass and turns any other exception into 10.

#include <functional>

namespace ZuvanFatigueCorrection {

// A linearised variation up to this value counts as absent (MPa).
constexpr double kAbsentVariationMPa = 0.01;
// Knee of the fatigue curve: N values of the iterations are capped here.
constexpr int kKneeCycles = 2000000;
// Fixed-point iterations: tolerance on the factor, limit of extra passes, and the
// start value of the "previous" factor, which forces at least one pass.
constexpr double kConvergenceTolerance = 0.0001;
constexpr int kMaxIterations = 2000;
constexpr double kStartPrevious = 0.7142857142857143;

// Permissible number of cycles of a fatigue curve for the range dSigma, the largest
// range of the spectrum dSigmaMax and the factor f that divides them.
using PermissibleCyclesFn = std::function<int(double dSigma, double dSigmaMax, double f)>;
// Law C = f(N) of an iterated correction factor.
using FactorLaw = std::function<double(int n)>;

// The values of one cycle that the plasticity correction amplifies (MPa).
struct CycleStresses {
    double DSigmaR;    // range of the cycle
    double DSigmaRlm;  // variation of the linearised mechanical stresses
    double DSigmaRlt;  // variation of the linearised thermal stresses
    double DSigmaRl;   // variation of the total linearised stresses
    double Sigmo;      // mean-stress measure
};

// The values of one welded-zone cycle that the plasticity correction amplifies (MPa).
struct WeldCycleStresses {
    double DSigmaR;
    double DSigmaRlm;
    double DSigmaRlt;
};

// Ke, plasticity factor for mechanical stresses (C11.3.11.1.2), at least 1.
// materialType 20 (non-austenitic): a = 0.4 up to Rm 500, 0.4 + (Rm - 500)/3000 up to
// 800, 0.5 up to 1000, code 420 above; any other type: a = 0.4.
// Ke = 1 + a*(DSigmaRlm/(2*Rpt) - 1). Throws 420, 440.
double Ke(int materialType, double rmMPa, double rptMPa, double dSigmaRlmMPa);

// Kv, plasticity factor for thermal stresses (C11.3.11.1.2), at least 1.
// Kv = (1 - nu)/(2*(0.5 - nu)*Rpt/DSigmaRlt + 0.5). Throws 440.
double Kv(double nu, double rptMPa, double dSigmaRltMPa);

// Plasticity correction of an unwelded-zone cycle (C11.3.11.1.2). When DSigmaRl
// exceeds 2*Rpt the cycle's values are amplified by Ke (mechanical stresses only),
// by Kv (thermal stresses only) or by their combination Ke*A + Kv*B; otherwise the
// cycle is unchanged. ke and kv receive the factors used (1 when unused).
// Throws 420 (Ke), 440 (both linearised variations absent, or values that are not
// finite numbers).
void PlasticityCorrection(int materialType, double rmMPa, double nu, double rptMPa,
                          CycleStresses& cycle, double& ke, double& kv);

// Plasticity correction of a welded-zone cycle: the same rule with DSigmaR in the
// place of DSigmaRl (compared with 2*Rpt, combined as Ke*A + Kv*B). Throws 420, 440.
void WeldPlasticityCorrection(int materialType, double rmMPa, double nu, double rptMPa,
                              WeldCycleStresses& cycle, double& ke, double& kv);

// Theoretical and effective stress concentration factors Kt and Kf (C11.3.11.2);
// returns the effective range DSigmaF = (Kf/Kt)*DSigmaR.
// ktApplied false (total stresses): Kt = DSigmaR/DSigmaRl; true (geometric stresses
// amplified by the zone's Kt): Kt = zoneKt. dSigmaD: endurance limit of the curve.
// Throws 440 (Kt or Kf not a finite number, e.g. DSigmaRl = 0 with DSigmaR > 0).
double KtKf(bool ktApplied, double zoneKt, double dSigmaR, double dSigmaRl, double dSigmaD,
            double& kt, double& kf);

// CtR, temperature factor (C11.3.12.3) at the cycle temperature t* (°C):
// 1 up to 100 °C; above, 1.03 - 1.5e-4*t - 1.5e-6*t^2 for type 20 and
// 1.043 - 4.3e-4*t for any other type. Throws 440.
double CtR(int materialType, double temperatureC);

// Fixed-point iteration of a correction factor C = law(N), the other factors held
// at 1: N starts at n1 capped at kKneeCycles, then N = (N' + 3*N)/4 in integer
// arithmetic with N' = permissibleCycles(dSigmaF, dSigmaMax, C) capped at kKneeCycles,
// until |C - previous| <= kConvergenceTolerance. Throws 470 after more than
// kMaxIterations passes, 440 when the law gives a value that is not a finite number.
double IterateFactor(int n1, const FactorLaw& law, double dSigmaF, double dSigmaMax,
                     const PermissibleCyclesFn& permissibleCycles);

// Cs, surface factor (C11.3.12.3), roughness Rz in micrometre: 1 below Rz 6;
// otherwise F = 1 - 0.056*(ln Rz)^0.64*ln Rm + 0.289*(ln Rz)^0.53 and
// C = F^(0.1*ln N - 0.465) below kKneeCycles, F from there, iterated from n1.
// Throws 440, 470.
double Cs(double rzUm, double rmMPa, int n1, double dSigmaF, double dSigmaMax,
          const PermissibleCyclesFn& permissibleCycles);

// Ce, thickness factor (C11.3.12.3), thickness e in mm: base 1 below 25, 25/e up to
// 150, 25/150 above; F = base^0.182 and C = F^(0.1*ln N - 0.465) below kKneeCycles,
// F from there, iterated from n1. Throws 440, 470.
double Ce(double thicknessMm, int n1, double dSigmaF, double dSigmaMax,
          const PermissibleCyclesFn& permissibleCycles);

// Cm, mean-stress factor (C11.3.12.3). 1 when the cycle shakes down (2*Rpt < DSigmaRl);
// otherwise iterated from n1 on the mean stress Sm (Sigmo while |SigmaEqM| <= Rpt,
// else -(Rpt - DSigmaF/2) or Rpt - DSigmaF/2 by the sign of Sigmo) with the two laws
// of M = 0.00035*Rm - 0.1 below kKneeCycles and the curves read by Rm from there.
// Throws 210 (Sm outside -Rpt..Rpt below kKneeCycles), 440, 470.
double Cm(double rmMPa, double rptMPa, double dSigmaRl, double sigmo, double sigmaEqM,
          double dSigmaF, int n1, double dSigmaMax, const PermissibleCyclesFn& permissibleCycles);

// Ce of a welded zone (C11.3.12.4), thickness e in mm of the thicker component:
// 1 up to 25, (25/e)^0.25 up to 150, (25/150)^0.25 above; no iteration.
double WeldCe(double thicknessMm);

}  // namespace ZuvanFatigueCorrection
