// Check of the throat of a partial-penetration weld (C11.3.7.4, C11.3.9.4,
// C11.3.9.5.2): the stress vector on the throat plane, the determining origin
// instant N0, the refusal of any cycle that would need a plasticity
// correction, and the damage on the weld's fatigue class with Ce = 1 and the
// CtR of C11.3.12.4.

#include <cmath>

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

namespace {

const char kTag[] = "<CZuvanFatigueClause::DamageWeldThroat>";

// Ce on a throat (C11.3.12.4).
constexpr double kThroatCe = 1.0;

}  // namespace

double CZuvanFatigueClause::DamageWeldThroat() {
    return Assess(kTag, &CZuvanFatigueClause::ComputeThroat, ZuvanFatigueResults::kThroatAnalysis);
}

void CZuvanFatigueClause::ComputeThroat(ZuvanFatigueResults::ThroatResult& result) const {
    using namespace ZuvanFatigueCorrection;
    using ZuvanFatigueAnalysis::Record;
    using ZuvanFatigueResults::Stage;

    const std::vector<Record> records = ZuvanFatigueAnalysis::Records(*m_history);
    const int n = static_cast<int>(records.size());
    if (n < 3) Raise(kTag, kCodePasAssezDeReleves);
    result.parts = ZuvanFatigueWeld::Fetch(*m_study, m_history->GetZoneName(), kTag);
    result.history = *m_history;
    const ZuvanFatigueWeld::Parts& parts = result.parts;
    const CZuvanFatigueClasse& fatigueClass = parts.fatigueClass;

    // Stress vector on the throat plane: Sxx (sigma perpendicular), Sxy (tau
    // perpendicular), Sxz (tau parallel).
    std::vector<int> recordInstants(n);
    std::vector<double> sxx(n), sxy(n), sxz(n);
    for (int k = 0; k < n; ++k) {
        recordInstants[k] = records[k].instant;
        sxx[k] = records[k].sij[0];
        sxy[k] = records[k].sij[1];
        sxz[k] = records[k].sij[2];
        result.planeRecords.push_back(
            {records[k].instant, sxx[k], sxy[k], sxz[k], 0.0, records[k].temperatureC});
    }
    result.stage = Stage::kDefined;

    // Search of the determining origin N0 (C11.3.9.5.2).
    std::vector<int> instants(n + 1);
    std::vector<double> values(n + 1);
    CZuvanFatigueCountingMethod::CycleMap cycles;
    CZuvanFatigueCountingMethod::RangeMap ranges;
    // Variation of the stress vector on the throat plane from origin o.
    const auto series = [&](int o, int* seriesInstants, double* seriesValues) {
        return ZuvanFatigueCriticalPlane::CyclicSeries(
            n, o, recordInstants.data(),
            [&](int i) {
                const double dx = sxx[i] - sxx[o], dy = sxy[i] - sxy[o], dz = sxz[i] - sxz[o];
                return std::sqrt(dx * dx + dy * dy + dz * dz);
            },
            seriesInstants, seriesValues);
    };
    result.searchCr = ZuvanFatigueCriticalPlane::kSearchCr;
    // n counts of n + 1 points, long on long histories: its advance is told
    // as the plane search's is.
    ZuvanFatigueCriticalPlane::OriginDamages(
        n, *m_counting, series,
        [&fatigueClass](double range, double largest) {
            return fatigueClass.PermissibleCycles(range, largest,
                                                  ZuvanFatigueCriticalPlane::kSearchCr);
        },
        instants.data(), values.data(), cycles, ranges, result.origins, result.improvingOrigins,
        m_searchOptions);
    result.determining =
        ZuvanFatigueCriticalPlane::DeterminingOrigin(result.origins, result.improvingOrigins);
    result.stage = Stage::kSearched;
    if (result.determining.damage < ZuvanFatigueCriticalPlane::kDamageTolerance) {
        result.ending = ZuvanFatigueResults::Ending::kZeroDamage;
        result.stage = Stage::kDone;
        return;
    }

    // The series of N0 (kept before it is counted) and its cycles.
    result.dSigmaEqMax = series(result.determining.index, instants.data(), values.data());
    result.stage = Stage::kSeries;
    cycles = ZuvanFatigueCriticalPlane::CountSeries(*m_counting, instants, values, result.series);
    result.cycleCount = cycles.size();
    result.stage = Stage::kCounted;
    for (const auto& cycle : cycles) {
        const ZuvanFatigueCriticalPlane::CountedCycle counted =
            ZuvanFatigueCriticalPlane::Measure(cycle, records, *m_criterion, kTag);
        ZuvanFatigueResults::ThroatCycle tc;
        static_cast<ZuvanFatigueResults::CycleInstants&>(tc) = counted.instants;
        tc.DSigmaR = counted.DSigmaR;
        // Reported only: the check and the damage use DSigmaR and t*.
        tc.DSigmaRlm = counted.DSigmaRlm;
        tc.DSigmaRlt = counted.DSigmaRlt;
        tc.temperatureC = counted.temperatureC;
        result.cycles.push_back(tc);
    }
    result.stage = Stage::kChecking;

    // No plasticity correction may be needed (C11.3.11.1.1): the first cycle
    // beyond 2*Rpt ends the check.
    for (std::size_t i = 0; i < result.cycles.size(); ++i) {
        ZuvanFatigueResults::ThroatCycle& tc = result.cycles[i];
        tc.Rpt = parts.Rpt(tc.temperatureC);
        tc.checked = true;
        if (tc.DSigmaR > 2.0 * tc.Rpt) {
            result.ending = ZuvanFatigueResults::Ending::kRefused;
            result.refusedCycle = static_cast<int>(i);
            result.stage = Stage::kDone;
            return;
        }
    }

    // Final damage (C11.3.12.4): Ce = 1, Cr = CtR.
    const int ruleType = parts.RuleType();
    result.thickerMm = parts.ThickerMm();
    result.Ce = kThroatCe;
    result.stage = Stage::kFinal;
    for (ZuvanFatigueResults::ThroatCycle& tc : result.cycles) {
        tc.CtR = CtR(ruleType, tc.temperatureC);
        tc.Cr = tc.CtR * kThroatCe;
        tc.N = fatigueClass.PermissibleCycles(tc.DSigmaR, result.dSigmaEqMax, tc.Cr);
        tc.damage = ZuvanFatigueAnalysis::DamageRate(tc.N, kTag);
        result.total += tc.damage;
        ++result.damagedCycles;
    }
    result.stage = Stage::kDone;
}
