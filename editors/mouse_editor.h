#pragma once
// The mouse's own settings on its page: the five DPI stages (each on or off, its sensitivity on a slider and
// in a field, its colour), which stage is active, the report rate, and the pointer, scroll and double-click
// settings. Stages and report rate are kept in the profile, which is saved, and the settings record goes to
// the mouse; the pointer, scroll and double-click settings live in the profile only, for the mouse has no
// place for them (nor are they applied to the desktop).
//
// A dragged DPI slider only shows the DPI it points at; the value is taken when the slider settles, and
// a burst of settled values (keys, wheel) is saved and written once, the latest winning. The device is
// written on its own worker, so the window never waits for it; a write the mouse does not take is told
// once until one succeeds again.
//
// Controls (inside the mouse page): per stage n (0..4) "DPI_stage_row_N" holding "DPI_enable_check_N" and
// "DPI_layout_N" with "DPI_select_check_N", "DPI_slider_N", "DPI_edit_N" and "DPI_color_option_N";
// "polling_rate_option_0".."4"; "pointer_speed_slider", "pointer_precision_check", "scroll_speed_slider",
// "scrolls_page_check", "double_click_slider"; the settings tabs "mouse_device_seting_layout" with their
// options "mouse_device_seting_option_N" in "mouse_option_layout".

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "editors/editor.h"

namespace norvane::devices {
class CNorvaneMouseDevice;
}

namespace norvane::editors {

class CMouseEditor final : public IEditor {
 public:
  // Asks the user for a colour (ARGB), starting from `initial`; nothing when the user closed the chooser.
  // Runs a modal loop: the editor calls it from a posted task.
  using ColourChooser = std::function<std::optional<std::uint32_t>(std::uint32_t initial)>;
  // A settled slider's change waits this long for the next before it is saved and written.
  static constexpr int kSettleMs = 40;
  static constexpr const char* kWriteFailed = "device_settings_write_failed";

  explicit CMouseEditor(ColourChooser chooser);
  ~CMouseEditor() override;

  void OnRoute(const RoutedNotify& notify) override;
  void OnPageRefreshed(controls::CDevicePageUI& page) override;

  // Shows the device's stages, report rate and pointer settings on its page.
  static void ShowSettings(controls::CDevicePageUI& page);
  // Shows slider position `position` of stage `stage` in its slider and field, and marks the active stage.
  static void ShowStageDpi(controls::CDevicePageUI& page, int stage, int position);
  // Shows page `tab` of the settings tabs (0 when there is no such page) and selects only its option.
  static void SelectSettingsTab(controls::CDevicePageUI& page, int tab);
  // The changes of a settled slider not yet saved and written go out now.
  void FlushPending();

 private:
  void OnStageRoute(const RoutedNotify& notify, controls::CDevicePageUI& page, devices::CNorvaneMouseDevice& mouse);
  void OnSystemRoute(const RoutedNotify& notify, controls::CDevicePageUI& page, devices::CNorvaneMouseDevice& mouse);
  void ChooseStageColour(controls::CDevicePageUI& page, int stage);
  // Saves the profile and writes the settings record without waiting for the mouse.
  void SaveAndWrite(controls::CDevicePageUI& page);
  // Saves the profile (and, with `write`, writes the record) once the burst of changes has settled.
  void SaveSoon(controls::CDevicePageUI& page, bool write);
  static void ReportWrite(controls::CDevicePageUI& page, int result);

  ColourChooser chooser_;
  QPointer<QWidget> pending_;  // the page whose settled slider waits to be saved (and written)
  bool pendingWrite_ = false;
  QTimer settleTimer_;
};

}  // namespace norvane::editors
