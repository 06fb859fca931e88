#pragma once
// The audio panel of the lighting editor (the music effects): the picture the keyboard shows, and the
// background and foreground colours with the foreground's multi-colour flag. Each change takes the page's
// audio light record as the panel holds it, changes it and stores it: the page's device takes it (a
// keyboard keeps it in its profile), the profile is saved and the key buttons follow.
//
// The music style belongs to the window: the editor hands on its window's button and the sliders of the
// style's current colour, and shows that colour on each page's panel as the page refreshes.

#include <array>
#include <cstdint>
#include <functional>

#include "devices/lighting/light_params.h"
#include "editors/editor.h"

namespace norvane::editors {

class CLightControlUI;

class CAudioLightingEditor final : public IEditor {
 public:
  struct Hooks {
    std::function<void()> openStyleWindow;
    // A slider of the style's current colour was set: 6 red, 7 green, 8 blue (the audio capture message's
    // wParam), and its level.
    std::function<void(int wParam, int level)> styleSlider;
    // The style's current colour, levels 0 to 9.
    std::function<std::array<std::uint8_t, 3>()> styleColour;
  };

  explicit CAudioLightingEditor(Hooks hooks) : hooks_(std::move(hooks)) {}

  void OnRoute(const RoutedNotify& notify) override;
  void OnPageRefreshed(controls::CDevicePageUI& page) override;

 private:
  static void Store(controls::CDevicePageUI& page, CLightControlUI& panel, const lighting::AudioLight& audio);

  Hooks hooks_;
};

}  // namespace norvane::editors
