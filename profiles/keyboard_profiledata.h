#pragma once
// The keyboard's profile document: the base sections plus "SystemStages" and the per-key colours of the
// custom lighting groups ("CustomLightMode").

#include "profiles/basic_profiledata.h"

namespace norvane {

class CKeyboardProfiledata : public CBasicProfiledata {
 public:
  // Custom groups are addressed by an 8-bit field; an index beyond it is damage, not a group.
  static constexpr std::int32_t kMaxLightColorGroup = 255;
  // More colours than any keyboard has LEDs are never read or written.
  static constexpr std::int32_t kMaxLightColorCount = 1024;

  KeyboardSystemStages GetSystemStages();
  void SetSystemStages(const KeyboardSystemStages& stages);

  // The count colours of group; positions missing from the entry are filled with zeros (in the entry as
  // well, so the next Save stores them). A group outside 0..kMaxLightColorGroup gives zeros and writes
  // nothing.
  std::vector<LightColor> GetLightColors(std::int32_t group, std::int32_t count);
  // Writes every colour into its position of group; nothing for a group out of range.
  void SetLightColors(const std::vector<LightColor>& colors, std::int32_t group);

  // "CustomLightModeGroupIndex"; 0 when missing or out of range.
  std::int32_t GetLightColorGroup();
  // Out-of-range groups are not written.
  void SetLightColorGroup(std::int32_t group);

 private:
  KeyboardSystemStages system_stages_;
  std::vector<LightColor> light_colors_;
  std::int32_t light_color_group_ = 0;
};

}  // namespace norvane
