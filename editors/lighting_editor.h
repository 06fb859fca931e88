#pragma once
// The lighting editor: what the router hands it from a page's lighting panel ("LightControlItem", a
// CLightControlUI), and the per-key colours painted on the keyboard picture.
//
// Each change takes the page's light parameters as they are, changes one field, and stores and sends them:
// the page's device takes them (its preview follows at once), its profile is saved, its key buttons are
// redrawn and its settings record is written. A slider sends many changes while it moves: those are stored
// at once but saved and written at most once per kWriteDelay, the latest value last, so the window never
// waits on the device while the user drags.
//
// Same-mode ("deng_same_mode") puts every open device on the same kind of effect as the current page and
// records it as the shared effect the lighting synchronisation keeps in step.
//
// A failed write is told once per device until a write to it succeeds again; the profile keeps the change.

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <functional>
#include <vector>

#include "devices/lighting/light_params.h"
#include "devices/lighting/shared_light_effect.h"
#include "editors/editor.h"

namespace norvane::editors {

class CLightControlUI;

// The effect mode each kind shows for a shared effect type (0 breathing, 1 static, 2 flash, 3 spectrum,
// 4 off); -1 when the kind has none.
struct SameModeRow {
  int keyboard;
  int mouse;
  int padOrHeadset;
};
inline constexpr SameModeRow kSameModeTable[] = {{6, 2, 2}, {5, 3, 3}, {23, 4, 4}, {40, 1, 1}, {28, 9, 8}};
// The mode of a shared type on a page of that kind (1 keyboard, 2 mouse, 3 pad, 7 headset); -1 for others.
[[nodiscard]] int SameModeOf(int type, int pageKind);

// The decimal number an edit begins with: leading blanks and a sign accepted, reading stops at the first
// non-digit, 0 without digits; limited to 0..255.
[[nodiscard]] int ColourComponentOfText(const QString& text);

class CLightingEditor final : public IEditor {
 public:
  static constexpr std::chrono::milliseconds kWriteDelay{40};
  static constexpr const char* kWriteFailed = "device_settings_write_failed";
  using PageList = std::function<std::vector<controls::CDevicePageUI*>()>;

  CLightingEditor(lighting::SharedLightEffect& shared, PageList pages);
  ~CLightingEditor() override;

  // Told, before the change, of every page whose lighting the user changes here.
  using EditListener = std::function<void(controls::CDevicePageUI& page)>;
  void SetEditListener(EditListener listener) { editListener_ = std::move(listener); }

  void OnRoute(const RoutedNotify& notify) override;
  void OnPageRefreshed(controls::CDevicePageUI& page) override;
  void OnDeviceTabsChanged(controls::CDevicePageUI& page, bool moreThanOne) override;

  static CLightControlUI* PanelOf(controls::CDevicePageUI& page);
  // Saves and writes a slider change that is still waiting.
  void FlushPendingWrite();
  bool HasPendingWrite() const { return pendingPage_ != nullptr; }

 private:
  void OnPanelChange(const RoutedNotify& notify, controls::CDevicePageUI& page, CLightControlUI& panel);
  void OnKeyboardColours(const RoutedNotify& notify, controls::CDevicePageUI& page, CLightControlUI* panel);
  // The device takes p (and the profile the change); then the profile is saved, the key buttons redrawn and
  // the settings written; `coalesce` leaves the save and the write to the timer.
  void StoreAndSend(controls::CDevicePageUI& page, const lighting::LightParams& p, bool coalesce = false);
  void SaveAndWrite(controls::CDevicePageUI& page);
  void WriteSettings(controls::CDevicePageUI& page);
  static void ReportWrite(controls::CDevicePageUI& page, int result);
  void ApplyToEveryDevice(controls::CDevicePageUI& page);
  void PaintSelection(controls::CDevicePageUI& page, CLightControlUI* panel);

  lighting::SharedLightEffect& shared_;
  PageList pages_;
  EditListener editListener_;
  int sharedType_ = 0;
  QTimer writeTimer_;
  QPointer<QWidget> pendingPage_;
};

}  // namespace norvane::editors
