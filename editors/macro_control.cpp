#include "editors/macro_control.h"

#include <QString>
#include <array>

#include "editors/macro_row.h"
#include "editors/macro_rows.h"
#include "macro/event_kinds.h"
#include "macro/mouse_actions.h"

namespace norvane::editors {

namespace {

constexpr int kNameRowHeight = 30;
constexpr std::uint16_t kForwardDown = 0x20B;
constexpr std::uint16_t kForwardUp = 0x20C;
constexpr std::uint8_t kForwardButton = 0x10;
constexpr std::uint8_t kBackButton = 0x08;
// The button rows of the mouse action table that a message names on its own (left, right, middle).
constexpr std::size_t kPlainButtonRows = 6;

constexpr std::array<const char*, 5> kShowingNames = {"macro_action_layout", "mouse_move_layout", "macro_btn_export",
                                                      "macro_btn_name_sub", "macro_btn_name_edit"};

struct MoveInsertion {
  const char* edit;
  int type;
  bool down;
};
// By variant: left, right, up, down.
constexpr std::array<MoveInsertion, 4> kMoves = {{{"mouse_x_left_edit", macro::event_type::kHorizontalMove, true},
                                                  {"mouse_x_right_edit", macro::event_type::kHorizontalMove, false},
                                                  {"mouse_y_up_edit", macro::event_type::kVerticalMove, true},
                                                  {"mouse_y_down_edit", macro::event_type::kVerticalMove, false}}};

}  // namespace

CMacroControlUI::CMacroControlUI() = default;
CMacroControlUI::~CMacroControlUI() = default;

void CMacroControlUI::DoInit() {
  InitMacroEditor();
}

template <class T>
T* CMacroControlUI::Find(const char* name) {
  return dynamic_cast<T*>(FindSubControl(name));
}

void CMacroControlUI::InitMacroEditor() {
  if (built_) return;
  built_ = true;
  if (!FindSubControl("macro_name_list")) LoadSubSkin(kSkin);
  names_ = Find<ui::CListUI>("macro_name_list");
  actions_ = Find<ui::CListUI>("macro_action_list");
  if (actions_) rows_ = std::make_unique<MacroRows>(actions_);
  nameEdit_ = Find<ui::CEditUI>("macro_edit_macroname");
  for (const char* name : kShowingNames) {
    if (ui::CControlUI* control = FindSubControl(name)) showing_.push_back(control);
  }
  // Recording starts with its stop button hidden.
  if (ui::CControlUI* stop = FindSubControl("macro_btn_stopredio")) stop->SetVisible(false);
  SetShowingControlsEnabled(false);
}

void CMacroControlUI::SetMacroFolder(const std::filesystem::path& folder) {
  InitMacroEditor();
  if (library_ && folder == folder_) return;
  folder_ = folder;
  library_ = std::make_unique<macro::MacroLibrary>(folder_);
}

void CMacroControlUI::LoadMacroList() {
  InitMacroEditor();
  if (!library_ || !names_) return;
  const int selected = GetSelectedMacroIndex();
  const std::string selectedGuid = selected >= 0 ? names_->GetItemUserData(selected).ToUtf8() : std::string();
  library_->Load();
  names_->RemoveAll();
  for (std::size_t i = 0; i < library_->Count(); ++i) AppendNameRow(i);
  int reselect = -1;
  for (std::size_t i = 0; i < library_->Count() && !selectedGuid.empty(); ++i) {
    if (library_->Entries()[i].guid == selectedGuid) reselect = static_cast<int>(i);
  }
  if (reselect >= 0) {
    names_->SelectItem(reselect, false, false);
    return;
  }
  ShowMacro();
}

void CMacroControlUI::AppendNameRow(std::size_t index) {
  const macro::MacroEntry& entry = library_->Entries()[index];
  const int row = names_->AddItem(ui::CDuiString(entry.name), false, ui::CDuiString(entry.guid));
  if (QListWidgetItem* item = names_->item(row)) item->setSizeHint(QSize(0, kNameRowHeight));
}

std::vector<std::string> CMacroControlUI::GetMacroNames() const {
  return library_ ? library_->Names() : std::vector<std::string>{};
}

int CMacroControlUI::MacroCount() const {
  return library_ ? static_cast<int>(library_->Count()) : 0;
}

int CMacroControlUI::GetSelectedMacroIndex() const {
  if (!names_ || names_->GetCount() == 0) return -1;
  const int selected = names_->GetCurSel();
  return selected >= 0 && selected < names_->GetCount() ? selected : -1;
}

void CMacroControlUI::SelectMacro(int index) {
  if (names_ && names_->SelectItem(index, false, false)) ShowMacro();
}

std::string CMacroControlUI::AddMacro() {
  InitMacroEditor();
  if (!library_ || !names_) return {};
  std::string name = library_->Add();
  if (name.empty()) return {};
  AppendNameRow(library_->Count() - 1);
  SelectMacro(names_->GetCount() - 1);
  return name;
}

CMacroControlUI::Renamed CMacroControlUI::RenameMacro() {
  Renamed renamed;
  const int index = GetSelectedMacroIndex();
  if (!library_ || index < 0) {
    renamed.result.outcome = macro::RenameOutcome::kNoSuchMacro;
    return renamed;
  }
  renamed.index = index;
  renamed.result = library_->Rename(index, nameEdit_ ? nameEdit_->GetText().ToUtf8() : std::string());
  if (!renamed.result.renamed()) return renamed;
  renamed.name = library_->Entries()[static_cast<std::size_t>(index)].name;
  names_->SetItemText(index, ui::CDuiString(renamed.name));
  ShowName(index);
  return renamed;
}

int CMacroControlUI::DeleteMacro() {
  const int index = GetSelectedMacroIndex();
  if (!library_ || index < 0) return -1;
  if (library_->Delete(index) < 0) return -1;
  (void)names_->RemoveAt(index);
  names_->ClearSelection();
  if (names_->GetCount() > 0) names_->SelectItem(0, false, false);
  ShowMacro();
  return index;
}

void CMacroControlUI::ShowName(int index) {
  if (!nameEdit_) return;
  const bool listed = library_ && index >= 0 && static_cast<std::size_t>(index) < library_->Count();
  nameEdit_->SetText(listed ? ui::CDuiString(library_->Entries()[static_cast<std::size_t>(index)].name)
                            : ui::CDuiString());
}

void CMacroControlUI::SetShowingControlsEnabled(bool enabled) {
  for (ui::CControlUI* control : showing_) control->SetEnabled(enabled);
}

void CMacroControlUI::ShowMacro() {
  InitMacroEditor();
  if (rows_) rows_->Clear();
  const int index = GetSelectedMacroIndex();
  SetShowingControlsEnabled(index >= 0);
  if (index < 0) {
    ShowName(-1);
    return;
  }
  for (const macro::MacroEvent& event : library_->Events(index)) InsertRow(RowCount(), event);
  ShowName(index);
}

bool CMacroControlUI::SaveMacro() {
  const int index = GetSelectedMacroIndex();
  if (!library_ || !actions_ || index < 0) return false;
  std::vector<macro::MacroEvent> events;
  events.reserve(std::size_t(RowCount()));
  for (int row = 0; row < RowCount(); ++row) {
    std::optional<macro::MacroEvent> event = rows_->Event(row);
    // A row without an event ends the macro: nothing after it can be played in order.
    if (!event) break;
    // The delay typed into a row's edit, held to its range (a row never shown has typed nothing: the
    // editor shows its delay as the delays are shown).
    const std::optional<QString> typed = rows_->TypedDelay(row);
    event->delay = typed ? DelayOfText(*typed) : macro::ShownDelay(event->delay);
    rows_->SetEvent(row, *event);
    events.push_back(*event);
  }
  return library_->Save(index, events);
}

std::string CMacroControlUI::ImportMacro(const std::filesystem::path& path) {
  InitMacroEditor();
  if (!library_ || !names_ || path.empty()) return {};
  std::string name = library_->Import(path);
  if (name.empty()) return {};
  AppendNameRow(library_->Count() - 1);
  SelectMacro(names_->GetCount() - 1);
  return name;
}

bool CMacroControlUI::ExportMacro(const std::filesystem::path& path) const {
  const int index = GetSelectedMacroIndex();
  return library_ && index >= 0 && !path.empty() && library_->Export(index, path);
}

int CMacroControlUI::RowCount() const {
  return actions_ ? actions_->GetCount() : 0;
}

int CMacroControlUI::SelectedRow() const {
  if (!actions_) return -1;
  const int row = actions_->GetCurSel();
  return row >= 0 && row < actions_->GetCount() ? row : -1;
}

void CMacroControlUI::SelectRow(int row) {
  if (!actions_) return;
  if (!actions_->SelectItem(row, false, false)) actions_->ClearSelection();
}

std::vector<macro::MacroEvent> CMacroControlUI::RowEvents() const {
  std::vector<macro::MacroEvent> events;
  for (int row = 0; row < RowCount(); ++row) {
    if (std::optional<macro::MacroEvent> event = rows_->Event(row)) events.push_back(*event);
  }
  return events;
}

ui::CControlUI* CMacroControlUI::RowControl(int row) {
  return rows_ ? rows_->Row(row) : nullptr;
}

void CMacroControlUI::InsertRow(int at, const macro::MacroEvent& event, bool integerDelay) {
  if (rows_) rows_->Insert(at, event, integerDelay);
}

void CMacroControlUI::MoveRow(int from, int to) {
  const std::optional<macro::MacroEvent> event = rows_->Event(from);
  if (!event) return;
  // The step moves with the delay its file has: an edited delay was saved when its edit lost the focus.
  rows_->Remove(from);
  InsertRow(to, *event);
  SelectRow(to);
  if (QListWidgetItem* item = actions_->item(to)) actions_->scrollToItem(item);
  SaveMacro();
}

void CMacroControlUI::MoveRowUp() {
  const int row = SelectedRow();
  if (row > 0) MoveRow(row, row - 1);
}

void CMacroControlUI::MoveRowDown() {
  const int row = SelectedRow();
  if (row >= 0 && row + 1 < RowCount()) MoveRow(row, row + 1);
}

void CMacroControlUI::MoveRowToTop() {
  const int row = SelectedRow();
  if (row > 0) MoveRow(row, 0);
}

void CMacroControlUI::MoveRowToBottom() {
  const int row = SelectedRow();
  if (row >= 0 && row + 1 < RowCount()) MoveRow(row, RowCount() - 1);
}

void CMacroControlUI::DeleteRow() {
  const int row = SelectedRow();
  if (row < 0) return;
  rows_->Remove(row);
  SaveMacro();
}

void CMacroControlUI::DeleteAllRows() {
  if (!actions_) return;
  rows_->Clear();
  actions_->ClearSelection();
  SaveMacro();
}

void CMacroControlUI::InsertMouseAction(std::uint16_t message, int variant) {
  if (InsertMouseActionRow(message, variant)) SaveMacro();
}

bool CMacroControlUI::InsertMouseActionRow(std::uint16_t message, int variant) {
  std::optional<macro::MacroEvent> event;
  const std::span<const macro::MouseActionRow> table = macro::MouseActionTable();
  for (std::size_t i = 0; i < kPlainButtonRows && !event; ++i) {
    if (table[i].message == message) event = macro::MouseButtonEvent(table[i].button, table[i].down, fixedDelay_);
  }
  if ((message == kForwardDown || message == kForwardUp) && (variant == 0 || variant == 1)) {
    event = macro::MouseButtonEvent(variant == 0 ? kForwardButton : kBackButton, message == kForwardDown, fixedDelay_);
  }
  if (message == kMoveMessage && variant >= 0 && variant < static_cast<int>(kMoves.size())) {
    const MoveInsertion& move = kMoves[static_cast<std::size_t>(variant)];
    auto* edit = Find<ui::CEditUI>(move.edit);
    // Distances keep their low 8 bits, as the device reads them.
    const int distance = edit ? edit->GetText().toInt() & 0xFF : 0;
    event = macro::MacroEvent{std::string(move.down ? macro::kActionDown : macro::kActionUp), distance,
                              fixedDelay_, move.type};
  }
  if (!event || !actions_) return false;
  const int selected = std::max(SelectedRow(), 0);
  actions_->ClearSelection();
  InsertRow(RowCount() == 0 ? 0 : selected + 1, *event);
  SelectRow(selected + 1);
  if (QListWidgetItem* item = actions_->item(std::min(selected + 1, RowCount() - 1))) actions_->scrollToItem(item);
  return true;
}

bool CMacroControlUI::InsertMenuAction(std::string_view item) {
  struct MenuInsertion {
    std::string_view button;  // the item's name before "_down", "_up" or "_click"
    std::uint16_t down;
    std::uint16_t up;
    int variant;
  };
  static constexpr std::array<MenuInsertion, 5> kButtons = {{{"left", 0x201, 0x202, 0},
                                                             {"right", 0x204, 0x205, 0},
                                                             {"middle", 0x207, 0x208, 0},
                                                             {"forward", kForwardDown, kForwardUp, 0},
                                                             {"back", kForwardDown, kForwardUp, 1}}};
  const std::size_t split = item.rfind('_');
  if (split == std::string_view::npos) return false;
  const std::string_view button = item.substr(0, split);
  const std::string_view what = item.substr(split + 1);
  for (const MenuInsertion& insertion : kButtons) {
    if (insertion.button != button) continue;
    if (what == "down") {
      InsertMouseAction(insertion.down, insertion.variant);
    } else if (what == "up") {
      InsertMouseAction(insertion.up, insertion.variant);
    } else if (what == "click") {
      // The release goes after the press it belongs to: the press is the selected row by then.
      const bool pressed = InsertMouseActionRow(insertion.down, insertion.variant);
      const bool released = InsertMouseActionRow(insertion.up, insertion.variant);
      if (pressed || released) SaveMacro();
    } else {
      return false;
    }
    return true;
  }
  return false;
}

void CMacroControlUI::ScrollToSelectedRowSoon() {
  // Restarting the timer while rows keep arriving scrolls once, after the last of them.
  StartTimer(kScrollTimer, kScrollDelayMs, ui::TimerMode::kSingleShot);
}

void CMacroControlUI::OnTimer(int timerId) {
  if (timerId != kScrollTimer) {
    CHorizontalLayoutUI::OnTimer(timerId);
    return;
  }
  StopTimer(kScrollTimer);
  const int row = SelectedRow();
  if (QListWidgetItem* item = actions_ && row >= 0 ? actions_->item(row) : nullptr) actions_->scrollToItem(item);
}

}  // namespace norvane::editors
