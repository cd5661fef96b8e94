// The report of the weld-throat check (C11.3.7.4, C11.3.9.5.2).

#include <iomanip>
#include <iterator>

#include "report/CZuvanFatigueRapport.h"
#include "report/ZuvanFatigueReport.h"
#include "report/ZuvanFatigueReportParts.h"
#include "report/ZuvanFatigueTable.h"

namespace {

const char* const kLegend[] = {
    "DSigmaEq  : Variation équivalente des contraintes - cf. C11.3.9.4",
    "            égale à la variation de longueur du vecteur contrainte agissant sur le plan de "
    "la gorge",
};
const char* const kLegendTail[] = {
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

using ZuvanFatigueCriticalPlane::Origin;
using ZuvanFatigueResults::ThroatCycle;
using ZuvanFatigueTable::Format;
using ZuvanFatigueTable::Table;
using ZuvanFatigueTable::Value;

template <class T>
void LabelField(CZuvanFatigueRapport& r, const char* label, const T& value, int width) {
    r.LabelStart(label, 16);
    r.Field(value, width);
    r.EmptyLine();
}

// The rows of the search of N0: each origin that became the best, in order.
void WriteOriginTable(CZuvanFatigueRapport& r, const std::vector<Origin>& origins,
                      const std::vector<std::size_t>& improving) {
    Table<Origin> t;
    t.header = {"|    N0      |  Dommage   |"};
    t.lines = {{
        {10, [](const Origin& o) { return Value(o.index); }},
        {10, [](const Origin& o) { return Value(o.damage); }, Format::kScientific},
    }};
    std::vector<Origin> rows;
    for (std::size_t at : improving) rows.push_back(origins[at]);
    ZuvanFatigueTable::Write(r, t, rows);
}

}  // namespace

void ZuvanFatigueReport::Write(std::ostream& os, const ZuvanFatigueResults::ThroatResult& result) {
    namespace parts = ZuvanFatigueReportParts;
    using ZuvanFatigueResults::Stage;
    CZuvanFatigueRapport r(os);
    if (result.stage < Stage::kDefined) return;

    r.EmptyLine();
    r.Title({"Vérification de la gorge d'un cordon de soudure à pénétration partielle",
             "Inutile si hauteur de gorge >= 0,8e et soudure directement sollicitée (cf. "
             "C11.3.7.4)",
             "Inutile si hauteur de gorge >= 0,7e et soudure non directement sollicitée (cf. "
             "C11.3.7.4)"});
    parts::WriteWeldHeading(
        r, result.parts, "Description du cordon dont la gorge est étudiée",
        "Description de la gorge étudiée",
        {"Définition de la courbe de fatigue utilisée", "(en principe classe 32 selon C11.3.12.2)"},
        result.history);
    parts::WriteWeldLegend(r, {std::begin(kLegend), std::end(kLegend)},
                           {std::begin(kLegendTail), std::end(kLegendTail)});

    // The stress vector on the throat plane.
    r.Title({"Contraintes normales et de cisaillement sur le plan de la gorge",
             "Température associée à ces contraintes"},
            '+');
    // With 6 decimals: the precision the report has always had there.
    parts::WritePlaneRecords(r,
                             "|   Temps    |     Sxx    |     Sxy    |     Sxz    |   Temp.    |",
                             result.planeRecords, false, 6);

    // The search of N0 (C11.3.9.5.2).
    r.EmptyLine();
    r.Section(
        "Recherche de l'instant d'origine déterminant pour l'endommagement selon C11.3.9.5.2");
    for (const char* line : kSearchIntro) r.Line(line);
    WriteOriginTable(r, result.origins, result.improvingOrigins);
    if (result.ending == ZuvanFatigueResults::Ending::kZeroDamage) {
        parts::WriteZeroDamage(r, "la gorge", "0.");
        return;
    }
    if (result.stage < Stage::kSeries) return;

    // The series of N0 and its cycles.
    r.EmptyLine();
    r.Section("Variation équivalente des contraintes sur le plan de la gorge");
    r.Label("Instant d'origine déterminant pour l'endommagement", 51, result.determining.index);
    parts::WriteSeries(r, "|   Temps    |  DSigmaEq  |", result.series);
    if (result.stage < Stage::kCounted) return;
    parts::WriteCycleCount(r, result.cycleCount);
    ZuvanFatigueTable::Write(r,
                             parts::WeldCycleSizeTable<ThroatCycle>(
                                 [](const ThroatCycle& c) { return Value(c.DSigmaR); },
                                 [](const ThroatCycle& c) { return Value(c.DSigmaRlm); },
                                 [](const ThroatCycle& c) { return Value(c.DSigmaRlt); }),
                             result.cycles);
    if (result.stage < Stage::kChecking) return;

    // The plasticity check (C11.3.11.1.1).
    r.EmptyLine();
    r.Section(
        "Correction de plasticité : selon C11.3.11.1.1 aucune correction ne doit être "
        "nécessaire");
    os << std::fixed << std::setprecision(3);
    if (result.ending == ZuvanFatigueResults::Ending::kRefused) {
        const ThroatCycle& tc = result.cycles[static_cast<std::size_t>(result.refusedCycle)];
        LabelField(r, "Début du cycle", tc.start, 6);
        LabelField(r, "Sommet du cycle", tc.pivot, 6);
        LabelField(r, "Fin du cycle", tc.end, 6);
        LabelField(r, "DSigmaR", tc.DSigmaR, 8);
        LabelField(r, "DSigmaRlm", tc.DSigmaRlm, 8);
        LabelField(r, "DSigmaRlt", tc.DSigmaRlt, 8);
        LabelField(r, "Température", tc.temperatureC, 8);
        LabelField(r, "Rpt", tc.Rpt, 8);
        for (const char* line : kRefusal) r.Line(line);
        return;
    }
    if (result.stage < Stage::kFinal) return;

    // Final damage (C11.3.12.4): N in the classic locale.
    parts::WriteWeldFinalHeading(r, {std::begin(kFinalIntro), std::end(kFinalIntro)},
                                 result.thickerMm, result.Ce, result.dSigmaEqMax);
    ZuvanFatigueTable::Write(
        r,
        parts::WeldFinalTable<ThroatCycle>([](const ThroatCycle& c) { return Value(c.DSigmaR); },
                                           Format::kClassic),
        result.cycles, result.damagedCycles);
    if (result.stage < Stage::kDone) return;
    r.EmptyLine();
    r.EmptyLine();
    r.EmptyLine();
    parts::WriteTotal(r, result.total);
}
