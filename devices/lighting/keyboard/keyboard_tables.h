#pragma once
// The keyboard's lighting geometry and the fixed tables its effects walk. LED indexes run 0..169; the
// value 170 (kNoLed) marks an empty cell or entry, and 255 plays the same role in the start-up tables.

#include <array>
#include <cstddef>
#include <cstdint>

#include "devices/lighting/light_tables.h"

namespace norvane::lighting::keyboard {

inline constexpr std::uint8_t kNoLed = 170;
inline constexpr std::size_t kLedSlots = 170;  // size of every per-LED buffer
inline constexpr std::size_t kColumns = 23;
inline constexpr std::size_t kRows = 6;
inline constexpr std::size_t kRings = 12;
inline constexpr std::size_t kRingSize = 12;
inline constexpr std::size_t kRandomPicks = 104;  // a random key is taken from the first 104 entries

using Column = std::array<std::uint8_t, kRows>;

// LED at (column, row); rows run from the top (0) down.
inline constexpr std::array<Column, kColumns> kGeometry = {{
    {170, 120, 121, 122, 123, 124}, {170, 21, 42, 63, 84, 105},   {0, 22, 43, 64, 102, 106},
    {1, 23, 44, 65, 85, 20},        {2, 24, 45, 66, 86, 107},     {3, 25, 46, 67, 87, 126},
    {4, 26, 47, 68, 88, 127},       {18, 27, 48, 69, 89, 108},    {5, 28, 49, 70, 90, 128},
    {6, 29, 50, 71, 91, 129},       {7, 30, 51, 72, 92, 109},     {8, 31, 52, 73, 93, 125},
    {9, 32, 53, 74, 94, 110},       {10, 33, 54, 62, 100, 111},   {11, 34, 55, 75, 19, 130},
    {12, 101, 103, 79, 95, 112},    {13, 35, 56, 82, 80, 113},    {14, 36, 57, 83, 96, 114},
    {15, 37, 58, 17, 81, 115},      {170, 38, 59, 76, 97, 116},   {170, 39, 60, 77, 98, 104},
    {170, 40, 61, 78, 99, 117},     {170, 41, 16, 119, 118, 131},
}};

// The keys in a serpentine order along the rows.
inline constexpr std::array<std::uint8_t, 126> kLedOrder = {
    15,  14,  13,  12,  11,  10,  9,   8,   7,   6,   5,   4,   3,   2,   1,   0,   21,  42,  63,  84,  105,
    106, 107, 108, 109, 125, 110, 111, 112, 113, 114, 115, 116, 117, 118, 119, 41,  40,  39,  38,  37,  36,
    35,  34,  33,  32,  31,  30,  29,  28,  27,  26,  25,  24,  23,  22,  43,  64,  102, 85,  86,  87,  88,
    89,  90,  91,  92,  93,  94,  95,  96,  97,  98,  99,  78,  61,  60,  59,  58,  57,  56,  55,  54,  53,
    52,  51,  50,  49,  48,  47,  46,  45,  44,  65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  62,  75,
    76,  77,  170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170};

// The order in which the sweep-fill effect lights the keys.
inline constexpr std::array<std::uint8_t, kLedSlots> kFillOrder = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,  17,  18,  19,
    20,  41,  40,  39,  38,  37,  36,  35,  34,  33,  32,  31,  30,  29,  28,  27,  26,  25,  24,
    23,  22,  21,  42,  43,  44,  45,  46,  47,  48,  49,  50,  51,  52,  53,  54,  55,  56,  57,
    58,  59,  60,  61,  119, 78,  77,  76,  75,  170, 74,  73,  72,  71,  70,  69,  68,  67,  66,
    65,  64,  63,  84,  170, 85,  86,  87,  88,  89,  90,  91,  92,  93,  94,  95,  96,  97,  98,
    99,  118, 117, 116, 115, 114, 113, 112, 111, 110, 109, 108, 107, 106, 105, 170, 170, 170, 170,
    170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170,
    170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170,
    170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170};

