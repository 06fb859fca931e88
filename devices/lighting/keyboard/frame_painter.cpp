#include "devices/lighting/keyboard/frame_painter.h"

#include "devices/lighting/reactive_fade.h"

namespace norvane::lighting::keyboard {

void FadeAll(KeyboardLightState& state, unsigned mode) {
  for (std::uint8_t& value : state.fade) value = FadeStep(value, mode);
}

}  // namespace norvane::lighting::keyboard
