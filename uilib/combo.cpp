#include "uilib/combo.h"

#include <QListView>
#include <QStandardItemModel>

#include "uilib/item_roles.h"
#include "uilib/paint_manager.h"
#include "uilib/resource_manager.h"

namespace norvane::ui {

using detail::kTextIdRole;
using detail::kUserDataRole;

CComboUI::CComboUI(QWidget* parent) : ControlBase(parent) {
  setCursor(Qt::PointingHandCursor);
  // Qt reports the index change first and the user's activation after it; a change from code has no
  // activation. Only an activation that changed the index is an "itemselect".
  QObject::connect(this, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
    previousIndex_ = currentIndex_;
    currentIndex_ = index;
    changed_ = true;
  });
  QObject::connect(this, qOverload<int>(&QComboBox::activated), this, [this](int index) {
    const bool changed = changed_;
    changed_ = false;
    if (changed && index == currentIndex_)
      SendNotify(DUI_MSGTYPE_ITEMSELECT, WPARAM(index), LPARAM(previousIndex_));
  });
}

bool CComboUI::SelectItem(int index, bool takeFocus, bool triggerEvent) {
  if (index < 0 || index >= count()) return false;
  const int old = currentIndex();
  setCurrentIndex(index);
  changed_ = false;
  if (takeFocus) setFocus(Qt::OtherFocusReason);
  if (triggerEvent && index != old) SendNotify(DUI_MSGTYPE_ITEMSELECT, WPARAM(index), LPARAM(old));
  return true;
}

void CComboUI::ClearSelection() {
  setCurrentIndex(-1);
  changed_ = false;
}

int CComboUI::FindItemByUserData(const CDuiString& userData) const {
  for (int i = 0; i < count(); ++i) {
    if (itemData(i, kUserDataRole).toString() == QString(userData)) return i;
  }
  return -1;
}

void CComboUI::SetItemUserData(int index, const CDuiString& userData) {
  if (index >= 0 && index < count()) setItemData(index, QString(userData), kUserDataRole);
}

void CComboUI::SetItemVisible(int index, bool visible) {
  if (index < 0 || index >= count()) return;
  if (auto* list = qobject_cast<QListView*>(view())) list->setRowHidden(index, !visible);
  // A hidden row must not be reachable by the keyboard or the wheel either.
  if (auto* items = qobject_cast<QStandardItemModel*>(model())) {
    if (QStandardItem* item = items->item(index)) item->setEnabled(visible);
  }
}

bool CComboUI::IsItemVisible(int index) const {
  if (index < 0 || index >= count()) return false;
  if (auto* items = qobject_cast<QStandardItemModel*>(model())) {
    if (QStandardItem* item = items->item(index)) return item->isEnabled();
  }
  return true;
}

int CComboUI::AddItem(const CDuiString& text, bool isTextId, const CDuiString& userData) {
  QString shown = text;
  if (isTextId) {
    if (auto resolved = CResourceManager::GetInstance().GetText(text)) shown = *resolved;
  }
  addItem(shown);
  const int index = count() - 1;
  if (isTextId) setItemData(index, QString(text), kTextIdRole);
  if (!userData.isEmpty()) setItemData(index, QString(userData), kUserDataRole);
  return index;
}

bool CComboUI::RemoveAt(int index) {
  if (index < 0 || index >= count()) return false;
  removeItem(index);
  changed_ = false;
  return true;
}

void CComboUI::RemoveAll() {
  clear();
  changed_ = false;
}

CDuiString CComboUI::GetItemText(int index) const {
  return itemText(index);
}
CDuiString CComboUI::GetItemUserData(int index) const {
  return itemData(index, kUserDataRole).toString();
}

void CComboUI::SetText(const CDuiString& text) {
  if (isEditable())
    setEditText(text);
  else if (const int index = findText(text); index >= 0)
    SelectItem(index, false, false);
}

void CComboUI::ReloadItemTexts() {
  for (int i = 0; i < count(); ++i) {
    const QString id = itemData(i, kTextIdRole).toString();
    if (id.isEmpty()) continue;
    if (auto text = CResourceManager::GetInstance().GetText(id)) setItemText(i, *text);
  }
}

}  // namespace norvane::ui
