#pragma once
// The key assignment editor: what the router hands it for the key picture and the key assignment panel
// ("KeySetControlItem", a CKeySetControlUI) of a keyboard or mouse page.
//
// A key clicked on the picture while the key assignment tab is open opens in the panel. Each change in the
// panel is applied at once: the function goes into the device's key list and its profile, which is saved, and
// the key labels follow. Writing to the device is a separate step ("key_butt_prosave", and restoring a
// keyboard key's default), so a user can try several keys and write once. Cancel returns the panel to the
// applied function.
//
// Key capture: while the key text has the focus, keys pressed go into the panel as a keyboard key (with the
// chosen modifier) instead of being typed.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "editors/editor.h"
#include "macro/input_capture.h"
#include "profiles/profile_records.h"

namespace norvane::devices {
class CNorvaneUSBDevice;
class KeyTableOps;
}  // namespace norvane::devices

namespace norvane::editors {

class CKeySetControlUI;

class CKeyAssignmentEditor final : public IEditor {
 public:
  // The page's key assignment tab (its function tab code).
  static constexpr int kKeyTab = 2;
  static constexpr const char* kLeftButtonOnlyMessage = "message_text_6";

  CKeyAssignmentEditor();
  ~CKeyAssignmentEditor() override;

  void OnRoute(const RoutedNotify& notify) override;
  void OnPageRefreshed(controls::CDevicePageUI& page) override;
  void OnLanguageChanged() override;
  // The window turns capture off (a device tab goes, the system sleeps): the key capture ends too. It starts
  // only with the focus of the key text.
  void SetInputCapture(bool on) override {
    if (!on) StopCapture();
  }

  // The panel of a page; null when the page has none.
  static CKeySetControlUI* PanelOf(controls::CDevicePageUI& page);
  // Capture backend for tests and for other reaches (the in-window one by default).
  using CaptureFactory = std::function<std::unique_ptr<macro::InputCapture>(CKeySetControlUI& panel)>;
  void SetCaptureFactory(CaptureFactory factory) { captureFactory_ = std::move(factory); }
  bool IsCapturing() const { return capture_ && capture_->IsCapturing(); }

 private:
  void OpenKey(controls::CDevicePageUI& page, int key, std::uint16_t pageKind);
  void Apply(controls::CDevicePageUI& page);
  void Commit(controls::CDevicePageUI& page);
  void StartCapture(controls::CDevicePageUI& page);
  void StopCapture();
  void OnCapturedKey(const macro::CapturedKey& key);

  CaptureFactory captureFactory_;
  std::unique_ptr<macro::InputCapture> capture_;
  // The page the capture runs for; only ever dereferenced while its panel exists.
  QPointer<QWidget> capturePage_;
};

}  // namespace norvane::editors
