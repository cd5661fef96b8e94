#pragma once
// A weld seam (*CORDON) joining two components of the study: the weld-zone
// classification of its detail (C11.A5) and, where the kinds of the two
// components allow it, a form imperfection (C11.A6).

#include <istream>
#include <ostream>
#include <string>

#include "model/CZuvanFatigueImperfection.h"

class CZuvanFatigue;
class CZuvanFatigueContexte;

class CZuvanFatigueCordon {
   public:
    CZuvanFatigueCordon();
    CZuvanFatigueCordon(const CZuvanFatigueCordon& other);
    CZuvanFatigueCordon& operator=(const CZuvanFatigueCordon& other);
    ~CZuvanFatigueCordon();

    // Reads the sub-cards of one *CORDON block (up to *FIN_CORDON), with its
    // embedded *IMPERFECTION block if any, and defines seam between two
    // components of study with a classification of context. The orientation
    // cards and the imperfection are allowed by the kinds of the two
    // components once both are known. cardLine is the header card (its
    // 200-character copy). Codes 10, 30, 40, 50, 170 and those of the
    // imperfection block.
    static void Read(const std::string& cardLine, CZuvanFatigueCordon& seam,
                     const CZuvanFatigue& study, const CZuvanFatigueContexte& context,
                     std::istream& in);

    // Validates (code 170: name " ", a component not in the study, the
    // classification not in the library) and stores.
    void SetDefinition(const CZuvanFatigue& study, const CZuvanFatigueContexte& context,
                       std::string name, std::string firstComponentName,
                       std::string secondComponentName, std::string classificationName,
                       CZuvanFatigueImperfection imperfection);

    bool IsDefined() const { return m_defined; }
    const std::string& GetName() const { return m_name; }
    const std::string& GetFirstComponentName() const { return m_firstComponentName; }
    const std::string& GetSecondComponentName() const { return m_secondComponentName; }
    const std::string& GetClassificationName() const { return m_classificationName; }
    const CZuvanFatigueImperfection& GetImperfection() const { return m_imperfection; }
    // True when the seam carries a (defined) form imperfection.
    bool HasImperfection() const { return m_imperfection.IsDefined(); }

   private:
    bool m_defined;
    std::string m_name;
    std::string m_firstComponentName;
    std::string m_secondComponentName;
    std::string m_classificationName;
    CZuvanFatigueImperfection m_imperfection;
};

// Echo block of the seam in a report, with its imperfection's when it has one.
std::ostream& operator<<(std::ostream& os, const CZuvanFatigueCordon& seam);
