#pragma once
// Rules a key assignment must keep whoever makes it (the key editor or norvanectl).

#include <cstddef>
#include <span>

#include "profiles/profile_records.h"

namespace norvane::devices {

inline constexpr KeyFunction kLeftButtonFunction{0x10, 0x01, 0x00};

// A mouse must keep its left button on at least one key: whether `key` is the last key that has it (and
// so cannot be given another function).
[[nodiscard]] bool IsLastLeftButton(std::span<const KeyAssignment> keys, std::size_t key);

}  // namespace norvane::devices
