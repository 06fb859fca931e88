#pragma once
// The program's per-user settings key: a small text file, ConfigFolder() + "registry.ini".
//
// The file stands for one key with 32-bit values. Whether the file exists is whether the key exists; the
// program reads and changes values in an existing key but never creates the key itself (the installer or
// the user does, see CreateKeyIfMissing). Format, UTF-8 text, one entry per line:
//
//   # comment (also lines starting with ';'), blank lines are ignored
//   LANGUAGE=520
//
// A name is any text without '=' or control characters, matched without regard to ASCII case; a value is a
// decimal number from 0 to 4294967295. Spaces around the name and the value are ignored. Anything else
// (an unknown line, a value out of range, a name given twice, an oversized file) makes the file malformed:
// it then reads as a missing key and is renamed to "registry.ini.malformed" (or ".malformed-2", ...), so
// that nothing ever overwrites it and the user can still look at it. Writes replace the file atomically
// and keep every other line, comments included.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/atomic_file.h"

namespace norvane {

// The value that holds the chosen language's id.
inline constexpr std::string_view kLanguageValueName = "LANGUAGE";

// ConfigFolder() + "registry.ini".
std::filesystem::path DefaultRegistrySettingsFile();

enum class SettingsLookup {
  kKeyMissing,    // no key: the file is missing, unreadable or was malformed
  kValueMissing,  // the key exists without this value
  kFound,         // value holds the stored number
};

struct SettingsReadResult {
  SettingsLookup lookup = SettingsLookup::kKeyMissing;
  std::uint32_t value = 0;
  // Why an existing file counts as a missing key (unreadable, or malformed and set aside); empty when the
  // file is simply absent or was read fine. Meant for a one-line diagnostic.
  std::string problem;
};

class RegistrySettings {
 public:
  explicit RegistrySettings(std::filesystem::path file = DefaultRegistrySettingsFile());

  const std::filesystem::path& File() const { return file_; }

  // Reads one value. A malformed file is set aside here (see the header comment).
  SettingsReadResult ReadValue(std::string_view name) const;
  // What ReadValue gives for a key file holding text (nothing is set aside).
  static SettingsReadResult ReadValueFromText(std::string_view text, std::string_view name);

  // Stores value under name in the existing key. Fails, creating nothing, when the key is missing or the
  // file is malformed (it is then set aside); fails with the file untouched when the write fails.
  FileResult WriteValue(std::string_view name, std::uint32_t value) const;

  // Creates the key (an empty settings file and its folder) when it does not exist yet. For the installer,
  // the command-line tool and tests; the program itself never calls it.
  FileResult CreateKeyIfMissing() const;

 private:
  std::filesystem::path file_;
};

}  // namespace norvane
