#pragma once
// What a fuzz target asserts about a reader's result: a broken promise stops the run like a crash does, so
// libFuzzer keeps the input.

#include <cstdlib>

namespace norvane::fuzz {

inline void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace norvane::fuzz
