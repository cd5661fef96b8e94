#pragma once
// Classification of a welded zone per C11.A5 (*CLASSIFICATION): the type,
// number and subtype of the detail as given in the deck, and the name of the
// fatigue class of the context library that applies to it.

#include <istream>
#include <ostream>
#include <string>

class CZuvanFatigueContexte;

class CZuvanFatigueClassification {
   public:
    CZuvanFatigueClassification();
    CZuvanFatigueClassification(const CZuvanFatigueClassification& other);
    CZuvanFatigueClassification& operator=(const CZuvanFatigueClassification& other);
    ~CZuvanFatigueClassification();

    // Reads the sub-cards of one *CLASSIFICATION block (up to
    // *FIN_CLASSIFICATION) and defines classification against the fatigue
    // classes of context. cardLine is the header card (its 200-character copy).
    // Codes 10 (value card shorter than 20 characters), 30, 40, 50, 110.
    static void Read(const std::string& cardLine, CZuvanFatigueClassification& classification,
                     const CZuvanFatigueContexte& context, std::istream& in);

    // Validates (code 110: name " ", class not in the library) and stores.
    void SetDefinition(const CZuvanFatigueContexte& context, std::string name,
                       std::string className, std::string type, std::string number,
                       std::string subtype, std::string comment);

    bool IsDefined() const { return m_defined; }
    const std::string& GetName() const { return m_name; }
    const std::string& GetClassName() const { return m_className; }
    const std::string& GetType() const { return m_type; }
    const std::string& GetNumber() const { return m_number; }
    const std::string& GetSubtype() const { return m_subtype; }
    const std::string& GetComment() const { return m_comment; }

   private:
    bool m_defined;
    std::string m_name;
    std::string m_className;
    std::string m_type;
    std::string m_number;
    std::string m_subtype;
    std::string m_comment;
};

// Echo block of the classification in a report.
std::ostream& operator<<(std::ostream& os, const CZuvanFatigueClassification& c);
