#pragma once
// The audio style: which of four named colour groups the audio capture companion shows, and the groups'
// colours (red, green, blue as levels 0 to 9). Kept in "AudioFile.json": a JSON object whose "Device"
// object holds "AudioLightInfo" with the 17 keys "nAudioStyle", "nStyleName1" to "nStyleName4" and
// "nStyleR0" .. "nStyleB3". The default-data folder holds the default file, the user data folder the
// user's.
//
// The user's file is replaced by the default only with a default that was read and has its "Device"
// object: a missing or damaged default never writes over a good file of the user's.

#include <json/json.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/atomic_file.h"

namespace norvane::app {

struct AudioStyle {
  static constexpr int kGroups = 4;
  std::uint8_t style = 0;  // the selected group, 0 to 3
  std::array<std::string, kGroups> names;  // UTF-8
  // Per group red, green, blue.
  std::array<std::array<std::uint8_t, 3>, kGroups> colours{};
  friend bool operator==(const AudioStyle&, const AudioStyle&) = default;
};

// The style of a "Device" object; all zero with empty names when it or its "AudioLightInfo" is missing.
// Integers are truncated to bytes.
[[nodiscard]] AudioStyle AudioStyleOf(const Json::Value& device);
// Replaces the "AudioLightInfo" of a "Device" object by the style's 17 keys.
void PutAudioStyle(Json::Value& device, const AudioStyle& style);

// The colour record (kind 10) for the audio capture companion: red, green and blue of the selected group as
// three little-endian 32-bit values (a green of 0 sent as 1), then 28 bytes of 0.
inline constexpr int kStyleColourRecordBytes = 40;
[[nodiscard]] std::array<std::uint8_t, kStyleColourRecordBytes> StyleColourRecord(const AudioStyle& style);

class AudioStyleStore {
 public:
  AudioStyleStore(std::filesystem::path userFile, std::filesystem::path defaultFile);

  // Start-up: the user's file; when it holds no "Device" object, the default file becomes the user's.
  void Load();
  // Back to the default style (a profile reset): the default is written as the user's file. With a default
  // that cannot be read or has no "Device" object, the user's file and the style stay as they are.
  void Reset();

  [[nodiscard]] const AudioStyle& Style() const { return style_; }
  // The style in memory; Save writes it.
  void SetStyle(const AudioStyle& style);
  // Writes the style into the user's file (the rest of the file stays as it is).
  [[nodiscard]] FileResult Save();

  const std::filesystem::path& UserFile() const { return userFile_; }

 private:
  // Writes the default as the user's file and takes its "Device". False (nothing changed) without a usable
  // default.
  bool TakeDefault();

  std::filesystem::path userFile_;
  std::filesystem::path defaultFile_;
  Json::Value device_;
  AudioStyle style_;
};

}  // namespace norvane::app
