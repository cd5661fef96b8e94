#include "model/CZuvanFatigueCordon.h"

#include "deck/CZuvanFatigue.h"
#include "deck/CZuvanFatigueContexte.h"
#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "model/CZuvanFatigueComposant.h"
#include "report/CZuvanFatigueRapport.h"

CZuvanFatigueCordon::CZuvanFatigueCordon()
    : m_defined(false),
      m_name(" "),
      m_firstComponentName(" "),
      m_secondComponentName(" "),
      m_classificationName(" ") {}

CZuvanFatigueCordon::CZuvanFatigueCordon(const CZuvanFatigueCordon& other) = default;

CZuvanFatigueCordon& CZuvanFatigueCordon::operator=(const CZuvanFatigueCordon& other) {
    static const char kTag[] = "<CZuvanFatigueCordon::operator=>";
    if (this != &other) {
        Guard(kTag, [&] {
            m_defined = other.m_defined;
            m_name = other.m_name;
            m_firstComponentName = other.m_firstComponentName;
            m_secondComponentName = other.m_secondComponentName;
            m_classificationName = other.m_classificationName;
            m_imperfection = other.m_imperfection;
        });
    }
    return *this;
}

CZuvanFatigueCordon::~CZuvanFatigueCordon() = default;

namespace {

// What the block may still hold once both components are known.
struct Permissions {
    bool circumferential = false;
    bool longitudinal = false;
    bool imperfection = false;
    int kind = CZuvanFatigueImperfection::kKindInconnu;
};

// Permissions by the kinds of the two components: two cylinder plates need an
// orientation card to fix the imperfection's kind; a sphere plate fixes it; a
// general component allows no imperfection.
Permissions ForComponents(int first, int second) {
    using C = CZuvanFatigueComposant;
    using I = CZuvanFatigueImperfection;
    Permissions p;
    if (first == C::kTypeToleCylindre && second == C::kTypeToleCylindre) {
        p.circumferential = p.longitudinal = p.imperfection = true;
    } else if ((first == C::kTypeToleCylindre && second == C::kTypeToleSphere) ||
               (first == C::kTypeToleSphere && second == C::kTypeToleCylindre)) {
        p.imperfection = true;
        p.kind = I::kKindCirconferentiel;
    } else if (first == C::kTypeToleSphere && second == C::kTypeToleSphere) {
        p.imperfection = true;
        p.kind = I::kKindSphere;
    }
    return p;
}

}  // namespace

