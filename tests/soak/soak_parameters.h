#pragma once
// What a soak run is asked for, from its environment: the short run CI makes by default, the long one
// scripts/soak asks for.
//   NORVANE_SOAK_SECONDS   how long the user's actions go on (25 s by default), a fifth of it without faults
//   NORVANE_SOAK_SEED      the seed of the actions and faults (a fixed one by default, so a failure repeats)
//   NORVANE_SOAK_QUIET_MS  the longest stall allowed without faults (50 ms in the optimised build; the
//                          debug and sanitizer builds run several times slower, so they get more)

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace norvane::soak {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
#else
inline constexpr bool kSanitized = false;
#endif

#ifdef NDEBUG
inline constexpr bool kOptimised = !kSanitized;
#else
inline constexpr bool kOptimised = false;
#endif

struct SoakParameters {
  std::chrono::seconds duration{25};
  std::uint32_t seed = 20261210;
  std::chrono::milliseconds quiet_stall{kOptimised ? 50 : 400};

  static SoakParameters FromEnvironment() {
    SoakParameters parameters;
    const auto number = [](const char* name, long long fallback) {
      const char* text = std::getenv(name);
      if (text == nullptr || *text == '\0') return fallback;
      char* end = nullptr;
      const long long value = std::strtoll(text, &end, 10);
      return (end != nullptr && *end == '\0' && value > 0) ? value : fallback;
    };
    parameters.duration = std::chrono::seconds(number("NORVANE_SOAK_SECONDS", parameters.duration.count()));
    parameters.seed = std::uint32_t(number("NORVANE_SOAK_SEED", parameters.seed));
    parameters.quiet_stall =
        std::chrono::milliseconds(number("NORVANE_SOAK_QUIET_MS", parameters.quiet_stall.count()));
    return parameters;
  }
};

}  // namespace norvane::soak
