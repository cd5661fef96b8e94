#pragma once
// Helpers of the record tests: uniform tensors and the tensor tables of the
// echo blocks.

#include <string>

#include "stress/CZuvanFatigueReleve.h"

namespace ZuvanFatigueTest {

using Tensor = CZuvanFatigueReleve::Tensor;

// A tensor whose six components are v.
inline Tensor Filled(double v) { return {v, v, v, v, v, v}; }

// Column headers of the echoed tensors: Sij, Sijm, Sijlm, Sijlt.
inline const std::string kTensorHeader[4] = {
    "|    Sxx     |    Sxy     |    Sxz     |    Syy     |    Syz     |    Szz     |\n",
    "|    Sxxm    |    Sxym    |    Sxzm    |    Syym    |    Syzm    |    Szzm    |\n",
    "|    Sxxlm   |    Sxylm   |    Sxzlm   |    Syylm   |    Syzlm   |    Szzlm   |\n",
    "|    Sxxlt   |    Sxylt   |    Sxzlt   |    Syylt   |    Syzlt   |    Szzlt   |\n"};

// An echoed tensor row showing the same 10-character value in its six columns.
inline std::string TensorRow(const char* value) {
    std::string s = "|";
    for (int k = 0; k < 6; ++k) s += std::string(" ") + value + " |";
    return s + "\n";
}

}  // namespace ZuvanFatigueTest
