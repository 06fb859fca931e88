#include "devices/key_labels.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "macro/key_tables.h"

namespace norvane::devices {
namespace {

using Label = std::optional<KeyLabel>;

// A type none of the rules knows (a key list from a file may hold anything) shows as switched off, in this
// fixed text rather than a language id.
constexpr std::string_view kUnknownTypeText = "关闭";

Label NameKey(std::string_view nameKey) {
  return KeyLabel{KeyLabelPart{std::string(nameKey), true, ""}};
}

Label Literal(std::string text) {
  return KeyLabel{KeyLabelPart{std::move(text), false, ""}};
}

template <std::size_t N>
Label NameOf(const std::array<std::pair<unsigned, std::string_view>, N>& names, unsigned value) {
  for (const auto& [key, nameKey] : names) {
    if (key == value) return NameKey(nameKey);
  }
  return std::nullopt;
}

// A keyboard key: the key itself when one row is exactly it, otherwise its modifiers and key joined, with
// what a shortcut (right Ctrl and a key) does after them.
Label KeyboardKeyLabel(KeyFunction function) {
  const std::span<const macro::KeyNameRow> table = macro::KeyNameTable();
  for (const macro::KeyNameRow& row : table) {
    if (row.function.data1 == function.data1 && row.function.data2 == function.data2)
      return NameKey(row.nameKey);
  }
  if (function.data1 == 0 && function.data2 == 0) return NameKey("close_text");
  KeyLabel label;
  // The modifiers the function holds, then its key. Matching "data1 equal" against the key rows would name
  // every key for a function without a modifier (they all have data1 0), and a combination of modifiers
  // would name none of them.
  for (std::size_t i = 0; i < table.size(); ++i) {
    const macro::KeyNameRow& row = table[i];
    if (row.function.type != function.type) continue;
    const bool modifier = i < macro::kModifierRows && (row.function.data1 & function.data1) != 0;
    const bool key = i >= macro::kModifierRows && function.data2 != 0 && row.function.data2 == function.data2;
    if (!modifier && !key) continue;
    label.push_back({std::string(row.nameKey), true, label.empty() ? "" : "+"});
  }
  if (function.data1 == 0x10) {
    for (const macro::ShortcutRow& shortcut : macro::ShortcutTable()) {
      if (shortcut.function.data2 != function.data2) continue;
      label.push_back({std::string(shortcut.nameKey), true, ""});
      break;
    }
  }
  if (label.empty()) return std::nullopt;
  return label;
}

constexpr std::array<std::pair<unsigned, std::string_view>, 5> kMouseButtons = {{
    {0x01, "mouse_key_left"},
    {0x04, "mouse_key_middle"},
    {0x02, "mouse_key_right"},
    {0x10, "mouse_key_forward"},
    {0x08, "mouse_key_back"},
}};

constexpr std::array<std::pair<unsigned, std::string_view>, 3> kDpiSteps = {{
    {1, "mouse_key_DPI_add"},
    {2, "mouse_key_DPI_sub"},
    {3, "mouse_key_DPI_loop"},
}};

// Ctrl shortcuts as the firmware's own type, numbered from 0.
constexpr std::array<std::pair<unsigned, std::string_view>, 9> kShortcuts = {{
    {0, "custem_open"},
    {1, "custem_new"},
    {2, "custem_undo"},
    {3, "custem_save"},
    {4, "custem_copy"},
    {5, "custem_cut"},
    {6, "custem_paste"},
    {7, "custem_find"},
    {8, "custem_select_all"},
}};

// By consumer-page usage.
constexpr std::array<std::pair<unsigned, std::string_view>, 18> kMediaKeys = {{
    {0x0183, "media_text"},
    {0x00CD, "media_play"},
    {0x00B7, "media_stop"},
    {0x00B6, "media_prev"},
    {0x00B5, "media_next"},
    {0x00EA, "media_vol_sub"},
    {0x00E9, "media_vol_add"},
    {0x00E2, "media_mute"},
    {0x0223, "web_text"},
    {0x0227, "web_refresh"},
    {0x0226, "wed_stop"},
    {0x0224, "wed_back"},
    {0x0225, "wed_forward"},
    {0x022A, "wed_favorite"},
    {0x0221, "web_search"},
    {0x0194, "media_mypc"},
    {0x0192, "media_calc"},
    {0x018A, "media_mail"},
}};

constexpr std::array<std::pair<unsigned, std::string_view>, 3> kSystemKeys = {{
    {1, "system_power"},
    {2, "system_sleep"},
    {4, "system_wake_up"},
}};

Label SpecialKeyLabel(KeyFunction function) {
  if (function.type == 0xA0 && function.data1 == 0x02) return NameKey("mouse_key_smart_key");
  if (function.type == 0xA0 && function.data1 == 0x00) return NameKey("close_text");
  const std::optional<std::size_t> row = macro::KeyRowOfFunction(function);
  if (!row) return std::nullopt;
  return NameKey(macro::KeyNameTable()[*row].nameKey);
}

}  // namespace

std::optional<KeyLabel> DeriveKeyLabel(KeyFunction function, std::span<const std::string> macroNames) {
  switch (function.type) {
    case 0x00:
    case 0x20:
      return KeyboardKeyLabel(function);
    case 0x10:
      return NameOf(kMouseButtons, function.data1);
    case 0x11:
      return NameKey(function.data2 & 0x80 ? "mouse_key_right_Swing" : "mouse_key_left_Swing");
    case 0x12:
      return NameKey(function.data2 & 0x80 ? "mouse_key_down_Swing" : "mouse_key_up_Swing");
    case 0x13:
      return NameOf(kDpiSteps, function.data1);
    case 0x14:
      return NameKey("mouse_key_fire_key");
    case 0x16:
      return NameKey("mouse_key_DPI_shift");
    case 0x22:
      if (function.data1 != 0) return std::nullopt;
      return NameOf(kShortcuts, function.data2);
    case 0x23:
      if (function.data1 != 0 || function.data2 != 0) return std::nullopt;
      return NameKey("show_window");
    case 0x30:
      return NameOf(kMediaKeys, unsigned{function.data2} << 8 | function.data1);
    case 0x40:
      if (function.data2 != 0) return std::nullopt;
      return NameOf(kSystemKeys, function.data1);
    case 0x70:
    case 0x71:
      if (function.data1 >= macroNames.size()) return std::nullopt;
      return Literal(macroNames[function.data1]);
    case 0xA0:
    case 0xD0:
      return SpecialKeyLabel(function);
    // Types a key button leaves as it was: their label comes from elsewhere or they have none.
    case 0x15:
    case 0x21:
    case 0x50:
    case 0x60:
    case 0xB0:
    case 0xC0:
      return std::nullopt;
    default:
      return Literal(std::string(kUnknownTypeText));
  }
}

std::string_view OwnKeyNameKey(KeyFunction reference) {
  const std::optional<std::size_t> row = macro::KeyRowOfFunction(reference);
  return row ? macro::KeyNameTable()[*row].nameKey : std::string_view{};
}

std::string ComposeKeyLabel(const KeyLabel& label, const Localizer& localize) {
  std::string text;
  for (const KeyLabelPart& part : label) {
    text += part.before;
    text += part.nameKey ? localize(part.text) : part.text;
  }
  return text;
}

namespace {

[[nodiscard]] bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

KeyButtonLabel MakeKeyButtonLabel(std::string_view ownNameKey, const std::string& labelText,
                                  const Localizer& localize) {
  KeyButtonLabel button;
  if (!ownNameKey.empty()) button.title = localize(ownNameKey);
  button.keySetMarkHidden = EqualIgnoringAsciiCase(button.title, labelText);
  button.toolText = button.title + localize("Key_Set") + labelText;
  return button;
}

}  // namespace norvane::devices
