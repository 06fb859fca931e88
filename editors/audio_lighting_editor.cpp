#include "editors/audio_lighting_editor.h"

#include <QString>

#include "controls/pages/device_page.h"
#include "editors/light_control.h"
#include "editors/lighting_editor.h"
#include "uilib/slider.h"

namespace norvane::editors {

namespace {

lighting::Rgb RgbOf(std::uint32_t argb) {
  return {static_cast<std::uint8_t>(argb >> 16), static_cast<std::uint8_t>(argb >> 8), static_cast<std::uint8_t>(argb)};
}

void SetComponent(lighting::Rgb& colour, int component, std::uint8_t value) {
  (component == 0 ? colour.red : component == 1 ? colour.green : colour.blue) = value;
}

}  // namespace

void CAudioLightingEditor::Store(controls::CDevicePageUI& page, CLightControlUI& panel,
                                 const lighting::AudioLight& audio) {
  devices::CNorvaneUSBDevice& device = *page.Device();
  device.SetAudioLight(audio);
  panel.SetAudioLightInfo(audio);
  device.SaveProfile();
  device.RefreshKeyButtons();
}

void CAudioLightingEditor::OnRoute(const RoutedNotify& notify) {
  switch (notify.action) {
    case RouteAction::kOpenAudioStyle:
      if (hooks_.openStyleWindow) hooks_.openStyleWindow();
      return;
    case RouteAction::kAudioCaptureColour: {
      auto* slider = notify.msg ? dynamic_cast<ui::CSliderUI*>(notify.msg->pSender) : nullptr;
      if (slider && notify.number >= 6 && notify.number <= 8 && hooks_.styleSlider)
        hooks_.styleSlider(notify.number, slider->GetValue());
      return;
    }
    default:
      break;
  }
  if (!notify.page || !notify.page->Device()) return;
  controls::CDevicePageUI& page = *notify.page;
  CLightControlUI* panel = CLightingEditor::PanelOf(page);
  if (!panel) return;
  const lighting::AudioLight current = page.Device()->GetAudioLight();
  switch (notify.action) {
    case RouteAction::kAudioEffectChosen:
    case RouteAction::kAudioMultiColour:
      Store(page, *panel, panel->GetAudioLightInfo(current, true));
      return;
    case RouteAction::kAudioBackgroundChoice:
    case RouteAction::kAudioForegroundChoice:
      // Both options of the pair report; the panel then shows the colour of the type now chosen.
      Store(page, *panel, panel->GetAudioLightInfo(current, false));
      return;
    case RouteAction::kAudioPaletteColour: {
      const lighting::Rgb colour = RgbOf(panel->GetAudioPaletteColour());
      lighting::AudioLight audio = panel->GetAudioLightInfo(current, true);
      if (audio.colourType == 1) {
        if (!(audio.foreground == colour)) audio.multiColour = 0;
        audio.foreground = colour;
      } else {
        audio.background = colour;
      }
      Store(page, *panel, audio);
      return;
    }
    case RouteAction::kAudioColourComponent: {
      if (notify.number < 0 || notify.number > 2) return;
      const std::uint8_t value = static_cast<std::uint8_t>(ColourComponentOfText(panel->GetAudioColourText(notify.number)));
      lighting::AudioLight audio = panel->GetAudioLightInfo(current, false);
      if (audio.colourType == 1) {
        SetComponent(audio.foreground, notify.number, value);
        audio.multiColour = 0;
      } else {
        SetComponent(audio.background, notify.number, value);
      }
      Store(page, *panel, audio);
      return;
    }
    case RouteAction::kAudioColourOption: {
      const lighting::Rgb colour = RgbOf(panel->GetLightAudioColor(notify.number));
      lighting::AudioLight audio = panel->GetAudioLightInfo(current, true);
      if (audio.colourType == 1) {
        audio.foreground = colour;
        audio.multiColour = 0;
      } else {
        audio.background = colour;
      }
      Store(page, *panel, audio);
      return;
    }
    case RouteAction::kAudioBackgroundBlack: {
      lighting::AudioLight audio = panel->GetAudioLightInfo(current, true);
      audio.background = {0, 0, 0};
      Store(page, *panel, audio);
      return;
    }
    default:
      return;
  }
}

void CAudioLightingEditor::OnPageRefreshed(controls::CDevicePageUI& page) {
  if (!page.Device()) return;
  CLightControlUI* panel = CLightingEditor::PanelOf(page);
  if (!panel) return;
  panel->SetAudioLightInfo(page.Device()->GetAudioLight());
  if (hooks_.styleColour) panel->ShowStyleColour(hooks_.styleColour());
}

}  // namespace norvane::editors
