#include "tools/norvanectl/key_spelling.h"

#include <array>
#include <cstdio>

#include "macro/key_tables.h"
#include "tools/norvanectl/command_words.h"
#include "tools/norvanectl/english_texts.h"

namespace norvane::cli {
namespace {

// Names of the key editor's combo rows, in combo order (macro/key_tables.h).
constexpr std::array<std::string_view, 5> kMouseButtons = {"left", "middle", "right", "forward", "back"};
constexpr std::array<std::string_view, 3> kDpiSteps = {"up", "down", "cycle"};
constexpr std::array<std::string_view, 3> kSystemKeys = {"power", "sleep", "wakeup"};
constexpr std::array<std::string_view, 18> kMediaKeys = {
    "media-select", "play-pause",      "stop",         "previous",       "next",       "volume-down",
    "volume-up",    "mute",            "browser-home", "browser-refresh", "browser-stop", "browser-back",
    "browser-forward", "favourites",   "search",       "computer",       "calculator", "mail"};
constexpr std::array<std::string_view, 11> kShortcuts = {"open", "new",  "undo",       "save",     "copy",   "cut",
                                                         "paste", "find", "select-all", "zoom-out", "zoom-in"};
// The modifier choices 1..4 of the key editor.
constexpr std::array<std::string_view, 4> kModifiers = {"ctrl", "shift", "alt", "win"};
constexpr std::string_view kKeyPrefix = "keyboard_key_";

// "Page Up" -> "page-up".
std::string Spelled(std::string_view text) {
  std::string spelled = Lower(text);
  for (char& c : spelled) {
    if (c == ' ') c = '-';
  }
  return spelled;
}

// The spelling of key-table row `row`: its English caption, else its name key without the prefix.
std::string KeyRowSpelling(std::size_t row) {
  const std::string_view nameKey = macro::KeyNameTable()[row].nameKey;
  const TextTable& english = EnglishTexts();
  if (const auto found = english.find(nameKey); found != english.end() && !found->second.empty()) {
    return Spelled(found->second);
  }
  return Spelled(nameKey.starts_with(kKeyPrefix) ? nameKey.substr(kKeyPrefix.size()) : nameKey);
}

template <std::size_t N>
std::optional<std::size_t> IndexIn(const std::array<std::string_view, N>& names, std::string_view name) {
  for (std::size_t i = 0; i < N; ++i) {
    if (names[i] == name) return i;
  }
  return std::nullopt;
}

template <std::size_t N>
std::string Choices(const std::array<std::string_view, N>& names) {
  std::string text;
  for (std::string_view name : names) text += (text.empty() ? "" : ", ") + std::string(name);
  return text;
}

ParsedFunction Refused(std::string error) {
  return {std::nullopt, std::move(error)};
}

ParsedFunction Found(KeyFunction function) {
  return {function, {}};
}

ParsedFunction KeyboardKey(std::string_view rest) {
  std::uint8_t modifier = 0;
  // "ctrl+c": one modifier at most, as the key editor allows; "ctrl" alone is the modifier key itself.
  if (const std::size_t plus = rest.find('+'); plus != std::string_view::npos && plus > 0) {
    const std::optional<std::size_t> choice = IndexIn(kModifiers, rest.substr(0, plus));
    if (!choice) return Refused("\"" + std::string(rest.substr(0, plus)) + "\" is not a modifier (ctrl, shift, alt, win)");
    modifier = macro::ModifierBitOfChoice(int(*choice) + 1);
    rest.remove_prefix(plus + 1);
  }
  if (const std::optional<std::size_t> choice = IndexIn(kModifiers, rest); choice && modifier == 0) {
    return Found({0x20, macro::ModifierBitOfChoice(int(*choice) + 1), 0});
  }
  for (std::size_t row = 0; row < macro::kOrdinaryKeyEnd; ++row) {
    if (KeyRowSpelling(row) != rest) continue;
    KeyFunction function = macro::KeyNameTable()[row].function;
    if (row < macro::kModifierRows) {
      if (modifier != 0) return Refused("one modifier at most: \"" + std::string(rest) + "\" is one too");
      return Found(function);
    }
    function.data1 = modifier;
    return Found(function);
  }
  return Refused("no keyboard key \"" + std::string(rest) + "\" (norvanectl key set --help)");
}

template <std::size_t N>
ParsedFunction FromTable(std::string_view kind, const std::array<std::string_view, N>& names,
                         std::span<const KeyFunction> functions, std::string_view name) {
  const std::optional<std::size_t> index = IndexIn(names, name);
  if (!index || *index >= functions.size()) {
    return Refused("no " + std::string(kind) + " \"" + std::string(name) + "\" (" + Choices(names) + ")");
  }
  return Found(functions[*index]);
}

}  // namespace

ParsedFunction ParseKeyFunction(std::string_view spelling, const SpellingContext& context) {
  const std::string lower = Lower(spelling);
  if (lower == "default") return {};
  const std::size_t colon = lower.find(':');
  if (colon == std::string::npos) {
    return Refused("\"" + std::string(spelling) + "\" is not a function: give KIND:NAME (norvanectl key set --help)");
  }
  const std::string_view kind = std::string_view(lower).substr(0, colon);
  const std::string_view name = std::string_view(lower).substr(colon + 1);
  if (kind == "keyboard") return KeyboardKey(name);
  if (kind == "mouse") return FromTable("mouse button", kMouseButtons, macro::MouseButtonFunctions(), name);
  if (kind == "media") return FromTable("media key", kMediaKeys, macro::MediaKeyFunctions(), name);
  if (kind == "system") return FromTable("system key", kSystemKeys, macro::SystemKeyFunctions(), name);
  if (kind == "dpi") {
    if (!context.mouse) return Refused("DPI steps are a mouse's: a keyboard does not offer them");
    return FromTable("DPI step", kDpiSteps, macro::DpiStepFunctions(), name);
  }
  if (kind == "shortcut") {
    const std::optional<std::size_t> index = IndexIn(kShortcuts, name);
    if (!index) return Refused("no shortcut \"" + std::string(name) + "\" (" + Choices(kShortcuts) + ")");
    return Found(macro::ShortcutTable()[*index].function);
  }
  if (kind == "fire") {
    // fire:INTERVAL,COUNT
    const std::size_t comma = name.find(',');
    const std::optional<int> interval = WholeNumber(name.substr(0, comma), 0, 255);
    const std::optional<int> count =
        comma == std::string_view::npos ? std::nullopt : WholeNumber(name.substr(comma + 1), 0, 255);
    if (!interval || !count) return Refused("rapid fire is fire:INTERVAL,COUNT, each 0 to 255");
    return Found({0x14, std::uint8_t(*interval), std::uint8_t(*count)});
  }
  if (kind == "pointer" || kind == "wheel") {
    // pointer:left|right,COUNT,DELAY,SPEED and wheel:up|down,COUNT,DELAY,SPEED
    const bool wheel = kind == "wheel";
    const std::array<std::string_view, 2> directions =
        wheel ? std::array<std::string_view, 2>{"up", "down"} : std::array<std::string_view, 2>{"left", "right"};
    std::vector<std::string_view> parts;
    for (std::size_t from = 0;;) {
      const std::size_t comma = name.find(',', from);
      parts.push_back(name.substr(from, comma == std::string_view::npos ? std::string_view::npos : comma - from));
      if (comma == std::string_view::npos) break;
      from = comma + 1;
    }
    const std::optional<std::size_t> direction = parts.empty() ? std::nullopt : IndexIn(directions, parts[0]);
    const std::optional<int> count = parts.size() == 4 ? WholeNumber(parts[1], 0, 127) : std::nullopt;
    const std::optional<int> delay = parts.size() == 4 ? WholeNumber(parts[2], 0, 15) : std::nullopt;
    const std::optional<int> speed = parts.size() == 4 ? WholeNumber(parts[3], 0, 15) : std::nullopt;
    if (!direction || !count || !delay || !speed) {
      return Refused(std::string(kind) + " is " + std::string(kind) + ":" + std::string(directions[0]) + "|" +
                     std::string(directions[1]) + ",COUNT,DELAY,SPEED (count 0 to 127, delay and speed 0 to 15)");
    }
    return Found(macro::MotionFunction(wheel ? macro::kWheelType : macro::kPointerType,
                                       {int(*direction), unsigned(*count), unsigned(*delay), unsigned(*speed)}));
  }
  if (kind == "macro") {
    // The macro's name as the user gave it, compared in any case.
    const std::string_view given = spelling.substr(colon + 1);
    for (std::size_t i = 0; i < context.macros.size() && i < 256; ++i) {
      if (Lower(context.macros[i]) == Lower(given)) return Found({0x70, std::uint8_t(i), 0});
    }
    return Refused("no macro \"" + std::string(given) + "\" on this device (norvanectl macro list)");
  }
  if (kind == "gun") return Refused("gun keys are set with the recoil patterns, not from the command line");
  return Refused("unknown function kind \"" + std::string(kind) + "\" (norvanectl key set --help)");
}

std::string SpellKeyFunction(KeyFunction function, std::span<const std::string> macros) {
  const auto inTable = [&function]<std::size_t N>(std::string_view kind, const std::array<std::string_view, N>& names,
                                                  std::span<const KeyFunction> functions) -> std::string {
    for (std::size_t i = 0; i < N && i < functions.size(); ++i) {
      if (functions[i] == function) return std::string(kind) + ":" + std::string(names[i]);
    }
    return {};
  };
  std::string spelled;
  switch (function.type) {
    case 0x10:
      spelled = inTable("mouse", kMouseButtons, macro::MouseButtonFunctions());
      break;
    case macro::kPointerType:
    case macro::kWheelType: {
      const macro::Motion motion = macro::MotionOfFunction(function);
      const bool wheel = function.type == macro::kWheelType;
      spelled = std::string(wheel ? "wheel:" : "pointer:") +
                (wheel ? (motion.direction ? "down" : "up") : (motion.direction ? "right" : "left")) + "," +
                std::to_string(motion.count) + "," + std::to_string(motion.delay) + "," + std::to_string(motion.speed);
      break;
    }
    case 0x13:
      spelled = inTable("dpi", kDpiSteps, macro::DpiStepFunctions());
      break;
    case 0x14:
      spelled = "fire:" + std::to_string(function.data1) + "," + std::to_string(function.data2);
      break;
    case 0x30:
      spelled = inTable("media", kMediaKeys, macro::MediaKeyFunctions());
      break;
    case 0x40:
      spelled = inTable("system", kSystemKeys, macro::SystemKeyFunctions());
      break;
    case 0x70:
      if (function.data1 < macros.size()) spelled = "macro:" + macros[function.data1];
      break;
    case 0x20: {
      for (std::size_t i = 0; i < kShortcuts.size(); ++i) {
        if (macro::ShortcutTable()[i].function == function) return "shortcut:" + std::string(kShortcuts[i]);
      }
      const KeyFunction plain{0x20, 0, function.data2};
      const std::optional<std::size_t> row = macro::KeyRowOfFunction(function.data2 == 0 ? function : plain);
      if (!row) break;
      std::string modifier;
      for (int choice = 1; choice <= 4 && function.data2 != 0; ++choice) {
        if (macro::ModifierBitOfChoice(choice) == function.data1) modifier = std::string(kModifiers[choice - 1]) + "+";
      }
      if (function.data2 != 0 && function.data1 != 0 && modifier.empty()) break;
      spelled = "keyboard:" + modifier + KeyRowSpelling(*row);
      break;
    }
    default:
      break;
  }
  if (!spelled.empty()) return spelled;
  char raw[40];
  std::snprintf(raw, sizeof raw, "type %02x data %02x %02x", function.type, function.data1, function.data2);
  return raw;
}

std::string KeyFunctionSpellings() {
  return "FUNCTION is one of:\n"
         "  default                   the key's own function\n"
         "  keyboard:[MOD+]KEY        a keyboard key with at most one modifier (ctrl, shift, alt, win), KEY as\n"
         "                            the key's caption in lower case, spaces as '-': keyboard:ctrl+c,\n"
         "                            keyboard:page-up, keyboard:f5\n"
         "  mouse:BUTTON              " + Choices(kMouseButtons) + "\n"
         "  dpi:STEP                  " + Choices(kDpiSteps) + " (mice only)\n"
         "  media:KEY                 " + Choices(kMediaKeys) + "\n"
         "  system:KEY                " + Choices(kSystemKeys) + "\n"
         "  shortcut:NAME             " + Choices(kShortcuts) + "\n"
         "  fire:INTERVAL,COUNT       rapid fire, each 0 to 255\n"
         "  pointer:DIR,COUNT,DELAY,SPEED\n"
         "                            pointer movement, DIR left or right: pointer:right,20,0,5\n"
         "  wheel:DIR,COUNT,DELAY,SPEED\n"
         "                            wheel turns, DIR up or down: wheel:down,3,1,0\n"
         "                            (COUNT 0 to 127, DELAY and SPEED 0 to 15)\n"
         "  macro:NAME                a macro of the device (norvanectl macro list)\n";
}

}  // namespace norvane::cli