void CZuvanFatigueCordon::Read(const std::string& cardLine, CZuvanFatigueCordon& seam,
                               const CZuvanFatigue& study, const CZuvanFatigueContexte& context,
                               std::istream& in) {
    static const char kTag[] = "<CZuvanFatigueCordon::Read>";
    using namespace ZuvanFatigueCards;
    Guard(kTag, [&] {
        const std::string name = HeaderName(cardLine);
        bool haveClassification = false, haveFirst = false, haveSecond = false;
        std::string classification, first, second;
        Permissions allowed;  // all off until both components are known
        CZuvanFatigueImperfection imperfection;
        const auto componentsKnown = [&] {
            const auto& components = study.Components();
            const auto a = components.find(first);
            const auto b = components.find(second);
            if (a == components.end() || b == components.end()) {
                ZuvanFatigueCards::SetFailureDetail(a == components.end() ? first : second,
                                                    "composant absent des données :");
                Raise(kTag, kCodeCordon);
            }
            allowed = ForComponents(a->second.GetType(), b->second.GetType());
        };
        std::string line;
        for (;;) {
            ReadBlockLine(in, line, kTag);
            if (IsCard(line, "*CORDON_TYPE")) {
                OnceOnly(haveClassification, kTag);
                classification = TextValue(line, kTag);
            } else if (IsCard(line, "*COMPOSANT_1")) {
                OnceOnly(haveFirst, kTag);
                first = TextValue(line, kTag);
                if (haveSecond) componentsKnown();
            } else if (IsCard(line, "*COMPOSANT_2")) {
                OnceOnly(haveSecond, kTag);
                second = TextValue(line, kTag);
                if (haveFirst) componentsKnown();
            } else if (IsCard(line, "*CIRCONFERENTIEL")) {
                if (!allowed.circumferential) Raise(kTag, kCodeMalPlacee);
                allowed.kind = CZuvanFatigueImperfection::kKindCirconferentiel;
                allowed.circumferential = allowed.longitudinal = false;
            } else if (IsCard(line, "*LONGITUDINAL")) {
                if (!allowed.longitudinal) Raise(kTag, kCodeMalPlacee);
                allowed.kind = CZuvanFatigueImperfection::kKindLongitudinal;
                allowed.circumferential = allowed.longitudinal = false;
            } else if (IsCard(line, "*IMPERFECTION")) {
                if (!allowed.imperfection) Raise(kTag, kCodeMalPlacee);
                CZuvanFatigueImperfection::Read(CardLine(line), imperfection, in, allowed.kind);
                allowed.imperfection = allowed.circumferential = allowed.longitudinal = false;
            } else if (IsCard(line, "*FIN_CORDON")) {
                if (!haveClassification || !haveFirst || !haveSecond) Raise(kTag, kCodeCordon);
                seam.SetDefinition(study, context, name, first, second, classification,
                                   imperfection);
                return;
            } else if (!IsIgnored(line)) {
                Raise(kTag, kCodeCarteInconnue);
            }
        }
    });
}

void CZuvanFatigueCordon::SetDefinition(const CZuvanFatigue& study,
                                        const CZuvanFatigueContexte& context, std::string name,
                                        std::string firstComponentName,
                                        std::string secondComponentName,
                                        std::string classificationName,
                                        CZuvanFatigueImperfection imperfection) {
    static const char kTag[] = "<CZuvanFatigueCordon::SetDefinition>";
    Guard(kTag, [&] {
        m_defined = false;
        const auto& components = study.Components();
        if (components.count(firstComponentName) == 0) {
            ZuvanFatigueCards::SetFailureDetail(firstComponentName,
                                                "composant absent des données :");
        } else if (components.count(secondComponentName) == 0) {
            ZuvanFatigueCards::SetFailureDetail(secondComponentName,
                                                "composant absent des données :");
        } else if (!context.WeldDetailExist(classificationName)) {
            ZuvanFatigueCards::SetFailureDetail(classificationName,
                                                "classification absente du contexte :");
        }
        if (name == " " || components.count(firstComponentName) == 0 ||
            components.count(secondComponentName) == 0 ||
            !context.WeldDetailExist(classificationName)) {
            Raise(kTag, kCodeCordon);
        }
        m_name = std::move(name);
        m_firstComponentName = std::move(firstComponentName);
        m_secondComponentName = std::move(secondComponentName);
        m_classificationName = std::move(classificationName);
        m_imperfection = imperfection;
        m_defined = true;
    });
}

std::ostream& operator<<(std::ostream& os, const CZuvanFatigueCordon& seam) {
    static const char kTag[] = "<CZuvanFatigueCordon std::ofstream operator<<>";
    return Guard(kTag, [&]() -> std::ostream& {
        constexpr std::size_t kWidth = 43;
        CZuvanFatigueRapport r(os);
        r.EmptyLine();
        r.Label("Nom du cordon de soudure", kWidth, seam.GetName());
        r.Label("Nom du premier composé soudé", kWidth, seam.GetFirstComponentName());
        r.Label("Nom du second composé soudé", kWidth, seam.GetSecondComponentName());
        r.Label("Classification de zone soudée selon C11.A5", kWidth, seam.GetClassificationName());
        if (seam.HasImperfection()) {
            os << seam.GetImperfection();
            r.EmptyLine();
        } else {
            r.Line("Cordon de soudure sans imperfection de forme !");
        }
        r.EmptyLine();
        return os;
    });
}
