// Unwelded-zone damage by the critical-plane method of C11.3.9.2.3: the
// search of the plane that sees the largest damage, then the final damage on
// that plane with the plasticity correction and the correction factors of
// C11.3.11 and C11.3.12.3.

#include <algorithm>
#include <limits>

#include "damage/CZuvanFatigueClause.h"
#include "damage/ZuvanFatigueAnalysis.h"
#include "damage/ZuvanFatigueCorrection.h"
#include "damage/ZuvanFatigueCriticalPlane.h"
#include "damage/ZuvanFatiguePlane.h"
#include "damage/ZuvanFatiguePlaneStages.h"
#include "damage/ZuvanFatigueResults.h"
#include "deck/CZuvanFatigue.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "stress/CZuvanFatigueCountingMethod.h"
#include "stress/CZuvanFatigueHistorique.h"
#include "stress/CZuvanFatiguePlasticityCriteria.h"

namespace {

const char kTag[] = "<CZuvanFatigueClause::DamageUWZoneCriticalPlane>";

}  // namespace

double CZuvanFatigueClause::DamageUWZoneCriticalPlane() {
    return Assess(kTag, &CZuvanFatigueClause::ComputeUWZone, ZuvanFatigueResults::kUWZoneAnalysis);
}

void CZuvanFatigueClause::ComputeUWZone(ZuvanFatigueResults::UWZoneResult& result) const {
    using namespace ZuvanFatigueCorrection;
    using ZuvanFatigueAnalysis::Record;
    using ZuvanFatigueResults::Stage;

    const std::vector<Record> records = ZuvanFatigueAnalysis::Records(*m_history);
    const int n = static_cast<int>(records.size());
    if (n < 3) Raise(kTag, kCodePasAssezDeReleves);

    result.zone = m_study->GetUWZone(m_history->GetZoneName());
    result.curve = m_study->Context().GetUWCurve(result.zone.GetCurveName());
    result.component = m_study->GetComponent(result.zone.GetComponentName());
    result.material = m_study->Context().GetMaterial(result.component.GetMaterialName());
    result.history = *m_history;
    const CZuvanFatigueUWCourbe& curve = result.curve;
    const CZuvanFatigueComposant& component = result.component;
    const CZuvanFatigueMateriau& material = result.material;
    const int materialType = material.GetType();
    if (materialType != CZuvanFatigueMateriau::kTypeFerritique &&
        materialType != CZuvanFatigueMateriau::kTypeAustenitique) {
        Raise(kTag, kCodeEndommagement);
    }
    const double zoneKt = result.zoneKt = result.zone.GetKt();
    const bool ktApplied = result.ktApplied = result.zone.IsGeometric();
    const double ktScale = ktApplied ? zoneKt : 1.0;
    result.stage = Stage::kDefined;

    // Stage 1: search of the critical plane, the tie broken by the sum of the
    // normal stresses.
    result.search = ZuvanFatigueCriticalPlane::SearchPlanes(
        records, *m_counting, ktScale, zoneKt,
        ZuvanFatigueCriticalPlane::PlaneChoice::kToleranceThenSum, curve, m_searchOptions);
    result.stage = Stage::kSearched;
    const ZuvanFatigueCriticalPlane::Plane& best = result.search.critical;
    if (best.damage < ZuvanFatigueCriticalPlane::kDamageTolerance) {
        result.ending = ZuvanFatigueResults::Ending::kZeroDamage;
        result.stage = Stage::kDone;
        return;
    }

    // Stage 2: the stresses on the critical plane, multiplied by the zone's Kt
    // (SigmaEq only when it applies), the DSigmaEq series of N0 and its cycles.
    const std::vector<ZuvanFatigueCriticalPlane::CountedCycle> measured =
        ZuvanFatigueCriticalPlane::OnCriticalPlane(records, *m_counting, *m_criterion, best, zoneKt,
                                                   true, ktScale, kTag, result.planeRecords,
                                                   result.series);
    std::vector<CZuvanFatiguePlasticityCriteria::Tensor> sijl(n);
    for (int k = 0; k < n; ++k) {
        for (int c = 0; c < 6; ++c) sijl[k][c] = records[k].sijlm[c] + records[k].sijlt[c];
    }
    const std::vector<ZuvanFatigueResults::PlaneRecord>& onPlane = result.planeRecords;
    const auto l = [&](int k) -> const CZuvanFatiguePlasticityCriteria::Tensor& { return sijl[k]; };
    for (const ZuvanFatigueCriticalPlane::CountedCycle& counted : measured) {
        const int p = counted.at.pivot, s = counted.at.start, e = counted.at.end;
        ZuvanFatigueResults::UWZoneCycle fc;
        static_cast<ZuvanFatigueResults::CycleInstants&>(fc) = counted.instants;
        fc.before.DSigmaR = counted.DSigmaR;
        fc.before.DSigmaRlm = counted.DSigmaRlm;
        fc.before.DSigmaRlt = counted.DSigmaRlt;
        fc.temperatureC = counted.temperatureC;
        fc.before.DSigmaRl = ZuvanFatigueAnalysis::LargestVariation(*m_criterion, l, p, s, e);
        // Over the records between p and s and between e and p (C11.3.9.2.3j2).
        double sxxMax = std::numeric_limits<double>::lowest();
        double sxxMin = std::numeric_limits<double>::max();
        double eqMax = std::numeric_limits<double>::lowest();
        const auto over = [&](int a, int b) {
            for (int k = std::min(a, b); k <= std::max(a, b); ++k) {
                sxxMax = std::max(sxxMax, onPlane[k].sxx);
                sxxMin = std::min(sxxMin, onPlane[k].sxx);
                eqMax = std::max(eqMax, onPlane[k].sigmaEq);
            }
        };
        over(p, s);
        over(e, p);
        fc.before.Sigmo = sxxMax + sxxMin;
        fc.sigmaEqM = eqMax;
        result.cycles.push_back(fc);
    }

    // Plasticity correction (C11.3.11.1.2), before the largest cycle is taken.
    double dSigmaMax = 0.0;
    for (ZuvanFatigueResults::UWZoneCycle& fc : result.cycles) {
        fc.Rpt = material.GetRet(fc.temperatureC);
        fc.after = fc.before;
        PlasticityCorrection(materialType, material.GetRm(), material.GetNu(), fc.Rpt, fc.after,
                             fc.Ke, fc.Kv);
        dSigmaMax = std::max(dSigmaMax, fc.after.DSigmaR);
    }
    result.dSigmaMax = dSigmaMax;
    result.stage = Stage::kFinal;

    // Final damage (C11.3.11.2, C11.3.12.3).
    const double dSigmaD = curve.GetDSigmaD();
    const PermissibleCyclesFn permissible = [&curve](double dSigma, double dSigmaMaxMPa, double f) {
        return curve.PermissibleCycles(dSigma, dSigmaMaxMPa, f);
    };
    for (ZuvanFatigueResults::UWZoneCycle& fc : result.cycles) {
        const CycleStresses& c = fc.after;
        const double rpt = material.GetRet(fc.temperatureC);
        const int n1 = curve.PermissibleCycles(c.DSigmaR, dSigmaMax, 1.0);
        fc.DSigmaF = KtKf(ktApplied, zoneKt, c.DSigmaR, c.DSigmaRl, dSigmaD, fc.Kt, fc.Kf);
        fc.CtR = CtR(materialType, fc.temperatureC);
        fc.Cs = Cs(component.GetRoughnessUm(), material.GetRm(), n1, fc.DSigmaF, dSigmaMax,
                   permissible);
        fc.Ce = Ce(component.GetThicknessMm(), n1, fc.DSigmaF, dSigmaMax, permissible);
        fc.Cm = Cm(material.GetRm(), rpt, c.DSigmaRl, c.Sigmo, fc.sigmaEqM, fc.DSigmaF, n1,
                   dSigmaMax, permissible);
        fc.Cr = fc.CtR * fc.Ce * fc.Cs * fc.Cm;
        fc.N = curve.PermissibleCycles(fc.DSigmaF, dSigmaMax, fc.Cr);
        fc.damage = ZuvanFatigueAnalysis::DamageRate(fc.N, kTag);
        result.total += fc.damage;
        ++result.damagedCycles;
    }
    result.stage = Stage::kDone;
}
