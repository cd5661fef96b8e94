#pragma once
// A quadratic stress record (*RELEVEQUAD): the four tensors at three points A,
// B and C, at 0.4, 0.9 and 1.4 times the thickness from the point assessed;
// the record's own tensors are their quadratic extrapolation to the point.

#include "stress/CZuvanFatigueReleve.h"

class CZuvanFatigueReleveQuad : public CZuvanFatigueReleve {
   public:
    CZuvanFatigueReleveQuad();
    CZuvanFatigueReleveQuad(const CZuvanFatigueReleveQuad& other);
    CZuvanFatigueReleveQuad& operator=(const CZuvanFatigueReleveQuad& other);
    ~CZuvanFatigueReleveQuad() override;

    // Reads the body of a *RELEVEQUAD block up to *FIN_RELEVEQUAD (codes 30,
    // 40, 50, 190).
    void Read(std::istream& in, const std::string& cardLine, int number) override;

    // Checks the point tensors, extrapolates T = 2.52 TA - 2.24 TB + 0.72 TC
    // (Lagrange weights at distance zero) and defines the record with the
    // result (code 190, the extrapolated values checked too).
    void SetDefinition(std::string name, int number, double pressureMPa, double temperatureC,
                       const Tensor& sijA, const Tensor& sijmA, const Tensor& sijlmA,
                       const Tensor& sijltA, const Tensor& sijB, const Tensor& sijmB,
                       const Tensor& sijlmB, const Tensor& sijltB, const Tensor& sijC,
                       const Tensor& sijmC, const Tensor& sijlmC, const Tensor& sijltC);

    const PointTensors& GetA() const { return m_a; }  // at 0.4 x thickness
    const PointTensors& GetB() const { return m_b; }  // at 0.9 x thickness
    const PointTensors& GetC() const { return m_c; }  // at 1.4 x thickness

   private:
    using CZuvanFatigueReleve::SetDefinition;

    PointTensors m_a;
    PointTensors m_b;
    PointTensors m_c;
};

// Echo block of a quadratic record in a report.
std::ostream& operator<<(std::ostream& os, const CZuvanFatigueReleveQuad& record);
