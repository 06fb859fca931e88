#include "devices/headset/audio_chip.h"

#include <algorithm>
#include <cstring>

namespace norvane::devices::headset {

std::int32_t WordOf(const PropertyBuffer& buffer, std::size_t index) {
  std::int32_t word = 0;
  if ((index + 1) * sizeof(word) <= buffer.size()) std::memcpy(&word, buffer.data() + index * sizeof(word), sizeof(word));
  return word;
}

void PutWord(PropertyBuffer& buffer, std::int32_t word, std::size_t index) {
  if ((index + 1) * sizeof(word) <= buffer.size()) std::memcpy(buffer.data() + index * sizeof(word), &word, sizeof(word));
}

float FloatOf(const PropertyBuffer& buffer) {
  float value = 0;
  std::memcpy(&value, buffer.data(), sizeof(value));
  return value;
}

void PutFloat(PropertyBuffer& buffer, float value) {
  std::memcpy(buffer.data(), &value, sizeof(value));
}

std::string TextOf(const PropertyBuffer& buffer) {
  const auto end = std::find(buffer.begin(), buffer.end(), std::uint8_t{0});
  return std::string(buffer.begin(), end);
}

void PutText(PropertyBuffer& buffer, std::string_view text) {
  const std::size_t length = std::min(text.size(), buffer.size() - 1);
  std::memcpy(buffer.data(), text.data(), length);
  buffer[length] = 0;
}

}  // namespace norvane::devices::headset
