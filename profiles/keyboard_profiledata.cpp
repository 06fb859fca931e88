#include "profiles/keyboard_profiledata.h"

#include <algorithm>

#include "profiles/json_access.h"

namespace norvane {

using json::Element;
using json::Member;
using json::MemberForWrite;
using json::ReadInteger;

namespace {

bool IsGroupInRange(std::int32_t group) {
  return group >= 0 && group <= CKeyboardProfiledata::kMaxLightColorGroup;
}

void WriteColor(Json::Value& object, const LightColor& color) {
  MemberForWrite(object, "Red") = color.red;
  MemberForWrite(object, "Green") = color.green;
  MemberForWrite(object, "Blue") = color.blue;
  MemberForWrite(object, "Alpha") = color.alpha;
}

}  // namespace

KeyboardSystemStages CKeyboardProfiledata::GetSystemStages() {
  const Json::Value& section = Section("SystemStages");
  system_stages_ = {};
  if (section.isObject()) {
    system_stages_.repeat = ReadInteger<std::uint16_t>(section, "Repeat");
    system_stages_.repeat_delay = ReadInteger<std::uint16_t>(section, "RepeatDelay");
    system_stages_.key6_flag = ReadInteger<std::uint16_t>(section, "Key6Flag");
    system_stages_.polling_rate = ReadInteger<std::uint16_t>(section, "PollingRate");
    system_stages_.w_flag = ReadInteger<std::uint16_t>(section, "WFlag");
    system_stages_.win_flag = ReadInteger<std::uint16_t>(section, "WinFlag");
  }
  return system_stages_;
}

void CKeyboardProfiledata::SetSystemStages(const KeyboardSystemStages& stages) {
  system_stages_ = stages;
  Json::Value& section = SectionForWrite("SystemStages");
  MemberForWrite(section, "Repeat") = stages.repeat;
  MemberForWrite(section, "RepeatDelay") = stages.repeat_delay;
  MemberForWrite(section, "Key6Flag") = stages.key6_flag;
  MemberForWrite(section, "PollingRate") = stages.polling_rate;
  MemberForWrite(section, "WFlag") = stages.w_flag;
  MemberForWrite(section, "WinFlag") = stages.win_flag;
}

std::vector<LightColor> CKeyboardProfiledata::GetLightColors(std::int32_t group, std::int32_t count) {
  count = std::clamp(count, 0, kMaxLightColorCount);
  light_colors_.assign(static_cast<std::size_t>(count), LightColor{});
  if (!IsGroupInRange(group)) return light_colors_;

  const Json::Value& stored = Element(Member(Section("CustomLightMode"), "LightColorInfo"), group);
  Json::Value* writable_group = nullptr;
  auto group_for_write = [&]() -> Json::Value& {
    if (writable_group == nullptr) {
      Json::Value& info = MemberForWrite(SectionForWrite("CustomLightMode"), "LightColorInfo");
      writable_group = json::ElementForWrite(info, group);
      if (!writable_group->isArray()) *writable_group = Json::Value(Json::arrayValue);
    }
    return *writable_group;
  };
  const bool group_present = stored.isArray();
  for (std::int32_t i = 0; i < count; ++i) {
    static const Json::Value kMissing;
    const Json::Value& element = group_present ? Element(stored, i) : kMissing;
    if (element.isObject()) {
      LightColor& color = light_colors_[static_cast<std::size_t>(i)];
      color.red = ReadInteger<std::uint8_t>(element, "Red");
      color.green = ReadInteger<std::uint8_t>(element, "Green");
      color.blue = ReadInteger<std::uint8_t>(element, "Blue");
      color.alpha = ReadInteger<std::uint8_t>(element, "Alpha");
    } else {
      // Reading from `stored` is finished for this position before the entry is changed below.
      WriteColor(*json::ElementForWrite(group_for_write(), i), LightColor{});
    }
  }
  return light_colors_;
}

void CKeyboardProfiledata::SetLightColors(const std::vector<LightColor>& colors, std::int32_t group) {
  if (!IsGroupInRange(group)) return;
  light_colors_ = colors;
  Json::Value& info = MemberForWrite(SectionForWrite("CustomLightMode"), "LightColorInfo");
  Json::Value* target = json::ElementForWrite(info, group);
  if (!target->isArray()) *target = Json::Value(Json::arrayValue);
  const std::size_t count = std::min<std::size_t>(colors.size(), kMaxLightColorCount);
  for (std::size_t i = 0; i < count; ++i) {
    WriteColor(*json::ElementForWrite(*target, static_cast<std::int64_t>(i)), colors[i]);
  }
}

std::int32_t CKeyboardProfiledata::GetLightColorGroup() {
  const std::int64_t stored =
      json::ToInteger(Member(Section("CustomLightMode"), "CustomLightModeGroupIndex")).value_or(0);
  light_color_group_ = stored >= 0 && stored <= kMaxLightColorGroup ? static_cast<std::int32_t>(stored) : 0;
  return light_color_group_;
}

void CKeyboardProfiledata::SetLightColorGroup(std::int32_t group) {
  if (!IsGroupInRange(group)) return;
  light_color_group_ = group;
  MemberForWrite(SectionForWrite("CustomLightMode"), "CustomLightModeGroupIndex") = group;
}

}  // namespace norvane
