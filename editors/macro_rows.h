#pragma once
// The steps of the macro editor's step list ("macro_action_list"). Each list item keeps its step's event;
// the row control that shows it (a CMacroRowUI, with its labels and delay edit) is built when the row comes
// into view or is asked for. A recording may hold 4,000 steps: building them all would take seconds, a
// screenful of them a few milliseconds.
//
// A built row's user data is the event as styled JSON text and its delay edit holds the delay being typed
// until the macro is saved; a row not built yet has typed nothing, and its delay is its event's.

#include <QObject>
#include <QPointer>
#include <optional>
#include <string>

#include "editors/macro_row.h"
#include "macro/macro_event.h"
#include "uilib/list.h"

namespace norvane::editors {

class MacroRows final : public QObject {
 public:
  explicit MacroRows(ui::CListUI* list);

  int Count() const;
  // A new step at row `at` (clamped). With integerDelay the step's JSON holds its delay as a number.
  void Insert(int at, const macro::MacroEvent& event, bool integerDelay = false);
  void Remove(int row);
  void Clear();

  // The step's event as its JSON holds it; none outside the list.
  std::optional<macro::MacroEvent> Event(int row) const;
  // The step's JSON text, as a built row keeps it in its user data.
  std::string Text(int row) const;
  // Gives the step another event; a built row shows it (its delay edit the event's delay).
  void SetEvent(int row, const macro::MacroEvent& event, bool integerDelay = false);
  // What the step's delay edit holds; none when the row is not built.
  std::optional<QString> TypedDelay(int row) const;

  // The row control of a step, built when it is not yet; null outside the list.
  CMacroRowUI* Row(int row);
  // Builds the rows in view (after a scroll, a resize, or once new steps are laid out).
  void BuildVisibleRows();
  // Builds the rows in view once the list has laid its items out.
  void BuildVisibleRowsSoon();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  CMacroRowUI* Built(int row) const;
  int RowHeight() const;

  QPointer<ui::CListUI> list_;
  bool buildPosted_ = false;
};

}  // namespace norvane::editors
