#include "editors/combo_edit_element.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QStyle>


namespace norvane::editors {

namespace {

constexpr const char* kHotProperty = "hot";

bool IsIgnoredImage(const ui::CDuiString& name) {
  return name == "normalimage" || name == "hotimage" || name == "selectedimage";
}

}  // namespace

CComboEditContainerElementUI::CComboEditContainerElementUI() {
  setFocusPolicy(Qt::StrongFocus);
}

void CComboEditContainerElementUI::DoInit() {
  if (built_) return;
  built_ = true;
  RemoveAll();
  if (!LoadSubSkin(kSkin)) return;
  text1_ = dynamic_cast<ui::CLabelUI*>(FindSubControl("text1"));
  text2_ = dynamic_cast<ui::CLabelUI*>(FindSubControl("text2"));
  delay_ = dynamic_cast<ui::CEditUI*>(FindSubControl("delay_edit"));
  if (delay_) {
    QObject::connect(delay_.data(), &QLineEdit::returnPressed, this, [this] {
      lastNote_ = ui::DUI_MSGTYPE_RETURN;
      // The edit leaves the key to its parent next: that Enter was the edit's, not the row's.
      editReturned_ = true;
      // Enter ends the typing: the edit gives up the focus, and its "killfocus" takes the delay.
      SetFocus();
    });
  }
  if (ui::CListUI* list = OwnerList()) {
    QObject::connect(list, &QListWidget::currentRowChanged, this,
                     [this] { lastNote_ = ui::DUI_MSGTYPE_SELECTCHANGED; });
  }
}

void CComboEditContainerElementUI::SetAttribute(const ui::CDuiString& name, const ui::CDuiString& value) {
  if (IsIgnoredImage(name)) return;
  if (name == "contextmenu") contextMenu_ = value == "true" || value == "1";
  CHorizontalLayoutUI::SetAttribute(name, value);
}

ui::CListUI* CComboEditContainerElementUI::OwnerList() const {
  // A list shows its rows in its viewport: the row's parent is the viewport, the list the one above.
  for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
    if (auto* list = dynamic_cast<ui::CListUI*>(w)) return list;
  }
  return nullptr;
}

int CComboEditContainerElementUI::Index() const {
  ui::CListUI* list = OwnerList();
  for (int i = 0; list && i < list->GetCount(); ++i) {
    if (list->GetItemControl(i) == this) return i;
  }
  return -1;
}

bool CComboEditContainerElementUI::IsSelected() const {
  ui::CListUI* list = OwnerList();
  return list && Index() >= 0 && list->GetCurSel() == Index();
}

void CComboEditContainerElementUI::Select(bool toggle) {
  ui::CListUI* list = OwnerList();
  const int index = Index();
  if (!list || index < 0) return;
  if (toggle && IsSelected()) {
    list->ClearSelection();
    return;
  }
  // A selection by the user: the list raises its "itemselect".
  list->SelectItem(index, false, true);
}

void CComboEditContainerElementUI::Activate() {
  if (!isEnabled()) return;
  Select();
  SendNotify(ui::DUI_MSGTYPE_ITEMACTIVATE);
}

void CComboEditContainerElementUI::SetHot(bool hot) {
  if (hot_ == hot) return;
  hot_ = hot;
  setProperty(kHotProperty, hot);
  // The style sheet may draw a hot row differently.
  style()->unpolish(this);
  style()->polish(this);
}

bool CComboEditContainerElementUI::HandlePointer(QEvent* e) {
  switch (e->type()) {
    case QEvent::MouseButtonPress:
      if (isEnabled()) Select((static_cast<QMouseEvent*>(e)->modifiers() & Qt::ControlModifier) != 0);
      return true;
    case QEvent::MouseButtonRelease:
      if (isEnabled()) SendNotify(ui::DUI_MSGTYPE_ITEMCLICK);
      return true;
    case QEvent::MouseButtonDblClick:
      Activate();
      return true;
    case QEvent::ContextMenu:
      if (contextMenu_) {
        const QPoint p = static_cast<QContextMenuEvent*>(e)->globalPos();
        SendNotify(ui::DUI_MSGTYPE_MENU, ui::WPARAM(p.x()), ui::LPARAM(p.y()));
        return true;
      }
      return false;
    default:
      return false;
  }
}

bool CComboEditContainerElementUI::event(QEvent* e) {
  switch (e->type()) {
    case QEvent::Enter:
      SetHot(true);
      break;
    case QEvent::Leave:
      SetHot(false);
      break;
    case QEvent::KeyPress: {
      const int key = static_cast<QKeyEvent*>(e)->key();
      const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
      if (enter && editReturned_) {
        editReturned_ = false;
        e->accept();
        return true;
      }
      if (enter && isEnabled()) {
        Activate();
        SendNotify(ui::DUI_MSGTYPE_RETURN);
        e->accept();
        return true;
      }
      break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu:
      // With its mouse input off the row leaves pointer events to the list around it.
      if (mouseEnabled_ && HandlePointer(e)) {
        e->accept();
        return true;
      }
      e->ignore();
      return false;
    default:
      break;
  }
  return CHorizontalLayoutUI::event(e);
}

}  // namespace norvane::editors
