// Unwelded-zone damage by the critical-plane method of C11.3.9.2.3: the
// search of the plane that sees the largest damage, then the final damage on
// that plane with the plasticity correction and the correction factors of
// C11.3.11 and C11.3.12.3.

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <limits>

#include "damage/CZuvanFatigueClause.h"
#include "damage/ZuvanFatigueAnalysis.h"
#include "damage/ZuvanFatigueCorrection.h"
#include "damage/ZuvanFatigueCriticalPlane.h"
#include "damage/ZuvanFatiguePlane.h"
#include "deck/CZuvanFatigue.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "model/CZuvanFatigueComposant.h"
#include "model/CZuvanFatigueUWCourbe.h"
#include "model/CZuvanFatigueUWZone.h"
#include "report/CZuvanFatigueRapport.h"
#include "stress/CZuvanFatigueCountingMethod.h"
#include "stress/CZuvanFatigueHistorique.h"
#include "stress/CZuvanFatiguePlasticityCriteria.h"

namespace {

const char kTag[] = "<CZuvanFatigueClause::DamageUWZoneCriticalPlane>";

// Global correction of the search: low, so that nearly every cycle counts.
constexpr double kSearchCr = 0.2;

const char* const kLegend[] = {
    "DSigmaEq  : Variation équivalente des contraintes - cf. C11.3.9.2.3d2",
    "            égale à 2. fois la variation de longueur du vecteur cisaillement",
    "DSigmaF   : Etendue de contrainte totale corrigée effective calculée à partir de DSigmaR",
    "            DSigmaR --> DSigmaF : selon ZUVAN Division 2 : 2015 §C11.3.11.2",
    "            DSigmaF est noté DSigma*T,eff dans le ZUVAN",
    "            (DSigmaF/Cr) est utilisée pour trouver le nombre N de cycles admissibles",
    "DSigmaR   : Taille du cycle de contraintes extrait de l'historique de DSigmaEq",
    "DSigmaRl  : Variation totale de la contrainte linéarisée durant le cycle",
    "DSigmaRlm : Variation de la partie linéarisée des contraintes mécaniques durant le cycle",
    "DSigmaRlt : Variation de la partie linéarisée des contraintes thermiques durant le cycle",
    "Ce        : Coefficient de correction d'épaisseur selon ZUVAN Division 2 : 2015 C11.3.12.3",
    "Cm        : Coefficient de correction de contraine moyenne selon ZUVAN Division 2 : 2015 "
    "C11.3.12.3",
    "Cs        : Coefficient de correction d'état de surface selon ZUVAN Division 2 : 2015 "
    "C11.3.12.3",
    "CtR       : Coefficient de correction de température selon ZUVAN Division 2 : 2015 C11.3.12.3",
    "            Noté Ct dans le ZUVAN mais s'applique à la température moyenne de cycle t*",
    "Cr        : Coefficient global de correction selon ZUVAN Division 2 : 2015 C11.3.12.3",
    "Ke        : Coefficient de correction de plasticité pour les contraintes d'origine mécanique",
    "            Selon ZUVAN Division 2 : 2015 C11.3.11.1",
    "Kf        : Coefficient global de concentration de contrainte effective",
    "            Kt ---> Kf selon ZUVAN Division 2 : 2015 C11.3.11.2",
    "Kt        : Coefficient global de concentration de contrainte théorique",
    "Kv        : Coefficient de correction de plasticité pour les contraintes d'origine thermique",
    "            Selon ZUVAN Division 2 : 2015 C11.3.11.1",
    "            Prends en compte la variation du coefficient de Poisson entre élasticité et "
    "plasticité",
    "N         : Nombre de cycles admissibles donné par la courbe de fatigue - cf. C11.3.13",
    "N0        : Instant d'origine déterminant pour le paramètre d'endommagement - cf. C11.3.9.2.3",
    "            N0 est noté t0 dans le ZUVAN",
    "Phi       : Angle Phi du plan d'analyse - cf. Figure C11.3.9.2.3a",
    "Rpt       : Limite d'élasticité du matériau à la température du cycle",
    "SigmaEq   : Contrainte équivalente",
    "SigmaEqM  : Contrainte équivalente maximale durant le cycle",
    "Sigmo     : Contrainte moyenne durant le cycle - cf. C11.3.9.2.3j2",
    "Sx'x'     : Contrainte normale sur le plan d'analyse défini par Theta et Phi - cf. "
    "C11.3.9.2.3b1",
    "Sx'x' Som : Cumul des contrainte normales positives pour le plan d'analyse et l'instant "
    "d'origine",
    "            Utilisé pour choisir le plan le plus critique parmi les plans qui voient le même "
    "endommagement",
    "            Voir C11.3.9.2.3i) - ce paragraphe n'est pas exactement respecté !",
    "            Le Kt de la zone analysée n'est pas pris en compte (--> pas d'influence sur le "
    "résultat)",
    "Sx'y'     : Composante de la contrainte de cisaillement sur le plan défini par Theta et Phi",
    "Sx'z'     : Composante de la contrainte de cisaillement sur le plan défini par Theta et Phi",
    "            Pour Sx'y' et Sx'z' voir C11.3.9.2.3b2 et b3",
    "Theta     : Angle Theta du plan d'analyse - cf. Figure C11.3.9.2.3a)",
    "Temp      : Température",
};
const char* const kSearchIntro[] = {
    "L'objectif est de trouver un plan qui est vraisemblablement l'un des (le) plus critiques!",
    "Pendant la recherche un coefficient global de correction Cr très faible de 0,2 est utilisé,",
    "ainsi presque tous les cycles sont pris en compte (de très petits cycle sont comptés)",
    "Des cycles qui seront négligés dans le calcul final de l'endommagement sont donc pris en "
    "compte",
    "Le taux d'endommagement qui apparaît dans le tableau suivant n'est pas significatif",
    "Le tableau retranscrit la suite des itérations effectuées par le logiciel",
    "Un taux d'endommagement est écrit dès lors qu'il devient le plus élevé déjà rencontré !",
};
const char* const kPlasticityIntro[] = {
    "Si (DSigmal>2.*Rpt)",
    "     --> Les variations de contraintes géométriques DSigmaRlm, DSigmaRlt, DSigmaRl doivent "
    "être amplifiées",
    "     --> L'étendue de contraintes totales DSigmaR doit être amplifiée",
    "     --> La contrainte moyenne Sigmo associée au cycle doit être amplifiée",
    "Quand il n'existe que des contraintes d'origine mécanique",
    "     Ke est le coefficient de correction de plasticité pour les contraintes d'origine "
    "mécanique",
    "     Ke est calculé à partir de DSigmaRlm selon ZUVAN Division 2 : 2015 C11.3.11.1.2",
    "     DSigmaRlm, DSigmaRl, DSigmaR et Sigmo sont multipliés par Ke",
    "Quand il n'existe que des contraintes d'origine thermique",
    "     Kv est le coefficient de correction de plasticité pour les contraintes d'origine "
    "thermique",
    "     Kv est calculé à partir de DSigmaRlt selon ZUVAN Division 2 : 2015 C11.3.11.1.2",
    "     Pour une justification détaillée de la formulation retenue voir RCC-M Criteria - Annexe "
    "8 - A8-3.5",
    "     DSigmaRlt, DSigmaRl, DSigmaR et Sigmo sont multipliés par Kv",
    "Quand il existe des contraintes d'origine mécanique et des contraintes d'origine thermique",
    "     Le logiciel calcule Ke comme précédemment (--> Ke calculé à partir de DSigmaRlm)",
    "     Le logiciel calcule Kv comme précédemment (--> Kv calculé à partir de DSigmaRlt)",
    "     Le logiciel amplifie DSigmaRl en utilisant une combinaison des coefficients Ke et Kv",
    "     La formulation utilisée est décrite en C11.3.11.1.2 : DSigmaRl-->ke*A+kv*B",
    "     DSigmaR est amplifié en écrivant : DSigmaR-->DSigmaR*(ke*A+kv*B)/DSigmaRl",
    "     Sigmo est amplifié de façon semblable",
    "     DSigmaRlm est multiplié par Ke",
    "     DSigmaRlt est multiplié par Kv",
    "Pour chaque cycle de contraintes extrait de l'historique de DSigmaEq le tableau suivant donne "
    ":",
    "     - La taille du cycle avant (ligne 1) et après (ligne 2) la correction de plasticité",
    "     - Les Principaux paramètres utilisés pour effectuer la correction (lignes 1 et 2)",
};
const char* const kFinalGeometric[] = {
    "Les contraintes fournies sont des contraintes géométriques",
    "La taille du cycle de contraintes DSigmaR est basée sur des contraintes géométriques "
    "amplifiées",
    "DSigmaF = (Kf/Kt)*DSigmaR",
    "(DSigmaF/Cr) est l'étendue de contrainte utilisée pour trouver le nombre N de cycles "
    "admissibles",
    "Kf est une fonction de Kt, Kt est une donnée caractéristique de la zone étudiée",
    "Cette fonction est décrite en C11.3.11.2",
};
const char* const kFinalTotal[] = {
    "Les contraintes fournies sont des contraintes totales",
    "La taille du cycle de contraintes DSigmaR est basée sur des contraintes totales",
    "Le coefficient global de concentration de contrainte théorique Kt est d'abord calculé",
    "Kt = DsigmaR / Dsigmal (--> contraintes totales/géométriques)",
    "Le coefficient Kf est une fonction de Kt, cette fonction est décrite en C11.3.11.2",
    "DSigmaF = (Kf/Kt)*DSigmaR",
    "(DSigmaF/Cr) est l'étendue de contrainte utilisée pour trouver le nombre N de cycles "
    "admissibles",
};
const char* const kFinalCr[] = {
    "Cr est le coefficient global de correction - Cr=CtR*Ce*Cs*Cm",
    "Les coefficients de correction sont calculés à partir de DSigmaF",
    "Lorsque la recherche de la valeur d'un coefficient nécessite un calcul itératif (--> "
    "Cs,Ce,Cm)",
    "la valeur du coefficient est déterminée dans une boucle à part, en fixant à 1.",
};

// Per counted cycle of the final stage.
struct FinalCycle {
    int start, pivot, end;
    ZuvanFatigueCorrection::CycleStresses before, after;
    double temperatureC, sigmaEqM, rpt, Ke, Kv;
};

}  // namespace

