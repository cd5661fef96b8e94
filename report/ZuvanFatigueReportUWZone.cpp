// The report of the unwelded-zone analysis (C11.3.9.2.3).

#include <iterator>

#include "report/CZuvanFatigueRapport.h"
#include "report/ZuvanFatigueReport.h"
#include "report/ZuvanFatigueReportParts.h"
#include "report/ZuvanFatigueTable.h"

namespace {

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

using ZuvanFatigueResults::UWZoneCycle;
using ZuvanFatigueTable::Blank;
using ZuvanFatigueTable::Format;
using ZuvanFatigueTable::Table;
using ZuvanFatigueTable::UnderInstants;
using ZuvanFatigueTable::Value;
using ZuvanFatigueTable::WithInstants;
using Cell = ZuvanFatigueTable::Column<UWZoneCycle>;

// Size of the cycles before the plasticity correction.
Table<UWZoneCycle> CycleSizeTable() {
    Table<UWZoneCycle> t;
    t.header = {
        "| Temps1 | Temps2 | Temps3 |  DSigmaR | DSigmaRlm| DSigmaRlt| DSigmaRl |   Sigmo  "
        "| SigmaEqM |  Temp.  |",
        "| Début  | Pic    | Fin    |          |          |          |          |          "
        "|          |         |"};
    t.lines = {WithInstants<UWZoneCycle>({
        Cell{8, [](const UWZoneCycle& c) { return Value(c.before.DSigmaR); }},
        Cell{8, [](const UWZoneCycle& c) { return Value(c.before.DSigmaRlm); }},
        Cell{8, [](const UWZoneCycle& c) { return Value(c.before.DSigmaRlt); }},
        Cell{8, [](const UWZoneCycle& c) { return Value(c.before.DSigmaRl); }},
        Cell{8, [](const UWZoneCycle& c) { return Value(c.before.Sigmo); }},
        Cell{8, [](const UWZoneCycle& c) { return Value(c.sigmaEqM); }},
        Cell{7, [](const UWZoneCycle& c) { return Value(c.temperatureC); }},
    })};
    return t;
}

// The cycles before (line 1) and after (line 2) the plasticity correction.
Table<UWZoneCycle> PlasticityTable() {
    Table<UWZoneCycle> t;
    t.header = {
        "| Temps1 | Temps2 | Temps3 | DSigmaR  |  Sigmo   | DSigmaRl | DSigmaRlm| DSigmaRlt|"
        "   Temp.  |   Rpt    |",
        "| Début  | Pic    | Fin    | DSigmaR  |  Sigmo   | DSigmaRl | DSigmaRlm| DSigmaRlt|"
        "     Ke   |   Kv     |"};
    t.lines = {ZuvanFatigueReportParts::PlasticityBefore<UWZoneCycle>({
                   Cell{8, [](const UWZoneCycle& c) { return Value(c.before.DSigmaR); }},
                   Cell{8, [](const UWZoneCycle& c) { return Value(c.before.Sigmo); }},
                   Cell{8, [](const UWZoneCycle& c) { return Value(c.before.DSigmaRl); }},
               }),
               ZuvanFatigueReportParts::PlasticityAfter<UWZoneCycle>({
                   Cell{8, [](const UWZoneCycle& c) { return Value(c.after.DSigmaR); }},
                   Cell{8, [](const UWZoneCycle& c) { return Value(c.after.Sigmo); }},
                   Cell{8, [](const UWZoneCycle& c) { return Value(c.after.DSigmaRl); }},
               })};
    t.separated = true;
    return t;
}

// The final damage, four lines per cycle.
Table<UWZoneCycle> FinalTable() {
    Table<UWZoneCycle> t;
    t.header = {
        "| Temps1 | Temps2 | Temps3 | DSigmaR  | DSigmaRl | DSigmaRlm| DSigmaRlt|    Sigmo   "
        "|  SigmaEqM  |",
        "| Début  | Pic    | Fin    |    Kt    |   Kf     |          |          |            "
        "|            |",
        "|        |        |        |   Temp   |  DSigmaF |   CtR    |    Cm    |     Ce     "
        "|     Cs     |",
        "|        |        |        |          |          |          |    Cr    |      N     "
        "|  Dommage   |"};
    t.lines = {
        WithInstants<UWZoneCycle>({
            Cell{8, [](const UWZoneCycle& c) { return Value(c.after.DSigmaR); }},
            Cell{8, [](const UWZoneCycle& c) { return Value(c.after.DSigmaRl); }},
            Cell{8, [](const UWZoneCycle& c) { return Value(c.after.DSigmaRlm); }},
            Cell{8, [](const UWZoneCycle& c) { return Value(c.after.DSigmaRlt); }},
            Cell{10, [](const UWZoneCycle& c) { return Value(c.after.Sigmo); }},
            Cell{10, [](const UWZoneCycle& c) { return Value(c.sigmaEqM); }},
        }),
        UnderInstants<UWZoneCycle>({
            Cell{8, [](const UWZoneCycle& c) { return Value(c.Kt); }},
            Cell{8, [](const UWZoneCycle& c) { return Value(c.Kf); }},
            Blank<UWZoneCycle>(8),
            Blank<UWZoneCycle>(8),
            Blank<UWZoneCycle>(10),
            Blank<UWZoneCycle>(10),
        }),
        UnderInstants<UWZoneCycle>({
            Cell{8, [](const UWZoneCycle& c) { return Value(c.temperatureC); }},
            Cell{8, [](const UWZoneCycle& c) { return Value(c.DSigmaF); }},
            Cell{8, [](const UWZoneCycle& c) { return Value(c.CtR); }},
            Cell{8, [](const UWZoneCycle& c) { return Value(c.Cm); }},
            Cell{10, [](const UWZoneCycle& c) { return Value(c.Ce); }},
            Cell{10, [](const UWZoneCycle& c) { return Value(c.Cs); }},
        }),
        UnderInstants<UWZoneCycle>({
            Blank<UWZoneCycle>(8),
            Blank<UWZoneCycle>(8),
            Blank<UWZoneCycle>(8),
            Cell{8, [](const UWZoneCycle& c) { return Value(c.Cr); }},
            Cell{10, [](const UWZoneCycle& c) { return Value(c.N); }},
            Cell{10, [](const UWZoneCycle& c) { return Value(c.damage); }, Format::kScientific},
        })};
    t.separated = true;
    return t;
}

}  // namespace

