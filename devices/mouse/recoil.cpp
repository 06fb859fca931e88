#include "devices/mouse/recoil.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "macro/macro_event.h"
#include "platform/atomic_file.h"
#include "profiles/json_access.h"
#include "profiles/json_file_util.h"

namespace norvane::devices::mouse {
namespace {

constexpr int kButtonType = 1;
constexpr int kHorizontalType = 4;
constexpr int kVerticalType = 5;
constexpr int kLeftButton = 1;
constexpr int kPressDelay = 10;
constexpr int kMoveDelay = 5;

// An integer member, or the value of its decimal text; 0 for anything else.
std::int64_t NumberOf(const Json::Value& object, std::string_view key) {
  const Json::Value& member = json::Member(object, key);
  if (member.isString()) {
    const std::string text = member.asString();
    std::int64_t value = 0;
    const std::size_t start = text.find_first_not_of(" \t");
    if (start != std::string::npos) std::from_chars(text.data() + start, text.data() + text.size(), value);
    return value;
  }
  return json::ToInteger(member).value_or(0);
}

bool IsDownIgnoringCase(const Json::Value& event) {
  const std::string action = json::ReadString(event, "Action");
  return action.size() == 4 && std::equal(action.begin(), action.end(), "down",
                                          [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

const Json::Value& EventAt(const Json::Value& document, int index) {
  return json::Element(json::Member(document, "Events"), index);
}

void SetEvent(Json::Value& event, bool down, std::int64_t button, std::int64_t delay, int type) {
  json::MemberForWrite(event, "Action") = down ? "down" : "up";
  json::MemberForWrite(event, "Button") = Json::Int64(button);
  json::MemberForWrite(event, "Delay") = Json::Int64(delay);
  json::MemberForWrite(event, "Type") = type;
}

}  // namespace

std::filesystem::path GunFile(const std::filesystem::path& folder, int gun) {
  return folder / ("ShootData_" + std::to_string(gun) + ".Shoot");
}

Bullet ReadBullet(const Json::Value& document, int bullet) {
  const int first = kEventsPerBullet * bullet;
  const Json::Value& horizontal = EventAt(document, first + 2);
  const Json::Value& vertical = EventAt(document, first + 3);
  return {.left = IsDownIgnoringCase(horizontal),
          .up = IsDownIgnoringCase(vertical),
          .x = NumberOf(horizontal, "Button"),
          .y = NumberOf(vertical, "Button"),
          .delay = NumberOf(vertical, "Delay")};
}

void WriteBullet(Json::Value& document, int bullet, const Bullet& values) {
  Json::Value& events = json::MemberForWrite(document, "Events");
  const int first = kEventsPerBullet * bullet;
  // The last event first: the array grows once, and a bullet beyond what an array may hold changes nothing.
  if (bullet < 0 || json::ElementForWrite(events, first + kEventsPerBullet - 1) == nullptr) return;
  const auto event = [&](int offset) -> Json::Value& { return *json::ElementForWrite(events, first + offset); };
  SetEvent(event(0), true, kLeftButton, kPressDelay, kButtonType);
  SetEvent(event(1), false, kLeftButton, 0, kButtonType);
  SetEvent(event(2), values.left, values.x, kMoveDelay, kHorizontalType);
  SetEvent(event(3), values.up, values.y, values.delay, kVerticalType);
  SetEvent(event(4), values.left, 0, 0, kHorizontalType);
  SetEvent(event(5), values.up, 0, 0, kVerticalType);
}

std::vector<macro::EventCode> ReadGunEvents(const std::filesystem::path& file) {
  return GunEventsOf(JsonFileUtil().ReadJsonValue(file));
}

std::vector<macro::EventCode> GunEventsOf(const Json::Value& document) {
  const Json::Value& events = json::Member(document, "Events");
  std::vector<macro::EventCode> codes;
  if (!events.isArray()) return codes;
  codes.reserve(events.size());
  for (const Json::Value& event : events) {
    macro::MacroEvent read = macro::ReadMacroEvent(event);
    read.button = static_cast<int>(NumberOf(event, "Button"));
    codes.push_back(macro::EncodeMacroEvent(read));
  }
  return codes;
}

std::optional<std::vector<std::uint8_t>> BuildRecoilBlock(std::span<const macro::EventRecord> guns) {
  if (macro::EventBlockSize(guns) > 0xFFFF) return std::nullopt;
  return macro::BuildEventBlock(guns);
}

GunCopy CopyGunFile(const std::filesystem::path& from, const std::filesystem::path& to, std::string* writeError) {
  // Larger files are no gun file (30 bullets take a few kilobytes).
  constexpr std::uintmax_t kMaxGunFileBytes = 16u << 20;
  if (from.empty() || to.empty()) return GunCopy::kNothing;
  std::error_code error;
  if (std::filesystem::equivalent(from, to, error)) return GunCopy::kNothing;
  const std::uintmax_t size = std::filesystem::file_size(from, error);
  if (error || size > kMaxGunFileBytes) return GunCopy::kSourceUnusable;
  std::string bytes;
  if (!ReadWholeFile(from, bytes) || JsonFileUtil::ParseJson(bytes).isNull()) return GunCopy::kSourceUnusable;
  const FileResult written = WriteFileAtomically(to, bytes);
  if (!written) {
    if (writeError) *writeError = written.error;
    return GunCopy::kWriteFailed;
  }
  return GunCopy::kDone;
}

void ProvideMissingGunFiles(const std::filesystem::path& folder, const std::filesystem::path& defaults) {
  if (folder.empty()) return;
  for (int gun = 0; gun < kGunCount; ++gun) {
    if (JsonFileUtil().ReadJsonValue(GunFile(folder, gun)).isNull()) {
      (void)CopyGunFile(GunFile(defaults, gun), GunFile(folder, gun));
    }
  }
}

}  // namespace norvane::devices::mouse
