#include "editors/lighting_editor.h"

#include <algorithm>

#include "controls/device_key_button.h"
#include "controls/pages/device_page.h"
#include "devices/device_capabilities.h"
#include "devices/device_kinds.h"
#include "devices/effect_lists.h"
#include "devices/keyboard/keyboard_device.h"
#include "devices/light_writes.h"
#include "devices/lighting/light_conversion.h"
#include "editors/light_control.h"
#include "editors/page_controls.h"
#include "platform/trace.h"

namespace norvane::editors {

namespace {

constexpr int kKeyboardKind = 1;
constexpr int kMouseKind = 2;
constexpr int kPadKind = 3;
constexpr int kHeadsetKind = 7;
constexpr int kLevels = 4;  // brightness and speed run from 0 to 4 on every kind
constexpr int kLightingTab = 1;
constexpr std::uint8_t kPerKeyColourMode = 21;

int KindOf(const controls::CDevicePageUI& page) {
  return page.Device() ? devices::PageKindCode(page.Device()->KindCode()) : 0;
}

std::uint32_t ColourOf(const lighting::LightParams& p) {
  return 0xFF000000u | std::uint32_t{p.red} << 16 | std::uint32_t{p.green} << 8 | p.blue;
}

void TakeColour(lighting::LightParams& p, std::uint32_t colour) {
  p.red = static_cast<std::uint8_t>(colour >> 16);
  p.green = static_cast<std::uint8_t>(colour >> 8);
  p.blue = static_cast<std::uint8_t>(colour);
}

void ShowComponents(CLightControlUI& panel, const lighting::LightParams& p) {
  panel.SetRedText(QString::number(p.red));
  panel.SetGreenText(QString::number(p.green));
  panel.SetBlueText(QString::number(p.blue));
}

std::uint8_t Level(int value) {
  return static_cast<std::uint8_t>(std::clamp(value, 0, kLevels));
}

devices::CNorvaneKeyboardDevice* KeyboardOf(controls::CDevicePageUI& page) {
  return dynamic_cast<devices::CNorvaneKeyboardDevice*>(page.Device());
}

}  // namespace

int SameModeOf(int type, int pageKind) {
  if (type < 0 || type >= int(std::size(kSameModeTable))) return -1;
  const SameModeRow& row = kSameModeTable[type];
  switch (pageKind) {
    case kKeyboardKind:
      return row.keyboard;
    case kMouseKind:
      return row.mouse;
    case kPadKind:
    case kHeadsetKind:
      return row.padOrHeadset;
    default:
      return -1;
  }
}

int ColourComponentOfText(const QString& text) {
  int at = 0;
  while (at < text.size() && text[at].isSpace()) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == u'-' || text[at] == u'+')) negative = text[at++] == u'-';
  long value = 0;
  for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at) {
    value = std::min<long>(value * 10 + (text[at].unicode() - u'0'), 100000);
  }
  // Above 255 is the brightest, below 0 (the edits take digits only, a pasted text may not) is none.
  return negative ? 0 : int(std::min<long>(value, 255));
}

CLightingEditor::CLightingEditor(lighting::SharedLightEffect& shared, PageList pages)
    : shared_(shared), pages_(std::move(pages)) {
  writeTimer_.setSingleShot(true);
  writeTimer_.setInterval(kWriteDelay);
  QObject::connect(&writeTimer_, &QTimer::timeout, [this] { FlushPendingWrite(); });
}

CLightingEditor::~CLightingEditor() {
  FlushPendingWrite();
}

CLightControlUI* CLightingEditor::PanelOf(controls::CDevicePageUI& page) {
  return FindInPageAs<CLightControlUI>(page, CLightControlUI::kItemName);
}

void CLightingEditor::OnRoute(const RoutedNotify& notify) {
  if (!notify.page || !notify.page->Device()) return;
  controls::CDevicePageUI& page = *notify.page;
  CLightControlUI* panel = PanelOf(page);
  if (editListener_ && notify.action != RouteAction::kLightSync) editListener_(page);
  switch (notify.action) {
    case RouteAction::kLightSync:
      ApplyToEveryDevice(page);
      return;
    case RouteAction::kCustomPaint:
    case RouteAction::kCustomErase:
    case RouteAction::kPaintKey:
    case RouteAction::kPaintSelection:
    case RouteAction::kCustomEffectChosen:
    case RouteAction::kPresetEffectChosen:
      OnKeyboardColours(notify, page, panel);
      return;
    default:
      if (panel) OnPanelChange(notify, page, *panel);
      return;
  }
}

