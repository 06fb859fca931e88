#pragma once
// CMacroControlUI (skin class "MacroControl"; device pages hold it as "MacroControlItem"): the macro editor
// of a device page. It mirrors the macros of the page's device folder (a macro::MacroLibrary) in
// "macro_name_list" and shows the selected macro's events as rows in "macro_action_list". Every change to
// the rows is written to the macro's file at once, so the rows are only ever a view of that file (plus a
// delay still being typed). Confirmations, messages and keeping the key editor in step are the caller's.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "macro/hook_events.h"
#include "macro/macro_library.h"
#include "macro/recording.h"
#include "uilib/container.h"
#include "uilib/edit.h"
#include "uilib/list.h"

namespace norvane::editors {

class MacroRows;

class CMacroControlUI : public ui::CHorizontalLayoutUI {
 public:
  static constexpr const char* kClassName = "MacroControl";
  static constexpr const char* kItemName = "MacroControlItem";
  static constexpr const char* kSkin = "XML\\CustomControlXML\\MacroControl.xml";
  // The delay of inserted mouse actions until a recording sets another.
  static constexpr int kInitialFixedDelay = macro::kDefaultFixedDelay;
  // Mouse messages of InsertMouseAction; moves are kMoveMessage with variant 0 left, 1 right, 2 up, 3 down.
  static constexpr std::uint16_t kMoveMessage = 0x200;

  CMacroControlUI();
  ~CMacroControlUI() override;

  void DoInit() override;
  // Builds the panel (once) and looks its controls up.
  void InitMacroEditor();

  void SetMacroFolder(const std::filesystem::path& folder);
  const std::filesystem::path& MacroFolder() const { return folder_; }
  // Fills the list from the folder's "macro.config"; a macro that was selected stays selected.
  void LoadMacroList();
  std::vector<std::string> GetMacroNames() const;
  int MacroCount() const;
  // The selected macro; -1 for none.
  int GetSelectedMacroIndex() const;
  void SelectMacro(int index);

  // Appends "macro_<n>" and shows it; empty when the list is full or cannot be written.
  std::string AddMacro();
  struct Renamed {
    macro::RenameResult result;
    int index = -1;  // the macro concerned; -1 when none was selected
    std::string name;
  };
  // Renames the selected macro to the name edit's text.
  Renamed RenameMacro();
  // Deletes the selected macro (its file too); its former index, or -1.
  int DeleteMacro();
  // Shows the selected macro's events as rows (none selected: no rows).
  void ShowMacro();
  // Writes the rows to the selected macro's file, delays taken from the edits (held to 0..65535).
  bool SaveMacro();
  // Adds the macro file at path under its own name and shows it; the new name, or empty.
  std::string ImportMacro(const std::filesystem::path& path);
  bool ExportMacro(const std::filesystem::path& path) const;

  // The rows. Each operation saves the macro.
  int RowCount() const;
  int SelectedRow() const;
  void SelectRow(int row);
  std::vector<macro::MacroEvent> RowEvents() const;
  // The control showing a step (built now when it was not yet); null outside the list.
  ui::CControlUI* RowControl(int row);
  void MoveRowUp();
  void MoveRowDown();
  void MoveRowToTop();
  void MoveRowToBottom();
  void DeleteRow();
  void DeleteAllRows();
  // Inserts a mouse button action or a move after the selected row (at row 1 with none selected, at 0 in
  // an empty list) with the fixed delay. Unknown messages do nothing.
  void InsertMouseAction(std::uint16_t message, int variant);
  // The row menu's mouse items ("left_down", "back_up", "right_click", ...): one insertion, or for a click
  // a press and then its release, then one save. False for any other item.
  bool InsertMenuAction(std::string_view item);
  // Scrolls the step list to its selected row once the rows built meanwhile are laid out.
  static constexpr int kScrollTimer = 4101;
  static constexpr int kScrollDelayMs = 50;
  void ScrollToSelectedRowSoon();
  void OnTimer(int timerId) override;
  int FixedDelay() const { return fixedDelay_; }
  void SetFixedDelay(int delay) { fixedDelay_ = delay; }

