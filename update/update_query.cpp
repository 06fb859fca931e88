#include "update/update_query.h"

#include <cstdio>
#include <limits>

#include "profiles/json_access.h"
#include "profiles/json_file_util.h"
#include "update/http_client.h"

#ifndef NORVANE_VERSION_TEXT
#define NORVANE_VERSION_TEXT "0"
#endif

namespace norvane::update {

std::string BuildAppKey(const UpdateEntry& entry) {
  if (entry.version == 0) return "NULL";
  return entry.brand + "_" + std::to_string(entry.first) + "_" + entry.model + "_" + entry.type + "_" +
         std::to_string(entry.second);
}

std::vector<std::uint8_t> BuildQueryBody(std::string_view appKey, std::int32_t version, bool hex) {
  char number[16];
  if (hex) {
    std::snprintf(number, sizeof number, "%x", static_cast<unsigned>(version));
  } else {
    std::snprintf(number, sizeof number, "%d", version);
  }
  std::string text = "app_key=";
  text += appKey;
  text += "&version=";
  text += number;
  std::vector<std::uint8_t> body(text.begin(), text.end());
  body.push_back(0);
  return body;
}

std::int32_t ReadVersionNumber(std::string_view text, int base) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (base == 16 && i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    i += 2;
  }
  constexpr std::int64_t kHigh = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kLow = std::numeric_limits<std::int32_t>::min();
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0 || digit >= base) break;
    // Past the 32-bit range the value stays clamped; the loop only goes on to consume the digits.
    if (value <= -kLow) value = value * base + digit;
  }
  if (negative) value = -value;
  if (value > kHigh) return static_cast<std::int32_t>(kHigh);
  if (value < kLow) return static_cast<std::int32_t>(kLow);
  return static_cast<std::int32_t>(value);
}

UpdateInfo ReadUpdateAnswer(std::string_view answer, std::int32_t version, bool hex) {
  UpdateInfo info;
  info.state = kStateUpToDate;
  Json::Value document;
  if (!JsonFileUtil::TryParseJson(answer, document) || !document.isObject()) return info;
  // An answer without a name is no answer about this model.
  info.name = json::ReadString(document, "name");
  if (info.name.empty()) return info;
  info.downloadUrl = json::ReadString(document, "path");
  info.versionName = json::ReadString(document, "version_name");
  info.deviceId = static_cast<std::int32_t>(json::ToInteger(json::Member(document, "device_id")).value_or(0));
  const std::string remoteText = json::ReadString(document, "version");
  char current[16];
  std::int32_t remote = 0;
  if (hex) {
    std::snprintf(current, sizeof current, "V%04x", static_cast<unsigned>(version));
    remote = ReadVersionNumber(remoteText, 16);
    info.newVersion = "V" + remoteText;
  } else {
    std::snprintf(current, sizeof current, "V%d", version);
    remote = ReadVersionNumber(remoteText, 10);
    info.newVersion = info.versionName;
  }
  info.currentVersion = current;
  info.state = remote > version ? kStateNewer : kStateUpToDate;
  if (info.state == kStateUpToDate) info.newVersion.clear();
  return info;
}

UpdateInfo CheckForUpdate(const std::string& updatesUrl, std::string_view appKey, std::int32_t version, bool hex,
                          std::stop_token stop) {
  ResetHttpSettings();
  const std::vector<std::uint8_t> body = BuildQueryBody(appKey, version, hex);
  std::vector<char> answer(kUpdateAnswerBufferSize, '\0');
  const int received = HttpRequest("POST", updatesUrl, body, answer, false, stop);
  if (received <= 0) {
    UpdateInfo info;
    info.state = kStateUpToDate;
    // "NO_LINK_SERVER" when nothing reached a server; empty after an empty answer.
    info.name = std::string(answer.data());
    return info;
  }
  return ReadUpdateAnswer(std::string_view(answer.data(), static_cast<std::size_t>(received)), version, hex);
}

std::int32_t InstalledVersionFromText(std::string_view text) {
  std::string digits;
  for (const char c : text) {
    if (c != '.') digits += c;
  }
  return ReadVersionNumber(digits, 10);
}

std::string_view BuildVersionText() {
  return NORVANE_VERSION_TEXT;
}

std::int32_t GetInstalledVersion() {
  return InstalledVersionFromText(BuildVersionText());
}

}  // namespace norvane::update
