#pragma once
// The fixed-layout records that profile sections are read into. Byte fields hold 0..255 and 16-bit fields
// 0..65535; values read from files are truncated to these widths.

#include <compare>
#include <cstdint>
#include <string>

namespace norvane {

// One lighting setting: the "LightInfo" section, an element of "LightList", and the head of a LedStep.
struct LightEffect {
  std::uint8_t mode = 0;
  std::uint8_t brightness = 0;
  std::uint8_t speed = 0;
  std::uint8_t direction = 0;
  std::uint8_t multi_color = 0;  // 0 or 1
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t spare[2] = {0, 0};
  std::uint8_t present = 0;  // 0 or 1; set by GetLightList for elements that were not null
  std::uint8_t zzcc_mode = 0;
  std::uint8_t custom_group = 0;
  std::uint8_t old_led_mode = 0;

  friend bool operator==(const LightEffect&, const LightEffect&) = default;
};

// One step of a custom light file: an effect, how long it lasts and how often it repeats.
struct LedStep {
  LightEffect effect;
  std::int32_t time = 0;
  std::int32_t cycle = 0;

  friend bool operator==(const LedStep&, const LedStep&) = default;
};

// The music-reactive lighting of a page: mode, background and foreground colours and two flags.
struct AudioLightInfo {
  std::uint8_t audio_mode = 0;
  std::uint8_t background_red = 0;
  std::uint8_t background_green = 0;
  std::uint8_t background_blue = 0;
  std::uint8_t foreground_red = 0;
  std::uint8_t foreground_green = 0;
  std::uint8_t foreground_blue = 0;
  std::uint8_t seven_color = 0;  // 0 or 1
  std::uint8_t color_type = 0;   // 0 or 1

  friend bool operator==(const AudioLightInfo&, const AudioLightInfo&) = default;
};

// What a key does. Stored in files as one integer: type << 16 | data1 << 8 | data2.
struct KeyFunction {
  std::uint8_t type = 0;
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;

  static KeyFunction Unpack(std::int64_t packed) {
    const auto bits = static_cast<std::uint64_t>(packed);
    return {static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 8),
            static_cast<std::uint8_t>(bits)};
  }
  std::int64_t Pack() const { return std::int64_t{type} << 16 | std::int64_t{data1} << 8 | data2; }

  friend bool operator==(const KeyFunction&, const KeyFunction&) = default;
};

// A key's current and default function; both halves carry the key's position in "KeyList".
struct KeyAssignment {
  std::uint16_t key_index = 0;
  KeyFunction current;
  std::uint16_t default_key_index = 0;
  KeyFunction default_function;

  friend bool operator==(const KeyAssignment&, const KeyAssignment&) = default;
};

struct KeyboardSystemStages {
  std::uint16_t repeat = 0;
  std::uint16_t repeat_delay = 0;
  std::uint16_t key6_flag = 0;
  std::uint16_t polling_rate = 0;
  std::uint16_t w_flag = 0;
  std::uint16_t win_flag = 0;

  friend bool operator==(const KeyboardSystemStages&, const KeyboardSystemStages&) = default;
};

struct MouseSystemStages {
  std::uint16_t double_click_time = 0;
  std::uint16_t mouse_speed = 0;
  std::uint16_t pointer_precision = 0;
  std::uint16_t scroll_page = 0;
  std::uint16_t wheel_scroll_lines = 0;
  std::uint16_t report_stage = 0;  // "ReportStages"."StageActive"

  friend bool operator==(const MouseSystemStages&, const MouseSystemStages&) = default;
};

struct HeadsetSystemSetStages {
  std::int32_t magic_enable = 0;
  std::int32_t magic_type = 0;
  std::int32_t eq_type = 0;
  std::int32_t custom_eq_select_index = 0;
  std::int32_t mic_in_select = 0;
  std::int32_t mic_in_value = 0;
  std::int32_t mic_monitor_select = 0;
  std::int32_t mic_monitor_value = 0;

  friend bool operator==(const HeadsetSystemSetStages&, const HeadsetSystemSetStages&) = default;
};

struct DpiStage {
  std::uint8_t active = 0;
  std::uint8_t xy = 0;
  std::uint16_t dpi_x = 0;
  std::uint16_t dpi_y = 0;
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  friend bool operator==(const DpiStage&, const DpiStage&) = default;
};

// One LED's custom colour; the set mark is kept by the page, never stored in the profile.
struct LightColor {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t alpha = 0;
  std::uint8_t set_mark = 0;

  friend bool operator==(const LightColor&, const LightColor&) = default;
};

struct CorrectInfoEntry {
  std::uint8_t pix_thresh = 0;
  std::uint8_t min_sq = 0;
  std::uint8_t select = 0;
  std::string name;  // UTF-8

  friend bool operator==(const CorrectInfoEntry&, const CorrectInfoEntry&) = default;
};

}  // namespace norvane
