#pragma once
// A linear stress record (*RELEVELIN): the four tensors at two points A and B,
// at 0.5 and 1.5 times the thickness from the point assessed; the record's own
// tensors are their linear extrapolation to the point.

#include "stress/CZuvanFatigueReleve.h"

class CZuvanFatigueReleveLin : public CZuvanFatigueReleve {
   public:
    CZuvanFatigueReleveLin();
    CZuvanFatigueReleveLin(const CZuvanFatigueReleveLin& other);
    CZuvanFatigueReleveLin& operator=(const CZuvanFatigueReleveLin& other);
    ~CZuvanFatigueReleveLin() override;

    // Reads the body of a *RELEVELIN block up to *FIN_RELEVELIN (codes 30, 40,
    // 50, 190).
    void Read(std::istream& in, const std::string& cardLine, int number) override;

    // Checks the point tensors, extrapolates T = 1.5 TA - 0.5 TB and defines the
    // record with the result (code 190, the extrapolated values checked too).
    void SetDefinition(std::string name, int number, double pressureMPa, double temperatureC,
                       const Tensor& sijA, const Tensor& sijmA, const Tensor& sijlmA,
                       const Tensor& sijltA, const Tensor& sijB, const Tensor& sijmB,
                       const Tensor& sijlmB, const Tensor& sijltB);

    const PointTensors& GetA() const { return m_a; }  // at 0.5 x thickness
    const PointTensors& GetB() const { return m_b; }  // at 1.5 x thickness

   private:
    using CZuvanFatigueReleve::SetDefinition;

    PointTensors m_a;
    PointTensors m_b;
};

// Echo block of a linear record in a report.
std::ostream& operator<<(std::ostream& os, const CZuvanFatigueReleveLin& record);
