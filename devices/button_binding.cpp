#include "devices/button_binding.h"

#include <cctype>
#include <charconv>

namespace norvane::devices {

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// The number after `prefix`, when the text is exactly the prefix and decimal digits below `limit`.
std::optional<int> NumberAfter(std::string_view text, std::string_view prefix, bool ignore_case, int limit) {
  if (text.size() <= prefix.size()) return std::nullopt;
  const std::string_view head = text.substr(0, prefix.size());
  if (ignore_case ? !SameIgnoringCase(head, prefix) : head != prefix) return std::nullopt;
  const std::string_view digits = text.substr(prefix.size());
  int number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size() || number < 0 || number >= limit) {
    return std::nullopt;
  }
  return number;
}

}  // namespace

std::optional<int> KeyIndexFromName(std::string_view name, int key_count) {
  return NumberAfter(name, "key_", true, key_count);
}

std::optional<int> LedIndexFromUserData(std::string_view user_data, int led_count) {
  return NumberAfter(user_data, "light_", false, led_count);
}

std::optional<int> MirrorLedIndexFromName(std::string_view name, int led_count) {
  return NumberAfter(name, "light_0_", false, led_count);
}

}  // namespace norvane::devices
