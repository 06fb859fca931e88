#include "uilib/container.h"

#include <QBoxLayout>

#include "uilib/dialog_builder.h"
#include "uilib/paint_manager.h"
#include "uilib/skin_loader.h"
#include "uilib/window_impl_base.h"

namespace norvane::ui {

CContainerUI::CContainerUI(QWidget* parent) : ControlBase(parent) {
  setFrameShape(QFrame::NoFrame);
}

QList<CControlUI*> CContainerUI::DirectChildren() const {
  QList<CControlUI*> out;
  for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (CControlUI* c = ControlOf(w)) out.append(c);
  }
  return out;
}

bool CContainerUI::Add(CControlUI* control) {
  return AddAt(control, GetCount());
}

bool CContainerUI::AddAt(CControlUI* control, int index) {
  if (!control) return false;
  QWidget* w = control->GetWidget();
  if (!layout()) {
    auto* box = new QBoxLayout(
        orientation_ == Orientation::kVertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
  }
  if (auto* box = qobject_cast<QBoxLayout*>(layout())) {
    box->insertWidget(qBound(0, index, box->count()), w);
  } else {
    layout()->addWidget(w);
  }
  w->show();
  if (CPaintManagerUI* pm = GetManager(); pm && pm->GetDPI() != kDefaultDpi) pm->ApplyScaleTo(w);
  if (GetManager()) CDialogBuilder::InitControls(w);
  return true;
}

bool CContainerUI::Remove(CControlUI* control) {
  if (!control || control->GetWidget()->parentWidget() != this) return false;
  delete control->GetWidget();
  return true;
}

void CContainerUI::RemoveAll() {
  for (CControlUI* c : DirectChildren()) delete c->GetWidget();
}

int CContainerUI::GetCount() const {
  return int(DirectChildren().size());
}

CControlUI* CContainerUI::GetItemAt(int index) const {
  const QList<CControlUI*> children = DirectChildren();
  return index >= 0 && index < children.size() ? children[index] : nullptr;
}

int CContainerUI::GetItemIndex(CControlUI* control) const {
  return int(DirectChildren().indexOf(control));
}

CControlUI* CContainerUI::FindSubControl(const CDuiString& name) {
  return CPaintManagerUI::FindSubControlByName(this, name);
}

CControlUI* CContainerUI::LoadSubSkin(const CDuiString& skinName) {
  IDialogBuilderCallback* callback = detail::CurrentBuilderCallback();
  if (CPaintManagerUI* pm = GetManager()) {
    if (auto* window = dynamic_cast<WindowImplBase*>(&pm->GetWindow())) callback = window;
  }
  return CDialogBuilder::Create(skinName, callback, this);
}

}  // namespace norvane::ui