void CLightingEditor::OnPanelChange(const RoutedNotify& notify, controls::CDevicePageUI& page,
                                    CLightControlUI& panel) {
  devices::CNorvaneUSBDevice& device = *page.Device();
  lighting::LightParams p = device.GetLightParams();
  switch (notify.action) {
    case RouteAction::kEffectChosen: {
      const int mode = panel.GetMode();
      if (mode < 0 || mode > 0xFF) return;
      device.SetLightSynced(false);
      panel.SelectMode(mode);
      p.mode = static_cast<std::uint8_t>(mode);
      StoreAndSend(page, p);
      return;
    }
    case RouteAction::kBrightness:
    case RouteAction::kSpeed: {
      const bool brightness = notify.action == RouteAction::kBrightness;
      // A moving slider reports its position in the notification; the slider's value is where it lands.
      const bool moving = notify.msg && notify.msg->sType == ui::DUI_MSGTYPE_MOVEVALUECHANGED;
      const int value = moving ? int(notify.msg->wParam) : (brightness ? panel.GetBrightness() : panel.GetSpeed());
      device.SetLightSynced(false);
      if (!moving) brightness ? panel.SetBrightness(value) : panel.SetSpeed(value);
      (brightness ? p.brightness : p.speed) = Level(value);
      StoreAndSend(page, p, true);
      return;
    }
    case RouteAction::kMultiColour: {
      const int flag = panel.GetMultiColour();
      device.SetLightSynced(false);
      panel.SetMultiColour(flag);
      p.multiColour = flag ? 1 : 0;
      StoreAndSend(page, p);
      return;
    }
    case RouteAction::kLightDirection:
      // Both options of the pair report; only the one now chosen counts.
      if (notify.msg && notify.msg->wParam == 0) return;
      panel.SetDirection(notify.number);
      device.SetLightSynced(false);
      p.direction = notify.number ? 1 : 0;
      StoreAndSend(page, p);
      return;
    case RouteAction::kPaletteColour: {
      const std::uint32_t colour = panel.GetPaletteColour();
      TakeColour(p, colour);
      p.multiColour = 0;
      device.SetLightSynced(false);
      device.SetLightParams(p);
      device.SaveProfile();
      device.RefreshKeyButtons();
      ShowComponents(panel, p);
      panel.SetMultiColour(0);
      panel.SetColourButton(colour);
      WriteSettings(page);
      return;
    }
    case RouteAction::kColourComponent: {
      if (notify.number < 0 || notify.number > 2) return;
      const ui::CDuiString text = notify.number == 0   ? panel.GetRedText()
                                  : notify.number == 1 ? panel.GetGreenText()
                                                       : panel.GetBlueText();
      const int value = ColourComponentOfText(text);
      // The edit shows the value that was taken.
      const QString shown = QString::number(value);
      if (notify.number == 0) panel.SetRedText(shown);
      if (notify.number == 1) panel.SetGreenText(shown);
      if (notify.number == 2) panel.SetBlueText(shown);
      (notify.number == 0 ? p.red : notify.number == 1 ? p.green : p.blue) = static_cast<std::uint8_t>(value);
      p.multiColour = 0;
      device.SetLightSynced(false);
      device.SetLightParams(p);
      device.SaveProfile();
      device.RefreshKeyButtons();
      panel.SetMultiColour(0);
      panel.SetPaletteColour(ColourOf(p));
      WriteSettings(page);
      return;
    }
    case RouteAction::kColourOption: {
      const std::uint32_t colour = panel.GetColourOption(notify.number);
      TakeColour(p, colour);
      p.multiColour = 0;  // a preset colour keeps the page in the shared effect
      device.SetLightParams(p);
      device.SaveProfile();
      device.RefreshKeyButtons();
      ShowComponents(panel, p);
      panel.SetMultiColour(0);
      panel.SetPaletteColour(colour);
      WriteSettings(page);
      return;
    }
    default:
      return;
  }
}

