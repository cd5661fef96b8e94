#include "damage/ZuvanFatigueWeld.h"

#include <algorithm>

#include "deck/CZuvanFatigue.h"
#include "driver/CExceptionZuvanFatigue.h"

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

}  // namespace ZuvanFatigueWeld
