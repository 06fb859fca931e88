#include "emulator/memory_file.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace norvane::emulator {
namespace {

constexpr std::string_view kVersionKeyword = "norvane-emulated-memory";
constexpr int kVersion = 1;
constexpr int kMaxRank = 999;  // far more devices than a list is ever given

constexpr std::array<std::pair<MemoryArea, std::string_view>, 9> kAreaNames{{
    {MemoryArea::kSettings, "settings"},
    {MemoryArea::kKeyTable, "key-table"},
    {MemoryArea::kKeyTableExtra, "key-table-extra"},
    {MemoryArea::kLightMask, "light-mask"},
    {MemoryArea::kMacros, "macros"},
    {MemoryArea::kRecoil, "recoil"},
    {MemoryArea::kInfo, "info"},
    {MemoryArea::kStatus, "status"},
    {MemoryArea::kLightStream, "light-stream"},
}};

constexpr std::array<DeviceModel, 6> kModels{DeviceModel::kKeyboard, DeviceModel::kKeyboardReceiver,
                                             DeviceModel::kMouse,    DeviceModel::kMouseReceiver,
                                             DeviceModel::kMousePad, DeviceModel::kHeadset};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    const size_t start = at;
    while (at < line.size() && !IsBlank(line[at])) ++at;
    if (at > start) fields.push_back(line.substr(start, at - start));
  }
  return fields;
}

std::optional<int> ParseNumber(std::string_view text, int highest) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
  if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > highest) {
    return std::nullopt;
  }
  return value;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::vector<uint8_t>> ParseHex(std::string_view text) {
  if (text.size() % 2 != 0) return std::nullopt;
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() / 2);
  for (size_t at = 0; at < text.size(); at += 2) {
    const int high = HexDigit(text[at]);
    const int low = HexDigit(text[at + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<uint8_t>(high * 16 + low));
  }
  return bytes;
}

std::optional<DeviceModel> ModelNamed(std::string_view name) {
  for (const DeviceModel model : kModels) {
    if (DeviceModelName(model) == name) return model;
  }
  return std::nullopt;
}

std::optional<MemoryArea> AreaNamed(std::string_view name) {
  for (const auto& [area, known] : kAreaNames) {
    if (known == name) return area;
  }
  return std::nullopt;
}

ParsedMemoryFile Damaged(size_t line_number, std::string_view reason) {
  ParsedMemoryFile parsed;
  parsed.problem = "line " + std::to_string(line_number) + " ";
  parsed.problem += reason;
  return parsed;
}

}  // namespace

bool IsKeptArea(MemoryArea area) {
  return std::find(kKeptAreas.begin(), kKeptAreas.end(), area) != kKeptAreas.end();
}

std::string_view MemoryAreaName(MemoryArea area) {
  for (const auto& [known, name] : kAreaNames) {
    if (known == area) return name;
  }
  return "unknown";
}

ParsedMemoryFile ParseMemoryFile(std::string_view text) {
  if (text.size() > kMaxMemoryFileBytes) {
    ParsedMemoryFile parsed;
    parsed.problem = "it is larger than " + std::to_string(kMaxMemoryFileBytes) + " bytes";
    return parsed;
  }
  ParsedMemoryFile parsed;
  bool version_seen = false;
  size_t line_number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++line_number;
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.empty() || fields.front().front() == '#') continue;

    if (!version_seen) {
      if (fields.size() != 2 || fields[0] != kVersionKeyword) {
        return Damaged(line_number, "is not the version line");
      }
      const std::optional<int> version = ParseNumber(fields[1], 1'000'000);
      if (!version) return Damaged(line_number, "has no version number");
      if (*version != kVersion) {
        ParsedMemoryFile other;
        other.verdict = MemoryFileVerdict::kOtherVersion;
        return other;
      }
      version_seen = true;
      continue;
    }

    if (fields.size() != 4) return Damaged(line_number, "is not \"model rank area hex\"");
    const std::optional<DeviceModel> model = ModelNamed(fields[0]);
    const std::optional<int> rank = ParseNumber(fields[1], kMaxRank);
    const std::optional<MemoryArea> area = AreaNamed(fields[2]);
    std::optional<std::vector<uint8_t>> bytes = ParseHex(fields[3]);
    if (!model) return Damaged(line_number, "names no device model");
    if (!rank) return Damaged(line_number, "has no device rank");
    if (!area) return Damaged(line_number, "names no memory area");
    if (!bytes) return Damaged(line_number, "holds no whole hex bytes");

    auto device = std::find_if(parsed.devices.begin(), parsed.devices.end(), [&](const StoredDevice& known) {
      return known.model == *model && known.rank == *rank;
    });
    if (device == parsed.devices.end()) {
      device = parsed.devices.insert(parsed.devices.end(), StoredDevice{*model, *rank, {}});
    }
    const bool repeated = std::any_of(device->areas.begin(), device->areas.end(),
                                      [&](const auto& stored) { return stored.first == *area; });
    if (repeated) return Damaged(line_number, "repeats an area");
    device->areas.emplace_back(*area, std::move(*bytes));
  }
  if (!version_seen) {
    parsed.problem = "it has no version line";
    parsed.devices.clear();
    return parsed;
  }
  parsed.verdict = MemoryFileVerdict::kRead;
  return parsed;
}

std::string FormatMemoryFile(std::span<const StoredDevice> devices) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  std::string text =
      "# Memory of the emulated devices of the demo mode; delete this file to start from factory memory.\n";
  // Appended piece by piece: gcc 12 at -O3 mistakes `" " + std::string` for an overflowing copy.
  text += kVersionKeyword;
  text += ' ';
  text += std::to_string(kVersion);
  text += '\n';
  for (const StoredDevice& device : devices) {
    for (const auto& [area, bytes] : device.areas) {
      if (bytes.empty()) continue;  // a field of no characters would not read back
      text += DeviceModelName(device.model);
      text += ' ';
      text += std::to_string(device.rank);
      text += ' ';
      text += MemoryAreaName(area);
      text += ' ';
      for (const uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
      }
      text += '\n';
    }
  }
  return text;
}

}  // namespace norvane::emulator
