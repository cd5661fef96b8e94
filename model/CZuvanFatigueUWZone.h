#pragma once
// An unwelded zone (*UWZONE): a place of a component, away from welds, with
// its stress concentration factor Kt. Its fatigue curve is the unwelded-zone
// curve named after the integer part of the tensile strength of the
// component's material, added to the context library when missing.

#include <istream>
#include <ostream>
#include <string>

class CZuvanFatigue;
class CZuvanFatigueContexte;

class CZuvanFatigueUWZone {
   public:
    // Kt below this is refused.
    static constexpr double kKtMin = 0.9999;
    // Kt above this: the zone is computed with geometric stresses.
    static constexpr double kKtGeometric = 1.0001;

    CZuvanFatigueUWZone();
    CZuvanFatigueUWZone(const CZuvanFatigueUWZone& other);
    CZuvanFatigueUWZone& operator=(const CZuvanFatigueUWZone& other);
    ~CZuvanFatigueUWZone();

    // Reads the sub-cards of one *UWZONE block (up to *FIN_UWZONE) and defines
    // zone on a component of study; context is the study's library, which may
    // receive the zone's curve. cardLine is the header card (its 200-character
    // copy). Codes 10, 30, 40, 50, 70, 150.
    static void Read(const std::string& cardLine, CZuvanFatigueUWZone& zone,
                     const CZuvanFatigue& study, CZuvanFatigueContexte& context, std::istream& in);

    // Validates (code 150: name " ", unknown component, Kt below 0.9999),
    // derives the curve from the material's Rm (code 70 when Rm is not above
    // 50 MPa), adds it to context when no curve has its name, and stores.
    void SetDefinition(const CZuvanFatigue& study, CZuvanFatigueContexte& context, std::string name,
                       std::string componentName, std::string comment, double kt);

    bool IsDefined() const { return m_defined; }
    const std::string& GetName() const { return m_name; }
    const std::string& GetComment() const { return m_comment; }
    const std::string& GetComponentName() const { return m_componentName; }
    const std::string& GetCurveName() const { return m_curveName; }
    double GetKt() const { return m_kt; }
    // True when the zone is computed with geometric stresses (defined and Kt
    // above 1.0001); otherwise with total stresses.
    bool IsGeometric() const;

   private:
    bool m_defined;
    std::string m_name;
    std::string m_comment;
    std::string m_componentName;
    std::string m_curveName;
    double m_kt;
};

// Echo block of the zone in a report.
std::ostream& operator<<(std::ostream& os, const CZuvanFatigueUWZone& zone);
