#pragma once
// Shortest round-trip text of a 64-bit float, laid out as the wire format writes numbers.

#include <string>

namespace kavrino_engine::detail {

// Appends `value` (finite) as the shortest decimal digits that read back to the same double,
// laid out with digits d (n of them) and exponent k, value = d × 10^k, kk = n + k:
//   0 <= k and kk <= 16  -> digits, k zeros, ".0"          (2250.0)
//   0 < kk <= 16         -> a point inside the digits       (12.34)
//   -5 < kk <= 0         -> "0.", -kk zeros, the digits     (0.0001)
//   otherwise            -> d or d.ddd, 'e', kk - 1         (1e16, 1.5e-7)
// Zero is "0.0", negative zero "-0.0".
void appendShortestFloat(std::string& out, double value);

// Appends `value` (finite) as the reader's type errors quote a float: the same shortest digits,
// always in plain positional notation (never an exponent), with ".0" added when no decimal point
// appears (1000.0, 18446744073709552000.0, 0.0000001, -0.0).
void appendPlainFloat(std::string& out, double value);

}  // namespace kavrino_engine::detail
