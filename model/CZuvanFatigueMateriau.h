#pragma once
// A material of the context library (*MATERIAU): tensile data and the yield
// strength Rpt against temperature. Stresses in MPa, temperatures in °C.

#include <istream>
#include <limits>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

class CZuvanFatigueMateriau {
   public:
    static constexpr int kTypeInconnu = 10;
    static constexpr int kTypeFerritique = 20;    // non-austenitic steel
    static constexpr int kTypeAustenitique = 30;  // austenitic steel, nickel or nickel alloy

    using RptTable = std::vector<std::pair<double, double>>;  // (T °C, Rpt MPa)

    CZuvanFatigueMateriau();
    CZuvanFatigueMateriau(const CZuvanFatigueMateriau& other);
    CZuvanFatigueMateriau& operator=(const CZuvanFatigueMateriau& other);
    ~CZuvanFatigueMateriau();

    // Reads the sub-cards of one *MATERIAU block (up to *FIN_MATERIAU) and
    // defines material. cardLine is the header card (its 200-character copy).
    static void Read(const std::string& cardLine, CZuvanFatigueMateriau& material,
                     std::istream& in);

    // Validates (code 390, bounds inclusive) and stores; the table is sorted.
    void SetDefinition(std::string name, int type, std::string comment, double rp20MPa,
                       RptTable rpt, double rmMPa, double eMPa, double nu);

    // Yield strength at temperatureC (codes 390, 480).
    double GetRet(double temperatureC) const;

    bool IsDefined() const { return m_defined; }
    const std::string& GetName() const { return m_name; }
    int GetType() const { return m_type; }
    const std::string& GetComment() const { return m_comment; }
    double GetRp20() const { return m_rp20; }
    double GetRm() const { return m_rm; }
    double GetE() const { return m_e; }
    double GetNu() const { return m_nu; }
    const RptTable& GetRptTable() const { return m_rpt; }

   private:
    bool m_defined;
    std::string m_name;
    int m_type;
    std::string m_comment;
    double m_rp20;
    RptTable m_rpt;
    double m_rm;
    double m_e;
    double m_nu;
};

// Echo block of the material in a report.
std::ostream& operator<<(std::ostream& os, const CZuvanFatigueMateriau& m);
