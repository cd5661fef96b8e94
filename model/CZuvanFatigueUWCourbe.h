#pragma once
// Fatigue curve of an unwelded zone (*UWCOURBE, C11.3.9.2): the whole curve
// follows from the tensile strength Rm of the material. Stresses in MPa.
//
//   above the endurance limit:  Δσ = 46000 / √N + 0.63 Rm - 11.5
//   endurance limit:            N_D = 2000000 cycles, Δσ_D = 0.63 Rm + 46000 / √N_D - 11.5
//   truncation limit:           N_C = 100000000 cycles, Δσ_C = Δσ_D × (N_D / N_C)^(1/10)
//   below the truncation limit: no damage (1000000000 cycles)

#include <istream>
#include <ostream>
#include <string>

class CZuvanFatigueUWCourbe {
   public:
    static constexpr int kEnduranceCycles = 2000000;     // N_D
    static constexpr int kTruncationCycles = 100000000;  // N_C
    static constexpr int kNoDamageCycles = 1000000000;   // a range that does no damage

    CZuvanFatigueUWCourbe();
    CZuvanFatigueUWCourbe(const CZuvanFatigueUWCourbe& other);
    CZuvanFatigueUWCourbe& operator=(const CZuvanFatigueUWCourbe& other);
    ~CZuvanFatigueUWCourbe();

    // Reads the sub-cards of one *UWCOURBE block (up to *FIN_UWCOURBE) and
    // defines curve. cardLine is the header card (its 200-character copy).
    // Codes 30, 40, 50, 70.
    static void Read(const std::string& cardLine, CZuvanFatigueUWCourbe& curve, std::istream& in);

    // Validates (code 70: name " ", Rm not above 50 MPa) and stores.
    void SetDefinition(std::string name, double rmMPa);
    // The curve named after the integer part of Rm ("612" for 612.9). Code 70.
    void SetDefinition(double rmMPa);

    // Endurance limit Δσ_D and truncation limit Δσ_C (MPa). Code 70 when undefined.
    double GetDSigmaD() const;
    double GetDSigmaC() const;
    // Name, N_D, Δσ_D, N_C, Δσ_C and Rm. Code 70 when undefined.
    void GetDefinition(std::string& name, int& nD, double& dSigmaDMPa, int& nC, double& dSigmaCMPa,
                       double& rmMPa) const;

    // Permissible number of cycles for the range dSigmaMPa, dSigmaMaxMPa being
    // the largest range of the spectrum; both are divided by the factor f
    // before they meet the curve. Code 70 when undefined.
    int PermissibleCycles(double dSigmaMPa, double dSigmaMaxMPa, double f) const;

    bool IsDefined() const { return m_defined; }
    const std::string& GetName() const { return m_name; }
    double GetRm() const { return m_rm; }

   private:
    bool m_defined;
    std::string m_name;
    double m_rm;
};

// Echo block of the curve in a report.
std::ostream& operator<<(std::ostream& os, const CZuvanFatigueUWCourbe& c);
