#pragma once
// The mouse's profile document: the base sections plus the DPI stages, the system settings with the
// report-rate stage, and the read-only sensor correction entries.

#include "profiles/basic_profiledata.h"

namespace norvane {

class CMouseProfiledata : public CBasicProfiledata {
 public:
  // Stage numbers are bytes on the device; anything larger read from a file counts as stage 0.
  static constexpr std::int32_t kMaxDpiStage = 255;

  // Merges the stored stages into the member: stored stage i replaces member stage i or is appended; the
  // member never shrinks. Without stored stages the member is returned unchanged.
  std::vector<DpiStage> GetDpiStages();
  // Replaces the member and writes all seven keys of every stage.
  void SetDpiStages(const std::vector<DpiStage>& stages);
  // "DPIStages"."StageActive" as last read or written.
  std::int32_t GetActiveDpiStage() const { return active_dpi_stage_; }
  void SetActiveDpiStage(std::int32_t stage);

  MouseSystemStages GetSystemStages();
  void SetSystemStages(const MouseSystemStages& stages);

  std::vector<CorrectInfoEntry> GetCorrectInfo();

 private:
  std::vector<DpiStage> dpi_stages_;
  std::int32_t active_dpi_stage_ = 0;
  MouseSystemStages system_stages_;
  std::vector<CorrectInfoEntry> correct_info_;
};

}  // namespace norvane
