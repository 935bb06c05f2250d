#include "core/platform/random.h"

namespace annuvia {

void RandomGenerator::Seed(std::uint64_t seed) { state_ = seed; }

float RandomGenerator::Next() {
    // splitmix64: every seed, zero included, gives a full-period stream.
    state_ += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<float>(z >> 40) / 16777216.0f;
}

}  // namespace annuvia
