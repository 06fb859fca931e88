#include "editors/light_control.h"

#include <QString>
#include <array>
#include <utility>

#include "editors/light_layout_rules.h"
#include "editors/page_controls.h"
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

// The panel's own child of that name (the getters are const).
ui::CControlUI* Child(const QWidget& panel, const char* name) {
  return FindInPanel(panel, QString::fromUtf8(name));
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
