#include "model/CZuvanFatigueComposant.h"

#include <cmath>
#include <limits>

#include "deck/CZuvanFatigueContexte.h"
#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "report/CZuvanFatigueRapport.h"

namespace {
constexpr double kUnset = std::numeric_limits<double>::lowest();
}  // namespace

CZuvanFatigueComposant::CZuvanFatigueComposant()
    : m_defined(false),
      m_name(" "),
      m_type(kTypeInconnu),
      m_comment(" "),
      m_thicknessMm(kUnset),
      m_roughnessUm(kDefaultRoughnessUm),
      m_externalPressure(kUnset),
      m_materialName(" ") {}

CZuvanFatigueComposant::CZuvanFatigueComposant(const CZuvanFatigueComposant& other) = default;

CZuvanFatigueComposant& CZuvanFatigueComposant::operator=(const CZuvanFatigueComposant& other) {
    static const char kTag[] = "<CZuvanFatigueComposant::operator=>";
    if (this != &other) {
        Guard(kTag, [&] {
            m_defined = other.m_defined;
            m_name = other.m_name;
            m_type = other.m_type;
            m_comment = other.m_comment;
            m_thicknessMm = other.m_thicknessMm;
            m_roughnessUm = other.m_roughnessUm;
            m_externalPressure = other.m_externalPressure;
            m_materialName = other.m_materialName;
        });
    }
    return *this;
}

CZuvanFatigueComposant::~CZuvanFatigueComposant() = default;

void CZuvanFatigueComposant::Read(const std::string& cardLine, CZuvanFatigueComposant& component,
                                  const CZuvanFatigueContexte& context, std::istream& in) {
    static const char kTag[] = "<CZuvanFatigueComposant::Read>";
    using namespace ZuvanFatigueCards;
    Guard(kTag, [&] {
        const std::string name = HeaderName(cardLine);
        bool haveComment = false, haveType = false, haveParameters = false, haveMaterial = false;
        std::string comment, materialName;
        int type = kTypeInconnu;
        double thickness = kUnset, roughness = kUnset, pressure = kUnset;
        std::string line;
        for (;;) {
            ReadBlockLine(in, line, kTag);
            if (IsCard(line, "*COMMENTAIRE")) {
                OnceOnly(haveComment, kTag);
                comment = TextValue(line, kTag);
            } else if (IsCard(line, "*TYPE")) {
                OnceOnly(haveType, kTag);
                std::string word;
                Tokens t(line);
                if (!t.Word(word)) Raise(kTag, kCodeComposant);
                if (word == "GENERAL") {
                    type = kTypeGeneral;
                } else if (word == "TOLE_CYLINDRE") {
                    type = kTypeToleCylindre;
                } else if (word == "TOLE_SPHERE") {
                    type = kTypeToleSphere;
                } else {
                    Raise(kTag, kCodeComposant);
                }
            } else if (IsCard(line, "*PARAMETRE")) {
                OnceOnly(haveParameters, kTag);
                Tokens t(line);
                if (!t.Real(thickness) || !t.Real(roughness) || !t.Real(pressure) ||
                    !t.NoFurtherNumber()) {
                    Raise(kTag, kCodeComposant);
                }
            } else if (IsCard(line, "*COMPOSANT_MATERIAU")) {
                OnceOnly(haveMaterial, kTag);
                materialName = TextValue(line, kTag);
            } else if (IsCard(line, "*FIN_COMPOSANT")) {
                if (!haveType || !haveParameters || !haveMaterial) Raise(kTag, kCodeComposant);
                component.SetDefinition(context, name, type, comment, materialName, thickness,
                                        roughness, pressure);
                return;
            } else if (!IsIgnored(line)) {
                Raise(kTag, kCodeCarteInconnue);
            }
        }
    });
}

void CZuvanFatigueComposant::SetDefinition(const CZuvanFatigueContexte& context, std::string name,
                                           int type, std::string comment, std::string materialName,
                                           double thicknessMm, double roughnessUm,
                                           double externalPressure) {
    static const char kTag[] = "<CZuvanFatigueComposant::SetDefinition>";
    Guard(kTag, [&] {
        m_defined = false;
        const bool knownMaterial = context.MaterialExist(materialName);
        const bool knownType =
            type == kTypeGeneral || type == kTypeToleCylindre || type == kTypeToleSphere;
        if (!knownMaterial) {
            ZuvanFatigueCards::SetFailureDetail(materialName, "matériau absent du contexte :");
        }
        if (name == " " || !knownType || !knownMaterial ||
            !(thicknessMm >= 0.5 && thicknessMm <= 1000.0) || !(roughnessUm <= 2000.0) ||
            !std::isfinite(externalPressure)) {
            Raise(kTag, kCodeComposant);
        }
        if (roughnessUm <= 0.1) roughnessUm = kDefaultRoughnessUm;
        m_name = std::move(name);
        m_type = type;
        m_comment = std::move(comment);
        m_thicknessMm = thicknessMm;
        m_roughnessUm = roughnessUm;
        m_externalPressure = externalPressure;
        m_materialName = std::move(materialName);
        m_defined = true;
    });
}

std::ostream& operator<<(std::ostream& os, const CZuvanFatigueComposant& c) {
    static const char kTag[] = "<CZuvanFatigueComposant std::ofstream operator<<>";
    return Guard(kTag, [&]() -> std::ostream& {
        constexpr std::size_t kWidth = 32;
        CZuvanFatigueRapport r(os);
        r.EmptyLine();
        r.Label("Nom du composant", kWidth, c.GetName());
        r.Label("Type du composant", kWidth, c.GetType());
        r.Line("                                  10-->Inconnu");
        r.Line("                                  20-->Général");
        r.Line("                                  30-->Tôle de cylindre");
        r.Line("                                  40-->Tôle de sphère");
        r.Label("Commentaire", kWidth, c.GetComment());
        r.Label("Épaisseur du composant (mm)", kWidth, c.GetThicknessMm());
        r.Label("Rugosité du composant (micro m)", kWidth, c.GetRoughnessUm());
        r.Label("Pression extérieure admissible", kWidth, c.GetExternalPressure());
        r.Line(
            "                                  Utile pour les cylindres et les cônes avec "
            "défauts");
        r.Label("Nom du matériau utilisé", kWidth, c.GetMaterialName());
        r.EmptyLine();
        return os;
    });
}
