#pragma once
// Moving the lighting records between the profile documents' form and the lighting generators' (any kind
// whose profile holds "LightInfo", "AudioLightInfo", a per-key effect list or custom steps).

#include <vector>

#include "devices/lighting/light_params.h"
#include "profiles/profile_records.h"

namespace norvane::lighting {

inline LightParams ToLightParams(const LightEffect& light) {
  return {.mode = light.mode,
          .brightness = light.brightness,
          .speed = light.speed,
          .direction = light.direction,
          .multiColour = light.multi_color,
          .red = light.red,
          .green = light.green,
          .blue = light.blue,
          .presetColour = light.zzcc_mode,
          .customGroup = light.custom_group};
}

// `stored` keeps what the engine does not know ("OldLedmode" and the spare bytes).
inline LightEffect ToLightEffect(const LightParams& params, LightEffect stored) {
  stored.mode = params.mode;
  stored.brightness = params.brightness;
  stored.speed = params.speed;
  stored.direction = params.direction;
  stored.multi_color = params.multiColour != 0 ? 1 : 0;
  stored.red = params.red;
  stored.green = params.green;
  stored.blue = params.blue;
  stored.zzcc_mode = params.presetColour;
  stored.custom_group = params.customGroup;
  return stored;
}

inline AudioLight ToAudioLight(const AudioLightInfo& audio) {
  return {.mode = audio.audio_mode,
          .background = {audio.background_red, audio.background_green, audio.background_blue},
          .foreground = {audio.foreground_red, audio.foreground_green, audio.foreground_blue},
          .multiColour = audio.seven_color,
          .colourType = static_cast<std::uint8_t>(audio.color_type != 0 ? 1 : 0)};
}

inline AudioLightInfo ToAudioLightInfo(const AudioLight& audio, AudioLightInfo stored) {
  stored.audio_mode = audio.mode;
  stored.background_red = audio.background.red;
  stored.background_green = audio.background.green;
  stored.background_blue = audio.background.blue;
  stored.foreground_red = audio.foreground.red;
  stored.foreground_green = audio.foreground.green;
  stored.foreground_blue = audio.foreground.blue;
  stored.seven_color = audio.multiColour != 0 ? 1 : 0;
  stored.color_type = audio.colourType != 0 ? 1 : 0;
  return stored;
}

// The per-key effect list: an element that is present in the profile is an enabled effect.
inline std::vector<PerLedEffect> ToPerLedEffects(const std::vector<LightEffect>& list) {
  std::vector<PerLedEffect> effects;
  effects.reserve(list.size());
  for (const LightEffect& light : list) {
    effects.push_back({.type = light.mode,
                       .brightness = light.brightness,
                       .speed = light.speed,
                       .multiColour = light.multi_color,
                       .red = light.red,
                       .green = light.green,
                       .blue = light.blue,
                       .enabled = light.present});
  }
  return effects;
}

inline std::vector<LightStep> ToLightSteps(const std::vector<LedStep>& steps) {
  std::vector<LightStep> converted;
  converted.reserve(steps.size());
  for (const LedStep& step : steps) {
    const LightEffect& e = step.effect;
    converted.push_back({.mode = e.mode,
                         .brightness = e.brightness,
                         .speed = e.speed,
                         .direction = e.direction,
                         .multiColour = e.multi_color,
                         .red = e.red,
                         .green = e.green,
                         .blue = e.blue,
                         .timeMs = static_cast<std::uint32_t>(step.time < 0 ? 0 : step.time),
                         .cycle = static_cast<std::uint32_t>(step.cycle < 0 ? 0 : step.cycle)});
  }
  return converted;
}

}  // namespace norvane::lighting
