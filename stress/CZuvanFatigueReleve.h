#pragma once
// A stress record: the state of stress at one instant of a history, given
// directly at the point assessed (*RELEVE). Pressure in MPa, temperature in
// degrees, tensors in MPa in the order Sxx, Sxy, Sxz, Syy, Syz, Szz.
// The linear and quadratic records derive from it and extrapolate their
// tensors from points through the thickness; the analyses read only the
// fields of this class.

#include <array>
#include <istream>
#include <ostream>
#include <string>

class CZuvanFatigueReleve {
   public:
    using Tensor = std::array<double, 6>;  // Sxx, Sxy, Sxz, Syy, Syz, Szz (MPa)

    // The four tensors at one point through the thickness (linear and
    // quadratic records).
    struct PointTensors {
        Tensor sij;
        Tensor sijm;
        Tensor sijlm;
        Tensor sijlt;
    };

    // Bounds of a definition, inclusive.
    static constexpr double kPressureLimitMPa = 3000.0;
    static constexpr double kTemperatureLowC = -250.0;
    static constexpr double kTemperatureHighC = 600.0;
    static constexpr double kStressLimitMPa = 20000.0;

    CZuvanFatigueReleve();
    CZuvanFatigueReleve(const CZuvanFatigueReleve& other);
    CZuvanFatigueReleve& operator=(const CZuvanFatigueReleve& other);
    virtual ~CZuvanFatigueReleve();

    // Reads the body of the block opened by cardLine (its 200-character copy),
    // up to its closing card, and defines the record with that number.
    // Codes 30, 40, 50, 190.
    virtual void Read(std::istream& in, const std::string& cardLine, int number);

    // Plain definition; code 190 when the number is negative or a value is out
    // of its bounds.
    virtual void SetDefinition(std::string name, int number, double pressureMPa,
                               double temperatureC, const Tensor& sij, const Tensor& sijm,
                               const Tensor& sijlm, const Tensor& sijlt);

    // Replaces the four tensors, keeping name, number, pressure and temperature
    // (code 190 when a component is out of bounds).
    void SetStresses(const Tensor& sij, const Tensor& sijm, const Tensor& sijlm,
                     const Tensor& sijlt);

    bool IsDefined() const { return m_defined; }
    const std::string& GetName() const { return m_name; }
    int GetNumber() const { return m_number; }
    double GetPressure() const { return m_pressure; }
    double GetTemperature() const { return m_temperature; }
    const Tensor& GetSij() const { return m_sij; }      // total stress
    const Tensor& GetSijm() const { return m_sijm; }    // membrane stress
    const Tensor& GetSijlm() const { return m_sijlm; }  // linearised, mechanical origin
    const Tensor& GetSijlt() const { return m_sijlt; }  // linearised, thermal origin

    // A tensor of six unset components; the four tensors of a point, unset.
    static Tensor UnsetTensor();
    static PointTensors UnsetPoint();

   protected:
    void ClearDefined() { m_defined = false; }
    // True when every component lies within the stress bounds (NaN does not).
    static bool InBounds(const Tensor& t);
    static bool InBounds(const PointTensors& p);

    // One tensor card of a record block. With blankAfter, the keyword must be
    // followed by a blank (it begins the keywords of other cards).
    struct TensorCard {
        const char* keyword;
        Tensor* values;
        bool blankAfter;
    };
    // Reads a block body up to closing: *PARAMETRE (pressure, temperature)
    // then the tensor cards, tried in their order, each required once.
    static void ReadBlock(std::istream& in, const char* tag, const char* closing, TensorCard* cards,
                          std::size_t count, double& pressureMPa, double& temperatureC);
    // The four tensor cards of a point through the thickness, into cards[0..3]:
    // point 0 is *SIJA, *SIJMA, *SIJLMA, *SIJLTA; 1 is B; 2 is C.
    static void PointCards(int point, PointTensors& p, TensorCard* cards);

   private:
    bool m_defined;
    std::string m_name;
    int m_number;
    double m_pressure;
    double m_temperature;
    Tensor m_sij;
    Tensor m_sijm;
    Tensor m_sijlm;
    Tensor m_sijlt;
};

// Echo block of a plain record in a report.
std::ostream& operator<<(std::ostream& os, const CZuvanFatigueReleve& record);

namespace ZuvanFatigueReleveEcho {
// Label line, header line and value line of one tensor table; kind is 0 for
// Sij, 1 for Sijm, 2 for Sijlm, 3 for Sijlt (it picks the header).
void Table(std::ostream& os, const std::string& label, int kind,
           const CZuvanFatigueReleve::Tensor& t);
// The four tables of the record's own tensors.
void Tensors(std::ostream& os, const CZuvanFatigueReleve& record);
// Opening of a record's echo: an empty line, the number under numberLabel and
// its underline, name, pressure and temperature (labels padded to width), then
// the four tables of the record's own tensors.
void Head(std::ostream& os, const CZuvanFatigueReleve& record, const char* numberLabel,
          std::size_t width, const char* underline);
// The four tables of a point (letter A, B or C) at distance times the thickness.
void PointTables(std::ostream& os, char point, const char* distance,
                 const CZuvanFatigueReleve::PointTensors& p);
}  // namespace ZuvanFatigueReleveEcho
