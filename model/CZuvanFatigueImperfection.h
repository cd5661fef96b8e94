#pragma once
// Form imperfection near a weld seam (*IMPERFECTION inside *CORDON) and the
// stress intensification coefficient A of C11.A6 that follows from it.
// Lengths in mm, angles in degrees, pressures and moduli in MPa.

#include <istream>
#include <ostream>
#include <string>
#include <utility>

class CZuvanFatigueImperfection {
   public:
    static constexpr int kKindInconnu = 10;
    static constexpr int kKindLongitudinal = 20;     // longitudinal seam of a cylinder
    static constexpr int kKindCirconferentiel = 30;  // circumferential seam of a cylinder
    static constexpr int kKindSphere = 40;           // seam on a sphere

    CZuvanFatigueImperfection();
    CZuvanFatigueImperfection(const CZuvanFatigueImperfection& other);
    CZuvanFatigueImperfection& operator=(const CZuvanFatigueImperfection& other);
    ~CZuvanFatigueImperfection();

    // Reads the sub-cards of one *IMPERFECTION block (up to *FIN_IMPERFECTION)
    // and defines imperfection with the kind the seam decided. cardLine is the
    // header card (its 200-character copy). Codes 30, 40, 50, 160.
    static void Read(const std::string& cardLine, CZuvanFatigueImperfection& imperfection,
                     std::istream& in, int kind);

    // Validates (code 160, bounds inclusive, kind 10 refused) and stores.
    // dm, dmax, dmin: mean, maximum and minimum diameters of the shell; e:
    // misalignment of the mid-surfaces; delta: local out-of-roundness
    // (C11.A6.9); theta: angle locating the seam (C11.A6.7); alpha: angular
    // misalignment on a sphere (C11.A6.8).
    void SetDefinition(std::string name, int kind, double dmMm, double dmaxMm, double dminMm,
                       double eMm, double deltaMm, double thetaDeg, double alpha);

    // Intensification coefficients (A perpendicular, A parallel to the weld)
    // of C11.A6 for the thicknesses t1 and t2 of the two components (either
    // order), the pressure p of the stress record (negative outside), the
    // maximum external pressure pa of the shell (used when p < 0), Young's
    // modulus eMPa and Poisson's ratio nu. Code 160 when undefined, for an
    // unknown kind, for p < 0 without a positive pa, and when the data give
    // no finite coefficient.
    std::pair<double, double> GetA(double t1Mm, double t2Mm, double pMPa, double paMPa, double eMPa,
                                   double nu) const;

    bool IsDefined() const { return m_defined; }
    const std::string& GetName() const { return m_name; }
    int GetKind() const { return m_kind; }
    double GetDm() const { return m_dm; }
    double GetDmax() const { return m_dmax; }
    double GetDmin() const { return m_dmin; }
    double GetE() const { return m_e; }
    double GetDelta() const { return m_delta; }
    double GetTheta() const { return m_theta; }
    double GetAlpha() const { return m_alpha; }

   private:
    bool m_defined;
    std::string m_name;
    int m_kind;
    double m_dm;
    double m_dmax;
    double m_dmin;
    double m_e;
    double m_delta;
    double m_theta;
    double m_alpha;
};

// Echo block of the imperfection in a report.
std::ostream& operator<<(std::ostream& os, const CZuvanFatigueImperfection& imperfection);
