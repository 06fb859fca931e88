#include "uilib/list.h"

#include <QEvent>
#include <algorithm>

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
  return InsertControl(count(), control);
}

int CListUI::InsertControl(int index, CControlUI* control) {
  if (!control) return -1;
  const int at = std::clamp(index, 0, count());
  auto* item = new QListWidgetItem;
  item->setSizeHint(control->GetWidget()->sizeHint());
  {
    // Rows after the insertion move; the selection notification is the caller's to raise.
    QSignalBlocker quiet(this);
    insertItem(at, item);
    lastIndex_ = currentRow();
  }
  setItemWidget(item, control->GetWidget());
  if (control->GetManager()) CDialogBuilder::InitControls(control->GetWidget());
  return at;
}

int CListUI::InsertEmptyItem(int index) {
  const int at = std::clamp(index, 0, count());
  QSignalBlocker quiet(this);
  insertItem(at, new QListWidgetItem);
  lastIndex_ = currentRow();
  return at;
}

void CListUI::ClearSelection() {
  QSignalBlocker quiet(this);
  setCurrentRow(-1);
  clearSelection();
  lastIndex_ = -1;
}

void CListUI::SetItemText(int index, const CDuiString& text) {
  if (QListWidgetItem* it = item(index)) {
    it->setText(text);
    it->setData(kTextIdRole, QVariant());
  }
}

void CListUI::SetItemUserData(int index, const CDuiString& data) {
  if (QListWidgetItem* it = item(index)) it->setData(kUserDataRole, QString(data));
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
