#include "editors/mouse_editor.h"

#include <QStyle>
#include <algorithm>

#include "controls/pages/device_page.h"
#include "devices/mouse/mouse_device.h"
#include "editors/page_controls.h"
#include "platform/trace.h"
#include "protocol/command_codes.h"
#include "uilib/edit.h"
#include "uilib/option.h"
#include "uilib/slider.h"
#include "uilib/tab_layout.h"
#include "uilib/control_name.h"

namespace norvane::editors {

namespace {

constexpr int kStages = devices::CNorvaneMouseDevice::kStageCount;
constexpr int kRates = devices::CNorvaneMouseDevice::kReportRates;
constexpr std::uint32_t kOpaque = 0xFF000000u;

constexpr const char* kStageRow = "DPI_stage_row_";
constexpr const char* kStageLayout = "DPI_layout_";
constexpr const char* kEnableCheck = "DPI_enable_check_";
constexpr const char* kSelectCheck = "DPI_select_check_";
constexpr const char* kSlider = "DPI_slider_";
constexpr const char* kEdit = "DPI_edit_";
constexpr const char* kColourOption = "DPI_color_option_";
constexpr const char* kRatePrefix = "polling_rate_option_";
constexpr const char* kPointerSpeed = "pointer_speed_slider";
constexpr const char* kPrecision = "pointer_precision_check";
constexpr const char* kScrollSpeed = "scroll_speed_slider";
constexpr const char* kScrollsPage = "scrolls_page_check";
constexpr const char* kDoubleClick = "double_click_slider";
constexpr const char* kSettingsTabs = "mouse_device_seting_layout";
constexpr const char* kSettingsOptions = "mouse_option_layout";
constexpr const char* kSettingsOption = "mouse_device_seting_option_";
constexpr const char* kNoDpiRange = "ms_dpi_edit_failed_text";
// The slider of the active stage looks apart (the style sheet reads this property).
constexpr const char* kActiveProperty = "dpiactive";

devices::CNorvaneMouseDevice* MouseOf(controls::CDevicePageUI& page) {
  return dynamic_cast<devices::CNorvaneMouseDevice*>(page.Device());
}

template <class T>
T* Numbered(controls::CDevicePageUI& page, const char* prefix, int n) {
  return FindInPageAs<T>(page, prefix + QString::number(n));
}

bool IsSelected(const RoutedNotify& notify) {
  auto* option = dynamic_cast<ui::COptionUI*>(notify.msg ? notify.msg->pSender : nullptr);
  return option && option->IsSelected();
}

int SenderValue(const RoutedNotify& notify) {
  auto* slider = dynamic_cast<ui::CSliderUI*>(notify.msg ? notify.msg->pSender : nullptr);
  return slider ? slider->GetValue() : 0;
}

std::uint16_t SliderValue(controls::CDevicePageUI& page, const char* name) {
  auto* slider = FindInPageAs<ui::CSliderUI>(page, name);
  return static_cast<std::uint16_t>(slider ? std::clamp(slider->GetValue(), 0, 0xFFFF) : 0);
}

void SetSelected(controls::CDevicePageUI& page, const char* name, bool selected) {
  if (auto* option = FindInPageAs<ui::COptionUI>(page, name)) option->Selected(selected, false);
}

void SetSlider(controls::CDevicePageUI& page, const char* name, int value) {
  if (auto* slider = FindInPageAs<ui::CSliderUI>(page, name)) slider->SetValue(value);
}

// An index the report-rate options show: anything outside 0..4 shows as 0.
int ShownRate(int rate) {
  return rate >= 0 && rate < kRates ? rate : 0;
}

void SelectRate(controls::CDevicePageUI& page, int rate) {
  for (int n = 0; n < kRates; ++n) {
    if (auto* option = Numbered<ui::COptionUI>(page, kRatePrefix, n)) option->Selected(n == rate, false);
  }
}

// The enable checks: the active stage's cannot be cleared, nor can the last one that is still on.
void ShowEnableChecks(controls::CDevicePageUI& page, const devices::CNorvaneMouseDevice& mouse) {
  int on = 0;
  for (int n = 0; n < mouse.StageCount(); ++n) on += mouse.DpiStages()[std::size_t(n)].active != 0 ? 1 : 0;
  for (int n = 0; n < mouse.StageCount(); ++n) {
    auto* check = Numbered<ui::COptionUI>(page, kEnableCheck, n);
    if (!check) continue;
    const bool active = mouse.DpiStages()[std::size_t(n)].active != 0;
    check->Selected(active, false);
    check->SetEnabled(n != mouse.ActiveStage() && !(active && on == 1));
  }
}

void ShowStageEnabled(controls::CDevicePageUI& page, int stage, bool enabled) {
  if (ui::CControlUI* layout = Numbered<ui::CControlUI>(page, kStageLayout, stage)) layout->SetEnabled(enabled);
}

}  // namespace

CMouseEditor::CMouseEditor(ColourChooser chooser) : chooser_(std::move(chooser)) {
  settleTimer_.setSingleShot(true);
  settleTimer_.setInterval(kSettleMs);
  QObject::connect(&settleTimer_, &QTimer::timeout, [this] { FlushPending(); });
}

CMouseEditor::~CMouseEditor() {
  FlushPending();
}

// ---- What the page shows.

void CMouseEditor::OnPageRefreshed(controls::CDevicePageUI& page) {
  if (MouseOf(page)) ShowSettings(page);
}

void CMouseEditor::ShowSettings(controls::CDevicePageUI& page) {
  devices::CNorvaneMouseDevice* mouse = MouseOf(page);
  if (!mouse) return;
  const devices::mouse::DpiScale scale = mouse->DpiScale();
  for (int n = 0; n < kStages; ++n) {
    const bool exists = mouse->HasStage(n);
    // A profile with fewer stages shows only those.
    if (ui::CControlUI* row = Numbered<ui::CControlUI>(page, kStageRow, n)) row->SetVisible(exists);
    if (!exists) continue;
    const DpiStage& stage = mouse->DpiStages()[std::size_t(n)];
    if (auto* slider = Numbered<ui::CSliderUI>(page, kSlider, n); slider && mouse->HasDpiScale()) {
      slider->SetMinValue(0);
      slider->SetMaxValue(scale.highestPosition);
    }
    if (auto* edit = Numbered<ui::CEditUI>(page, kEdit, n); edit && mouse->HasDpiScale()) {
      edit->SetMaxChar(int(QString::number(scale.HighestDpi()).size()));
    }
    ShowStageEnabled(page, n, stage.active != 0);
    ShowStageDpi(page, n, stage.dpi_x);
    if (ui::CControlUI* colour = Numbered<ui::CControlUI>(page, kColourOption, n))
      colour->SetBkColor(kOpaque | std::uint32_t(stage.red) << 16 | std::uint32_t(stage.green) << 8 | stage.blue);
  }
  ShowEnableChecks(page, *mouse);
  // The settings tab shown keeps its option marked.
  if (auto* tabs = FindInPageAs<ui::CTabLayoutUI>(page, kSettingsTabs)) SelectSettingsTab(page, tabs->GetCurSel());

  const MouseSystemStages system = mouse->SystemSettings();
  SelectRate(page, ShownRate(system.report_stage));
  SetSlider(page, kPointerSpeed, system.mouse_speed);
  SetSlider(page, kDoubleClick, system.double_click_time);
  SetSlider(page, kScrollSpeed, system.wheel_scroll_lines);
  SetSelected(page, kPrecision, system.pointer_precision != 0);
  SetSelected(page, kScrollsPage, system.scroll_page != 0);
}

void CMouseEditor::ShowStageDpi(controls::CDevicePageUI& page, int stage, int position) {
  devices::CNorvaneMouseDevice* mouse = MouseOf(page);
  if (!mouse || !mouse->HasStage(stage)) return;
  // A position outside the sensor's range (a profile edited by hand) shows as the nearest one there is.
  if (mouse->HasDpiScale()) position = mouse->DpiScale().Clamp(position);
  const bool active = stage == mouse->ActiveStage();
  if (auto* slider = Numbered<ui::CSliderUI>(page, kSlider, stage)) {
    slider->SetValue(position);
    if (slider->property(kActiveProperty).toBool() != active) {
      slider->setProperty(kActiveProperty, active);
      slider->style()->unpolish(slider);
      slider->style()->polish(slider);
    }
  }
  if (auto* edit = Numbered<ui::CEditUI>(page, kEdit, stage)) {
    edit->SetText(mouse->HasDpiScale() ? QString::number(mouse->DpiScale().DpiOf(position)) : QString());
  }
  if (auto* check = Numbered<ui::COptionUI>(page, kEnableCheck, stage)) check->SetEnabled(!active);
  if (auto* select = Numbered<ui::COptionUI>(page, kSelectCheck, stage)) select->Selected(active, false);
}

void CMouseEditor::SelectSettingsTab(controls::CDevicePageUI& page, int tab) {
  auto* tabs = FindInPageAs<ui::CTabLayoutUI>(page, kSettingsTabs);
  if (!tabs) return;
  if (tab < 0 || tab >= tabs->GetCount()) tab = 0;
  tabs->SelectItem(tab);
  ui::CControlUI* options = FindInPage(page, kSettingsOptions);
  if (!options) return;
  for (QWidget* widget : options->GetWidget()->findChildren<QWidget*>()) {
    auto* option = dynamic_cast<ui::COptionUI*>(ui::ControlOf(widget));
    if (!option) continue;
    const std::optional<ui::ControlNameSplit> split = ui::SplitControlName(option->GetName());
    if (split && split->prefix.CompareNoCase(kSettingsOption) == 0)
      option->Selected(split->number == tab, false);
  }
}

// ---- What the user changes.

void CMouseEditor::OnRoute(const RoutedNotify& notify) {
  if (!notify.page) return;
  controls::CDevicePageUI& page = *notify.page;
  devices::CNorvaneMouseDevice* mouse = MouseOf(page);
  if (!mouse) return;
  switch (notify.action) {
    case RouteAction::kDpiEnable:
    case RouteAction::kDpiSelect:
    case RouteAction::kDpiSlider:
    case RouteAction::kDpiSliderMoved:
    case RouteAction::kDpiEdit:
    case RouteAction::kDpiColour:
      OnStageRoute(notify, page, *mouse);
      return;
    case RouteAction::kMouseSettingsTab:
      if (IsSelected(notify)) SelectSettingsTab(page, notify.number);
      return;
    default:
      OnSystemRoute(notify, page, *mouse);
      return;
  }
}

void CMouseEditor::OnStageRoute(const RoutedNotify& notify, controls::CDevicePageUI& page,
                                devices::CNorvaneMouseDevice& mouse) {
  const int n = notify.number;
  // Skins are data: a number that names no stage of this profile changes nothing.
  if (!mouse.HasStage(n)) return;
  switch (notify.action) {
    case RouteAction::kDpiEnable: {
      auto* check = dynamic_cast<ui::COptionUI*>(notify.msg->pSender);
      if (!check) return;
      const bool on = check->IsSelected();
      if ((mouse.DpiStages()[std::size_t(n)].active != 0) == on) return;
      // The active stage stays on, and so does the last stage that is on.
      if (!on && n == mouse.ActiveStage()) {
        check->Selected(true, false);
        return;
      }
      mouse.SetStageEnabled(n, on);
      ShowStageEnabled(page, n, on);
      ShowEnableChecks(page, mouse);
      break;
    }
    case RouteAction::kDpiSelect:
      if (!IsSelected(notify) || n == mouse.ActiveStage()) return;
      // A stage that is off cannot be the active one.
      if (mouse.DpiStages()[std::size_t(n)].active == 0) {
        if (auto* refused = Numbered<ui::COptionUI>(page, kSelectCheck, n)) refused->Selected(false, false);
        if (auto* active = Numbered<ui::COptionUI>(page, kSelectCheck, mouse.ActiveStage())) active->Selected(true, false);
        return;
      }
      mouse.SetActiveStage(n);
      for (int s = 0; s < mouse.StageCount(); ++s) {
        auto* slider = Numbered<ui::CSliderUI>(page, kSlider, s);
        const int position = slider ? slider->GetValue() : mouse.DpiStages()[std::size_t(s)].dpi_x;
        ShowStageDpi(page, s, position);
        mouse.SetStagePosition(s, position);
      }
      ShowEnableChecks(page, mouse);
      break;
    case RouteAction::kDpiSliderMoved:
      // While dragging only the shown DPI follows; the value is taken when the slider settles.
      if (auto* edit = Numbered<ui::CEditUI>(page, kEdit, n); edit && mouse.HasDpiScale())
        edit->SetText(QString::number(mouse.DpiScale().DpiOf(SenderValue(notify))));
      return;
    case RouteAction::kDpiSlider:
      ShowStageDpi(page, n, SenderValue(notify));
      mouse.SetStagePosition(n, SenderValue(notify));
      SaveSoon(page, true);
      return;
    case RouteAction::kDpiEdit: {
      auto* edit = dynamic_cast<ui::CEditUI*>(notify.msg->pSender);
      if (!edit) return;
      const int shown = mouse.DpiStages()[std::size_t(n)].dpi_x;
      // Without the sensor's range a typed DPI has no position: the field shows the stage again.
      if (!mouse.HasDpiScale()) {
        ShowStageDpi(page, n, shown);
        page.ShowMessage({kNoDpiRange});
        return;
      }
      const int position = mouse.DpiScale().PositionOf(ui::DigitsValue(QStringView(edit->GetText()).trimmed()));
      ShowStageDpi(page, n, position);
      if (position == shown) return;
      mouse.SetStagePosition(n, position);
      break;
    }
    case RouteAction::kDpiColour: {
      // The chooser runs a modal loop: not inside the swatch's own signal, and only if the page is still
      // there by then.
      QPointer<QWidget> target = &page;
      QTimer::singleShot(0, &page, [this, target, n] {
        if (auto* still = dynamic_cast<controls::CDevicePageUI*>(target.data())) ChooseStageColour(*still, n);
      });
      return;
    }
    default:
      return;
  }
  SaveAndWrite(page);
}

void CMouseEditor::ChooseStageColour(controls::CDevicePageUI& page, int stage) {
  devices::CNorvaneMouseDevice* mouse = MouseOf(page);
  if (!mouse || !mouse->HasStage(stage) || !chooser_) return;
  const DpiStage& current = mouse->DpiStages()[std::size_t(stage)];
  const std::uint32_t initial =
      kOpaque | std::uint32_t(current.red) << 16 | std::uint32_t(current.green) << 8 | current.blue;
  const std::optional<std::uint32_t> chosen = chooser_(initial);
  // The page may have gone, or its profile changed, while the chooser was open.
  mouse = MouseOf(page);
  if (!chosen || !mouse || !mouse->HasStage(stage)) return;
  const lighting::Rgb colour{std::uint8_t(*chosen >> 16), std::uint8_t(*chosen >> 8), std::uint8_t(*chosen)};
  if (ui::CControlUI* option = Numbered<ui::CControlUI>(page, kColourOption, stage))
    option->SetBkColor(kOpaque | (*chosen & 0xFFFFFFu));
  mouse->SetStageColour(stage, colour);
  SaveAndWrite(page);
}

void CMouseEditor::OnSystemRoute(const RoutedNotify& notify, controls::CDevicePageUI& page,
                                 devices::CNorvaneMouseDevice& mouse) {
  MouseSystemStages settings = mouse.SystemSettings();
  bool write = false;
  switch (notify.action) {
    case RouteAction::kMousePollingRate: {
      // The option that was unselected by its group mate says nothing; the selected one carries the rate.
      if (!IsSelected(notify)) return;
      const int rate = ShownRate(notify.number);
      SelectRate(page, rate);
      settings.report_stage = std::uint16_t(rate);
      write = true;
      break;
    }
    case RouteAction::kPointerSpeed:
      settings.mouse_speed = std::uint16_t(std::clamp(SenderValue(notify), 0, 0xFFFF));
      break;
    case RouteAction::kDoubleClickSpeed:
      settings.double_click_time = std::uint16_t(std::clamp(SenderValue(notify), 0, 0xFFFF));
      break;
    case RouteAction::kScrollSpeed:
      SetSelected(page, kScrollsPage, false);
      settings.wheel_scroll_lines = std::uint16_t(std::clamp(SenderValue(notify), 0, 0xFFFF));
      settings.scroll_page = 0;
      break;
    case RouteAction::kPointerPrecision:
      settings.pointer_precision = IsSelected(notify) ? 1 : 0;
      break;
    case RouteAction::kScrollsPage:
      settings.scroll_page = IsSelected(notify) ? 1 : 0;
      settings.wheel_scroll_lines = SliderValue(page, kScrollSpeed);
      break;
    default:
      return;
  }
  if (settings == mouse.SystemSettings()) return;
  mouse.SetSystemSettings(settings);
  if (write) {
    SaveAndWrite(page);
  } else {
    // Kept in the profile only: the mouse has no place for them.
    SaveSoon(page, false);
  }
}

// ---- Saving and writing.

void CMouseEditor::SaveSoon(controls::CDevicePageUI& page, bool write) {
  if (pending_ && pending_ != &page) FlushPending();
  pending_ = &page;
  pendingWrite_ = pendingWrite_ || write;
  if (!settleTimer_.isActive()) settleTimer_.start();
}

void CMouseEditor::FlushPending() {
  settleTimer_.stop();
  auto* page = dynamic_cast<controls::CDevicePageUI*>(pending_.data());
  const bool write = pendingWrite_;
  pending_ = nullptr;
  pendingWrite_ = false;
  if (!page || !MouseOf(*page)) return;
  if (write) {
    SaveAndWrite(*page);
  } else {
    MouseOf(*page)->SaveProfile();
  }
}

void CMouseEditor::SaveAndWrite(controls::CDevicePageUI& page) {
  // A settled slider's change of this page goes out with this one; another page's goes first.
  if (pending_ && pending_ != &page) FlushPending();
  pending_ = nullptr;
  pendingWrite_ = false;
  settleTimer_.stop();
  devices::CNorvaneMouseDevice* mouse = MouseOf(page);
  if (!mouse) return;
  mouse->SaveProfile();
  QPointer<QWidget> target = &page;
  mouse->WriteSettingsSoon(0, 0, [target](int result) {
    if (auto* written = dynamic_cast<controls::CDevicePageUI*>(target.data())) ReportWrite(*written, result);
  });
}

void CMouseEditor::ReportWrite(controls::CDevicePageUI& page, int result) {
  // The profile keeps the change either way; the user hears once, not on every step of a slider, until a
  // write to that mouse succeeds again. A mouse that is not connected gets the settings with its next
  // synchronisation.
  constexpr const char* kToldProperty = "_nv_mouse_write_failed";
  if (result == protocol::kResultOk) {
    page.setProperty(kToldProperty, false);
    return;
  }
  Trace("mouse settings: the write failed with " + std::to_string(result));
  if (!page.IsChannelOpen() || page.property(kToldProperty).toBool()) return;
  page.setProperty(kToldProperty, true);
  page.ShowMessage({kWriteFailed});
}

}  // namespace norvane::editors