void CLightingEditor::OnKeyboardColours(const RoutedNotify& notify, controls::CDevicePageUI& page,
                                        CLightControlUI* panel) {
  devices::CNorvaneKeyboardDevice* keyboard = KeyboardOf(page);
  if (!keyboard) return;
  const int group = panel ? panel->GetCustomGroup() : -1;
  switch (notify.action) {
    case RouteAction::kCustomPaint:
    case RouteAction::kCustomErase:
      keyboard->FillCustomColours(notify.action == RouteAction::kCustomPaint ? 1 : 0, group);
      return;
    case RouteAction::kPaintKey:
      keyboard->SetCustomKeyColour(notify.number, group);
      return;
    case RouteAction::kPaintSelection:
      PaintSelection(page, panel);
      return;
    case RouteAction::kPresetEffectChosen: {
      if (!panel) return;
      const int preset = panel->GetZZCCMode();
      if (preset < 0 || preset > 0xFF) return;
      panel->SelectZZCCMode(preset);
      lighting::LightParams p = keyboard->GetLightParams();
      p.presetColour = static_cast<std::uint8_t>(preset);
      StoreAndSend(page, p);
      return;
    }
    case RouteAction::kCustomEffectChosen: {
      if (!panel || group < 0 || group > 0xFF) return;
      panel->SelectCustomGroup(group);
      keyboard->ChooseCustomGroup(group);
      lighting::LightParams p = keyboard->GetLightParams();
      p.customGroup = static_cast<std::uint8_t>(group);
      keyboard->SetLightParams(p);
      keyboard->SaveProfile();
      WriteSettings(page);
      keyboard->ReloadCustomColours();
      return;
    }
    default:
      return;
  }
}

void CLightingEditor::PaintSelection(controls::CDevicePageUI& page, CLightControlUI* panel) {
  devices::CNorvaneKeyboardDevice* keyboard = KeyboardOf(page);
  if (!keyboard || keyboard->GetFunctionTab() != kLightingTab) return;
  if (keyboard->GetLightParams().mode != kPerKeyColourMode) return;
  std::vector<int> leds;
  for (int led = 0; led < page.LightButtonCount(); ++led) {
    auto* button = dynamic_cast<controls::CDeviceKeyButtonUI*>(page.LightButton(led));
    if (button && button->GetSelectionState() == 1) leds.push_back(led);
  }
  if (!leds.empty()) keyboard->SetCustomKeyColours(leds, panel ? panel->GetCustomGroup() : -1);
}

void CLightingEditor::StoreAndSend(controls::CDevicePageUI& page, const lighting::LightParams& p, bool coalesce) {
  devices::CNorvaneUSBDevice& device = *page.Device();
  device.SetLightParams(p);
  if (!coalesce) {
    // A waiting slider change of this page goes out with this one; another page's goes first.
    if (pendingPage_ && pendingPage_ != &page) FlushPendingWrite();
    pendingPage_ = nullptr;
    writeTimer_.stop();
    ReportWrite(page, devices::StoreAndSendLight(device, p).written);
    return;
  }
  device.RefreshKeyButtons();
  if (pendingPage_ && pendingPage_ != &page) FlushPendingWrite();
  pendingPage_ = &page;
  if (!writeTimer_.isActive()) writeTimer_.start();
}

void CLightingEditor::FlushPendingWrite() {
  writeTimer_.stop();
  auto* page = dynamic_cast<controls::CDevicePageUI*>(pendingPage_.data());
  pendingPage_ = nullptr;
  if (page && page->Device()) SaveAndWrite(*page);
}

void CLightingEditor::SaveAndWrite(controls::CDevicePageUI& page) {
  page.Device()->SaveProfile();
  devices::SettingsOps* settings = page.Device()->Settings();
  if (!settings) return;
  // The window goes on while the keyboard takes the record; a newer change replaces one not yet sent.
  QPointer<QWidget> target = &page;
  settings->WriteSettingsSoon(0, 0, [target](int result) {
    if (auto* written = dynamic_cast<controls::CDevicePageUI*>(target.data())) ReportWrite(*written, result);
  });
}