  // Recording. The capture's handlers take keys and buttons as they happened, in order, on the UI thread:
  // a recording appends steps, or inserts them before or after the selected step, or gives the selected
  // step the key or button taken. The delay of a step is the pause after it, so each recorded event sets
  // the delay of the step before it.
  //
  // now: the recording's start on the clock of the events' time stamps.
  void BeginRecording(macro::DelayMode mode, std::uint32_t now);
  void EndRecording();
  bool IsRecording() const { return recording_; }
  // "macro_check_time" is checked: record with the fixed delay.
  bool IsFixedDelaySelected() const;
  // Takes the fixed delay from "macro_fixed_time_edit" (held to 65535, written back when it changed).
  void ReadFixedDelay();
  // Off while recording: the lists take no pointer input, the step and delay controls are disabled, the
  // stop button replaces the record button.
  void SetEditingEnabled(bool on);
  void OnKeyAppend(const macro::HookKeyEvent& key);
  void OnKeyBefore(const macro::HookKeyEvent& key);
  void OnKeyAfter(const macro::HookKeyEvent& key);
  void OnKeySingle(const macro::HookKeyEvent& key);
  void OnMouseAppend(const macro::HookMouseEvent& mouse);
  void OnMouseBefore(const macro::HookMouseEvent& mouse);
  void OnMouseAfter(const macro::HookMouseEvent& mouse);
  void OnMouseSingle(const macro::HookMouseEvent& mouse);
  // The handler of a capture mode; input in other modes is not the editor's.
  void OnHookKey(macro::HookMode mode, const macro::HookKeyEvent& key);
  void OnHookMouse(macro::HookMode mode, const macro::HookMouseEvent& mouse);

  ui::CListUI* NameList() const { return names_; }
  ui::CListUI* ActionList() const { return actions_; }
  ui::CEditUI* NameEdit() const { return nameEdit_; }

 private:
  void AppendNameRow(std::size_t index);
  void InsertRow(int at, const macro::MacroEvent& event, bool integerDelay = false);
  enum class Placement { kAppend, kBefore, kAfter };
  // A recorded event as a new step at its place, timed by the recording's delays.
  void RecordStep(Placement where, macro::MacroEvent event, std::uint32_t time);
  // The selected step takes the key or button of event, keeping its direction and delay.
  void ReRecordSelected(const macro::MacroEvent& event);
  void SetRowDelay(int row, std::uint32_t delay);
  bool IsOnStopButton(const macro::HookMouseEvent& mouse) const;
  // The four handlers of each kind keep their own filter state: append, before, after, single.
  enum Handler { kAppendHandler, kBeforeHandler, kAfterHandler, kSingleHandler, kHandlers };
  void OnKey(Handler handler, const macro::HookKeyEvent& key);
  void OnMouse(Handler handler, const macro::HookMouseEvent& mouse);
  // Inserts without saving; false for a message that is no mouse action.
  bool InsertMouseActionRow(std::uint16_t message, int variant);
  void MoveRow(int from, int to);
  void SetShowingControlsEnabled(bool enabled);
  void ShowName(int index);
  template <class T>
  T* Find(const char* name);

  bool built_ = false;
  std::filesystem::path folder_;
  std::unique_ptr<macro::MacroLibrary> library_;
  int fixedDelay_ = kInitialFixedDelay;
  // The panel's own children, found once; Qt owns them and they live as long as the panel.
  ui::CListUI* names_ = nullptr;
  ui::CListUI* actions_ = nullptr;
  std::unique_ptr<MacroRows> rows_;
  ui::CEditUI* nameEdit_ = nullptr;
  std::vector<ui::CControlUI*> showing_;  // enabled while a macro is shown

  bool recording_ = false;
  // Set by the first event ever recorded in this editor and never cleared: until then no step before a
  // new one is given a delay.
  bool hasPrevious_ = false;
  macro::DelayClock clock_;
  std::array<macro::KeyRepeatFilter, kHandlers> keyFilters_;
  std::array<macro::MouseRepeatFilter, kHandlers> mouseFilters_;
};

}  // namespace norvane::editors
