#include "profiles/hs6533_profiledata.h"

#include <optional>

#include "profiles/json_access.h"

namespace norvane {

using json::Element;
using json::Member;
using json::MemberForWrite;
using json::ReadInteger;

namespace {

std::optional<std::int32_t> EqRowOfType(std::int32_t type) {
  if (type == CHs6533Profiledata::kCustomEqType) return std::nullopt;
  if (type >= 1 && type <= 12) return type;
  return 1;
}

bool IsCustomIndexInRange(std::int32_t index) {
  return index >= 0 && index <= CHs6533Profiledata::kMaxCustomEqIndex;
}

}  // namespace

HeadsetSystemSetStages CHs6533Profiledata::GetSystemSetStages() {
  const Json::Value& section = Section("SystemSetStages");
  system_set_stages_ = {};
  if (section.isObject()) {
    system_set_stages_.magic_enable = ReadInteger<std::int32_t>(section, "MagicEnable");
    system_set_stages_.magic_type = ReadInteger<std::int32_t>(section, "MagicType");
    system_set_stages_.eq_type = ReadInteger<std::int32_t>(section, "EqType");
    system_set_stages_.custom_eq_select_index = ReadInteger<std::int32_t>(section, "CustomEqSeletIndex");
    system_set_stages_.mic_in_select = ReadInteger<std::int32_t>(section, "MicInSelect");
    system_set_stages_.mic_in_value = ReadInteger<std::int32_t>(section, "MicInValue");
    system_set_stages_.mic_monitor_select = ReadInteger<std::int32_t>(section, "MicMoniterSelect");
    system_set_stages_.mic_monitor_value = ReadInteger<std::int32_t>(section, "MicMoniterValue");
  }
  return system_set_stages_;
}

void CHs6533Profiledata::SetSystemSetStages(const HeadsetSystemSetStages& stages) {
  system_set_stages_ = stages;
  Json::Value& section = SectionForWrite("SystemSetStages");
  MemberForWrite(section, "MagicEnable") = stages.magic_enable;
  MemberForWrite(section, "MagicType") = stages.magic_type;
  MemberForWrite(section, "EqType") = stages.eq_type;
  MemberForWrite(section, "CustomEqSeletIndex") = stages.custom_eq_select_index;
  MemberForWrite(section, "MicInSelect") = stages.mic_in_select;
  MemberForWrite(section, "MicInValue") = stages.mic_in_value;
  MemberForWrite(section, "MicMoniterSelect") = stages.mic_monitor_select;
  MemberForWrite(section, "MicMoniterValue") = stages.mic_monitor_value;
}

std::vector<std::int32_t> CHs6533Profiledata::ReadBands(std::string_view section, std::int32_t row) {
  const Json::Value& stored = Element(Section(section), row);
  if (!stored.isArray()) {
    WriteBands(section, row, std::vector<std::int32_t>(kBandCount, 0));
    return std::vector<std::int32_t>(kBandCount, 0);
  }
  std::vector<std::int32_t> values(kBandCount, 0);
  for (std::size_t band = 0; band < kBandCount; ++band) {
    values[band] = ReadInteger<std::int32_t>(Element(stored, static_cast<std::int64_t>(band)), "value");
  }
  return values;
}

void CHs6533Profiledata::WriteBands(std::string_view section, std::int32_t row,
                                    const std::vector<std::int32_t>& values) {
  Json::Value* target = json::ElementForWrite(SectionForWrite(section), row);
  if (target == nullptr) return;
  if (!target->isArray()) *target = Json::Value(Json::arrayValue);
  for (std::size_t band = 0; band < kBandCount; ++band) {
    MemberForWrite(*json::ElementForWrite(*target, static_cast<std::int64_t>(band)), "value") = values[band];
  }
}

std::vector<std::int32_t> CHs6533Profiledata::GetEqValues(std::int32_t type) {
  const std::optional<std::int32_t> row = EqRowOfType(type);
  if (!row) return {};
  return ReadBands("EQHzValueInfo", *row);
}

bool CHs6533Profiledata::SetEqValues(std::int32_t type, const std::vector<std::int32_t>& values) {
  const std::optional<std::int32_t> row = EqRowOfType(type);
  if (!row || values.size() < kBandCount) return false;
  WriteBands("EQHzValueInfo", *row, values);
  return true;
}

std::vector<std::string> CHs6533Profiledata::GetCustomEqNames() {
  const Json::Value& list = Section("CustomEQNameInfo");
  std::vector<std::string> names;
  for (std::int64_t i = 0; i < json::ArraySize(list); ++i) {
    names.push_back(json::ReadString(Element(list, i), "Name"));
  }
  return names;
}

void CHs6533Profiledata::SetCustomEqNames(const std::vector<std::string>& names) {
  Json::Value list(Json::arrayValue);
  for (const std::string& name : names) {
    Json::Value element(Json::objectValue);
    element["Name"] = name;
    list.append(std::move(element));
  }
  SectionForWrite("CustomEQNameInfo") = std::move(list);
}

std::vector<std::int32_t> CHs6533Profiledata::GetCustomEqValues(std::int32_t index) {
  if (!IsCustomIndexInRange(index)) return std::vector<std::int32_t>(kBandCount, 0);
  return ReadBands("CustomEQHzValueInfo", index);
}

bool CHs6533Profiledata::SetCustomEqValues(std::int32_t index, const std::vector<std::int32_t>& values) {
  if (!IsCustomIndexInRange(index) || values.size() < kBandCount) return false;
  WriteBands("CustomEQHzValueInfo", index, values);
  return true;
}

void CHs6533Profiledata::RemoveCustomEqValues(std::int32_t index) {
  if (!IsCustomIndexInRange(index) || !Section("CustomEQHzValueInfo").isArray()) return;
  Json::Value& list = SectionForWrite("CustomEQHzValueInfo");
  if (static_cast<Json::ArrayIndex>(index) >= list.size()) return;
  Json::Value removed;
  list.removeIndex(static_cast<Json::ArrayIndex>(index), &removed);
}

}  // namespace norvane
