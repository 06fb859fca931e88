// Plain C++ on purpose: the editor control does the widget copying, so these rules stay testable without Qt.
#include "editors/key_function_fields.h"

#include <climits>
#include <optional>
#include <span>
#include <string_view>

#include "macro/key_tables.h"

namespace norvane::editors {
namespace {

enum Kind : int {
  kDefault = 0,
  kMouseButton = 1,
  kPointer = 2,
  kWheel = 3,
  kDpiStep = 4,
  kRapidFire = 5,
  kKeyboardKey = 6,
  kMedia = 7,
  kSystem = 8,
  kMacro = 9,
  kGunKey = 10,
  kShortcut = 11,
};

constexpr std::uint8_t kShortcutModifier = 0x10;
constexpr int kMacroEndModes = 4;  // end-mode items 0..3 are written as they are

KeyFunction FunctionOf(const KeyFunction& row) {
  return row;
}
KeyFunction FunctionOf(const macro::ShortcutRow& row) {
  return row.function;
}

// Combos are matched on the data bytes alone: each combo holds one type.
template <typename Row>
void SelectMatchingRow(int& selection, std::span<const Row> rows, KeyFunction function) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const KeyFunction row = FunctionOf(rows[i]);
    if (row.data1 == function.data1 && row.data2 == function.data2) {
      selection = static_cast<int>(i);
      return;
    }
  }
}

template <typename Row>
std::optional<KeyFunction> RowAt(std::span<const Row> rows, int selection) {
  if (selection < 0 || static_cast<std::size_t>(selection) >= rows.size()) return std::nullopt;
  return FunctionOf(rows[static_cast<std::size_t>(selection)]);
}

// The ordinary key (no modifier) with this HID usage.
std::optional<std::size_t> OrdinaryKeyRow(std::uint8_t usage) {
  const std::span<const macro::KeyNameRow> table = macro::KeyNameTable();
  for (std::size_t i = macro::kModifierRows; i < macro::kOrdinaryKeyEnd; ++i) {
    if (table[i].function.data1 == 0 && table[i].function.data2 == usage) return i;
  }
  return std::nullopt;
}

// One modifier bit shows its choice; several at once have no choice of their own and show none.
int ModifierChoiceOfBits(std::uint8_t bits) {
  const std::span<const macro::KeyNameRow> table = macro::KeyNameTable();
  for (std::size_t row = 0; row < macro::kModifierRows; ++row) {
    if (table[row].function.data1 == bits) return macro::ModifierChoiceOfRow(row);
  }
  return 0;
}

std::string Decimal(unsigned value) {
  return std::to_string(value);
}

// Turning the wheel downwards stores 128 minus the count (3 steps is 0xFD), so the bare direction bit is 128.
void ShowMotion(MotionFields& motion, KeyFunction function) {
  const macro::Motion shown = macro::MotionOfFunction(function);
  motion.direction = shown.direction;
  motion.count = Decimal(shown.count);
  motion.delay = Decimal(shown.delay);
  motion.speed = Decimal(shown.speed);
}

KeyFunction ReadMotion(const MotionFields& motion, std::uint8_t type) {
  return macro::MotionFunction(type, {motion.direction == 1 ? 1 : 0, unsigned(NumberOfText(motion.count)),
                                      unsigned(NumberOfText(motion.delay)), unsigned(NumberOfText(motion.speed))});
}

// Type 0x20: a plain key, a key with modifiers, or (right Ctrl and a key) one of the shortcuts.
void ShowKeyboardKey(KeyFunctionFields& fields, KeyFunction function, KeyFunction& current) {
  if (function.data1 == kShortcutModifier) {
    fields.kind = kShortcut;
    SelectMatchingRow(fields.shortcut, macro::ShortcutTable(), function);
    return;
  }
  fields.kind = kKeyboardKey;
  if (function.data1 > 0x80) return;  // no modifier bits the editor can show
  const std::optional<std::size_t> row = OrdinaryKeyRow(function.data2);
  if (function.data1 == 0 && !row) {
    // A key the table does not know cannot be shown, so it is not kept either.
    fields.modifier = kNoSelection;
    fields.keyNameKey.clear();
    current = {0x20, 0, 0};
    return;
  }
  fields.modifier = function.data1 == 0 ? 0 : ModifierChoiceOfBits(function.data1);
  fields.keyNameKey = row ? std::string(macro::KeyNameTable()[*row].nameKey) : std::string();
}

void ShowMacro(KeyFunctionFields& fields, KeyFunction function, int macroCount) {
  fields.kind = kMacro;
  const bool exists = function.data1 < macroCount;
  fields.macro = exists ? function.data1 : kNoSelection;
  if (function.type == 0x71) {
    fields.macroEnd = kMacroEndCycleItem;
    fields.cycleVisible = exists;
    fields.cycleCount = Decimal(function.data2);
  } else {
    fields.macroEnd = exists && function.data2 < kMacroEndModes ? function.data2 : kNoSelection;
    fields.cycleVisible = false;
  }
}

std::optional<KeyFunction> ReadMacro(const KeyFunctionFields& fields, int macroCount) {
  // data1 holds the macro's number: macros past the 256th cannot be assigned.
  if (fields.macro < 0 || fields.macro >= macroCount || fields.macro > 0xFF) return std::nullopt;
  const auto macro = static_cast<std::uint8_t>(fields.macro);
  if (fields.macroEnd == kMacroEndCycleItem) {
    return KeyFunction{0x71, macro, static_cast<std::uint8_t>(NumberOfText(fields.cycleCount) & 0xFF)};
  }
  const bool endMode = fields.macroEnd >= 0 && fields.macroEnd < kMacroEndModes;
  return KeyFunction{0x70, macro, static_cast<std::uint8_t>(endMode ? fields.macroEnd : 0)};
}

}  // namespace

