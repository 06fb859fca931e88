#pragma once
// CLightControlUI (skin class "LightControl"; every device page holds one as "LightControlItem"): the
// lighting editor's panel. It shows a page's light effect (mode, brightness, speed, direction, the
// multi-colour flag, the fixed colour and, on a keyboard, the preset mode and the custom colour group) and
// enables and shows its groups by the device kind and the mode. It holds no light parameters of its own:
// the lighting editor reads the user's change from it and stores it in the page's device.
//
// The panel builds its content from the sub-skin "XML\CustomControlXML\LightControl.xml" in DoInit. Each
// control is looked up inside the panel whenever an operation needs it; an operation whose control is
// missing does nothing, and a getter then gives its stated value. Colours are 0xAARRGGBB.

#include <cstdint>
#include <span>
#include <string>

#include "devices/lighting/light_params.h"
#include "profiles/profile_records.h"
#include "uilib/container.h"

namespace norvane::editors {

namespace light_layout {
struct LayoutStep;
}

class CLightControlUI : public ui::CHorizontalLayoutUI {
 public:
  static constexpr const char* kClassName = "LightControl";
  static constexpr const char* kItemName = "LightControlItem";
  static constexpr const char* kSkin = "XML\\CustomControlXML\\LightControl.xml";

  CLightControlUI();
  ~CLightControlUI() override;

  void DoInit() override;

  // Kind code of the page: 1 keyboard, 2 mouse, 3 mouse pad, 4 or 7 headset, 5 hub.
  void SetDeviceKind(int kind);
  int GetDeviceKind() const { return deviceKind_; }

  // Fills the mode combo: item i is effect mode i, its text the language id names[i], hidden where
  // visible[i] is 0 (hidden items keep their index). Sets the sliders' maxima.
  void InitModes(std::span<const std::string> names, std::span<const int> visible, int maxBrightness,
                 int maxSpeed);
  // Shows every field of the effect, then applies the layout of its mode.
  void ShowLightEffect(const LightEffect& effect);

  void SelectMode(int mode);  // no notification; then ApplyLayout(mode)
  int GetMode() const;        // -1 without a selection or a combo
  void SelectCustomGroup(int group);
  int GetCustomGroup() const;
  void SelectZZCCMode(int preset);
  int GetZZCCMode() const;
  void SetBrightness(int level);
  int GetBrightness() const;
  void SetSpeed(int level);
  int GetSpeed() const;
  void SetRedText(const ui::CDuiString& text);
  void SetGreenText(const ui::CDuiString& text);
  void SetBlueText(const ui::CDuiString& text);
  ui::CDuiString GetRedText() const;
  ui::CDuiString GetGreenText() const;
  ui::CDuiString GetBlueText() const;
  void SetPaletteColour(std::uint32_t argb);  // then SetColourButton
  std::uint32_t GetPaletteColour() const;     // 0xFF000000 without a palette
  void SetColourButton(std::uint32_t argb);
  void SetMultiColour(int flag);
  int GetMultiColour() const;
  void SetDirection(int flag);  // non-zero: "deng_FXL_check", zero: "deng_FXR_check"
  std::uint32_t GetColourOption(int number) const;  // background of "color_option_<number>"; 0 without one
  void ShowSameModeButton(int flag);
  void SetSameModeFlag(int flag);  // then ApplyLayout(GetMode())
  int GetSameModeFlag() const { return sameModeFlag_; }
  void ApplyLayout(int mode);

  // The audio panel of the music effect. Its operations need their controls: a missing one (a fault of the
  // skin) is traced, and the operation leaves everything as it was (a getter gives back `current`).
  // Shows the record: its picture, the colour of its type (background 0, foreground 1) in the edits, the
  // palette and "deng_audiocolordp_btn"; the colour groups are disabled in audio picture 3.
  void SetAudioLightInfo(const lighting::AudioLight& audio);
  // The record as the panel holds it, starting from `current`: picture, multi-colour flag, colour type, and
  // with takeColour the colour of "deng_audiocolordp_btn" as the colour of the type.
  lighting::AudioLight GetAudioLightInfo(const lighting::AudioLight& current, bool takeColour) const;
  std::uint32_t GetLightAudioColor(int number) const;  // background of "audiocolor_option_<number>"; 0 without
  std::uint32_t GetAudioPaletteColour() const;         // 0xFF000000 without a palette
  ui::CDuiString GetAudioColourText(int component) const;  // "deng_audioedit_R/G/B"; empty for others

  // The music page's sound row. The sound on its level graph, while the graph is on screen (false when it
  // is not: nothing was drawn).
  bool ShowSoundLevels(std::span<const std::int32_t> levels);
  // The music style's current colour, red, green and blue as levels 0 to 9: on the "R_light_slider",
  // "G_light_slider", "B_light_slider" sliders, their labels ("R 9") and as the graph's colour (its skin's
  // while the colour is black).
  void ShowStyleColour(std::span<const std::uint8_t, 3> levels);

 private:
  template <class T>
  T* Find(const char* name) const;
  void SetEditText(const char* name, const ui::CDuiString& text);
  ui::CDuiString EditText(const char* name) const;
  void ApplyStep(const light_layout::LayoutStep& step);

  int deviceKind_ = 0;
  std::uint8_t sameModeFlag_ = 0;
  bool built_ = false;
};

}  // namespace norvane::editors
