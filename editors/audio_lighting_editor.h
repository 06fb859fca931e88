#pragma once
// The audio panel of the lighting editor (the music effects): the picture the keyboard shows, and the
// background and foreground colours with the foreground's multi-colour flag. Each change takes the page's
// audio light record as the panel holds it, changes it and stores it: the page's device takes it (a
// keyboard keeps it in its profile), the profile is saved and the key buttons follow.
//
// The style window's button and the capture colour sliders belong to the window: the editor hands them on.

#include <functional>

#include "devices/lighting/light_params.h"
#include "editors/editor.h"

namespace norvane::editors {

class CLightControlUI;

class CAudioLightingEditor final : public IEditor {
 public:
  struct Hooks {
    std::function<void()> openStyleWindow;
    // The audio capture message with wParam 6, 7 or 8 and a slider's value.
    std::function<void(int wParam, int value)> sendCaptureCommand;
  };

  explicit CAudioLightingEditor(Hooks hooks) : hooks_(std::move(hooks)) {}

  void OnRoute(const RoutedNotify& notify) override;
  void OnPageRefreshed(controls::CDevicePageUI& page) override;

 private:
  static void Store(controls::CDevicePageUI& page, CLightControlUI& panel, const lighting::AudioLight& audio);

  Hooks hooks_;
};

}  // namespace norvane::editors