double CZuvanFatigueClause::DamageUWZoneCriticalPlane() {
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

        const CZuvanFatigueUWZone zone = m_study->GetUWZone(m_history->GetZoneName());
        const CZuvanFatigueUWCourbe curve = m_study->Context().GetUWCurve(zone.GetCurveName());
        const CZuvanFatigueComposant component = m_study->GetComponent(zone.GetComponentName());
        const CZuvanFatigueMateriau material =
            m_study->Context().GetMaterial(component.GetMaterialName());
        const int materialType = material.GetType();
        if (materialType != CZuvanFatigueMateriau::kTypeFerritique &&
            materialType != CZuvanFatigueMateriau::kTypeAustenitique) {
            Raise(kTag, kCodeEndommagement);
        }
        const double zoneKt = zone.GetKt();
        const bool ktApplied = zone.IsGeometric();
        const double ktScale = ktApplied ? zoneKt : 1.0;

        // Heading sections.
        r.EmptyLine();
        r.Title({"Calcul du taux d'endommagement pour une zone non soudée selon C11.3.9.2.3",
                 "Le calcul est basé sur la recherche itérative du plan critique pour "
                 "l'endommagement"});
        r.Section("Définition du composant auquel appartient la zone critique analysée");
        os << component;
        r.Section("Caractéristiques du matériau du composant");
        os << material;
        r.Section("Caractéristiques de la zone critique analysée");
        os << zone;
        r.Section("Définition de la courbe de fatigue utilisée");
        os << curve;
        r.EmptyLine();
        r.FormFeed();
        r.EmptyLine();
        r.Title({"Historique des contraintes qui sollicitent la zone analysée",
                 "(Rappel des valeurs fournies - Kt de la zone non appliqué)"});
        os << *m_history;
        r.EmptyLine();
        r.FormFeed();
        r.EmptyLine();
        r.Section("Symboles");
        for (const char* line : kLegend) r.Line(line);
        r.FormFeed();
        r.EmptyLine();
        r.Section("Recherche du plan critique selon C11.3.9.2.3");
        for (const char* line : kSearchIntro) r.Line(line);
        r.Line("|    Theta   |    Phi     |    N0      |  Dommage   |  Sx'x' Som |");
        os << std::fixed;

        // Stage 1: search of the critical plane.
        const CZuvanFatigueCountingMethod& counting = *m_counting;
        ZuvanFatigueCriticalPlane::Search search(records, counting);
        const ZuvanFatigueCriticalPlane::Plane best = search.Run(
            ktScale, ZuvanFatigueCriticalPlane::PlaneChoice::kToleranceThenSum,
            [&curve](double range, double largest) {
                return curve.PermissibleCycles(range, largest, kSearchCr);
            },
            [&](const ZuvanFatigueCriticalPlane::Plane& p) {
                r.RowCell(p.theta * plane::kDegreesPerRadian, 10);
                r.RowCell(p.phi * plane::kDegreesPerRadian, 10);
                r.RowCell(p.origin, 10);
                os << std::scientific << std::setprecision(3);
                r.RowCell(p.damage, 10);
                os << std::fixed;
                r.RowCell(zoneKt * p.sum, 10);
                r.RowEnd();
            });
        const double bestDamage = best.damage, bestTheta = best.theta, bestPhi = best.phi;
        const int bestOrigin = best.origin;
        std::vector<int>& recordInstants = search.RecordInstants();
        std::vector<double>& sxy = search.Sxy();
        std::vector<double>& sxz = search.Sxz();
        std::vector<int>& instants = search.Instants();
        std::vector<double>& values = search.Values();
        CZuvanFatigueCountingMethod::CycleMap& cycles = search.Cycles();
        CZuvanFatigueCountingMethod::RangeMap& ranges = search.Ranges();

        if (bestDamage < ZuvanFatigueCriticalPlane::kDamageTie) {
            r.EmptyLine();
            r.Line("Le taux d'endommagement sur le plan critique est nul !");
            r.Line("Taux d'endommagement total pour l'historique étudié : 0.");
            r.Line(std::string(53, '*'));
            report.Finish(kTag);
            return 0.0;
        }

        // Stage 2: final damage on the critical plane.
        const plane::Frame frame = plane::MakeFrame(bestTheta, bestPhi);
        std::vector<double> sxx(n), sigmaEq(n);
        std::vector<CZuvanFatiguePlasticityCriteria::Tensor> sijl(n);
        for (int k = 0; k < n; ++k) {
            plane::PlaneStresses(records[k].sij, frame, sxx[k], sxy[k], sxz[k]);
            sxx[k] *= zoneKt;
            sxy[k] *= zoneKt;
            sxz[k] *= zoneKt;
            sigmaEq[k] = m_criterion->EquivalentStress(records[k].sij) * ktScale;
            for (int c = 0; c < 6; ++c) sijl[k][c] = records[k].sijlm[c] + records[k].sijlt[c];
        }
        plane::OriginSeries(n, bestOrigin, sxy.data(), sxz.data(), recordInstants.data(), 1.0,
                            instants.data(), values.data());
        counting.LoadingCycles(n + 1, instants.data(), values.data(), cycles, ranges);

        const auto l = [&](int k) -> const CZuvanFatiguePlasticityCriteria::Tensor& {
            return sijl[k];
        };
        std::vector<FinalCycle> finalCycles;
        finalCycles.reserve(cycles.size());
        for (const auto& cycle : cycles) {
            FinalCycle fc;
            fc.pivot = cycle.first.pivot;
            fc.start = cycle.first.start;
            fc.end = cycle.first.end;
            const ZuvanFatigueAnalysis::CycleIndices at =
                ZuvanFatigueAnalysis::Locate(records, fc.pivot, fc.start, fc.end, kTag);
            const int p = at.pivot, s = at.start, e = at.end;
            fc.before.DSigmaR = cycle.second;
            fc.before.DSigmaRlm = ZuvanFatigueAnalysis::LargestVariation(
                *m_criterion, records, &ZuvanFatigueAnalysis::Record::sijlm, p, s, e);
            fc.before.DSigmaRlt = ZuvanFatigueAnalysis::LargestVariation(
                *m_criterion, records, &ZuvanFatigueAnalysis::Record::sijlt, p, s, e);
            fc.before.DSigmaRl = ZuvanFatigueAnalysis::LargestVariation(*m_criterion, l, p, s, e);
            // Over the records between p and s and between e and p (C11.3.9.2.3j2).
            double sxxMax = std::numeric_limits<double>::lowest();
            double sxxMin = std::numeric_limits<double>::max();
            double eqMax = std::numeric_limits<double>::lowest();
            const auto over = [&](int a, int b) {
                for (int k = std::min(a, b); k <= std::max(a, b); ++k) {
                    sxxMax = std::max(sxxMax, sxx[k]);
                    sxxMin = std::min(sxxMin, sxx[k]);
                    eqMax = std::max(eqMax, sigmaEq[k]);
                }
            };
            over(p, s);
            over(e, p);
            fc.before.Sigmo = sxxMax + sxxMin;
            fc.temperatureC = ZuvanFatigueAnalysis::CycleTemperature(records, p, s, e);
            fc.sigmaEqM = eqMax;
            finalCycles.push_back(fc);
        }

        // Plasticity correction (C11.3.11.1.2), before the largest cycle is taken.
        double dSigmaMax = 0.0;
        for (FinalCycle& fc : finalCycles) {
            fc.rpt = material.GetRet(fc.temperatureC);
            fc.after = fc.before;
            PlasticityCorrection(materialType, material.GetRm(), material.GetNu(), fc.rpt, fc.after,
                                 fc.Ke, fc.Kv);
            dSigmaMax = std::max(dSigmaMax, fc.after.DSigmaR);
        }

        // Report of the plane, the series and the cycles.
        r.EmptyLine();
        r.Title({"Contraintes normale et de cisaillement sur le plan déterminant",
                 "Contrainte équivalente et température associée à ces contraintes"},
                '+');
        r.Label("Angle Theta du plan critique", 42, bestTheta * plane::kDegreesPerRadian);
        r.Label("Angle Phi du plan critique", 42, bestPhi * plane::kDegreesPerRadian);
        r.Label("Instant d'origine déterminant sur ce plan", 42, bestOrigin);
        r.Line("|    Temps   |    Sx'x'   |    Sx'y'   |    Sx'z'   |   SigmaEq  |   Temp.    |");
        for (int k = 0; k < n; ++k) {
            r.Row(records[k].instant, sxx[k], sxy[k], sxz[k], sigmaEq[k], records[k].temperatureC);
        }
        r.EmptyLine();
        r.Section("Variation équivalente des contraintes sur le plan critique");
        r.Line("|    Temps   |  DSigmaEq  |");
        for (int k = 0; k <= n; ++k) r.Row(instants[k], values[k]);
        r.EmptyLine();
        r.Section("Taille des cycles de contraintes extraits de l'historique de DSigmaEq");
        r.Label("Nombres des cycles extraits de l'historique", 44, finalCycles.size());
        r.Line(
            "| Temps1 | Temps2 | Temps3 |  DSigmaR | DSigmaRlm| DSigmaRlt| DSigmaRl |   Sigmo  "
            "| SigmaEqM |  Temp.  |");
        r.Line(
            "| Début  | Pic    | Fin    |          |          |          |          |          "
            "|          |         |");
        for (const FinalCycle& fc : finalCycles) {
            r.InstantCells(fc.start, fc.pivot, fc.end);
            r.RowCell(fc.before.DSigmaR, 8);
            r.RowCell(fc.before.DSigmaRlm, 8);
            r.RowCell(fc.before.DSigmaRlt, 8);
            r.RowCell(fc.before.DSigmaRl, 8);
            r.RowCell(fc.before.Sigmo, 8);
            r.RowCell(fc.sigmaEqM, 8);
            r.RowCell(fc.temperatureC, 7);
            r.RowEnd();
        }
        r.EmptyLine();
        r.Section("Corrections de plasticité");
        for (const char* line : kPlasticityIntro) r.Line(line);
        r.Line(
            "| Temps1 | Temps2 | Temps3 | DSigmaR  |  Sigmo   | DSigmaRl | DSigmaRlm| DSigmaRlt|"
            "   Temp.  |   Rpt    |");
        r.Line(
            "| Début  | Pic    | Fin    | DSigmaR  |  Sigmo   | DSigmaRl | DSigmaRlm| DSigmaRlt|"
            "     Ke   |   Kv     |");
        for (std::size_t i = 0; i < finalCycles.size(); ++i) {
            const FinalCycle& fc = finalCycles[i];
            if (i > 0) {
                r.Line(
                    "|        |        |        |          |          |          |          |"
                    "          |          |          |");
            }
            r.InstantCells(fc.start, fc.pivot, fc.end);
            r.RowCell(fc.before.DSigmaR, 8);
            r.RowCell(fc.before.Sigmo, 8);
            r.RowCell(fc.before.DSigmaRl, 8);
            r.RowCell(fc.before.DSigmaRlm, 8);
            r.RowCell(fc.before.DSigmaRlt, 8);
            r.RowCell(fc.temperatureC, 8);
            r.RowCell(fc.rpt, 8);
            r.RowEnd();
            r.BlankCells(3, 6);
            r.RowCell(fc.after.DSigmaR, 8);
            r.RowCell(fc.after.Sigmo, 8);
            r.RowCell(fc.after.DSigmaRl, 8);
            r.RowCell(fc.after.DSigmaRlm, 8);
            r.RowCell(fc.after.DSigmaRlt, 8);
            r.RowCell(fc.Ke, 8);
            r.RowCell(fc.Kv, 8);
            r.RowEnd();
        }

        // Final damage (C11.3.11.2, C11.3.12.3).
        r.EmptyLine();
        r.Section("Calcul final du taux d'endommagement");
        if (ktApplied) {
            for (const char* line : kFinalGeometric) r.Line(line);
        } else {
            for (const char* line : kFinalTotal) r.Line(line);
        }
        for (const char* line : kFinalCr) r.Line(line);
        r.Line(
            "les valeurs des autres coefficients (--> pour le coefficient la convergence n'est "
            "pas atteinte pour le résultat N affiché !)");
        if (ktApplied) r.Label("Kt caractéristique de la zone étudiée", 44, zoneKt);
        r.Label("Résistance à la traction à l'ambiante (MPa)", 44, material.GetRm());
        r.Label("Epaisseur du composant (mm)", 44, component.GetThicknessMm());
        r.Label("Rugosité du composant (micro mètre)", 44, component.GetRoughnessUm());
        r.Label("Plus grand cycle du spectre de calcul (MPa)", 44, dSigmaMax);
        r.Line(
            "| Temps1 | Temps2 | Temps3 | DSigmaR  | DSigmaRl | DSigmaRlm| DSigmaRlt|    Sigmo   "
            "|  SigmaEqM  |");
        r.Line(
            "| Début  | Pic    | Fin    |    Kt    |   Kf     |          |          |            "
            "|            |");
        r.Line(
            "|        |        |        |   Temp   |  DSigmaF |   CtR    |    Cm    |     Ce     "
            "|     Cs     |");
        r.Line(
            "|        |        |        |          |          |          |    Cr    |      N     "
            "|  Dommage   |");
        const double dSigmaD = curve.GetDSigmaD();
        const PermissibleCyclesFn permissible = [&curve](double dSigma, double dSigmaMaxMPa,
                                                         double f) {
            return curve.PermissibleCycles(dSigma, dSigmaMaxMPa, f);
        };
        double total = 0.0;
        for (std::size_t i = 0; i < finalCycles.size(); ++i) {
            const FinalCycle& fc = finalCycles[i];
            const CycleStresses& c = fc.after;
            const double rpt = material.GetRet(fc.temperatureC);
            const int n1 = curve.PermissibleCycles(c.DSigmaR, dSigmaMax, 1.0);
            double Kt = 1.0, Kf = 1.0;
            const double dSigmaF = KtKf(ktApplied, zoneKt, c.DSigmaR, c.DSigmaRl, dSigmaD, Kt, Kf);
            const double ctR = CtR(materialType, fc.temperatureC);
            const double cs = Cs(component.GetRoughnessUm(), material.GetRm(), n1, dSigmaF,
                                 dSigmaMax, permissible);
            const double ce = Ce(component.GetThicknessMm(), n1, dSigmaF, dSigmaMax, permissible);
            const double cm = Cm(material.GetRm(), rpt, c.DSigmaRl, c.Sigmo, fc.sigmaEqM, dSigmaF,
                                 n1, dSigmaMax, permissible);
            const double cr = ctR * ce * cs * cm;
            const int cycles = curve.PermissibleCycles(dSigmaF, dSigmaMax, cr);
            const double damage = ZuvanFatigueAnalysis::DamageRate(cycles, kTag);
            total += damage;

            if (i > 0) {
                r.Line(
                    "|        |        |        |          |          |          |          |"
                    "            |            |");
            }
            r.InstantCells(fc.start, fc.pivot, fc.end);
            r.RowCell(c.DSigmaR, 8);
            r.RowCell(c.DSigmaRl, 8);
            r.RowCell(c.DSigmaRlm, 8);
            r.RowCell(c.DSigmaRlt, 8);
            r.RowCell(c.Sigmo, 10);
            r.RowCell(fc.sigmaEqM, 10);
            r.RowEnd();
            r.BlankCells(3, 6);
            r.RowCell(Kt, 8);
            r.RowCell(Kf, 8);
            r.RowCell("", 8);
            r.RowCell("", 8);
            r.RowCell("", 10);
            r.RowCell("", 10);
            r.RowEnd();
            r.BlankCells(3, 6);
            r.RowCell(fc.temperatureC, 8);
            r.RowCell(dSigmaF, 8);
            r.RowCell(ctR, 8);
            r.RowCell(cm, 8);
            r.RowCell(ce, 10);
            r.RowCell(cs, 10);
            r.RowEnd();
            r.BlankCells(3, 6);
            r.RowCell("", 8);
            r.RowCell("", 8);
            r.RowCell("", 8);
            r.RowCell(cr, 8);
            r.RowCell(cycles, 10);
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
