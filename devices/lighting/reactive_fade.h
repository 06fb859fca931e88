#pragma once
// The reactive buffers of a page: one fade value per LED position, decayed a little on every frame, and
// one byte per keyboard column.

#include <array>
#include <cstddef>
#include <cstdint>

namespace norvane::lighting {

inline constexpr std::size_t kReactivePositions = 170;
inline constexpr std::size_t kColumns = 23;

// Decays a fade value by one frame. The decay curve depends on the effect: mode 0 and the audio mode 29
// have their own, every other mode shares one. Large values fall fast, small ones linger.
std::uint8_t FadeStep(std::uint8_t value, unsigned mode);

struct ReactiveBuffers {
  std::array<std::uint8_t, kReactivePositions> fade{};
  std::array<std::uint8_t, kColumns> columns{};

  // Decays one position in place and returns the new value; positions outside the buffer give 0.
  std::uint8_t FadeStep(std::size_t position, unsigned mode);
  // Every position 0..8 whose column entry is non-zero gets the full fade value.
  void LatchColumns();
  // Rotates the column buffer by one: toward the end when forward, else toward the start.
  void RotateColumns(bool forward);
  void Clear();
};

}  // namespace norvane::lighting
