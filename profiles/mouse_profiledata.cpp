#include "profiles/mouse_profiledata.h"

#include "profiles/json_access.h"

namespace norvane {

using json::Element;
using json::Member;
using json::MemberForWrite;
using json::ReadInteger;

std::vector<DpiStage> CMouseProfiledata::GetDpiStages() {
  const Json::Value& section = Section("DPIStages");
  if (!section.isObject()) return dpi_stages_;
  const std::int64_t active = json::ToInteger(Member(section, "StageActive")).value_or(0);
  active_dpi_stage_ = active >= 0 && active <= kMaxDpiStage ? static_cast<std::int32_t>(active) : 0;

  const Json::Value& stored = Member(section, "StageDPIs");
  if (!stored.isArray()) return dpi_stages_;
  for (std::int64_t i = 0; i < json::ArraySize(stored); ++i) {
    const Json::Value& element = Element(stored, i);
    DpiStage stage;
    stage.active = ReadInteger<std::uint8_t>(element, "StageActive");
    stage.xy = ReadInteger<std::uint8_t>(element, "StageXY");
    stage.dpi_x = ReadInteger<std::uint16_t>(element, "StageDPIX");
    stage.dpi_y = ReadInteger<std::uint16_t>(element, "StageDPIY");
    stage.red = ReadInteger<std::uint8_t>(element, "StageColorR");
    stage.green = ReadInteger<std::uint8_t>(element, "StageColorG");
    stage.blue = ReadInteger<std::uint8_t>(element, "StageColorB");
    if (static_cast<std::size_t>(i) < dpi_stages_.size()) {
      dpi_stages_[static_cast<std::size_t>(i)] = stage;
    } else {
      dpi_stages_.push_back(stage);
    }
  }
  return dpi_stages_;
}

void CMouseProfiledata::SetDpiStages(const std::vector<DpiStage>& stages) {
  dpi_stages_ = stages;
  Json::Value& list = MemberForWrite(SectionForWrite("DPIStages"), "StageDPIs");
  for (std::size_t i = 0; i < stages.size(); ++i) {
    Json::Value* element = json::ElementForWrite(list, static_cast<std::int64_t>(i));
    if (element == nullptr) break;
    const DpiStage& stage = stages[i];
    MemberForWrite(*element, "StageActive") = stage.active;
    MemberForWrite(*element, "StageXY") = stage.xy;
    MemberForWrite(*element, "StageDPIX") = stage.dpi_x;
    MemberForWrite(*element, "StageDPIY") = stage.dpi_y;
    MemberForWrite(*element, "StageColorR") = stage.red;
    MemberForWrite(*element, "StageColorG") = stage.green;
    MemberForWrite(*element, "StageColorB") = stage.blue;
  }
}

void CMouseProfiledata::SetActiveDpiStage(std::int32_t stage) {
  active_dpi_stage_ = stage;
  MemberForWrite(SectionForWrite("DPIStages"), "StageActive") = stage;
}

MouseSystemStages CMouseProfiledata::GetSystemStages() {
  const Json::Value& section = Section("SystemStages");
  system_stages_ = {};
  if (!section.isObject()) return system_stages_;
  system_stages_.double_click_time = ReadInteger<std::uint16_t>(section, "DoubleClickTime");
  system_stages_.mouse_speed = ReadInteger<std::uint16_t>(section, "MouseSpeed");
  system_stages_.pointer_precision = ReadInteger<std::uint16_t>(section, "PointerPrecision");
  system_stages_.scroll_page = ReadInteger<std::uint16_t>(section, "ScorllPage");
  system_stages_.wheel_scroll_lines = ReadInteger<std::uint16_t>(section, "WheelScorlllinse");
  system_stages_.report_stage = ReadInteger<std::uint16_t>(Section("ReportStages"), "StageActive");
  return system_stages_;
}

void CMouseProfiledata::SetSystemStages(const MouseSystemStages& stages) {
  system_stages_ = stages;
  Json::Value& section = SectionForWrite("SystemStages");
  MemberForWrite(section, "DoubleClickTime") = stages.double_click_time;
  MemberForWrite(section, "MouseSpeed") = stages.mouse_speed;
  MemberForWrite(section, "PointerPrecision") = stages.pointer_precision;
  MemberForWrite(section, "ScorllPage") = stages.scroll_page;
  MemberForWrite(section, "WheelScorlllinse") = stages.wheel_scroll_lines;
  MemberForWrite(SectionForWrite("ReportStages"), "StageActive") = stages.report_stage;
}

std::vector<CorrectInfoEntry> CMouseProfiledata::GetCorrectInfo() {
  const Json::Value& list = Section("CorrectInfo");
  correct_info_.clear();
  for (std::int64_t i = 0; i < json::ArraySize(list); ++i) {
    const Json::Value& element = Element(list, i);
    CorrectInfoEntry entry;
    entry.pix_thresh = ReadInteger<std::uint8_t>(element, "CorrectPixThresh");
    entry.min_sq = ReadInteger<std::uint8_t>(element, "CorrectMinSq");
    entry.select = ReadInteger<std::uint8_t>(element, "CorrectSelect");
    entry.name = json::ReadString(element, "CorrectName");
    correct_info_.push_back(std::move(entry));
  }
  return correct_info_;
}

}  // namespace norvane
