#include "editors/light_control.h"

#include <QString>
#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "controls/audio_record.h"
#include "editors/light_layout_rules.h"
#include "platform/trace.h"
#include "uilib/color_palette.h"
#include "uilib/combo.h"
#include "uilib/edit.h"
#include "uilib/option.h"
#include "uilib/slider.h"
#include "uilib/tab_layout.h"

namespace norvane::editors {

namespace {

using light_layout::LayoutStep;
using light_layout::Set;
using light_layout::Switch;

constexpr const char* kModeCombo = "light_combo_modeSelect";
constexpr const char* kCustomCombo = "light_combo_custommodeSelect";
constexpr const char* kPresetCombo = "light_combo_ZZCCmodeSelect";
constexpr const char* kBrightnessSlider = "deng_light_slider";
constexpr const char* kSpeedSlider = "deng_speed_slider";
constexpr const char* kRedEdit = "deng_edit_R";
constexpr const char* kGreenEdit = "deng_edit_G";
constexpr const char* kBlueEdit = "deng_edit_B";
constexpr const char* kPalette = "deng_Color_Pallet";
constexpr const char* kColourButton = "deng_colordp_btn";
constexpr const char* kSevenColourCheck = "deng_7color_check";
constexpr const char* kFirstDirection = "deng_FXL_check";
constexpr const char* kSecondDirection = "deng_FXR_check";
constexpr const char* kSameModeButton = "deng_same_mode";
constexpr const char* kColourPages = "light_color_tablayout";
constexpr const char* kColourOptionPrefix = "color_option_";
constexpr std::uint32_t kOpaque = 0xFF000000u;

// The skin's name of each group a layout step switches; the colour values and the palette go together.
constexpr std::array<std::pair<Switch LayoutStep::*, const char*>, 11> kGroups = {{
    {&LayoutStep::effect, "lighteffect_layout"},
    {&LayoutStep::sevenColour, kSevenColourCheck},
    {&LayoutStep::colour, "deng_color_layout"},
    {&LayoutStep::colour, "colorpallet_layout"},
    {&LayoutStep::colourArea, "light_color_layout"},
    {&LayoutStep::brightness, "deng_light_layout"},
    {&LayoutStep::speed, "deng_speed_layout"},
    {&LayoutStep::direction, "deng_fx_layout"},
    {&LayoutStep::custom, "lightcustom_layout"},
    {&LayoutStep::preset, "light_combo_ZZCCmodeSelectLayout"},
    {&LayoutStep::audio, "light_combo_AudiomodeSelectLayout"},
}};

// The panel's own child of that name. The getters are const, so this looks through the widget tree itself
// rather than through the (non-const) container lookup.
ui::CControlUI* Child(const QWidget& panel, const char* name) {
  for (QWidget* widget : panel.findChildren<QWidget*>(QString::fromUtf8(name))) {
    if (ui::CControlUI* control = ui::ControlOf(widget)) return control;
  }
  return nullptr;
}

int Selection(const ui::CComboUI* combo) {
  return combo ? combo->GetCurSel() : -1;
}

void Select(ui::CComboUI* combo, int item) {
  if (!combo) return;
  if (item < 0 || !combo->SelectItem(item, false, false)) combo->ClearSelection();
}

void Apply(ui::CControlUI* control, Switch state) {
  if (!control) return;
  if (state.enabled != Set::kKeep) control->SetEnabled(state.enabled == Set::kOn);
  if (state.visible != Set::kKeep) control->SetVisible(state.visible == Set::kOn);
}

void ShowTextId(ui::CControlUI* control, const char* id) {
  if (!control) return;
  // As a language id, so the text follows a language switch.
  control->SetResourceText(true);
  control->SetText(ui::CDuiString(id));
}

}  // namespace

CLightControlUI::CLightControlUI() = default;
CLightControlUI::~CLightControlUI() = default;

template <class T>
T* CLightControlUI::Find(const char* name) const {
  return dynamic_cast<T*>(Child(*this, name));
}

void CLightControlUI::DoInit() {
  if (built_) return;
  built_ = true;
  if (!Child(*this, "lighteffect_layout")) LoadSubSkin(kSkin);
}

void CLightControlUI::SetDeviceKind(int kind) {
  deviceKind_ = kind;
}

void CLightControlUI::InitModes(std::span<const std::string> names, std::span<const int> visible,
                                int maxBrightness, int maxSpeed) {
  if (auto* modes = Find<ui::CComboUI>(kModeCombo)) {
    modes->RemoveAll();
    for (std::size_t i = 0; i < names.size(); ++i) {
      const ui::CDuiString name(names[i]);
      const int item = modes->AddItem(name, true, name);
      // Hidden, not left out: the item's index is the mode number the device knows.
      modes->SetItemVisible(item, i >= visible.size() || visible[i] != 0);
    }
  }
  if (auto* brightness = Find<ui::CSliderUI>(kBrightnessSlider)) brightness->SetMaxValue(maxBrightness);
  if (auto* speed = Find<ui::CSliderUI>(kSpeedSlider)) speed->SetMaxValue(maxSpeed);
}

void CLightControlUI::ShowLightEffect(const LightEffect& effect) {
  SelectMode(effect.mode);
  SetBrightness(effect.brightness);
  SetSpeed(effect.speed);
  SetRedText(QString::number(effect.red));
  SetGreenText(QString::number(effect.green));
  SetBlueText(QString::number(effect.blue));
  const std::uint32_t colour = kOpaque | std::uint32_t{effect.red} << 16 | std::uint32_t{effect.green} << 8 |
                               std::uint32_t{effect.blue};
  SetPaletteColour(colour);
  SetColourButton(colour);
  SetMultiColour(effect.multi_color);
  SelectZZCCMode(effect.zzcc_mode);
  SetDirection(effect.direction);
  // The layout comes last, once every field holds the effect.
  ApplyLayout(effect.mode);
}

void CLightControlUI::SelectMode(int mode) {
  Select(Find<ui::CComboUI>(kModeCombo), mode);
  ApplyLayout(mode);
}

int CLightControlUI::GetMode() const {
  return Selection(Find<ui::CComboUI>(kModeCombo));
}

void CLightControlUI::SelectCustomGroup(int group) {
  Select(Find<ui::CComboUI>(kCustomCombo), group);
}

int CLightControlUI::GetCustomGroup() const {
  return Selection(Find<ui::CComboUI>(kCustomCombo));
}

void CLightControlUI::SelectZZCCMode(int preset) {
  Select(Find<ui::CComboUI>(kPresetCombo), preset);
}

int CLightControlUI::GetZZCCMode() const {
  return Selection(Find<ui::CComboUI>(kPresetCombo));
}

void CLightControlUI::SetBrightness(int level) {
  if (auto* slider = Find<ui::CSliderUI>(kBrightnessSlider)) slider->SetValue(level);
}

int CLightControlUI::GetBrightness() const {
  const auto* slider = Find<ui::CSliderUI>(kBrightnessSlider);
  return slider ? slider->GetValue() : 0;
}

void CLightControlUI::SetSpeed(int level) {
  if (auto* slider = Find<ui::CSliderUI>(kSpeedSlider)) slider->SetValue(level);
}

int CLightControlUI::GetSpeed() const {
  const auto* slider = Find<ui::CSliderUI>(kSpeedSlider);
  return slider ? slider->GetValue() : 0;
}

void CLightControlUI::SetEditText(const char* name, const ui::CDuiString& text) {
  if (auto* edit = Find<ui::CEditUI>(name)) edit->SetText(text);
}

ui::CDuiString CLightControlUI::EditText(const char* name) const {
  const auto* edit = Find<ui::CEditUI>(name);
  return edit ? edit->GetText() : ui::CDuiString();
}

void CLightControlUI::SetRedText(const ui::CDuiString& text) {
  SetEditText(kRedEdit, text);
}
void CLightControlUI::SetGreenText(const ui::CDuiString& text) {
  SetEditText(kGreenEdit, text);
}
void CLightControlUI::SetBlueText(const ui::CDuiString& text) {
  SetEditText(kBlueEdit, text);
}
ui::CDuiString CLightControlUI::GetRedText() const {
  return EditText(kRedEdit);
}
ui::CDuiString CLightControlUI::GetGreenText() const {
  return EditText(kGreenEdit);
}
ui::CDuiString CLightControlUI::GetBlueText() const {
  return EditText(kBlueEdit);
}

void CLightControlUI::SetPaletteColour(std::uint32_t argb) {
  if (auto* palette = Find<ui::CColorPaletteUI>(kPalette)) palette->SetSelectColor(argb);
  SetColourButton(argb);
}

std::uint32_t CLightControlUI::GetPaletteColour() const {
  const auto* palette = Find<ui::CColorPaletteUI>(kPalette);
  return palette ? palette->GetSelectColor() : kOpaque;
}

void CLightControlUI::SetColourButton(std::uint32_t argb) {
  if (ui::CControlUI* button = Child(*this, kColourButton)) button->SetBkColor(argb);
}

void CLightControlUI::SetMultiColour(int flag) {
  if (auto* check = Find<ui::COptionUI>(kSevenColourCheck)) check->Selected(flag != 0, false);
}

int CLightControlUI::GetMultiColour() const {
  const auto* check = Find<ui::COptionUI>(kSevenColourCheck);
  return check && check->IsSelected() ? 1 : 0;
}

void CLightControlUI::SetDirection(int flag) {
  if (auto* first = Find<ui::COptionUI>(kFirstDirection)) first->Selected(flag != 0, false);
  if (auto* second = Find<ui::COptionUI>(kSecondDirection)) second->Selected(flag == 0, false);
}

std::uint32_t CLightControlUI::GetColourOption(int number) const {
  const std::string name = kColourOptionPrefix + std::to_string(number);
  const ui::CControlUI* option = number >= 0 ? Child(*this, name.c_str()) : nullptr;
  return option ? option->GetBkColor() : 0;
}

namespace {

constexpr const char* kAudioModeCombo = "light_combo_audiomodeSelect";
constexpr const char* kAudioSevenColour = "deng_7audiocolor_check";
constexpr const char* kAudioBackground = "audio_BkColor_check";
constexpr const char* kAudioForeground = "audio_FgColor_check";
constexpr const char* kAudioEdits[] = {"deng_audioedit_R", "deng_audioedit_G", "deng_audioedit_B"};
constexpr const char* kAudioPalette = "deng_audioColor_Pallet";
constexpr const char* kAudioColourButton = "deng_audiocolordp_btn";
constexpr const char* kAudioColourGroups[] = {"light_audiocolor_layout", "audiocolorpallet_layout"};
constexpr int kAudioPictureWithoutColours = 3;

std::uint32_t Argb(lighting::Rgb c) {
  return 0xFF000000u | std::uint32_t{c.red} << 16 | std::uint32_t{c.green} << 8 | c.blue;
}

}  // namespace

void CLightControlUI::SetAudioLightInfo(const lighting::AudioLight& audio) {
  auto* modes = Find<ui::CComboUI>(kAudioModeCombo);
  auto* seven = Find<ui::COptionUI>(kAudioSevenColour);
  auto* background = Find<ui::COptionUI>(kAudioBackground);
  auto* foreground = Find<ui::COptionUI>(kAudioForeground);
  if (!modes || !seven || !background || !foreground) {
    Trace(" SetAudioLightInfo control is NULL");
    return;
  }
  Select(modes, audio.mode);
  const bool isForeground = audio.colourType == 1;
  background->Selected(!isForeground, false);
  foreground->Selected(isForeground, false);
  seven->SetEnabled(isForeground);
  if (isForeground) seven->Selected(audio.multiColour != 0, false);
  const lighting::Rgb colour = isForeground ? audio.foreground : audio.background;
  const int components[] = {colour.red, colour.green, colour.blue};
  for (int c = 0; c < 3; ++c) SetEditText(kAudioEdits[c], QString::number(components[c]));
  if (auto* palette = Find<ui::CColorPaletteUI>(kAudioPalette)) palette->SetSelectColor(Argb(colour));
  if (ui::CControlUI* button = Child(*this, kAudioColourButton)) button->SetBkColor(Argb(colour));
  for (const char* name : kAudioColourGroups) {
    if (ui::CControlUI* group = Child(*this, name)) group->SetEnabled(audio.mode != kAudioPictureWithoutColours);
  }
}

lighting::AudioLight CLightControlUI::GetAudioLightInfo(const lighting::AudioLight& current, bool takeColour) const {
  const auto* modes = Find<ui::CComboUI>(kAudioModeCombo);
  const auto* seven = Find<ui::COptionUI>(kAudioSevenColour);
  const auto* background = Find<ui::COptionUI>(kAudioBackground);
  const auto* foreground = Find<ui::COptionUI>(kAudioForeground);
  const ui::CControlUI* button = Child(*this, kAudioColourButton);
  if (!modes || !seven || !background || !foreground || !button) {
    Trace("GetAudioLightInfo control is NULL");
    return current;
  }
  lighting::AudioLight audio = current;
  if (modes->GetCurSel() >= 0) audio.mode = static_cast<std::uint8_t>(modes->GetCurSel());
  audio.multiColour = seven->IsSelected() ? 1 : 0;
  if (audio.colourType == 1 && background->IsSelected()) {
    audio.colourType = 0;
  } else if (audio.colourType == 0 && foreground->IsSelected()) {
    audio.colourType = 1;
  }
  if (takeColour) {
    const std::uint32_t argb = button->GetBkColor();
    const lighting::Rgb colour{static_cast<std::uint8_t>(argb >> 16), static_cast<std::uint8_t>(argb >> 8),
                               static_cast<std::uint8_t>(argb)};
    (audio.colourType == 1 ? audio.foreground : audio.background) = colour;
  }
  return audio;
}

std::uint32_t CLightControlUI::GetLightAudioColor(int number) const {
  const std::string name = "audiocolor_option_" + std::to_string(number);
  const ui::CControlUI* option = number >= 0 ? Child(*this, name.c_str()) : nullptr;
  if (!option) Trace("GetLightAudioColor control is NULL");
  return option ? option->GetBkColor() : 0;
}

std::uint32_t CLightControlUI::GetAudioPaletteColour() const {
  const auto* palette = Find<ui::CColorPaletteUI>(kAudioPalette);
  return palette ? palette->GetSelectColor() : kOpaque;
}

ui::CDuiString CLightControlUI::GetAudioColourText(int component) const {
  if (component < 0 || component > 2) return {};
  return EditText(kAudioEdits[component]);
}

bool CLightControlUI::ShowSoundLevels(std::span<const std::int32_t> levels) {
  auto* graph = Find<controls::CAudioRecordUI>("audio_record_graph");
  if (!graph || !graph->isVisible()) return false;
  graph->SetLevels(levels);
  return true;
}

void CLightControlUI::ShowStyleColour(std::span<const std::uint8_t, 3> levels) {
  constexpr const char* kComponents[] = {"R", "G", "B"};
  constexpr int kTopLevel = 9;
  std::uint32_t argb = 0;
  for (int c = 0; c < 3; ++c) {
    const int level = std::min<int>(levels[std::size_t(c)], kTopLevel);
    const std::string prefix = kComponents[c];
    if (auto* slider = Find<ui::CSliderUI>((prefix + "_light_slider").c_str())) slider->SetValue(level);
    if (ui::CControlUI* label = Child(*this, (prefix + "_light_label").c_str()))
      label->SetText(QStringLiteral("%1 %2").arg(QString::fromStdString(prefix)).arg(level));
    argb |= std::uint32_t(level * 255 / kTopLevel) << (16 - 8 * c);
  }
  if (auto* graph = Find<controls::CAudioRecordUI>("audio_record_graph")) graph->SetLineColour(argb ? kOpaque | argb : 0);
}

void CLightControlUI::ShowSameModeButton(int flag) {
  if (ui::CControlUI* button = Child(*this, kSameModeButton))
    button->SetVisible(sameModeFlag_ != 0 && flag != 0);
}

void CLightControlUI::SetSameModeFlag(int flag) {
  sameModeFlag_ = static_cast<std::uint8_t>(flag & 0xFF);
  ApplyLayout(GetMode());
}

void CLightControlUI::ApplyLayout(int mode) {
  const light_layout::LayoutRule* rule = light_layout::RuleOfKind(deviceKind_);
  if (!rule) return;
  ApplyStep(rule->before);
  ApplyStep(light_layout::StepOfMode(*rule, mode));
}

void CLightControlUI::ApplyStep(const LayoutStep& step) {
  for (const auto& [member, name] : kGroups) Apply(Child(*this, name), step.*member);
  if (step.colourPage != light_layout::kKeep) {
    if (auto* pages = Find<ui::CTabLayoutUI>(kColourPages)) pages->SelectItem(step.colourPage);
  }
  if (step.sameModeButton != light_layout::kKeep) ShowSameModeButton(step.sameModeButton);
  if (step.texts) {
    ShowTextId(Child(*this, kFirstDirection), step.texts->first);
    ShowTextId(Child(*this, kSecondDirection), step.texts->second);
  }
}

}  // namespace norvane::editors
