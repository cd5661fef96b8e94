// Check of the throat of a partial-penetration weld (C11.3.7.4, C11.3.9.4,
// C11.3.9.5.2): the stress vector on the throat plane, the determining origin
// instant N0, the refusal of any cycle that would need a plasticity
// correction, and the damage on the weld's fatigue class with Ce = 1 and the
// CtR of C11.3.12.4.

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <iterator>
#include <locale>
#include <sstream>

#include "damage/CZuvanFatigueClause.h"
#include "damage/ZuvanFatigueAnalysis.h"
#include "damage/ZuvanFatigueCorrection.h"
#include "damage/ZuvanFatigueCriticalPlane.h"
#include "damage/ZuvanFatiguePlane.h"
#include "damage/ZuvanFatigueWeld.h"
#include "deck/CZuvanFatigue.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "report/CZuvanFatigueRapport.h"
#include "stress/CZuvanFatigueCountingMethod.h"
#include "stress/CZuvanFatigueHistorique.h"
#include "stress/CZuvanFatiguePlasticityCriteria.h"

namespace {

const char kTag[] = "<CZuvanFatigueClause::DamageWeldThroat>";

// Global correction of the search of N0: low, so that nearly every cycle counts.
constexpr double kSearchCr = 0.2;
// Damage below this is no damage.
constexpr double kNoDamage = 1e-08;
// Ce on a throat (C11.3.12.4).
constexpr double kThroatCe = 1.0;

const char* const kLegend[] = {
    "DSigmaEq  : Variation équivalente des contraintes - cf. C11.3.9.4",
    "            égale à la variation de longueur du vecteur contrainte agissant sur le plan de "
    "la gorge",
    "DSigmaR   : Taille du cycle de contraintes extrait de l'historique de DSigmaEq",
    "DSigmaRlm : Variation de la partie linéarisée des contraintes mécaniques durant le cycle",
    "DSigmaRlt : Variation de la partie linéarisée des contraintes thermiques durant le cycle",
    "Ce        : Coefficient de correction d'épaisseur selon ZUVAN Division 2 : 2015 C11.3.12.4",
    "CtR       : Coefficient de correction de température selon ZUVAN Division 2 : 2015 C11.3.12.4",
    "            Noté Ct dans le ZUVAN mais s'applique à la température moyenne de cycle t*",
    "            Le C11.3.12.4 renvoie vers le C11.1.3.3 qui donne les formules utilisées",
    "Cr        : Coefficient global de correction selon ZUVAN Division 2 : 2015 C11.3.12.4",
    "N         : Nombre de cycles admissibles donné par la courbe de fatigue - cf. C11.3.13",
    "N0        : Instant d'origine déterminant pour le paramètre d'endommagement - cf. C11.3.9.5.2",
    "            N0 est noté t0 dans le ZUVAN",
    "Rpt       : Limite d'élasticité du matériau à la température du cycle",
    "Sxx       : Contrainte normale sur le plan de la gorge - cf. C11.3.7.4",
    "            Noté Sigma_Perpendiculaire dans le ZUVAN",
    "Sxy       : Composante de la contrainte de cisaillement sur le plan de la gorge - cf. "
    "C11.3.7.4",
    "            Noté Tau_Perpendiculaire dans le ZUVAN",
    "Sxz       : Composante de la contrainte de cisaillement sur le plan de la gorge - cf. "
    "C11.3.7.4",
    "            Noté Tau_Parallèle dans le ZUVAN",
    "Temp      : Température",
};
const char* const kSearchIntro[] = {
    "Pour cette recherche un coefficient global de correction Cr très faible de 0,2 est utilisé,",
    "ainsi presque tous les cycles sont pris en compte (de très petits cycle sont comptés)",
    "Des cycles qui seront négligés dans le calcul final de l'endommagement sont pris en compte",
    "Le taux d'endommagement qui apparaît dans le tableau suivant n'est donc pas significatif",
    "Le tableau retranscrit la suite des itérations effectuées par le logiciel",
    "Un taux d'endommagement est écrit dès lors qu'il devient le plus élevé déjà rencontré !",
};
const char* const kRefusal[] = {
    "(DSigmaR>2.*Rpt) : Une correction de plasticité est nécessaire !",
    "     --> La gorge ne respecte pas les critères d'admissibilité du Code !",
    "     --> La vérification de la résistance à la fatigue n'est pas possible !",
    "     --> La conception doit être revue !",
};
const char* const kFinalIntro[] = {
    "Les coefficients de corrections Ce, CtR qui doivent être appliqués sont calculés selon "
    "C11.3.12.4",
    "Ce doit être pris égal à 1. selon C11.3.12.4",
    "La recherche du nombre des cycles admissibles N est faite selon C11.3.12",
    "Le cumul des taux d'endommagement est effectué selon C11.3.12",
};

// Per counted cycle.
struct ThroatCycle {
    int start, pivot, end;
    double DSigmaR, DSigmaRlm, DSigmaRlt, temperatureC;
};

template <class T>
void LabelField(CZuvanFatigueRapport& r, const char* label, const T& value, int width) {
    r.LabelStart(label, 16);
    r.Field(value, width);
    r.EmptyLine();
}

}  // namespace

