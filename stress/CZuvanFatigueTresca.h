#pragma once
// Tresca equivalent stress: largest minus smallest principal stress (MPa).

#include "stress/CZuvanFatiguePlasticityCriteria.h"

class CZuvanFatigueTresca : public CZuvanFatiguePlasticityCriteria {
   public:
    double EquivalentStress(const Tensor& s) const override;
};