// The countdown's sweep, row by row.
inline constexpr std::array<std::uint8_t, 132> kSweepOrder = {
    15,  14,  13,  12,  11,  10,  9,   8,   7,   6,   5,   4,   3,   2,   1,   0,   170, 170, 170,
    170, 170, 170, 21,  22,  23,  24,  25,  26,  27,  28,  29,  30,  31,  32,  33,  170, 34,  35,
    36,  37,  38,  39,  40,  41,  119, 61,  60,  59,  58,  57,  56,  55,  54,  53,  52,  51,  50,
    49,  48,  47,  46,  45,  44,  43,  42,  170, 63,  64,  65,  66,  67,  68,  69,  70,  71,  72,
    73,  74,  62,  75,  76,  77,  78,  170, 170, 170, 170, 170, 118, 99,  98,  97,  170, 96,  95,
    170, 94,  93,  92,  91,  90,  89,  88,  87,  86,  85,  170, 84,  102, 170, 105, 106, 107, 108,
    170, 109, 110, 111, 112, 113, 114, 115, 116, 117, 170, 170, 170, 170, 170, 170, 170, 170};

// Rings of keys around the keyboard's centre, innermost first.
inline constexpr std::array<std::array<std::uint8_t, kRingSize>, kRings> kRingTable = {{
    {49, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170},
    {28, 48, 69, 70, 50, 29, 170, 170, 170, 170, 170, 170},
    {6, 27, 47, 68, 89, 90, 91, 71, 51, 30, 170, 170},
    {5, 26, 46, 67, 88, 109, 92, 72, 52, 31, 7, 170},
    {4, 25, 45, 66, 87, 108, 110, 93, 73, 53, 32, 8},
    {3, 24, 44, 65, 86, 107, 111, 94, 74, 54, 33, 9},
    {2, 23, 43, 64, 85, 106, 112, 95, 75, 55, 34, 10},
    {1, 22, 170, 170, 170, 170, 170, 170, 170, 170, 11, 170},
    {170, 21, 42, 63, 84, 105, 170, 170, 170, 113, 12, 170},
    {56, 0, 170, 170, 170, 170, 114, 96, 170, 170, 170, 170},
    {115, 37, 58, 35, 57, 170, 15, 13, 170, 170, 170, 170},
    {170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170},
}};

// Indexes into kLedOrder, in the order random picks use them.
inline constexpr std::array<std::uint8_t, 111> kRandomOrder = {
    88, 24,  101, 57, 16, 69,  35,  34,  36, 51, 78,  18, 12, 66, 97,  9,   33,  41, 55, 52,  48, 95, 77,
    70, 104, 10,  23, 39, 3,   102, 17,  65, 22, 105, 31, 4,  85, 76,  15,  60,  54, 21, 106, 83, 94, 6,
    61, 49,  20,  5,  14, 107, 68,  98,  71, 27, 81,  1,  0,  87, 46,  75,  37,  73, 32, 79,  8,  29, 72,
    56, 44,  99,  13, 47, 42,  93,  108, 91, 80, 86,  89, 43, 28, 58,  59,  109, 38, 53, 2,   62, 64, 90,
    96, 74,  110, 92, 40, 25,  26,  7,   30, 50, 84,  45, 67, 19, 103, 100, 82,  11, 63};

// Seven rows per column (row 6 below the keyboard) for the fast twinkle's start-up; 255 = none.
inline constexpr std::array<std::array<std::uint8_t, 7>, kColumns> kColumnTable7 = {{
    {255, 255, 255, 255, 255, 255, 105}, {255, 255, 21, 42, 63, 84, 106},   {255, 0, 22, 43, 64, 85, 107},
    {255, 1, 23, 44, 65, 86, 255},       {255, 2, 24, 45, 66, 87, 255},     {255, 3, 25, 46, 67, 88, 255},
    {255, 4, 26, 47, 68, 89, 108},       {255, 255, 27, 48, 69, 90, 255},   {255, 5, 28, 49, 70, 91, 255},
    {255, 6, 29, 50, 71, 92, 109},       {255, 7, 30, 51, 72, 93, 109},     {255, 8, 31, 52, 73, 94, 110},
    {255, 9, 32, 53, 74, 255, 111},      {255, 10, 33, 54, 75, 255, 255},   {255, 11, 34, 55, 255, 95, 112},
    {255, 12, 34, 55, 255, 95, 112},     {255, 13, 35, 56, 255, 255, 113},  {255, 14, 36, 57, 255, 96, 114},
    {255, 15, 37, 58, 255, 255, 115},    {255, 17, 38, 59, 76, 97, 116},    {125, 18, 39, 60, 77, 98, 116},
    {255, 19, 40, 61, 78, 99, 117},      {255, 20, 41, 255, 119, 118, 255},
}};

