#pragma once
// Randomness for the lighting effects goes through this interface so tests can fix the sequence.

#include <cstdint>
#include <random>

namespace norvane::lighting {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual std::uint32_t Next() = 0;

  // A value in 0..bound-1 (bound must be non-zero).
  std::uint32_t Below(std::uint32_t bound) { return Next() % bound; }
};

// The production source: a Mersenne twister seeded once from the system.
class DefaultRandomSource final : public RandomSource {
 public:
  DefaultRandomSource() : engine_(std::random_device{}()) {}
  explicit DefaultRandomSource(std::uint32_t seed) : engine_(seed) {}
  std::uint32_t Next() override { return static_cast<std::uint32_t>(engine_()); }

 private:
  std::mt19937 engine_;
};

}  // namespace norvane::lighting
