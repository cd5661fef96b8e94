// Welded-zone damage by C11.3.9.3 with the critical-plane method of
// C11.3.9.2.3: the stresses are intensified for the seam's form imperfection
// (C11.A6), the critical plane is searched without tie-break, the cycles are
// corrected for plasticity on DSigmaR and their damage is read on the weld's
// fatigue class with the factors Ce and CtR of C11.3.12.4.

#include <algorithm>
#include <utility>

#include "damage/CZuvanFatigueClause.h"
#include "damage/ZuvanFatigueAnalysis.h"
#include "damage/ZuvanFatigueCorrection.h"
#include "damage/ZuvanFatigueCriticalPlane.h"
#include "damage/ZuvanFatiguePlane.h"
#include "damage/ZuvanFatiguePlaneStages.h"
#include "damage/ZuvanFatigueResults.h"
#include "damage/ZuvanFatigueWeld.h"
#include "deck/CZuvanFatigue.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "stress/CZuvanFatigueCountingMethod.h"
#include "stress/CZuvanFatigueHistorique.h"
#include "stress/CZuvanFatiguePlasticityCriteria.h"
#include "stress/CZuvanFatigueReleve.h"

namespace {

const char kTag[] = "<CZuvanFatigueClause::DamageWeldCriticalPlane>";

// Young's modulus and Poisson's ratio of the intensification (C11.A6).
constexpr double kIntensificationEMPa = 201660.0;
constexpr double kIntensificationNu = 0.3;

}  // namespace

double CZuvanFatigueClause::DamageWeldCriticalPlane() {
    return Assess(kTag, &CZuvanFatigueClause::ComputeWeld, ZuvanFatigueResults::kWeldAnalysis);
}

void CZuvanFatigueClause::ComputeWeld(ZuvanFatigueResults::WeldResult& result) const {
    using namespace ZuvanFatigueCorrection;
    using ZuvanFatigueAnalysis::Record;
    using ZuvanFatigueResults::Stage;

    if (m_history->GetRecordCount() < 3) Raise(kTag, kCodePasAssezDeReleves);
    result.parts = ZuvanFatigueWeld::Fetch(*m_study, m_history->GetZoneName(), kTag);
    result.history = *m_history;
    const ZuvanFatigueWeld::Parts& parts = result.parts;
    const int ruleType = parts.RuleType();
    const double rm = parts.Rm();
    const double nu = parts.firstMaterial.GetNu();
    const double pa = result.externalPressure = parts.ExternalPressure();
    const CZuvanFatigueClasse& fatigueClass = parts.fatigueClass;
    result.hasImperfection = parts.seam.HasImperfection();
    result.stage = Stage::kDefined;

    // Intensification for the form imperfection (C11.A6), on a working copy
    // of the request's history: the study's history stays as given, and so
    // does the request's, so that a second run intensifies only once.
    CZuvanFatigueHistorique history(*m_history);
    if (result.hasImperfection) {
        const CZuvanFatigueImperfection& imperfection = parts.seam.GetImperfection();
        for (const auto& entry : history.GetRecords()) {
            CZuvanFatigueReleve& record = *entry.second.second;
            const std::pair<double, double> a = imperfection.GetA(
                parts.first.GetThicknessMm(), parts.second.GetThicknessMm(), record.GetPressure(),
                pa, kIntensificationEMPa, kIntensificationNu);
            ZuvanFatigueResults::IntensifiedRecord ir;
            ir.name = record.GetName();
            ir.pressure = record.GetPressure();
            ir.aPerpendicular = a.first;
            ir.aParallel = a.second;
            ir.sijBefore = record.GetSij();
            ir.sijlmBefore = record.GetSijlm();
            const CZuvanFatigueReleve::Tensor& sijm = record.GetSijm();
            CZuvanFatigueReleve::Tensor sij = record.GetSij();
            CZuvanFatigueReleve::Tensor sijlm = record.GetSijlm();
            const double dPerpendicular = (a.first - 1.0) * sijm[0];
            const double dParallel = (a.second - 1.0) * sijm[3];
            sij[0] += dPerpendicular;
            sijlm[0] += dPerpendicular;
            sij[3] += dParallel;
            sijlm[3] += dParallel;
            record.SetStresses(sij, sijm, sijlm, record.GetSijlt());
            ir.sijAfter = record.GetSij();
            ir.sijlmAfter = record.GetSijlm();
            result.intensified.push_back(ir);
        }
    }
    result.stage = Stage::kIntensified;
    const std::vector<Record> records = ZuvanFatigueAnalysis::Records(history);

    // Stage 1: search of the critical plane, no Kt, no tie-break.
    result.search = ZuvanFatigueCriticalPlane::SearchPlanes(
        records, *m_counting, 1.0, 1.0, ZuvanFatigueCriticalPlane::PlaneChoice::kStrictlyGreater,
        fatigueClass, m_searchOptions);
    result.stage = Stage::kSearched;
    const ZuvanFatigueCriticalPlane::Plane& best = result.search.critical;
    if (best.damage < ZuvanFatigueCriticalPlane::kDamageTolerance) {
        result.ending = ZuvanFatigueResults::Ending::kZeroDamage;
        result.stage = Stage::kDone;
        return;
    }

    // Stage 2: the stresses on the critical plane, the DSigmaEq series of N0
    // and its cycles, then the final damage.
    const std::vector<ZuvanFatigueCriticalPlane::CountedCycle> measured =
        ZuvanFatigueCriticalPlane::OnCriticalPlane(records, *m_counting, *m_criterion, best, 1.0,
                                                   false, 1.0, kTag, result.planeRecords,
                                                   result.series);
    double dSigmaMax = 0.0;
    for (const ZuvanFatigueCriticalPlane::CountedCycle& counted : measured) {
        ZuvanFatigueResults::WeldCycle wc;
        static_cast<ZuvanFatigueResults::CycleInstants&>(wc) = counted.instants;
        wc.before.DSigmaR = counted.DSigmaR;
        wc.before.DSigmaRlm = counted.DSigmaRlm;
        wc.before.DSigmaRlt = counted.DSigmaRlt;
        wc.temperatureC = counted.temperatureC;
        // Plasticity correction on DSigmaR (C11.3.11.1.2), before the largest
        // cycle is taken.
        wc.Rpt = parts.Rpt(wc.temperatureC);
        wc.after = wc.before;
        WeldPlasticityCorrection(ruleType, rm, nu, wc.Rpt, wc.after, wc.Ke, wc.Kv);
        dSigmaMax = std::max(dSigmaMax, wc.after.DSigmaR);
        result.cycles.push_back(wc);
    }
    result.dSigmaMax = dSigmaMax;

    // Final damage (C11.3.12.4): Ce once from the thicker component, CtR per
    // cycle, N on the weld class from DSigmaR itself (no Kf).
    result.thickerMm = parts.ThickerMm();
    result.Ce = WeldCe(result.thickerMm);
    result.stage = Stage::kFinal;
    for (ZuvanFatigueResults::WeldCycle& wc : result.cycles) {
        wc.CtR = CtR(ruleType, wc.temperatureC);
        wc.Cr = wc.CtR * result.Ce;
        wc.N = fatigueClass.PermissibleCycles(wc.after.DSigmaR, dSigmaMax, wc.Cr);
        wc.damage = ZuvanFatigueAnalysis::DamageRate(wc.N, kTag);
        result.total += wc.damage;
        ++result.damagedCycles;
    }
    result.stage = Stage::kDone;
}
