#pragma once
// Equivalent-stress criteria: the scalar that stands for a stress tensor (in
// practice a stress range, the difference of two records' tensors). Both
// criteria work from the principal stresses, found by the closed-form
// trigonometric solution of the characteristic cubic.

#include <array>

class CZuvanFatiguePlasticityCriteria {
   public:
    using Tensor = std::array<double, 6>;  // Sxx, Sxy, Sxz, Syy, Syz, Szz (MPa)

    virtual ~CZuvanFatiguePlasticityCriteria();

    // Equivalent stress of the tensor (MPa), never negative; 0 for a tensor whose
    // norm is below 0.0001. A tensor with a NaN or infinite component, or one so
    // large that the invariants overflow, is refused with code 210.
    virtual double EquivalentStress(const Tensor& s) const = 0;

   protected:
    // Principal stresses s1, s2, s3, in the order the closed form gives them.
    // Returns false (and leaves principal alone) when the norm is below 0.0001.
    // tag names the calling operation in the diagnostic of a refusal (code 210).
    static bool PrincipalStresses(const Tensor& s, double principal[3], const char* tag);
};