KeyFunction ShowFunction(KeyFunctionFields& fields, KeyFunction function, KeyFunction defaultFunction,
                         int macroCount) {
  KeyFunction current = function;
  if (function == defaultFunction) {
    fields.kind = kDefault;
    return current;
  }
  switch (function.type) {
    case 0x00:
      fields.kind = kDefault;
      break;
    case 0x10:
      fields.kind = kMouseButton;
      SelectMatchingRow(fields.mouseButton, macro::MouseButtonFunctions(), function);
      break;
    case 0x11:
      fields.kind = kPointer;
      ShowMotion(fields.pointer, function);
      break;
    case 0x12:
      fields.kind = kWheel;
      ShowMotion(fields.wheel, function);
      break;
    case 0x13:
      fields.kind = kDpiStep;
      SelectMatchingRow(fields.dpiStep, macro::DpiStepFunctions(), function);
      break;
    case 0x14:
      fields.kind = kRapidFire;
      fields.fireInterval = Decimal(function.data1);
      fields.fireCount = Decimal(function.data2);
      break;
    case 0x20:
      ShowKeyboardKey(fields, function, current);
      break;
    case 0x30:
      fields.kind = kMedia;
      SelectMatchingRow(fields.media, macro::MediaKeyFunctions(), function);
      break;
    case 0x40:
      fields.kind = kSystem;
      SelectMatchingRow(fields.system, macro::SystemKeyFunctions(), function);
      break;
    case 0x70:
    case 0x71:
      ShowMacro(fields, function, macroCount);
      break;
    case 0x72:
      fields.kind = kGunKey;
      fields.gunKey = function.data1;
      break;
    case 0xB0:
      fields.kind = kShortcut;
      break;
    default:
      fields.kind = kNoSelection;
      break;
  }
  return current;
}

KeyFunction ReadFunction(const KeyFunctionFields& fields, KeyFunction current, KeyFunction defaultFunction,
                         int macroCount) {
  std::optional<KeyFunction> read;
  switch (fields.kind) {
    case kDefault:
      return defaultFunction;
    case kMouseButton:
      read = RowAt(macro::MouseButtonFunctions(), fields.mouseButton);
      break;
    case kPointer:
      return ReadMotion(fields.pointer, macro::kPointerType);
    case kWheel:
      return ReadMotion(fields.wheel, macro::kWheelType);
    case kDpiStep:
      read = RowAt(macro::DpiStepFunctions(), fields.dpiStep);
      break;
    case kRapidFire:
      return {0x14, static_cast<std::uint8_t>(NumberOfText(fields.fireInterval) & 0xFF),
              static_cast<std::uint8_t>(NumberOfText(fields.fireCount) & 0xFF)};
    case kKeyboardKey: {
      // The key itself lives in `current` (capture put it there); the text only says whether there is one.
      const bool hasKey = !fields.keyNameKey.empty() && current.type == 0x20;
      return {0x20, macro::ModifierBitOfChoice(fields.modifier), hasKey ? current.data2 : std::uint8_t{0}};
    }
    case kMedia:
      read = RowAt(macro::MediaKeyFunctions(), fields.media);
      break;
    case kSystem:
      read = RowAt(macro::SystemKeyFunctions(), fields.system);
      break;
    case kMacro:
      read = ReadMacro(fields, macroCount);
      break;
    case kGunKey:
      if (fields.gunKey >= 0) read = KeyFunction{0x72, static_cast<std::uint8_t>(fields.gunKey & 0xFF), 0};
      break;
    case kShortcut:
      read = RowAt(macro::ShortcutTable(), fields.shortcut);
      break;
    default:
      break;
  }
  return read.value_or(current);
}

bool CaptureKey(KeyFunctionFields& fields, KeyFunction& current, macro::ScanCode scan,
                KeyFunction defaultFunction, int macroCount) {
  const std::optional<std::size_t> row = macro::KeyRowOfScanCode(scan);
  if (!row) return false;
  const macro::KeyNameRow& key = macro::KeyNameTable()[*row];
  if (key.function.type != 0x20) return false;
  if (*row < macro::kModifierRows) {
    fields.modifier = macro::ModifierChoiceOfRow(*row);
    fields.keyNameKey.clear();
    KeyFunctionFields modifierAlone = fields;
    modifierAlone.kind = kKeyboardKey;
    current = ReadFunction(modifierAlone, current, defaultFunction, macroCount);
    return true;
  }
  if (fields.modifier == kNoSelection) fields.modifier = 0;
  fields.keyNameKey = std::string(key.nameKey);
  current = {0x20, macro::ModifierBitOfChoice(fields.modifier), key.function.data2};
  return true;
}

void ResetParameterFields(KeyFunctionFields& fields) {
  fields.mouseButton = 0;
  fields.dpiStep = 0;
  fields.media = 0;
  fields.system = 0;
  fields.macro = 0;
  fields.macroEnd = 0;
  fields.gunKey = 0;
  fields.shortcut = 0;
  // Fresh strings moved in: gcc 12 at -O3 takes assigning a literal into an existing string for an
  // overflowing copy (a false -Wstringop-overflow).
  fields.fireInterval = std::string("50");
  fields.fireCount = std::string("2");
  fields.cycleCount = std::string("1");
}

int NumberOfText(const std::string& text) {
  const std::string_view blanks = " \t";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return 0;
  const std::string_view digits =
      std::string_view(text).substr(first, text.find_last_not_of(blanks) - first + 1);
  long long value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return 0;
    if (value < INT_MAX) value = value * 10 + (c - '0');
  }
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

}  // namespace norvane::editors
