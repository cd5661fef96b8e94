#pragma once
// Fatigue class of a welded detail (*CLASSE, C11.3.12.1.3): two straight
// lines in log-log coordinates, N × Δσ^m1 = C1 above the endurance limit
// (N_D, Δσ_D) and N × Δσ^m2 = C2 down to the truncation limit (N_C, Δσ_C),
// no damage below. Stresses in MPa, numbers of cycles as integers.

#include <istream>
#include <ostream>
#include <string>

class CZuvanFatigueClasse {
   public:
    static constexpr int kNoDamageCycles = 1000000000;  // a range that does no damage

    CZuvanFatigueClasse();
    CZuvanFatigueClasse(const CZuvanFatigueClasse& other);
    CZuvanFatigueClasse& operator=(const CZuvanFatigueClasse& other);
    ~CZuvanFatigueClasse();

    // Reads the sub-cards of one *CLASSE block (up to *FIN_CLASSE) and defines
    // fatigueClass. cardLine is the header card (its 200-character copy).
    // Codes 20, 30, 40, 50.
    static void Read(const std::string& cardLine, CZuvanFatigueClasse& fatigueClass,
                     std::istream& in);

    // Validates (code 20, strict bounds) and stores; the two lines are taken as given.
    void SetDefinition(std::string name, int nD, int nC, double dSigmaDMPa, double dSigmaCMPa,
                       double m1, double c1, double m2, double c2);

    // Permissible number of cycles for the range dSigmaMPa divided by f;
    // dSigmaMaxMPa, the largest range of the spectrum, is compared with Δσ_D
    // as passed. Counts beyond the 32-bit range give the largest integer.
    // Code 20 when undefined.
    int PermissibleCycles(double dSigmaMPa, double dSigmaMaxMPa, double f) const;

    bool IsDefined() const { return m_defined; }
    const std::string& GetName() const { return m_name; }
    int GetND() const { return m_nD; }
    double GetDSigmaD() const { return m_dSigmaD; }
    int GetNC() const { return m_nC; }
    double GetDSigmaC() const { return m_dSigmaC; }
    double GetM1() const { return m_m1; }
    double GetC1() const { return m_c1; }
    double GetM2() const { return m_m2; }
    double GetC2() const { return m_c2; }

   private:
    bool m_defined;
    std::string m_name;
    int m_nD;
    double m_dSigmaD;
    int m_nC;
    double m_dSigmaC;
    double m_m1;
    double m_c1;
    double m_m2;
    double m_c2;
};

// Echo block of the class in a report.
std::ostream& operator<<(std::ostream& os, const CZuvanFatigueClasse& c);
