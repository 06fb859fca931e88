#include "platform/registry_settings.h"

#include <charconv>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/ascii_text.h"
#include "platform/xdg_paths.h"

namespace norvane {
namespace {

// A settings key holds a handful of values; anything much larger is not a file we wrote.
constexpr std::uintmax_t kMaxFileBytes = 64 * 1024;
constexpr std::string_view kMalformedSuffix = ".malformed";


bool IsValidName(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name) {
    if (c == '=' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
  }
  return true;
}

std::optional<std::uint32_t> ParseValue(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// One line of the file as read: kept verbatim so that a write changes only the line of its value.
struct Line {
  std::string text;
  std::string name;  // empty for comments and blank lines
  std::uint32_t value = 0;
};

struct ParsedKey {
  std::vector<Line> lines;

  Line* Find(std::string_view name) {
    for (Line& line : lines) {
      if (!line.name.empty() && EqualsIgnoringAsciiCase(line.name, name)) return &line;
    }
    return nullptr;
  }

  std::string Serialize() const {
    std::string bytes;
    for (const Line& line : lines) {
      bytes += line.text;
      bytes += '\n';
    }
    return bytes;
  }
};

// Parses the whole file; nullopt with a reason when any line is not ours.
std::optional<ParsedKey> Parse(std::string_view bytes, std::string& reason) {
  ParsedKey key;
  std::size_t number = 0;
  // Some editors put a byte-order mark in front of UTF-8 text; it is not part of the first name.
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  while (!bytes.empty()) {
    ++number;
    const auto end = bytes.find('\n');
    const std::string_view raw = bytes.substr(0, end);
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);

    Line line{std::string(TrimBlanks(raw)), {}, 0};
    const std::string_view text = line.text;
    if (text.empty() || text.front() == '#' || text.front() == ';') {
      key.lines.push_back(std::move(line));
      continue;
    }
    const auto equals = text.find('=');
    const std::string_view name = TrimBlanks(text.substr(0, equals));
    const std::optional<std::uint32_t> value =
        equals == std::string_view::npos ? std::nullopt : ParseValue(TrimBlanks(text.substr(equals + 1)));
    if (!IsValidName(name) || !value) {
      reason = "line " + std::to_string(number) + " is not NAME=number";
      return std::nullopt;
    }
    if (key.Find(name) != nullptr) {
      reason = "line " + std::to_string(number) + " repeats the value \"" + std::string(name) + "\"";
      return std::nullopt;
    }
    line.name = std::string(name);
    line.value = *value;
    key.lines.push_back(std::move(line));
  }
  return key;
}

enum class LoadOutcome { kMissing, kUnusable, kLoaded };

struct Loaded {
  LoadOutcome outcome = LoadOutcome::kMissing;
  ParsedKey key;
  std::string problem;
};

Loaded Load(const std::filesystem::path& file) {
  Loaded result;
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  if (!std::filesystem::exists(status)) return result;

  result.outcome = LoadOutcome::kUnusable;
  if (!std::filesystem::is_regular_file(status)) {
    result.problem = "the settings file " + file.string() + " is not a regular file";
    return result;
  }
  std::string bytes;
  std::string reason;
  if (std::filesystem::file_size(file, error) > kMaxFileBytes && !error) {
    reason = "it is larger than " + std::to_string(kMaxFileBytes) + " bytes";
  } else if (!ReadWholeFile(file, bytes)) {
    result.problem = "the settings file " + file.string() + " cannot be read";
    return result;
  } else if (auto parsed = Parse(bytes, reason)) {
    result.outcome = LoadOutcome::kLoaded;
    result.key = std::move(*parsed);
    return result;
  }
  const std::string kept = SetAside(file, kMalformedSuffix).string();
  result.problem = "the settings file " + file.string() + " is malformed (" + reason + ")";
  result.problem += kept.empty() ? "; it was left in place" : "; it was kept as " + kept;
  return result;
}

SettingsReadResult LookUp(Loaded loaded, std::string_view name) {
  SettingsReadResult result;
  result.problem = std::move(loaded.problem);
  if (loaded.outcome != LoadOutcome::kLoaded) return result;
  if (const Line* line = loaded.key.Find(name)) {
    result.lookup = SettingsLookup::kFound;
    result.value = line->value;
  } else {
    result.lookup = SettingsLookup::kValueMissing;
  }
  return result;
}

}  // namespace

std::filesystem::path DefaultRegistrySettingsFile() {
  return ConfigFolder() / "registry.ini";
}

RegistrySettings::RegistrySettings(std::filesystem::path file) : file_(std::move(file)) {}

SettingsReadResult RegistrySettings::ReadValue(std::string_view name) const {
  return LookUp(Load(file_), name);
}

SettingsReadResult RegistrySettings::ReadValueFromText(std::string_view text, std::string_view name) {
  Loaded loaded;
  loaded.outcome = LoadOutcome::kUnusable;
  std::string reason;
  if (text.size() > kMaxFileBytes) {
    reason = "it is larger than " + std::to_string(kMaxFileBytes) + " bytes";
  } else if (auto parsed = Parse(text, reason)) {
    loaded.outcome = LoadOutcome::kLoaded;
    loaded.key = std::move(*parsed);
  }
  if (loaded.outcome != LoadOutcome::kLoaded) loaded.problem = "the settings text is malformed (" + reason + ")";
  return LookUp(std::move(loaded), name);
}

FileResult RegistrySettings::WriteValue(std::string_view name, std::uint32_t value) const {
  if (!IsValidName(TrimBlanks(name)) || TrimBlanks(name) != name) {
    // Appended piece by piece: gcc 12 at -O3 mistakes `"\"" + std::string` for an overflowing copy.
    std::string message = "\"";
    message += name;
    message += "\" cannot name a settings value";
    return FileResult::Failure(message);
  }
  Loaded loaded = Load(file_);
  switch (loaded.outcome) {
    case LoadOutcome::kMissing:
      return FileResult::Failure("the settings key " + file_.string() + " does not exist; nothing was saved");
    case LoadOutcome::kUnusable:
      return FileResult::Failure(loaded.problem + "; nothing was saved");
    case LoadOutcome::kLoaded:
      break;
  }
  const std::string text = std::string(name) + "=" + std::to_string(value);
  if (Line* line = loaded.key.Find(name)) {
    line->text = text;
  } else {
    loaded.key.lines.push_back(Line{text, std::string(name), value});
  }
  return WriteFileAtomically(file_, loaded.key.Serialize());
}

FileResult RegistrySettings::CreateKeyIfMissing() const {
  std::error_code error;
  if (std::filesystem::exists(std::filesystem::symlink_status(file_, error))) return FileResult::Success();
  if (!EnsureFolder(file_.parent_path())) {
    return FileResult::Failure("the folder " + file_.parent_path().string() + " cannot be created");
  }
  return WriteFileAtomically(file_, "# Norvane per-user settings: NAME=number, one per line\n");
}

}  // namespace norvane