void ZuvanFatigueReport::Write(std::ostream& os, const ZuvanFatigueResults::UWZoneResult& result) {
    namespace parts = ZuvanFatigueReportParts;
    using ZuvanFatigueResults::Stage;
    CZuvanFatigueRapport r(os);
    if (result.stage < Stage::kDefined) return;

    // Heading sections.
    r.EmptyLine();
    r.Title({"Calcul du taux d'endommagement pour une zone non soudée selon C11.3.9.2.3",
             "Le calcul est basé sur la recherche itérative du plan critique pour "
             "l'endommagement"});
    r.Section("Définition du composant auquel appartient la zone critique analysée");
    os << result.component;
    r.Section("Caractéristiques du matériau du composant");
    os << result.material;
    r.Section("Caractéristiques de la zone critique analysée");
    os << result.zone;
    r.Section("Définition de la courbe de fatigue utilisée");
    os << result.curve;
    r.EmptyLine();
    r.FormFeed();
    r.EmptyLine();
    r.Title({"Historique des contraintes qui sollicitent la zone analysée",
             "(Rappel des valeurs fournies - Kt de la zone non appliqué)"});
    os << result.history;
    r.EmptyLine();
    r.FormFeed();
    r.EmptyLine();
    r.Section("Symboles");
    for (const char* line : kLegend) r.Line(line);
    r.FormFeed();
    r.EmptyLine();

    // Stage 1: the search of the critical plane; stage 2: the plane, the
    // series and the cycles.
    if (!parts::WritePlaneSearch(r, {std::begin(kSearchIntro), std::end(kSearchIntro)},
                                 result.search, result.ending, true, "0.") ||
        result.stage < Stage::kFinal) {
        return;
    }
    parts::WriteCriticalPlane(r, "Contrainte équivalente et température associée à ces contraintes",
                              result.search.critical, result.planeRecords, true, result.series,
                              result.cycles.size());
    ZuvanFatigueTable::Write(r, CycleSizeTable(), result.cycles);
    r.EmptyLine();
    r.Section("Corrections de plasticité");
    for (const char* line : kPlasticityIntro) r.Line(line);
    ZuvanFatigueTable::Write(r, PlasticityTable(), result.cycles);

    // Final damage (C11.3.11.2, C11.3.12.3).
    r.EmptyLine();
    r.Section("Calcul final du taux d'endommagement");
    if (result.ktApplied) {
        for (const char* line : kFinalGeometric) r.Line(line);
    } else {
        for (const char* line : kFinalTotal) r.Line(line);
    }
    for (const char* line : kFinalCr) r.Line(line);
    r.Line(
        "les valeurs des autres coefficients (--> pour le coefficient la convergence n'est "
        "pas atteinte pour le résultat N affiché !)");
    if (result.ktApplied) r.Label("Kt caractéristique de la zone étudiée", 44, result.zoneKt);
    r.Label("Résistance à la traction à l'ambiante (MPa)", 44, result.material.GetRm());
    r.Label("Epaisseur du composant (mm)", 44, result.component.GetThicknessMm());
    r.Label("Rugosité du composant (micro mètre)", 44, result.component.GetRoughnessUm());
    r.Label("Plus grand cycle du spectre de calcul (MPa)", 44, result.dSigmaMax);
    ZuvanFatigueTable::Write(r, FinalTable(), result.cycles, result.damagedCycles);
    if (result.stage < Stage::kDone) return;
    r.EmptyLine();
    parts::WriteTotal(r, result.total);
}
