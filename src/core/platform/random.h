#pragma once
// The program's random numbers: single-precision values in [0, 1) made from
// 24 random bits, so a value can never reach 1. Portable: no <windows.h>.

#include <cstdint>

namespace annuvia {

class RandomGenerator {
public:
    explicit RandomGenerator(std::uint64_t seed = 0) { Seed(seed); }
    void Seed(std::uint64_t seed);
    // The next value r, 0 <= r < 1, a multiple of 2^-24.
    float Next();

private:
    std::uint64_t state_ = 0;
};

}  // namespace annuvia
