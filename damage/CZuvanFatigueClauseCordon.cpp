// Welded-zone damage by C11.3.9.3 with the critical-plane method of
// C11.3.9.2.3: the stresses are intensified for the seam's form imperfection
// (C11.A6), the critical plane is searched without tie-break, the cycles are
// corrected for plasticity on DSigmaR and their damage is read on the weld's
// fatigue class with the factors Ce and CtR of C11.3.12.4.

#include <algorithm>
#include <iomanip>
#include <iterator>
#include <utility>

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
#include "stress/CZuvanFatigueReleve.h"

namespace {

const char kTag[] = "<CZuvanFatigueClause::DamageWeldCriticalPlane>";

// Global correction of the search: low, so that nearly every cycle counts.
constexpr double kSearchCr = 0.2;
// Young's modulus and Poisson's ratio of the intensification (C11.A6).
constexpr double kIntensificationEMPa = 201660.0;
constexpr double kIntensificationNu = 0.3;

const char* const kLegend[] = {
    "A         : Coefficient global d'intensification de contraintes selon C11.A6",
    "DSigmaEq  : Variation équivalente des contraintes - cf. C11.3.9.2.3d2",
    "            égale à 2. fois la variation de longueur du vecteur cisaillement",
    "DSigmaR   : Taille du cycle de contraintes extrait de l'historique de DSigmaEq",
    "DSigmaRlm : Variation de la partie linéarisée des contraintes mécaniques durant le cycle",
    "DSigmaRlt : Variation de la partie linéarisée des contraintes thermiques durant le cycle",
    "Ce        : Coefficient de correction d'épaisseur selon ZUVAN Division 2 : 2015 C11.3.12.4",
    "CtR       : Coefficient de correction de température selon ZUVAN Division 2 : 2015 C11.3.12.4",
    "            Noté Ct dans le ZUVAN mais s'applique à la température moyenne de cycle t*",
    "            Le C11.3.12.4 renvoie vers le C11.1.3.3 qui donne les formules utilisées",
    "Cr        : Coefficient global de correction selon ZUVAN Division 2 : 2015 C11.3.12.4",
    "Ke        : Coefficient de correction de plasticité pour les contraintes d'origine mécanique",
    "            Selon ZUVAN Division 2 : 2015 C11.3.11.1",
    "Kv        : Coefficient de correction de plasticité pour les contraintes d'origine thermique",
    "            Selon ZUVAN Division 2 : 2015 C11.3.11.1",
    "            Prends en compte la variation du coefficient de Poisson entre élasticité et "
    "plasticité",
    "N         : Nombre de cycles admissibles donné par la courbe de fatigue - cf. C11.3.13",
    "N0        : Instant d'origine déterminant pour le paramètre d'endommagement - cf. C11.3.9.2.3",
    "            N0 est noté t0 dans le ZUVAN",
    "Phi       : Angle Phi du plan d'analyse - cf. Figure C11.3.9.2.3a",
    "Rpt       : Limite d'élasticité du matériau à la température du cycle",
    "Sx'x'     : Contrainte normale sur le plan d'analyse défini par Theta et Phi - cf. "
    "C11.3.9.2.3b1",
    "Sx'y'     : Composante de la contrainte de cisaillement sur le plan défini par Theta et Phi",
    "Sx'z'     : Composante de la contrainte de cisaillement sur le plan défini par Theta et Phi",
    "            Pour Sx'y' et Sx'z' voir C11.3.9.2.3b2 et b3",
    "Theta     : Angle Theta du plan d'analyse - cf. Figure C11.3.9.2.3a",
    "Temp      : Température",
};
const char* const kSearchIntro[] = {
    "Pour cette recherche un coefficient global de correction Cr très faible de 0,2 est utilisé,",
    "ainsi presque tous les cycles sont pris en compte (de très petits cycle sont comptés)",
    "Des cycles qui seront négligés dans le calcul final de l'endommagement sont donc pris en "
    "compte",
    "Le taux d'endommagement qui apparaît dans le tableau suivant n'est donc pas significatif",
    "Le tableau retranscrit la suite des itérations effectuées par le logiciel",
    "Un taux d'endommagement est écrit dès lors qu'il devient le plus élevé déjà rencontré !",
};
const char* const kPlasticityIntro[] = {
    "Si (DSigmaR>2.*Rpt)",
    "     --> Les variations de contraintes géométriques DSigmaRlm, DSigmaRlt, DSigmaR doivent "
    "être amplifiées",
    "Quand il n'existe que des contraintes d'origine mécanique",
    "     Ke est le coefficient de correction de plasticité pour les contraintes d'origine "
    "mécanique",
    "     Ke est calculé à partir de DSigmaRlm selon ZUVAN Division 2 : 2015 C11.3.11.1.2",
    "     DSigmaRlm est multiplié par Ke",
    "     DSigmaR est multiplié par Ke",
    "Quand il n'existe que des contraintes thermiques venant de la répartition des températures "
    "dans l'épaisseur",
    "     Kv est le coefficient de correction de plasticité pour les contraintes d'origine "
    "thermique",
    "     Kv est calculé à partir de DSigmaRlt selon ZUVAN Division 2 : 2015 C11.3.11.1.2",
    "     Pour une justification détaillée de la formulation retenue voir RCC-M Criteria - Annexe "
    "8 - A8-3.5",
    "     DSigmaRlt est multiplié par Kv",
    "     DSigmaR est multiplié par Kv",
    "Quand il existe des contraintes d'origine mécanique et des contraintes thermiques venant",
    "de la répartition des températures dans l'épaisseur",
    "     Le logiciel calcule Ke comme précédemment (--> Ke calculé à partir de DSigmaRlm)",
    "     Le logiciel calcule Kv comme précédemment (--> Kv calculé à partir de DSigmaRlt)",
    "     Le logiciel amplifie DSigmaR en utilisant une combinaison des coefficients Ke et Kv",
    "     La formulation utilisée est décrite en C11.3.11.1.2 : DSigmaR-->ke*A+kv*B",
    "     DSigmaRlm est multiplié par Ke",
    "     DSigmaRlt est multiplié par Kv",
    "Pour chaque cycle de contraintes extrait de l'historique de DSigmaEq le tableau suivant donne "
    ":",
    "     - La taille du cycle avant (ligne 1) et après (ligne 2) la correction de plasticité",
    "     - Les principaux paramètres utilisés pour effectuer la correction (lignes 1 et 2)",
};
const char* const kFinalIntro[] = {
    "Les coefficients de corrections Ce, CtR qui doivent être appliqués sont calculés selon "
    "C11.3.12.4",
    "La recherche du nombre des cycles admissibles N est faite selon C11.3.12",
    "Le cumul des taux d'endommagement est effectué selon C11.3.12",
};

const char kSijHeader[] =
    "|    Sxx     |    Sxy     |    Sxz     |    Syy     |    Syz     |    Szz     |";
const char kSijlmHeader[] =
    "|    Sxxlm   |    Sxylm   |    Sxzlm   |    Syylm   |    Syzlm   |    Szzlm   |";

// Per counted cycle of the final stage.
struct WeldCycle {
    int start, pivot, end;
    ZuvanFatigueCorrection::WeldCycleStresses before, after;
    double temperatureC, rpt, Ke, Kv;
};

void TensorRows(CZuvanFatigueRapport& r, const CZuvanFatigueReleve::Tensor& sij,
                const CZuvanFatigueReleve::Tensor& sijlm) {
    r.Line(kSijHeader);
    r.Row(sij[0], sij[1], sij[2], sij[3], sij[4], sij[5]);
    r.Line(kSijlmHeader);
    r.Row(sijlm[0], sijlm[1], sijlm[2], sijlm[3], sijlm[4], sijlm[5]);
}

}  // namespace

