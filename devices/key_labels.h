#pragma once
// The label each key button of a keyboard or mouse picture carries: what the key's current function does,
// as name keys to localize (joined as the label says) or as text used as it is, and the key's own name.
// The device derives labels; the page localizes them and sets the buttons' tooltips and key-set marks.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "profiles/profile_records.h"

namespace norvane::devices {

struct KeyLabelPart {
  std::string text;
  bool nameKey = true;       // localize `text`; false: use it as it is (macro names, the fixed text)
  std::string_view before;   // what joins it to the part before ("+" or nothing)
  friend bool operator==(const KeyLabelPart&, const KeyLabelPart&) = default;
};

using KeyLabel = std::vector<KeyLabelPart>;

// The label of a function; nullopt where the function gives none (the button stays as it was).
[[nodiscard]] std::optional<KeyLabel> DeriveKeyLabel(KeyFunction function, std::span<const std::string> macroNames);

// The name key of a key's own name: the first key-table row with the reference code's type, data1 and
// data2; empty when there is none.
[[nodiscard]] std::string_view OwnKeyNameKey(KeyFunction reference);

using Localizer = std::function<std::string(std::string_view nameKey)>;
// The label's text, each name key localized.
[[nodiscard]] std::string ComposeKeyLabel(const KeyLabel& label, const Localizer& localize);

// What a key button shows for a label: the tooltip title (the key's own name), the tooltip text and whether
// the key-set mark stays hidden (the label is the key's own name, ignoring case).
struct KeyButtonLabel {
  std::string title;
  std::string toolText;
  bool keySetMarkHidden = true;
  friend bool operator==(const KeyButtonLabel&, const KeyButtonLabel&) = default;
};
// Title = the localized own name; text = title, the localized "Key_Set", then the label.
[[nodiscard]] KeyButtonLabel MakeKeyButtonLabel(std::string_view ownNameKey, const std::string& labelText,
                                                const Localizer& localize);

}  // namespace norvane::devices
