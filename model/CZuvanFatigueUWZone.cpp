#include "model/CZuvanFatigueUWZone.h"

#include <cmath>
#include <limits>

#include "deck/CZuvanFatigue.h"
#include "deck/CZuvanFatigueContexte.h"
#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "model/CZuvanFatigueUWCourbe.h"
#include "report/CZuvanFatigueRapport.h"

CZuvanFatigueUWZone::CZuvanFatigueUWZone()
    : m_defined(false),
      m_name(" "),
      m_comment(" "),
      m_componentName(" "),
      m_curveName(" "),
      m_kt(std::numeric_limits<double>::lowest()) {}

CZuvanFatigueUWZone::CZuvanFatigueUWZone(const CZuvanFatigueUWZone& other) = default;

CZuvanFatigueUWZone& CZuvanFatigueUWZone::operator=(const CZuvanFatigueUWZone& other) {
    static const char kTag[] = "<CZuvanFatigueUWZone::operator=>";
    if (this != &other) {
        Guard(kTag, [&] {
            m_defined = other.m_defined;
            m_name = other.m_name;
            m_comment = other.m_comment;
            m_componentName = other.m_componentName;
            m_curveName = other.m_curveName;
            m_kt = other.m_kt;
        });
    }
    return *this;
}

CZuvanFatigueUWZone::~CZuvanFatigueUWZone() = default;

void CZuvanFatigueUWZone::Read(const std::string& cardLine, CZuvanFatigueUWZone& zone,
                               const CZuvanFatigue& study, CZuvanFatigueContexte& context,
                               std::istream& in) {
    static const char kTag[] = "<CZuvanFatigueUWZone::Read>";
    using namespace ZuvanFatigueCards;
    Guard(kTag, [&] {
        const std::string name = HeaderName(cardLine);
        bool haveComment = false, haveComponent = false, haveParameters = false;
        std::string comment = " ", componentName;
        double kt = 1.0;
        std::string line;
        for (;;) {
            ReadBlockLine(in, line, kTag);
            if (IsCard(line, "*COMMENTAIRE")) {
                OnceOnly(haveComment, kTag);
                comment = TextValue(line, kTag);
            } else if (IsCard(line, "*UWZONE_COMPOSANT")) {
                OnceOnly(haveComponent, kTag);
                componentName = TextValue(line, kTag);
            } else if (IsCard(line, "*PARAMETRE")) {
                OnceOnly(haveParameters, kTag);
                Tokens t(line);
                if (!t.Real(kt) || !t.NoFurtherNumber()) Raise(kTag, kCodeUWZone);
            } else if (IsCard(line, "*FIN_UWZONE")) {
                if (!haveComponent) Raise(kTag, kCodeUWZone);
                zone.SetDefinition(study, context, name, componentName, comment, kt);
                return;
            } else if (!IsIgnored(line)) {
                Raise(kTag, kCodeCarteInconnue);
            }
        }
    });
}

void CZuvanFatigueUWZone::SetDefinition(const CZuvanFatigue& study, CZuvanFatigueContexte& context,
                                        std::string name, std::string componentName,
                                        std::string comment, double kt) {
    static const char kTag[] = "<CZuvanFatigueUWZone::SetDefinition>";
    Guard(kTag, [&] {
        m_defined = false;
        const auto& components = study.Components();
        const auto component = components.find(componentName);
        if (component == components.end()) {
            ZuvanFatigueCards::SetFailureDetail(componentName, "composant absent des données :");
        }
        if (name == " " || component == components.end() || !(kt >= kKtMin) || !std::isfinite(kt)) {
            Raise(kTag, kCodeUWZone);
        }
        const CZuvanFatigueMateriau material =
            context.GetMaterial(component->second.GetMaterialName());
        CZuvanFatigueUWCourbe curve;
        curve.SetDefinition(material.GetRm());
        // A curve of that name already in the library is used as it stands.
        if (!context.UWCurveExist(curve.GetName())) context.AddUWCurve(curve);
        m_name = std::move(name);
        m_comment = std::move(comment);
        m_componentName = std::move(componentName);
        m_curveName = curve.GetName();
        m_kt = kt;
        m_defined = true;
    });
}

bool CZuvanFatigueUWZone::IsGeometric() const { return m_defined && m_kt > kKtGeometric; }

std::ostream& operator<<(std::ostream& os, const CZuvanFatigueUWZone& zone) {
    static const char kTag[] = "<CZuvanFatigueUWZone std::ofstream operator<<>";
    return Guard(kTag, [&]() -> std::ostream& {
        constexpr std::size_t kWidth = 43;
        CZuvanFatigueRapport r(os);
        r.EmptyLine();
        r.Label("Nom de la zone non soudée", kWidth, zone.GetName());
        r.Label("Commentaire associé", kWidth, zone.GetComment());
        r.Label("Nom du composant auquel la zone appartient", kWidth, zone.GetComponentName());
        r.Label("Nom de la courbe de fatigue de la zone", kWidth, zone.GetCurveName());
        r.Label("Valeur du coefficient Kt de la zone", kWidth, zone.GetKt());
        if (zone.IsGeometric()) {
            r.Line("Cette zone doit être calculée avec des contraintes géométriques");
            r.Line("      ****                             ************************");
        } else {
            r.Line("Cette zone doit être calculée avec des contraintes totales");
            r.Line("      ****                             *******************");
        }
        r.EmptyLine();
        return os;
    });
}