double CZuvanFatigueClause::DamageWeldCriticalPlane() {
    return Guard(kTag, [&]() -> double {
        using namespace ZuvanFatigueCorrection;
        namespace plane = ZuvanFatiguePlane;
        ZuvanFatigueAnalysis::ReportStream report(m_reportSwitch == kWriteReport ? GetFile()
                                                                                 : nullptr);
        std::ostream& os = report.Stream();
        CZuvanFatigueRapport r(os);

        if (m_history->GetRecordCount() < 3) Raise(kTag, kCodePasAssezDeReleves);
        const ZuvanFatigueWeld::Parts parts =
            ZuvanFatigueWeld::Fetch(*m_study, m_history->GetZoneName(), kTag);
        const int ruleType = parts.RuleType();
        const double rm = parts.Rm();
        const double nu = parts.firstMaterial.GetNu();
        const double pa = parts.ExternalPressure();
        const CZuvanFatigueClasse& fatigueClass = parts.fatigueClass;

        r.EmptyLine();
        r.Title(
            {"Calcul du taux d'endommagement pour une zone soudée selon C11.3.9.3 et "
             "C11.3.9.2.3",
             "Le calcul est basé sur la recherche itérative du plan critique pour "
             "l'endommagement"});
        ZuvanFatigueWeld::WriteHeading(r, parts, "Définition de la zone soudée",
                                       "Classification de la zone soudée selon C11.A5",
                                       {"Définition de la courbe de fatigue utilisée"}, *m_history);
        r.Section("Symboles");
        for (const char* line : kLegend) r.Line(line);
        r.FormFeed();
        r.EmptyLine();

        // Intensification for the form imperfection (C11.A6), on a working copy
        // of the request's history: the study's history stays as given, and so
        // does the request's, so that a second run intensifies only once.
        CZuvanFatigueHistorique history(*m_history);
        if (parts.seam.HasImperfection()) {
            const CZuvanFatigueImperfection& imperfection = parts.seam.GetImperfection();
            r.Section(
                "Intensification des contraintes pour prise en compte de imperfections de "
                "forme");
            for (const auto& entry : history.GetRecords()) {
                CZuvanFatigueReleve& record = *entry.second.second;
                const std::pair<double, double> a = imperfection.GetA(
                    parts.first.GetThicknessMm(), parts.second.GetThicknessMm(),
                    record.GetPressure(), pa, kIntensificationEMPa, kIntensificationNu);
                const CZuvanFatigueReleve::Tensor& sijm = record.GetSijm();
                CZuvanFatigueReleve::Tensor sij = record.GetSij();
                CZuvanFatigueReleve::Tensor sijlm = record.GetSijlm();
                const double dPerpendicular = (a.first - 1.0) * sijm[0];
                const double dParallel = (a.second - 1.0) * sijm[3];
                sij[0] += dPerpendicular;
                sijlm[0] += dPerpendicular;
                sij[3] += dParallel;
                sijlm[3] += dParallel;

                r.EmptyLine();
                r.LabelStart("Nom du relevé de contraintes", 45);
                r.RawLine(record.GetName());
                r.Label("Pression associée au relevé", 45, record.GetPressure());
                r.Label("Pression extérieure maximale de l'enveloppe", 45, pa);
                r.LabelStart("Coefficient A d'intensification selon C11.A6", 45);
                os << a.first;
                r.Line("(direction perpendiculaire au cordon)");
                r.LabelStart("Coefficient A d'intensification selon C11.A6", 45);
                os << a.second;
                r.Line("(direction parallèle au cordon)");
                r.Line("Valeurs initiales des contraintes relevées :");
                TensorRows(r, record.GetSij(), record.GetSijlm());
                record.SetStresses(sij, sijm, sijlm, record.GetSijlt());
                r.Line("Valeurs des contraintes après intensification selon C11.A6 :");
                TensorRows(r, record.GetSij(), record.GetSijlm());
            }
            r.EmptyLine();
            r.FormFeed();
            r.EmptyLine();
        }
        const std::vector<ZuvanFatigueAnalysis::Record> records =
            ZuvanFatigueAnalysis::Records(history);
        const int n = static_cast<int>(records.size());

        // Stage 1: search of the critical plane, no Kt, no tie-break.
        r.Section("Recherche du plan critique selon C11.3.9.2.3");
        for (const char* line : kSearchIntro) r.Line(line);
        r.Line("|    Theta   |    Phi     |    N0      |  Dommage   |");
        os << std::fixed;
        const CZuvanFatigueCountingMethod& counting = *m_counting;
        ZuvanFatigueCriticalPlane::Search search(records, counting);
        const ZuvanFatigueCriticalPlane::Plane best = search.Run(
            1.0, ZuvanFatigueCriticalPlane::PlaneChoice::kStrictlyGreater,
            [&fatigueClass](double range, double largest) {
                return fatigueClass.PermissibleCycles(range, largest, kSearchCr);
            },
            [&](const ZuvanFatigueCriticalPlane::Plane& p) {
                r.RowCell(p.theta * plane::kDegreesPerRadian, 10);
                r.RowCell(p.phi * plane::kDegreesPerRadian, 10);
                r.RowCell(p.origin, 10);
                os << std::scientific << std::setprecision(3);
                r.RowCell(p.damage, 10);
                os << std::fixed;
                r.RowEnd();
            });
        std::vector<double>& sxy = search.Sxy();
        std::vector<double>& sxz = search.Sxz();
        std::vector<int>& instants = search.Instants();
        std::vector<double>& values = search.Values();
        CZuvanFatigueCountingMethod::CycleMap& cycles = search.Cycles();
        CZuvanFatigueCountingMethod::RangeMap& ranges = search.Ranges();

        if (best.damage < ZuvanFatigueCriticalPlane::kDamageTie) {
            r.EmptyLine();
            r.Line("Le taux d'endommagement sur le plan critique est nul !");
            r.Line("Taux d'endommagement total pour l'historique étudié : 0");
            r.Line(std::string(53, '*'));
            report.Finish(kTag);
            return 0.0;
        }

        // Stage 2: final damage on the critical plane.
        const plane::Frame frame = plane::MakeFrame(best.theta, best.phi);
        std::vector<double> sxx(n);
        for (int k = 0; k < n; ++k) {
            plane::PlaneStresses(records[k].sij, frame, sxx[k], sxy[k], sxz[k]);
        }
        plane::OriginSeries(n, best.origin, sxy.data(), sxz.data(), search.RecordInstants().data(),
                            1.0, instants.data(), values.data());
        counting.LoadingCycles(n + 1, instants.data(), values.data(), cycles, ranges);

        std::vector<WeldCycle> weldCycles;
        weldCycles.reserve(cycles.size());
        double dSigmaMax = 0.0;
        for (const auto& cycle : cycles) {
            WeldCycle wc;
            wc.pivot = cycle.first.pivot;
            wc.start = cycle.first.start;
            wc.end = cycle.first.end;
            const ZuvanFatigueAnalysis::CycleIndices at =
                ZuvanFatigueAnalysis::Locate(records, wc.pivot, wc.start, wc.end, kTag);
            const int p = at.pivot, s = at.start, e = at.end;
            wc.before.DSigmaR = cycle.second;
            wc.before.DSigmaRlm = ZuvanFatigueAnalysis::LargestVariation(
                *m_criterion, records, &ZuvanFatigueAnalysis::Record::sijlm, p, s, e);
            wc.before.DSigmaRlt = ZuvanFatigueAnalysis::LargestVariation(
                *m_criterion, records, &ZuvanFatigueAnalysis::Record::sijlt, p, s, e);
            wc.temperatureC = ZuvanFatigueAnalysis::CycleTemperature(records, p, s, e);
            // Plasticity correction on DSigmaR (C11.3.11.1.2), before the
            // largest cycle is taken.
            wc.rpt = parts.Rpt(wc.temperatureC);
            wc.after = wc.before;
            WeldPlasticityCorrection(ruleType, rm, nu, wc.rpt, wc.after, wc.Ke, wc.Kv);
            dSigmaMax = std::max(dSigmaMax, wc.after.DSigmaR);
            weldCycles.push_back(wc);
        }

        // Report of the plane, the series and the cycles.
        r.EmptyLine();
        r.Title({"Contraintes normale et de cisaillement sur le plan déterminant",
                 "Température associée à ces contraintes"},
                '+');
        r.Label("Angle Theta du plan critique", 42, best.theta * plane::kDegreesPerRadian);
        r.Label("Angle Phi du plan critique", 42, best.phi * plane::kDegreesPerRadian);
        r.Label("Instant d'origine déterminant sur ce plan", 42, best.origin);
        r.Line("|    Temps   |    Sx'x'   |    Sx'y'   |    Sx'z'   |   Temp.    |");
        for (int k = 0; k < n; ++k) {
            r.Row(records[k].instant, sxx[k], sxy[k], sxz[k], records[k].temperatureC);
        }
        r.EmptyLine();
        r.Section("Variation équivalente des contraintes sur le plan critique");
        r.Line("|    Temps   |  DSigmaEq  |");
        for (int k = 0; k <= n; ++k) r.Row(instants[k], values[k]);
        r.EmptyLine();
        r.Section("Taille des cycles de contraintes extraits de l'historique de DSigmaEq");
        r.Label("Nombres des cycles extraits de l'historique", 44, weldCycles.size());
        r.Line("| Temps1 | Temps2 | Temps3 |   DSigmaR  |  DSigmaRlm |  DSigmaRlt |   Temp.    |");
        r.Line("| Début  | Pic    | Fin    |            |            |            |            |");
        for (const WeldCycle& wc : weldCycles) {
            r.InstantCells(wc.start, wc.pivot, wc.end);
            r.RowCell(wc.before.DSigmaR, 10);
            r.RowCell(wc.before.DSigmaRlm, 10);
            r.RowCell(wc.before.DSigmaRlt, 10);
            r.RowCell(wc.temperatureC, 10);
            r.RowEnd();
        }
        r.EmptyLine();
        r.Section("Corrections de plasticité");
        for (const char* line : kPlasticityIntro) r.Line(line);
        r.Line(
            "| Temps1 | Temps2 | Temps3 | DSigmaR  | DSigmaRlm| DSigmaRlt|   Temp.  |   Rpt    |");
        r.Line(
            "| Début  | Pic    | Fin    | DSigmaR  | DSigmaRlm| DSigmaRlt|     Ke   |   Kv     |");
        for (std::size_t i = 0; i < weldCycles.size(); ++i) {
            const WeldCycle& wc = weldCycles[i];
            if (i > 0) {
                r.Line(
                    "|        |        |        |          |          |          |          "
                    "|          |");
            }
            r.InstantCells(wc.start, wc.pivot, wc.end);
            r.RowCell(wc.before.DSigmaR, 8);
            r.RowCell(wc.before.DSigmaRlm, 8);
            r.RowCell(wc.before.DSigmaRlt, 8);
            r.RowCell(wc.temperatureC, 8);
            r.RowCell(wc.rpt, 8);
            r.RowEnd();
            r.BlankCells(3, 6);
            r.RowCell(wc.after.DSigmaR, 8);
            r.RowCell(wc.after.DSigmaRlm, 8);
            r.RowCell(wc.after.DSigmaRlt, 8);
            r.RowCell(wc.Ke, 8);
            r.RowCell(wc.Kv, 8);
            r.RowEnd();
        }

        // Final damage (C11.3.12.4): Ce once from the thicker component, CtR per
        // cycle, N on the weld class from DSigmaR itself (no Kf).
        const double thickerMm = parts.ThickerMm();
        const double ce = WeldCe(thickerMm);
        ZuvanFatigueWeld::WriteFinalHeading(r, {std::begin(kFinalIntro), std::end(kFinalIntro)},
                                            thickerMm, ce, dSigmaMax);
        double total = 0.0;
        for (const WeldCycle& wc : weldCycles) {
            const double ctR = CtR(ruleType, wc.temperatureC);
            const double cr = ctR * ce;
            const int cyclesN = fatigueClass.PermissibleCycles(wc.after.DSigmaR, dSigmaMax, cr);
            const double damage = ZuvanFatigueAnalysis::DamageRate(cyclesN, kTag);
            total += damage;
            r.InstantCells(wc.start, wc.pivot, wc.end);
            r.RowCell(wc.after.DSigmaR, 9);
            r.RowCell(wc.temperatureC, 8);
            r.RowCell(ctR, 7);
            r.RowCell(cr, 7);
            r.RowCell(cyclesN, 10);
            os << std::scientific << std::setprecision(3);
            r.RowCell(damage, 10);
            os << std::fixed;
            r.RowEnd();
        }
        r.EmptyLine();
        ZuvanFatigueAnalysis::WriteTotal(r, total);
        report.Finish(kTag);
        return total;
    });
}
