#include "model/CZuvanFatigueClassification.h"

#include "deck/CZuvanFatigueContexte.h"
#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "report/CZuvanFatigueRapport.h"

CZuvanFatigueClassification::CZuvanFatigueClassification()
    : m_defined(false),
      m_name(" "),
      m_className(" "),
      m_type(" "),
      m_number(" "),
      m_subtype(" "),
      m_comment(" ") {}

CZuvanFatigueClassification::CZuvanFatigueClassification(const CZuvanFatigueClassification& other)
    : m_defined(false) {
    static const char kTag[] =
        "<CZuvanFatigueClassification::CZuvanFatigueClassification(&SourceObject)>";
    Guard(kTag, [&] { *this = other; });
}

CZuvanFatigueClassification& CZuvanFatigueClassification::operator=(
    const CZuvanFatigueClassification& other) {
    static const char kTag[] = "<CZuvanFatigueClassification::operator=>";
    if (this != &other) {
        Guard(kTag, [&] {
            m_name = other.m_name;
            m_className = other.m_className;
            m_type = other.m_type;
            m_number = other.m_number;
            m_subtype = other.m_subtype;
            m_comment = other.m_comment;
            m_defined = other.m_defined;
        });
    }
    return *this;
}

CZuvanFatigueClassification::~CZuvanFatigueClassification() = default;

void CZuvanFatigueClassification::Read(const std::string& cardLine,
                                       CZuvanFatigueClassification& classification,
                                       const CZuvanFatigueContexte& context, std::istream& in) {
    static const char kTag[] = "<CZuvanFatigueClassification::Read>";
    using namespace ZuvanFatigueCards;
    Guard(kTag, [&] {
        const std::string name = HeaderName(cardLine);
        // The value cards in the order they are tested, each allowed once.
        struct ValueCard {
            const char* keyword;
            bool seen;
            std::string value;
        };
        ValueCard cards[] = {
            {"*CORDON_CLASSE", false, " "}, {"*TYPE", false, " "},        {"*NUMERO", false, " "},
            {"*SOUSTYPE", false, " "},      {"*COMMENTAIRE", false, " "},
        };
        std::string line;
        for (;;) {
            ReadBlockLine(in, line, kTag);
            ValueCard* card = nullptr;
            for (ValueCard& c : cards) {
                if (IsCard(line, c.keyword)) {
                    card = &c;
                    break;
                }
            }
            if (card != nullptr) {
                OnceOnly(card->seen, kTag);
                card->value = TextValue(line, kTag);
            } else if (IsCard(line, "*FIN_CLASSIFICATION")) {
                if (!cards[0].seen) Raise(kTag, kCodeClassification);
                classification.SetDefinition(context, name, cards[0].value, cards[1].value,
                                             cards[2].value, cards[3].value, cards[4].value);
                return;
            } else if (!IsIgnored(line)) {
                Raise(kTag, kCodeCarteInconnue);
            }
        }
    });
}

void CZuvanFatigueClassification::SetDefinition(const CZuvanFatigueContexte& context,
                                                std::string name, std::string className,
                                                std::string type, std::string number,
                                                std::string subtype, std::string comment) {
    static const char kTag[] = "<CZuvanFatigueClassification::SetDefinition>";
    Guard(kTag, [&] {
        m_defined = false;
        if (name == " " || !context.ClassExist(className)) Raise(kTag, kCodeClassification);
        m_name = std::move(name);
        m_className = std::move(className);
        m_type = std::move(type);
        m_number = std::move(number);
        m_subtype = std::move(subtype);
        m_comment = std::move(comment);
        m_defined = true;
    });
}

std::ostream& operator<<(std::ostream& os, const CZuvanFatigueClassification& c) {
    static const char kTag[] = "<CZuvanFatigueClassification std::ofstream operator<<>";
    return Guard(kTag, [&]() -> std::ostream& {
        constexpr std::size_t kWidth = 27;
        CZuvanFatigueRapport r(os);
        r.EmptyLine();
        r.Label("Nom donné à la classification selon C11.A5 ", 0, c.GetName());
        r.Label("Classe de fatigue utilisée", kWidth, c.GetClassName());
        r.Label("Type de zone soudée", kWidth, c.GetType());
        r.Label("Numéro de zone soudée", kWidth, c.GetNumber());
        r.Label("Sous type de zone soudée", kWidth, c.GetSubtype());
        r.Label("Commentaire", kWidth, c.GetComment());
        r.EmptyLine();
        return os;
    });
}
