#include "report/ZuvanFatigueReportParts.h"

#include <ios>

#include "damage/ZuvanFatiguePlane.h"

namespace ZuvanFatigueReportParts {

namespace {

using ZuvanFatigueCriticalPlane::Plane;
using ZuvanFatigueResults::PlaneRecord;
using ZuvanFatigueResults::SeriesPoint;

double Degrees(double rad) { return rad * ZuvanFatigueCriticalPlane::kDegreesPerRadian; }

}  // namespace

const char* const kWeldCycleLegend[8] = {
    "DSigmaR   : Taille du cycle de contraintes extrait de l'historique de DSigmaEq",
    "DSigmaRlm : Variation de la partie linéarisée des contraintes mécaniques durant le cycle",
    "DSigmaRlt : Variation de la partie linéarisée des contraintes thermiques durant le cycle",
    "Ce        : Coefficient de correction d'épaisseur selon ZUVAN Division 2 : 2015 C11.3.12.4",
    "CtR       : Coefficient de correction de température selon ZUVAN Division 2 : 2015 C11.3.12.4",
    "            Noté Ct dans le ZUVAN mais s'applique à la température moyenne de cycle t*",
    "            Le C11.3.12.4 renvoie vers le C11.1.3.3 qui donne les formules utilisées",
    "Cr        : Coefficient global de correction selon ZUVAN Division 2 : 2015 C11.3.12.4",
};

void WriteWeldLegend(CZuvanFatigueRapport& r, const std::vector<const char*>& head,
                     const std::vector<const char*>& tail) {
    r.Section("Symboles");
    for (const char* line : head) r.Line(line);
    for (const char* line : kWeldCycleLegend) r.Line(line);
    for (const char* line : tail) r.Line(line);
    r.FormFeed();
    r.EmptyLine();
}

void WriteSearchTable(CZuvanFatigueRapport& r, const ZuvanFatigueResults::PlaneSearch& search,
                      bool withSum) {
    const double scale = search.sumScale;
    Table<Plane> t;
    t.header = {withSum ? "|    Theta   |    Phi     |    N0      |  Dommage   |  Sx'x' Som |"
                        : "|    Theta   |    Phi     |    N0      |  Dommage   |"};
    // The first row shows its angles with 6 decimals, the others with 3: the
    // precision the report has always had there.
    t.lines = {{
        {10, [](const Plane& p) { return Value(Degrees(p.theta)); }, Format::kPlain, 6},
        {10, [](const Plane& p) { return Value(Degrees(p.phi)); }, Format::kPlain, 6},
        {10, [](const Plane& p) { return Value(p.origin); }},
        {10, [](const Plane& p) { return Value(p.damage); }, Format::kScientific},
    }};
    if (withSum) {
        t.lines[0].push_back({10, [scale](const Plane& p) { return Value(scale * p.sum); }});
    }
    std::vector<Plane> rows;
    for (std::size_t at : search.improving) rows.push_back(search.planes[at]);
    ZuvanFatigueTable::Write(r, t, rows);
}

bool WritePlaneSearch(CZuvanFatigueRapport& r, const std::vector<const char*>& intro,
                      const ZuvanFatigueResults::PlaneSearch& search,
                      ZuvanFatigueResults::Ending ending, bool withSum, const std::string& zero) {
    r.Section("Recherche du plan critique selon C11.3.9.2.3");
    for (const char* line : intro) r.Line(line);
    WriteSearchTable(r, search, withSum);
    if (ending != ZuvanFatigueResults::Ending::kZeroDamage) return true;
    WriteZeroDamage(r, "le plan critique", zero);
    return false;
}

void WriteCriticalPlane(CZuvanFatigueRapport& r, const std::string& secondTitleLine,
                        const Plane& plane, const std::vector<PlaneRecord>& records,
                        bool withSigmaEq, const std::vector<SeriesPoint>& series,
                        std::size_t cycleCount) {
    r.EmptyLine();
    r.Title({"Contraintes normale et de cisaillement sur le plan déterminant", secondTitleLine},
            '+');
    r.Label("Angle Theta du plan critique", 42, Degrees(plane.theta));
    r.Label("Angle Phi du plan critique", 42, Degrees(plane.phi));
    r.Label("Instant d'origine déterminant sur ce plan", 42, plane.origin);
    WritePlaneRecords(r,
                      withSigmaEq ? "|    Temps   |    Sx'x'   |    Sx'y'   |    Sx'z'   |   "
                                    "SigmaEq  |   Temp.    |"
                                  : "|    Temps   |    Sx'x'   |    Sx'y'   |    Sx'z'   |   "
                                    "Temp.    |",
                      records, withSigmaEq, 3);
    r.EmptyLine();
    r.Section("Variation équivalente des contraintes sur le plan critique");
    WriteSeries(r, "|    Temps   |  DSigmaEq  |", series);
    WriteCycleCount(r, cycleCount);
}

void WriteCycleCount(CZuvanFatigueRapport& r, std::size_t cycleCount) {
    r.EmptyLine();
    r.Section("Taille des cycles de contraintes extraits de l'historique de DSigmaEq");
    r.Label("Nombres des cycles extraits de l'historique", 44, cycleCount);
}

void WritePlaneRecords(CZuvanFatigueRapport& r, const std::string& header,
                       const std::vector<PlaneRecord>& records, bool withSigmaEq, int precision) {
    Table<PlaneRecord> t;
    t.header = {header};
    t.precision = precision;
    t.lines = {{
        {10, [](const PlaneRecord& p) { return Value(p.instant); }},
        {10, [](const PlaneRecord& p) { return Value(p.sxx); }},
        {10, [](const PlaneRecord& p) { return Value(p.sxy); }},
        {10, [](const PlaneRecord& p) { return Value(p.sxz); }},
    }};
    if (withSigmaEq) {
        t.lines[0].push_back({10, [](const PlaneRecord& p) { return Value(p.sigmaEq); }});
    }
    t.lines[0].push_back({10, [](const PlaneRecord& p) { return Value(p.temperatureC); }});
    ZuvanFatigueTable::Write(r, t, records);
}

void WriteSeries(CZuvanFatigueRapport& r, const std::string& header,
                 const std::vector<SeriesPoint>& series) {
    Table<SeriesPoint> t;
    t.header = {header};
    t.lines = {{
        {10, [](const SeriesPoint& p) { return Value(p.instant); }},
        {10, [](const SeriesPoint& p) { return Value(p.DSigmaEq); }},
    }};
    ZuvanFatigueTable::Write(r, t, series);
}

void WriteWeldHeading(CZuvanFatigueRapport& r, const ZuvanFatigueWeld::Parts& parts,
                      const std::string& seamTitle, const std::string& classificationTitle,
                      const std::vector<std::string>& classTitle,
                      const CZuvanFatigueHistorique& history) {
    std::ostream& os = r.Stream();
    r.Section("Définition du premier composant lié à la zone soudée");
    os << parts.first;
    r.Section("Caractéristiques du matériau du premier composant");
    os << parts.firstMaterial;
    r.Section("Définition du second composant lié à la zone soudée");
    os << parts.second;
    r.Section("Caractéristiques du matériau du second composant");
    os << parts.secondMaterial;
    r.EmptyLine();
    r.FormFeed();
    r.EmptyLine();
    r.Section(seamTitle);
    os << parts.seam;
    r.Section(classificationTitle);
    os << parts.classification;
    r.Title(classTitle, '+');
    os << parts.fatigueClass;
    r.EmptyLine();
    r.FormFeed();
    r.EmptyLine();
    r.Title({"Historique des contraintes qui sollicitent la zone analysée"});
    os << history;
    r.EmptyLine();
    r.FormFeed();
    r.EmptyLine();
}

void WriteWeldFinalHeading(CZuvanFatigueRapport& r, const std::vector<const char*>& intro,
                           double thickerMm, double ce, double dSigmaMax) {
    r.EmptyLine();
    r.Section("Calcul final du taux d'endommagement");
    for (const char* line : intro) r.Line(line);
    r.Label("Plus grande épaisseur des composants soudés", 44, thickerMm);
    r.Label("Coefficient de correction d'épaisseur Ce", 44, ce);
    r.Label("Plus grand cycle du spectre de calcul (MPa)", 44, dSigmaMax);
}

void WriteTotal(CZuvanFatigueRapport& r, double total) {
    std::ostream& os = r.Stream();
    r.LabelStart("Taux d'endommagement total pour l'historique de contraintes", 60);
    os << std::scientific;
    os.precision(4);
    r.Field(total, 10);
    r.EmptyLine();
    r.Line(std::string(61, '*'));
    os << std::fixed;
    r.FormFeed();
}

void WriteZeroDamage(CZuvanFatigueRapport& r, const std::string& what, const std::string& zero) {
    r.EmptyLine();
    r.Line("Le taux d'endommagement sur " + what + " est nul !");
    r.Line("Taux d'endommagement total pour l'historique étudié : " + zero);
    r.Line(std::string(53, '*'));
}

}  // namespace ZuvanFatigueReportParts
