// The macro editor while a macro is recorded: the capture's keys and buttons become steps.
#include <QAbstractButton>
#include <QRect>

#include "editors/macro_control.h"
#include "editors/macro_row.h"
#include "editors/macro_rows.h"
#include "editors/redio_macro_button.h"

namespace norvane::editors {

namespace {

namespace message = macro::hook_message;

constexpr std::uint64_t kMaxFixedDelay = 65535;

bool IsLeftButton(const macro::HookMouseEvent& mouse) {
  return mouse.message == message::kLeftDown || mouse.message == message::kLeftUp;
}

}  // namespace

bool CMacroControlUI::IsFixedDelaySelected() const {
  const ui::CControlUI* check = const_cast<CMacroControlUI*>(this)->FindSubControl("macro_check_time");
  const auto* button = check ? qobject_cast<const QAbstractButton*>(check->GetWidget()) : nullptr;
  return button && button->isChecked();
}

void CMacroControlUI::ReadFixedDelay() {
  auto* edit = dynamic_cast<ui::CEditUI*>(FindSubControl("macro_fixed_time_edit"));
  if (!edit) return;
  bool ok = false;
  std::uint64_t value = edit->GetText().trimmed().toULongLong(&ok);
  if (!ok) value = 0;
  if (value == std::uint64_t(fixedDelay_)) return;
  value = std::min(value, kMaxFixedDelay);
  const QString text = QString::number(value);
  edit->SetText(text);
  edit->setCursorPosition(int(text.size()));
  fixedDelay_ = int(value);
}

void CMacroControlUI::SetEditingEnabled(bool on) {
  for (const char* name : {"macro_name_tab", "macro_action_list"}) {
    if (ui::CControlUI* control = FindSubControl(name)) {
      control->GetWidget()->setAttribute(Qt::WA_TransparentForMouseEvents, !on);
    }
  }
  for (const char* name : {"macro_tab_macroaction_edit", "macro_tab_macrodelay_edit"}) {
    if (ui::CControlUI* control = FindSubControl(name)) control->SetEnabled(on);
  }
  if (ui::CControlUI* start = FindSubControl("macro_btn_starredio")) start->SetVisible(on);
  if (ui::CControlUI* stop = FindSubControl("macro_btn_stopredio")) {
    stop->SetVisible(!on);
    if (auto* recording = dynamic_cast<CRedioMacroButtonUI*>(stop)) recording->SetRecording(!on);
  }
}

void CMacroControlUI::BeginRecording(macro::DelayMode mode, std::uint32_t now) {
  if (mode == macro::DelayMode::kFixed) ReadFixedDelay();
  clock_.Begin(mode, now, fixedDelay_);
  // A key or button still down from an earlier recording is no repeat of one of this recording.
  keyFilters_ = {};
  mouseFilters_ = {};
  recording_ = true;
  SetEditingEnabled(false);
}

void CMacroControlUI::EndRecording() {
  recording_ = false;
  SetEditingEnabled(true);
}

void CMacroControlUI::OnHookKey(macro::HookMode mode, const macro::HookKeyEvent& key) {
  switch (mode) {
    case macro::HookMode::kAppend:
      OnKeyAppend(key);
      break;
    case macro::HookMode::kBefore:
      OnKeyBefore(key);
      break;
    case macro::HookMode::kAfter:
      OnKeyAfter(key);
      break;
    case macro::HookMode::kSingle:
      OnKeySingle(key);
      break;
    default:
      break;
  }
}

void CMacroControlUI::OnHookMouse(macro::HookMode mode, const macro::HookMouseEvent& mouse) {
  switch (mode) {
    case macro::HookMode::kAppend:
      OnMouseAppend(mouse);
      break;
    case macro::HookMode::kBefore:
      OnMouseBefore(mouse);
      break;
    case macro::HookMode::kAfter:
      OnMouseAfter(mouse);
      break;
    case macro::HookMode::kSingle:
      OnMouseSingle(mouse);
      break;
    default:
      break;
  }
}

void CMacroControlUI::OnKeyAppend(const macro::HookKeyEvent& key) {
  OnKey(kAppendHandler, key);
}
void CMacroControlUI::OnKeyBefore(const macro::HookKeyEvent& key) {
  OnKey(kBeforeHandler, key);
}
void CMacroControlUI::OnKeyAfter(const macro::HookKeyEvent& key) {
  OnKey(kAfterHandler, key);
}
void CMacroControlUI::OnKeySingle(const macro::HookKeyEvent& key) {
  OnKey(kSingleHandler, key);
}
void CMacroControlUI::OnMouseAppend(const macro::HookMouseEvent& mouse) {
  OnMouse(kAppendHandler, mouse);
}
void CMacroControlUI::OnMouseBefore(const macro::HookMouseEvent& mouse) {
  OnMouse(kBeforeHandler, mouse);
}
void CMacroControlUI::OnMouseAfter(const macro::HookMouseEvent& mouse) {
  OnMouse(kAfterHandler, mouse);
}
void CMacroControlUI::OnMouseSingle(const macro::HookMouseEvent& mouse) {
  OnMouse(kSingleHandler, mouse);
}

void CMacroControlUI::OnKey(Handler handler, const macro::HookKeyEvent& key) {
  if (!keyFilters_[handler].Accept(key)) return;
  const std::optional<macro::MacroEvent> event = macro::EventOfKey(key);
  if (!event) return;
  switch (handler) {
    case kAppendHandler:
      RecordStep(Placement::kAppend, *event, key.time);
      break;
    case kBeforeHandler:
      RecordStep(Placement::kBefore, *event, key.time);
      break;
    case kAfterHandler:
      RecordStep(Placement::kAfter, *event, key.time);
      break;
    default:
      ReRecordSelected(*event);
      break;
  }
}

void CMacroControlUI::OnMouse(Handler handler, const macro::HookMouseEvent& mouse) {
  if (!mouseFilters_[handler].Accept(mouse.message)) return;
  // The click that stops the recording is no step of it.
  if (IsLeftButton(mouse) && IsOnStopButton(mouse)) return;
  const std::optional<macro::MacroEvent> event = macro::EventOfMouse(mouse);
  if (!event) return;
  switch (handler) {
    case kAppendHandler:
      RecordStep(Placement::kAppend, *event, mouse.time);
      break;
    case kBeforeHandler:
      RecordStep(Placement::kBefore, *event, mouse.time);
      break;
    case kAfterHandler:
      RecordStep(Placement::kAfter, *event, mouse.time);
      break;
    default:
      ReRecordSelected(*event);
      break;
  }
}

bool CMacroControlUI::IsOnStopButton(const macro::HookMouseEvent& mouse) const {
  const ui::CControlUI* stop = const_cast<CMacroControlUI*>(this)->FindSubControl("macro_btn_stopredio");
  if (!stop || !stop->IsVisible()) return false;
  const QWidget* button = stop->GetWidget();
  // Both in the window system's logical pixels: the capture converts what it reports in physical ones.
  return QRect(button->mapToGlobal(QPoint(0, 0)), button->size()).contains(mouse.x, mouse.y);
}

void CMacroControlUI::RecordStep(Placement where, macro::MacroEvent event, std::uint32_t time) {
  if (!actions_) return;
  const int count = RowCount();
  if (count >= macro::kMaxRecordedRows) return;
  const int selected = SelectedRow();
  if (where != Placement::kAppend && selected < 0) return;
  int at = count;
  if (where == Placement::kBefore) at = selected;
  if (where == Placement::kAfter) at = selected + 1;
  const std::uint32_t delay = clock_.Next(time);
  // The first step of a list has no step before it to time it; its own pause is only known at the next
  // event, so every new step starts at 0 unless the delays are fixed.
  const bool first = (where == Placement::kAppend && count == 0) || (where == Placement::kBefore && selected == 0);
  event.delay = !first && clock_.Mode() == macro::DelayMode::kFixed ? delay : 0;
  InsertRow(at, event, first);
  if (hasPrevious_ && count > 0) {
    int previous = at - 1;  // append: the old last step; after: the selected one
    if (where == Placement::kBefore) previous = selected - 1;
    // Before the first step there is none to time.
    if (previous >= 0) SetRowDelay(previous, delay);
  }
  hasPrevious_ = true;
  // Before: the step that was selected (one further down now) stays selected, so the next event goes
  // between the new one and it. After: the new step, so the next event follows it.
  SelectRow(where == Placement::kAppend ? at : selected + 1);
  ScrollToSelectedRowSoon();
}

void CMacroControlUI::SetRowDelay(int row, std::uint32_t delay) {
  std::optional<macro::MacroEvent> event = rows_->Event(row);
  if (!event) return;
  event->delay = delay;
  rows_->SetEvent(row, *event);
}

void CMacroControlUI::ReRecordSelected(const macro::MacroEvent& taken) {
  const int selected = SelectedRow();
  std::optional<macro::MacroEvent> event = selected >= 0 ? rows_->Event(selected) : std::nullopt;
  if (!event) return;
  // The step shows its new key or button with its own direction and delay.
  event->button = taken.button;
  event->type = taken.type;
  rows_->SetEvent(selected, *event);
}

}  // namespace norvane::editors
