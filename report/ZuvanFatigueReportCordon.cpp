// The report of the welded-zone analysis (C11.3.9.3, C11.A6).

#include <array>
#include <iterator>

#include "report/CZuvanFatigueRapport.h"
#include "report/ZuvanFatigueReport.h"
#include "report/ZuvanFatigueReportParts.h"
#include "report/ZuvanFatigueTable.h"

namespace {

const char* const kLegend[] = {
    "A         : Coefficient global d'intensification de contraintes selon C11.A6",
    "DSigmaEq  : Variation équivalente des contraintes - cf. C11.3.9.2.3d2",
    "            égale à 2. fois la variation de longueur du vecteur cisaillement",
};
const char* const kLegendTail[] = {
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

using ZuvanFatigueResults::WeldCycle;
using ZuvanFatigueTable::Format;
using ZuvanFatigueTable::Table;
using ZuvanFatigueTable::UnderInstants;
using ZuvanFatigueTable::Value;
using ZuvanFatigueTable::WithInstants;
using Cell = ZuvanFatigueTable::Column<WeldCycle>;
using Tensor = std::array<double, 6>;

// A tensor of a record in one row of six cells under its header, in the
// default notation with 6 significant digits, as the records' echo.
void WriteTensor(CZuvanFatigueRapport& r, const char* header, const Tensor& tensor) {
    Table<Tensor> t;
    t.header = {header};
    t.notation = ZuvanFatigueTable::Notation::kDefault;
    t.precision = 6;
    t.lines.emplace_back();
    for (std::size_t c = 0; c < 6; ++c) {
        t.lines[0].push_back({10, [c](const Tensor& s) { return Value(s[c]); }});
    }
    ZuvanFatigueTable::Write(r, t, std::vector<Tensor>{tensor});
}

void WriteTensors(CZuvanFatigueRapport& r, const Tensor& sij, const Tensor& sijlm) {
    WriteTensor(r, kSijHeader, sij);
    WriteTensor(r, kSijlmHeader, sijlm);
}

// The cycles before (line 1) and after (line 2) the plasticity correction.
Table<WeldCycle> PlasticityTable() {
    Table<WeldCycle> t;
    t.header = {
        "| Temps1 | Temps2 | Temps3 | DSigmaR  | DSigmaRlm| DSigmaRlt|   Temp.  |   Rpt    |",
        "| Début  | Pic    | Fin    | DSigmaR  | DSigmaRlm| DSigmaRlt|     Ke   |   Kv     |"};
    t.lines = {WithInstants<WeldCycle>({
                   Cell{8, [](const WeldCycle& c) { return Value(c.before.DSigmaR); }},
                   Cell{8, [](const WeldCycle& c) { return Value(c.before.DSigmaRlm); }},
                   Cell{8, [](const WeldCycle& c) { return Value(c.before.DSigmaRlt); }},
                   Cell{8, [](const WeldCycle& c) { return Value(c.temperatureC); }},
                   Cell{8, [](const WeldCycle& c) { return Value(c.Rpt); }},
               }),
               UnderInstants<WeldCycle>({
                   Cell{8, [](const WeldCycle& c) { return Value(c.after.DSigmaR); }},
                   Cell{8, [](const WeldCycle& c) { return Value(c.after.DSigmaRlm); }},
                   Cell{8, [](const WeldCycle& c) { return Value(c.after.DSigmaRlt); }},
                   Cell{8, [](const WeldCycle& c) { return Value(c.Ke); }},
                   Cell{8, [](const WeldCycle& c) { return Value(c.Kv); }},
               })};
    t.separated = true;
    return t;
}

}  // namespace

void ZuvanFatigueReport::Write(std::ostream& os, const ZuvanFatigueResults::WeldResult& result) {
    namespace parts = ZuvanFatigueReportParts;
    using ZuvanFatigueResults::Stage;
    CZuvanFatigueRapport r(os);
    if (result.stage < Stage::kDefined) return;

    r.EmptyLine();
    r.Title(
        {"Calcul du taux d'endommagement pour une zone soudée selon C11.3.9.3 et "
         "C11.3.9.2.3",
         "Le calcul est basé sur la recherche itérative du plan critique pour "
         "l'endommagement"});
    parts::WriteWeldHeading(r, result.parts, "Définition de la zone soudée",
                            "Classification de la zone soudée selon C11.A5",
                            {"Définition de la courbe de fatigue utilisée"}, result.history);
    parts::WriteWeldLegend(r, {std::begin(kLegend), std::end(kLegend)},
                           {std::begin(kLegendTail), std::end(kLegendTail)});

    // Intensification for the form imperfection (C11.A6).
    if (result.hasImperfection) {
        r.Section(
            "Intensification des contraintes pour prise en compte de imperfections de "
            "forme");
        for (const ZuvanFatigueResults::IntensifiedRecord& ir : result.intensified) {
            r.EmptyLine();
            r.LabelStart("Nom du relevé de contraintes", 45);
            r.RawLine(ir.name);
            r.Label("Pression associée au relevé", 45, ir.pressure);
            r.Label("Pression extérieure maximale de l'enveloppe", 45, result.externalPressure);
            r.LabelStart("Coefficient A d'intensification selon C11.A6", 45);
            os << ir.aPerpendicular;
            r.Line("(direction perpendiculaire au cordon)");
            r.LabelStart("Coefficient A d'intensification selon C11.A6", 45);
            os << ir.aParallel;
            r.Line("(direction parallèle au cordon)");
            r.Line("Valeurs initiales des contraintes relevées :");
            WriteTensors(r, ir.sijBefore, ir.sijlmBefore);
            r.Line("Valeurs des contraintes après intensification selon C11.A6 :");
            WriteTensors(r, ir.sijAfter, ir.sijlmAfter);
        }
        if (result.stage < Stage::kIntensified) return;
        r.EmptyLine();
        r.FormFeed();
        r.EmptyLine();
    }

    // Stage 1: the search of the critical plane; stage 2: the plane, the
    // series and the cycles.
    if (!parts::WritePlaneSearch(r, {std::begin(kSearchIntro), std::end(kSearchIntro)},
                                 result.search, result.ending, false, "0") ||
        result.stage < Stage::kFinal) {
        return;
    }
    parts::WriteCriticalPlane(r, "Température associée à ces contraintes", result.search.critical,
                              result.planeRecords, false, result.series, result.cycles.size());
    ZuvanFatigueTable::Write(r,
                             parts::WeldCycleSizeTable<WeldCycle>(
                                 [](const WeldCycle& c) { return Value(c.before.DSigmaR); },
                                 [](const WeldCycle& c) { return Value(c.before.DSigmaRlm); },
                                 [](const WeldCycle& c) { return Value(c.before.DSigmaRlt); }),
                             result.cycles);
    r.EmptyLine();
    r.Section("Corrections de plasticité");
    for (const char* line : kPlasticityIntro) r.Line(line);
    ZuvanFatigueTable::Write(r, PlasticityTable(), result.cycles);

    // Final damage (C11.3.12.4).
    parts::WriteWeldFinalHeading(r, {std::begin(kFinalIntro), std::end(kFinalIntro)},
                                 result.thickerMm, result.Ce, result.dSigmaMax);
    ZuvanFatigueTable::Write(
        r,
        parts::WeldFinalTable<WeldCycle>([](const WeldCycle& c) { return Value(c.after.DSigmaR); },
                                         Format::kPlain),
        result.cycles, result.damagedCycles);
    if (result.stage < Stage::kDone) return;
    r.EmptyLine();
    parts::WriteTotal(r, result.total);
}