// Start phases of the fast twinkle, six per column.
inline constexpr std::array<std::uint8_t, 138> kTwinkleSeeds = {
    72,  52,  32,  12,  182, 162, 72,  52,  32, 12,  182, 162, 120, 100, 80,  60,  40, 20, 92,  82,
    72,  62,  52,  42,  160, 140, 120, 100, 80, 60,  80,  70,  60,  50,  20,  10,  90, 30, 0,   160,
    130, 100, 50,  30,  10,  180, 160, 140, 32, 22,  12,  2,   182, 172, 120, 100, 80, 60, 40,  20,
    20,  5,   185, 170, 155, 140, 60,  35,  15, 180, 155, 130, 120, 110, 100, 90,  80, 70, 192, 162,
    132, 102, 72,  32,  80,  70,  60,  50,  20, 10,  100, 95,  90,  85,  80,  75,  90, 80, 70,  60,
    50,  40,  140, 110, 80,  50,  20,  180, 70, 55,  40,  25,  10,  190, 120, 100, 80, 60, 40,  20,
    92,  82,  72,  62,  52,  42,  60,  50,  40, 30,  20,  10,  192, 162, 132, 102, 72, 32};

inline constexpr std::array<std::uint8_t, 24> kColumnFade = {
    255, 242, 229, 216, 203, 190, 177, 164, 151, 138, 125, 112, 99, 86, 73, 60, 47, 34, 21, 8, 4, 2, 0, 0};
inline constexpr std::array<std::uint8_t, 24> kRowFade = {255, 242, 229, 216, 203, 190, 177, 164,
                                                          151, 138, 125, 112, 99,  86,  80,  75,
                                                          68,  61,  55,  48,  34,  22,  10,  0};

namespace detail {

// A quick rise, the falling half of the breathing curve, then darkness.
constexpr std::array<std::uint8_t, 192> MakePulse() {
  std::array<std::uint8_t, 192> curve{};
  std::size_t n = 0;
  for (std::uint8_t v : {0,   4,   8,   14,  22,  33,  45,  61,  77,  84,  100, 110, 120,
                         130, 140, 150, 158, 166, 175, 182, 191, 204, 220, 234, 255}) {
    curve[n++] = v;
  }
  for (std::size_t i = 62; i >= 3; --i) curve[n++] = lighting::detail::kBreathingRise[i];
  for (std::uint8_t v : {2, 2, 1, 0}) curve[n++] = v;
  return curve;
}

// A drop's brightness over its 112 phases: up from 8 to full and back.
constexpr std::array<std::uint8_t, 112> MakeDrop() {
  std::array<std::uint8_t, 112> curve{};
  std::size_t n = 0;
  for (std::uint8_t v : {8, 9, 10, 12, 14, 16, 18, 20, 22, 24, 27}) curve[n++] = v;
  for (std::size_t i = 19; i < 64; ++i) curve[n++] = lighting::detail::kBreathingRise[i];
  for (std::size_t i = 0; i < 56; ++i) curve[111 - i] = curve[i];
  return curve;
}

}  // namespace detail

inline constexpr auto kPulse = detail::MakePulse();
inline constexpr auto kDrop = detail::MakeDrop();

// Bounded reads: anything outside a table reads as "no LED" or as darkness.
constexpr std::uint8_t LedAt(std::size_t column, std::size_t row) {
  return column < kColumns && row < kRows ? kGeometry[column][row] : kNoLed;
}

template <std::size_t N>
constexpr std::uint8_t EntryOr(const std::array<std::uint8_t, N>& table, std::size_t index,
                               std::uint8_t missing) {
  return index < N ? table[index] : missing;
}

constexpr std::uint8_t PulseLevel(std::size_t phase) {
  return EntryOr(kPulse, phase, 0);
}
constexpr std::uint8_t DropLevel(std::size_t phase) {
  return EntryOr(kDrop, phase, 0);
}

}  // namespace norvane::lighting::keyboard
