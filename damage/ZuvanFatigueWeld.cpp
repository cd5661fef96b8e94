#include "damage/ZuvanFatigueWeld.h"

#include <algorithm>

#include "deck/CZuvanFatigue.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "report/CZuvanFatigueRapport.h"
#include "stress/CZuvanFatigueHistorique.h"

namespace ZuvanFatigueWeld {

namespace {
bool KnownType(int type) {
    return type == CZuvanFatigueMateriau::kTypeFerritique ||
           type == CZuvanFatigueMateriau::kTypeAustenitique;
}
}  // namespace

int Parts::RuleType() const {
    return firstMaterial.GetType() == CZuvanFatigueMateriau::kTypeFerritique ||
                   secondMaterial.GetType() == CZuvanFatigueMateriau::kTypeFerritique
               ? CZuvanFatigueMateriau::kTypeFerritique
               : CZuvanFatigueMateriau::kTypeAustenitique;
}

double Parts::Rm() const { return std::min(firstMaterial.GetRm(), secondMaterial.GetRm()); }

double Parts::Rpt(double temperatureC) const {
    return std::min(firstMaterial.GetRet(temperatureC), secondMaterial.GetRet(temperatureC));
}

double Parts::ThickerMm() const {
    return std::max(first.GetThicknessMm(), second.GetThicknessMm());
}

double Parts::ExternalPressure() const {
    return std::min(first.GetExternalPressure(), second.GetExternalPressure());
}

Parts Fetch(const CZuvanFatigue& study, const std::string& seamName, const char* tag) {
    Parts p;
    p.seam = study.GetWeld(seamName);
    p.classification = study.Context().GetWeldDetail(p.seam.GetClassificationName());
    p.fatigueClass = study.Context().GetClass(p.classification.GetClassName());
    p.first = study.GetComponent(p.seam.GetFirstComponentName());
    p.firstMaterial = study.Context().GetMaterial(p.first.GetMaterialName());
    p.second = study.GetComponent(p.seam.GetSecondComponentName());
    p.secondMaterial = study.Context().GetMaterial(p.second.GetMaterialName());
    if (!KnownType(p.firstMaterial.GetType()) || !KnownType(p.secondMaterial.GetType())) {
        Raise(tag, kCodeEndommagement);
    }
    return p;
}

void WriteHeading(CZuvanFatigueRapport& r, const Parts& parts, const std::string& seamTitle,
                  const std::string& classificationTitle,
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

void WriteFinalHeading(CZuvanFatigueRapport& r, const std::vector<const char*>& intro,
                       double thickerMm, double ce, double dSigmaMax) {
    r.EmptyLine();
    r.Section("Calcul final du taux d'endommagement");
    for (const char* line : intro) r.Line(line);
    r.Label("Plus grande épaisseur des composants soudés", 44, thickerMm);
    r.Label("Coefficient de correction d'épaisseur Ce", 44, ce);
    r.Label("Plus grand cycle du spectre de calcul (MPa)", 44, dSigmaMax);
    r.Line(
        "| Temps1 | Temps2 | Temps3 |  DSigmaR  |   Temp.  |   CtR   |   Cr    |     N      "
        "|  Dommage   |");
    r.Line(
        "| Début  | Pic    | Fin    |           |          |         |         |            "
        "|            |");
}

}  // namespace ZuvanFatigueWeld
