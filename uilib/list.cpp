#include "uilib/list.h"

#include <QEvent>

#include "uilib/dialog_builder.h"
#include "uilib/item_roles.h"
#include "uilib/resource_manager.h"

namespace norvane::ui {

using detail::kTextIdRole;
using detail::kUserDataRole;

CListUI::CListUI(QWidget* parent) : ControlBase(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  QObject::connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
    const int old = lastIndex_;
    lastIndex_ = row;
    if (row != old && row >= 0) SendNotify(DUI_MSGTYPE_ITEMSELECT, WPARAM(row), LPARAM(old));
  });
  QObject::connect(this, &QListWidget::itemClicked, this,
                   [this](QListWidgetItem* item) { SendNotify(DUI_MSGTYPE_ITEMCLICK, WPARAM(row(item))); });
  QObject::connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    SendNotify(DUI_MSGTYPE_ITEMACTIVATE, WPARAM(row(item)));
  });
}

bool CListUI::event(QEvent* e) {
  // Row heights come from the style sheet; rows added before the list was styled are measured again.
  if (e->type() == QEvent::Polish || e->type() == QEvent::StyleChange) scheduleDelayedItemsLayout();
  return ControlBase::event(e);
}

bool CListUI::SelectItem(int index, bool takeFocus, bool triggerEvent) {
  if (index < 0 || index >= count()) return false;
  if (triggerEvent) {
    setCurrentRow(index);
  } else {
    QSignalBlocker quiet(this);
    setCurrentRow(index);
    lastIndex_ = index;
  }
  if (takeFocus) setFocus(Qt::OtherFocusReason);
  return true;
}

int CListUI::AddItem(const CDuiString& text, bool isTextId, const CDuiString& userData) {
  QString shown = text;
  if (isTextId) {
    if (auto resolved = CResourceManager::GetInstance().GetText(text)) shown = *resolved;
  }
  auto* item = new QListWidgetItem(shown, this);
  if (isTextId) item->setData(kTextIdRole, QString(text));
  if (!userData.isEmpty()) item->setData(kUserDataRole, QString(userData));
  return count() - 1;
}

int CListUI::AddControl(CControlUI* control) {
  if (!control) return -1;
  auto* item = new QListWidgetItem(this);
  item->setSizeHint(control->GetWidget()->sizeHint());
  setItemWidget(item, control->GetWidget());
  if (control->GetManager()) CDialogBuilder::InitControls(control->GetWidget());
  return count() - 1;
}

CControlUI* CListUI::GetItemControl(int index) const {
  QListWidgetItem* it = item(index);
  return it ? ControlOf(itemWidget(it)) : nullptr;
}

CDuiString CListUI::GetItemText(int index) const {
  QListWidgetItem* it = item(index);
  return it ? it->text() : QString();
}

CDuiString CListUI::GetItemUserData(int index) const {
  QListWidgetItem* it = item(index);
  return it ? it->data(kUserDataRole).toString() : QString();
}

bool CListUI::RemoveAt(int index) {
  if (index < 0 || index >= count()) return false;
  QSignalBlocker quiet(this);
  delete takeItem(index);
  lastIndex_ = currentRow();
  return true;
}

void CListUI::RemoveAll() {
  QSignalBlocker quiet(this);
  clear();
  lastIndex_ = -1;
}

void CListUI::ReloadItemTexts() {
  for (int i = 0; i < count(); ++i) {
    QListWidgetItem* it = item(i);
    const QString id = it->data(kTextIdRole).toString();
    if (id.isEmpty()) continue;
    if (auto text = CResourceManager::GetInstance().GetText(id)) it->setText(*text);
  }
}

}  // namespace norvane::ui
