#pragma once
// A random source that replays a fixed sequence, cycling when it runs out.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "devices/lighting/random_source.h"

namespace norvane::lighting::testing {

class FixedRandom final : public RandomSource {
 public:
  explicit FixedRandom(std::vector<std::uint32_t> values) : values_(std::move(values)) {}
  std::uint32_t Next() override { return values_.empty() ? 0 : values_[next_++ % values_.size()]; }

 private:
  std::vector<std::uint32_t> values_;
  std::size_t next_ = 0;
};

}  // namespace norvane::lighting::testing
