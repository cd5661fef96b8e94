#pragma once
// What the two welded-zone analyses (the welded zone, C11.3.9.3, and the throat
// of a partial-penetration weld, C11.3.7.4) take from a weld seam: the seam,
// its classification (C11.A5) and fatigue class, the two components and their
// materials, and the values derived from the pair.

#include <string>
#include <vector>

#include "model/CZuvanFatigueClasse.h"
#include "model/CZuvanFatigueClassification.h"
#include "model/CZuvanFatigueComposant.h"
#include "model/CZuvanFatigueCordon.h"
#include "model/CZuvanFatigueMateriau.h"

class CZuvanFatigue;

namespace ZuvanFatigueWeld {

struct Parts {
    CZuvanFatigueCordon seam;
    CZuvanFatigueClassification classification;
    CZuvanFatigueClasse fatigueClass;
    CZuvanFatigueComposant first, second;
    CZuvanFatigueMateriau firstMaterial, secondMaterial;

    // Material rule of the pair (Ke, CtR): type 20 as soon as either material
    // is of type 20, else 30.
    int RuleType() const;
    // The smaller Rm of the two materials (MPa).
    double Rm() const;
    // The smaller yield strength of the two materials at temperatureC (MPa).
    double Rpt(double temperatureC) const;
    // The larger thickness of the two components (mm).
    double ThickerMm() const;
    // The smaller admissible external pressure of the two components.
    double ExternalPressure() const;
};

// Looks up, in this order, the seam (360), its classification (120), the class
// it names (90), the first component (380) and its material (410), then the
// second ones; code 430 when either material's type is not 20 or 30.
Parts Fetch(const CZuvanFatigue& study, const std::string& seamName, const char* tag);

}  // namespace ZuvanFatigueWeld
