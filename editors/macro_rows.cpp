#include "editors/macro_rows.h"

#include <QEvent>
#include <QScrollBar>
#include <QTimer>

#include "uilib/dialog_builder.h"
#include "uilib/paint_manager.h"

namespace norvane::editors {

namespace {

// Where an item keeps its step.
constexpr int kActionRole = Qt::UserRole + 20;
constexpr int kButtonRole = Qt::UserRole + 21;
constexpr int kDelayRole = Qt::UserRole + 22;
constexpr int kTypeRole = Qt::UserRole + 23;
constexpr int kIntegerDelayRole = Qt::UserRole + 24;

constexpr int kRowHeight = 30;

}  // namespace

MacroRows::MacroRows(ui::CListUI* list) : list_(list) {
  if (!list_) return;
  QObject::connect(list_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { BuildVisibleRows(); });
  list_->viewport()->installEventFilter(this);
}

int MacroRows::Count() const {
  return list_ ? list_->GetCount() : 0;
}

int MacroRows::RowHeight() const {
  const ui::CPaintManagerUI* manager = list_ ? list_->GetManager() : nullptr;
  return manager ? manager->Scale(kRowHeight) : kRowHeight;
}

void MacroRows::Insert(int at, const macro::MacroEvent& event, bool integerDelay) {
  if (!list_) return;
  const int row = list_->InsertEmptyItem(at);
  QListWidgetItem* item = list_->item(row);
  item->setSizeHint(QSize(0, RowHeight()));
  item->setData(kActionRole, QString::fromStdString(event.action));
  item->setData(kButtonRole, event.button);
  item->setData(kDelayRole, qlonglong(event.delay));
  item->setData(kTypeRole, event.type);
  item->setData(kIntegerDelayRole, integerDelay);
  BuildVisibleRowsSoon();
}

void MacroRows::Remove(int row) {
  if (list_) (void)list_->RemoveAt(row);
  BuildVisibleRowsSoon();
}

void MacroRows::Clear() {
  if (list_) list_->RemoveAll();
}

std::optional<macro::MacroEvent> MacroRows::Event(int row) const {
  const QListWidgetItem* item = list_ ? list_->item(row) : nullptr;
  if (!item) return std::nullopt;
  return macro::MacroEvent{item->data(kActionRole).toString().toStdString(), item->data(kButtonRole).toInt(),
                           item->data(kDelayRole).toLongLong(), item->data(kTypeRole).toInt()};
}

std::string MacroRows::Text(int row) const {
  const std::optional<macro::MacroEvent> event = Event(row);
  if (!event) return {};
  return MacroEventText(*event, list_->item(row)->data(kIntegerDelayRole).toBool());
}

CMacroRowUI* MacroRows::Built(int row) const {
  QListWidgetItem* item = list_ ? list_->item(row) : nullptr;
  return item ? dynamic_cast<CMacroRowUI*>(ui::ControlOf(list_->itemWidget(item))) : nullptr;
}

void MacroRows::SetEvent(int row, const macro::MacroEvent& event, bool integerDelay) {
  QListWidgetItem* item = list_ ? list_->item(row) : nullptr;
  if (!item) return;
  const std::optional<macro::MacroEvent> before = Event(row);
  item->setData(kActionRole, QString::fromStdString(event.action));
  item->setData(kButtonRole, event.button);
  item->setData(kDelayRole, qlonglong(event.delay));
  item->setData(kTypeRole, event.type);
  item->setData(kIntegerDelayRole, integerDelay);
  CMacroRowUI* built = Built(row);
  if (!built) return;
  if (before && before->action == event.action && before->button == event.button && before->type == event.type) {
    // Only the delay changed: the labels stay, the edit shows it.
    built->SetUserData(ui::CDuiString(MacroEventText(event, integerDelay)));
    if (ui::CEditUI* delay = DelayEditOf(built)) delay->SetText(QString::number(macro::ShownDelay(event.delay)));
    return;
  }
  // Another key or button: a new row shows it.
  list_->removeItemWidget(item);
  (void)Row(row);
}

std::optional<QString> MacroRows::TypedDelay(int row) const {
  CMacroRowUI* built = Built(row);
  ui::CEditUI* delay = built ? DelayEditOf(built) : nullptr;
  if (!delay) return std::nullopt;
  return delay->GetText();
}

CMacroRowUI* MacroRows::Row(int row) {
  if (CMacroRowUI* built = Built(row)) return built;
  QListWidgetItem* item = list_ ? list_->item(row) : nullptr;
  const std::optional<macro::MacroEvent> event = Event(row);
  if (!item || !event) return nullptr;
  std::unique_ptr<CMacroRowUI> made = MakeMacroRow(*event, item->data(kIntegerDelayRole).toBool());
  CMacroRowUI* shown = made.get();
  // The list owns the row from here (Qt's parent).
  list_->setItemWidget(item, made.release()->GetWidget());
  if (ui::CPaintManagerUI* manager = list_->GetManager()) {
    if (manager->GetDPI() != ui::kDefaultDpi) manager->ApplyScaleTo(shown->GetWidget());
    ui::CDialogBuilder::InitControls(shown->GetWidget());
  }
  return shown;
}

void MacroRows::BuildVisibleRows() {
  buildPosted_ = false;
  if (!list_ || list_->GetCount() == 0 || !list_->isVisible()) return;
  list_->doItemsLayout();
  const QRect view = list_->viewport()->rect();
  int first = list_->indexAt(view.topLeft()).row();
  int last = list_->indexAt(QPoint(view.left(), view.bottom())).row();
  if (first < 0) first = 0;
  if (last < 0) last = list_->GetCount() - 1;
  for (int row = first; row <= last; ++row) (void)Row(row);
}

void MacroRows::BuildVisibleRowsSoon() {
  if (buildPosted_ || !list_) return;
  buildPosted_ = true;
  // Once every step of this turn is in: one pass over the rows in view.
  QTimer::singleShot(0, this, [this] { BuildVisibleRows(); });
}

bool MacroRows::eventFilter(QObject* watched, QEvent* event) {
  if (list_ && watched == list_->viewport() && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
    BuildVisibleRowsSoon();
  return false;
}

}  // namespace norvane::editors
