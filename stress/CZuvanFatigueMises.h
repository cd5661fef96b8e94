#pragma once
// Von Mises equivalent stress from the principal stresses (MPa).

#include "stress/CZuvanFatiguePlasticityCriteria.h"

class CZuvanFatigueMises : public CZuvanFatiguePlasticityCriteria {
   public:
    double EquivalentStress(const Tensor& s) const override;
};
