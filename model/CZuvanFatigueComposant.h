#pragma once
// A component of the structure (*COMPOSANT): a plate or shell of a given kind,
// thickness (mm) and surface roughness (micrometre), made of a material of the
// context library.

#include <istream>
#include <ostream>
#include <string>

class CZuvanFatigueContexte;

class CZuvanFatigueComposant {
   public:
    static constexpr int kTypeInconnu = 10;
    static constexpr int kTypeGeneral = 20;       // GENERAL
    static constexpr int kTypeToleCylindre = 30;  // TOLE_CYLINDRE, cylinder plate
    static constexpr int kTypeToleSphere = 40;    // TOLE_SPHERE, sphere plate
    // Roughness taken for a value of 0.1 micrometre or less.
    static constexpr double kDefaultRoughnessUm = 200.0;

    CZuvanFatigueComposant();
    CZuvanFatigueComposant(const CZuvanFatigueComposant& other);
    CZuvanFatigueComposant& operator=(const CZuvanFatigueComposant& other);
    ~CZuvanFatigueComposant();

    // Reads the sub-cards of one *COMPOSANT block (up to *FIN_COMPOSANT) and
    // defines component against the materials of context. cardLine is the
    // header card (its 200-character copy). Codes 10, 30, 40, 50, 140.
    static void Read(const std::string& cardLine, CZuvanFatigueComposant& component,
                     const CZuvanFatigueContexte& context, std::istream& in);

    // Validates (code 140) and stores; a roughness of 0.1 or less becomes 200.
    void SetDefinition(const CZuvanFatigueContexte& context, std::string name, int type,
                       std::string comment, std::string materialName, double thicknessMm,
                       double roughnessUm, double externalPressure);

    bool IsDefined() const { return m_defined; }
    const std::string& GetName() const { return m_name; }
    int GetType() const { return m_type; }
    const std::string& GetComment() const { return m_comment; }
    double GetThicknessMm() const { return m_thicknessMm; }
    double GetRoughnessUm() const { return m_roughnessUm; }
    // Admissible external pressure, for cylinders and cones with defects.
    double GetExternalPressure() const { return m_externalPressure; }
    const std::string& GetMaterialName() const { return m_materialName; }

   private:
    bool m_defined;
    std::string m_name;
    int m_type;
    std::string m_comment;
    double m_thicknessMm;
    double m_roughnessUm;
    double m_externalPressure;
    std::string m_materialName;
};

// Echo block of the component in a report.
std::ostream& operator<<(std::ostream& os, const CZuvanFatigueComposant& c);