void CLightingEditor::WriteSettings(controls::CDevicePageUI& page) {
  if (devices::SettingsOps* settings = page.Device()->Settings()) ReportWrite(page, settings->WriteSettings(0, 0));
}

void CLightingEditor::ReportWrite(controls::CDevicePageUI& page, int result) {
  // The profile keeps the change either way; the user hears once, not on every step of a slider, until a
  // write to that device succeeds again.
  constexpr const char* kToldProperty = "_nv_light_write_failed";
  if (result == 1) {
    page.setProperty(kToldProperty, false);
    return;
  }
  Trace("lighting editor: the settings were not written (" + std::to_string(result) + ")");
  if (page.property(kToldProperty).toBool()) return;
  page.setProperty(kToldProperty, true);
  page.ShowMessage({kWriteFailed, std::nullopt});
}

void CLightingEditor::ApplyToEveryDevice(controls::CDevicePageUI& current) {
  lighting::LightParams p = current.Device()->GetLightParams();
  const int kind = KindOf(current);
  int type = -1;
  for (int t = 0; t < int(std::size(kSameModeTable)); ++t) {
    if (SameModeOf(t, kind) == p.mode) type = t;
  }
  if (SameModeOf(0, kind) >= 0) {
    if (type < 0) return;  // an effect no other kind shows: nothing changes
    sharedType_ = type;
  }
  FlushPendingWrite();
  shared_.Store({.type = static_cast<std::uint8_t>(sharedType_),
                 .brightness = p.brightness,
                 .speed = p.speed,
                 .direction = p.direction,
                 .multiColour = p.multiColour,
                 .red = p.red,
                 .green = p.green,
                 .blue = p.blue});
  const std::vector<controls::CDevicePageUI*> pages = pages_ ? pages_() : std::vector<controls::CDevicePageUI*>{};
  for (const int pageKind : {kKeyboardKind, kMouseKind, kPadKind, kHeadsetKind}) {
    const int mode = SameModeOf(sharedType_, pageKind);
    for (controls::CDevicePageUI* page : pages) {
      if (!page || !page->Device() || KindOf(*page) != pageKind || !page->IsChannelOpen()) continue;
      devices::CNorvaneUSBDevice& device = *page->Device();
      if (editListener_) editListener_(*page);
      p.mode = static_cast<std::uint8_t>(mode);
      device.SetLightSynced(true);
      if (CLightControlUI* panel = PanelOf(*page)) panel->ShowLightEffect(lighting::ToLightEffect(p, LightEffect{}));
      device.SetLightParams(p);
      device.SaveProfile();
      device.RefreshKeyButtons();
      WriteSettings(*page);
    }
  }
}

void CLightingEditor::OnPageRefreshed(controls::CDevicePageUI& page) {
  CLightControlUI* panel = PanelOf(page);
  devices::CNorvaneUSBDevice* device = page.Device();
  if (!panel || !device) return;
  panel->SetDeviceKind(KindOf(page));
  // The keyboard keeps its lists (read on its refresh); any other page's are read here.
  devices::EffectLists lists;
  if (devices::CNorvaneKeyboardDevice* keyboard = KeyboardOf(page)) lists = keyboard->Lists();
  if (lists.effectNames.empty()) {
    lists = devices::ReadPageEffectLists(*device);
  }
  const std::vector<int> visible(lists.effectVisible.begin(), lists.effectVisible.end());
  panel->InitModes(lists.effectNames, visible, kLevels, kLevels);
  const lighting::LightParams p = device->GetLightParams();
  panel->ShowLightEffect(lighting::ToLightEffect(p, LightEffect{}));
  if (KindOf(page) == kKeyboardKind) panel->SelectCustomGroup(p.customGroup);
  panel->SetSameModeFlag(page.IsMoreThanOneTabVisible() ? 1 : 0);
}

void CLightingEditor::OnDeviceTabsChanged(controls::CDevicePageUI& page, bool moreThanOne) {
  if (CLightControlUI* panel = PanelOf(page)) panel->SetSameModeFlag(moreThanOne ? 1 : 0);
  // With one device left there is nothing to keep in step.
  if (!moreThanOne && page.Device()) page.Device()->SetLightSynced(false);
}

}  // namespace norvane::editors