double CZuvanFatigueClause::DamageWeldThroat() {
    return Guard(kTag, [&]() -> double {
        using namespace ZuvanFatigueCorrection;
        namespace plane = ZuvanFatiguePlane;
        ZuvanFatigueAnalysis::ReportStream report(m_reportSwitch == kWriteReport ? GetFile()
                                                                                 : nullptr);
        std::ostream& os = report.Stream();
        CZuvanFatigueRapport r(os);

        const std::vector<ZuvanFatigueAnalysis::Record> records =
            ZuvanFatigueAnalysis::Records(*m_history);
        const int n = static_cast<int>(records.size());
        if (n < 3) Raise(kTag, kCodePasAssezDeReleves);
        const ZuvanFatigueWeld::Parts parts =
            ZuvanFatigueWeld::Fetch(*m_study, m_history->GetZoneName(), kTag);
        const CZuvanFatigueClasse& fatigueClass = parts.fatigueClass;

        r.EmptyLine();
        r.Title({"Vérification de la gorge d'un cordon de soudure à pénétration partielle",
                 "Inutile si hauteur de gorge >= 0,8e et soudure directement sollicitée (cf. "
                 "C11.3.7.4)",
                 "Inutile si hauteur de gorge >= 0,7e et soudure non directement sollicitée (cf. "
                 "C11.3.7.4)"});
        ZuvanFatigueWeld::WriteHeading(r, parts, "Description du cordon dont la gorge est étudiée",
                                       "Description de la gorge étudiée",
                                       {"Définition de la courbe de fatigue utilisée",
                                        "(en principe classe 32 selon C11.3.12.2)"},
                                       *m_history);
        r.Section("Symboles");
        for (const char* line : kLegend) r.Line(line);
        r.FormFeed();
        r.EmptyLine();

        // Stress vector on the throat plane: Sxx (sigma perpendicular), Sxy (tau
        // perpendicular), Sxz (tau parallel).
        std::vector<int> recordInstants(n);
        std::vector<double> sxx(n), sxy(n), sxz(n);
        for (int k = 0; k < n; ++k) {
            recordInstants[k] = records[k].instant;
            sxx[k] = records[k].sij[0];
            sxy[k] = records[k].sij[1];
            sxz[k] = records[k].sij[2];
        }
        r.Title({"Contraintes normales et de cisaillement sur le plan de la gorge",
                 "Température associée à ces contraintes"},
                '+');
        os << std::fixed;
        r.Line("|   Temps    |     Sxx    |     Sxy    |     Sxz    |   Temp.    |");
        for (int k = 0; k < n; ++k) {
            r.Row(records[k].instant, sxx[k], sxy[k], sxz[k], records[k].temperatureC);
        }

        // Search of the determining origin N0 (C11.3.9.5.2).
        r.EmptyLine();
        r.Section(
            "Recherche de l'instant d'origine déterminant pour l'endommagement selon C11.3.9.5.2");
        for (const char* line : kSearchIntro) r.Line(line);
        r.Line("|    N0      |  Dommage   |");
        std::vector<int> instants(n + 1);
        std::vector<double> values(n + 1);
        CZuvanFatigueCountingMethod::CycleMap cycles;
        CZuvanFatigueCountingMethod::RangeMap ranges;
        const CZuvanFatigueCountingMethod& counting = *m_counting;
        // Variation of the stress vector on the throat plane from origin o.
        const auto series = [&](int o, int* seriesInstants, double* seriesValues) {
            return plane::CyclicSeries(
                n, o, recordInstants.data(),
                [&](int i) {
                    const double dx = sxx[i] - sxx[o], dy = sxy[i] - sxy[o], dz = sxz[i] - sxz[o];
                    return std::sqrt(dx * dx + dy * dy + dz * dz);
                },
                seriesInstants, seriesValues);
        };
        const ZuvanFatigueCriticalPlane::Origin best = ZuvanFatigueCriticalPlane::OriginSearch(
            n, counting, series,
            [&fatigueClass](double range, double largest) {
                return fatigueClass.PermissibleCycles(range, largest, kSearchCr);
            },
            instants.data(), values.data(), cycles, ranges,
            [&](const ZuvanFatigueCriticalPlane::Origin& o) {
                r.RowCell(o.index, 10);
                os << std::scientific << std::setprecision(3);
                r.RowCell(o.damage, 10);
                os << std::fixed;
                r.RowEnd();
            });
        if (best.damage < kNoDamage) {
            r.EmptyLine();
            r.Line("Le taux d'endommagement sur la gorge est nul !");
            r.Line("Taux d'endommagement total pour l'historique étudié : 0.");
            r.Line(std::string(53, '*'));
            report.Finish(kTag);
            return 0.0;
        }

        // The series of N0 and its cycles.
        const int n0 = best.index;
        const double dSigmaEqMax = series(n0, instants.data(), values.data());
        r.EmptyLine();
        r.Section("Variation équivalente des contraintes sur le plan de la gorge");
        r.Label("Instant d'origine déterminant pour l'endommagement", 51, n0);
        r.Line("|   Temps    |  DSigmaEq  |");
        for (int k = 0; k <= n; ++k) r.Row(instants[k], values[k]);
        counting.LoadingCycles(n + 1, instants.data(), values.data(), cycles, ranges);

        std::vector<ThroatCycle> throatCycles;
        throatCycles.reserve(cycles.size());
        r.EmptyLine();
        r.Section("Taille des cycles de contraintes extraits de l'historique de DSigmaEq");
        r.Label("Nombres des cycles extraits de l'historique", 44, cycles.size());
        r.Line("| Temps1 | Temps2 | Temps3 |   DSigmaR  |  DSigmaRlm |  DSigmaRlt |   Temp.    |");
        r.Line("| Début  | Pic    | Fin    |            |            |            |            |");
        for (const auto& cycle : cycles) {
            ThroatCycle tc;
            tc.pivot = cycle.first.pivot;
            tc.start = cycle.first.start;
            tc.end = cycle.first.end;
            const ZuvanFatigueAnalysis::CycleIndices at =
                ZuvanFatigueAnalysis::Locate(records, tc.pivot, tc.start, tc.end, kTag);
            const int p = at.pivot, s = at.start, e = at.end;
            tc.DSigmaR = cycle.second;
            // Reported only: the check and the damage use DSigmaR and t*.
            tc.DSigmaRlm = ZuvanFatigueAnalysis::LargestVariation(
                *m_criterion, records, &ZuvanFatigueAnalysis::Record::sijlm, p, s, e);
            tc.DSigmaRlt = ZuvanFatigueAnalysis::LargestVariation(
                *m_criterion, records, &ZuvanFatigueAnalysis::Record::sijlt, p, s, e);
            tc.temperatureC = ZuvanFatigueAnalysis::CycleTemperature(records, p, s, e);
            throatCycles.push_back(tc);
            r.InstantCells(tc.start, tc.pivot, tc.end);
            r.RowCell(tc.DSigmaR, 10);
            r.RowCell(tc.DSigmaRlm, 10);
            r.RowCell(tc.DSigmaRlt, 10);
            r.RowCell(tc.temperatureC, 10);
            r.RowEnd();
        }

        // No plasticity correction may be needed (C11.3.11.1.1): the first
        // cycle beyond 2*Rpt ends the check.
        r.EmptyLine();
        r.Section(
            "Correction de plasticité : selon C11.3.11.1.1 aucune correction ne doit être "
            "nécessaire");
        os << std::fixed << std::setprecision(3);
        for (const ThroatCycle& tc : throatCycles) {
            const double rpt = parts.Rpt(tc.temperatureC);
            if (tc.DSigmaR > 2.0 * rpt) {
                LabelField(r, "Début du cycle", tc.start, 6);
                LabelField(r, "Sommet du cycle", tc.pivot, 6);
                LabelField(r, "Fin du cycle", tc.end, 6);
                LabelField(r, "DSigmaR", tc.DSigmaR, 8);
                LabelField(r, "DSigmaRlm", tc.DSigmaRlm, 8);
                LabelField(r, "DSigmaRlt", tc.DSigmaRlt, 8);
                LabelField(r, "Température", tc.temperatureC, 8);
                LabelField(r, "Rpt", rpt, 8);
                for (const char* line : kRefusal) r.Line(line);
                report.Finish(kTag);
                return 0.0;
            }
        }

        // Final damage (C11.3.12.4): Ce = 1, Cr = CtR.
        const int ruleType = parts.RuleType();
        ZuvanFatigueWeld::WriteFinalHeading(r, {std::begin(kFinalIntro), std::end(kFinalIntro)},
                                            parts.ThickerMm(), kThroatCe, dSigmaEqMax);
        double total = 0.0;
        for (const ThroatCycle& tc : throatCycles) {
            const double ctR = CtR(ruleType, tc.temperatureC);
            const double cr = ctR * kThroatCe;
            const int cyclesN = fatigueClass.PermissibleCycles(tc.DSigmaR, dSigmaEqMax, cr);
            const double damage = ZuvanFatigueAnalysis::DamageRate(cyclesN, kTag);
            total += damage;
            os << std::setprecision(3);
            r.InstantCells(tc.start, tc.pivot, tc.end);
            r.RowCell(tc.DSigmaR, 9);
            r.RowCell(tc.temperatureC, 8);
            r.RowCell(ctR, 7);
            r.RowCell(cr, 7);
            // N in the classic locale, formatted apart: the report stream keeps
            // its own locale (re-imbuing it after a failed write would throw).
            std::ostringstream n;
            n.imbue(std::locale::classic());
            n << cyclesN;
            r.RowCell(n.str(), 10);
            os << std::scientific;
            r.RowCell(damage, 10);
            os << std::fixed;
            r.RowEnd();
        }
        r.EmptyLine();
        r.EmptyLine();
        r.EmptyLine();
        ZuvanFatigueAnalysis::WriteTotal(r, total);
        report.Finish(kTag);
        return total;
    });
}
