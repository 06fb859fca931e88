#pragma once
// One row of the macro editor's action list ("macro_action"): the event's name, press/release (or the
// distance of a move) and its delay edit ("macro_delay", 0..65535). The row's user data is the event as
// styled JSON: the labels only show it, and the delay edit's text becomes its "Delay" when the macro is
// saved.
//
// A row opens the row menu: a double click raises "itemactivate" and a context-menu request "menu" (with
// the pointer's global position), both from the row itself, so that the window routes them by its name.

#include <memory>
#include <optional>
#include <string>

#include "macro/macro_event.h"
#include "uilib/container.h"
#include "uilib/edit.h"

namespace norvane::editors {

inline constexpr const char* kMacroRowName = "macro_action";
inline constexpr const char* kMacroDelayName = "macro_delay";
inline constexpr int kMaxMacroDelay = 65535;

class CMacroRowUI : public ui::CHorizontalLayoutUI {
 public:
  CMacroRowUI();

 protected:
  bool event(QEvent* e) override;
};

// A new row showing event; its delay edit shows the event's delay as the editor shows delays. With
// integerDelay the row's JSON holds the delay as a number (the first step of a recording), else as text.
[[nodiscard]] std::unique_ptr<CMacroRowUI> MakeMacroRow(const macro::MacroEvent& event, bool integerDelay = false);
// The same from a row's JSON text (a row being moved); nothing for text that is not an event object.
[[nodiscard]] std::unique_ptr<CMacroRowUI> MakeMacroRow(const std::string& eventJson);

// The row's delay edit; null for anything that is not a row.
[[nodiscard]] ui::CEditUI* DelayEditOf(ui::CControlUI* row);

// The delay an edit's text stands for: empty reads as 0, anything above the maximum as the maximum.
[[nodiscard]] int DelayOfText(const QString& text);

// The styled JSON text of an event, as rows keep it ("Delay" as text, or as a number with integerDelay).
[[nodiscard]] std::string MacroEventText(const macro::MacroEvent& event, bool integerDelay = false);
// The event of a row's JSON text; nothing when the text is empty or not an object.
[[nodiscard]] std::optional<macro::MacroEvent> MacroEventOfText(const std::string& text);

}  // namespace norvane::editors
