#include "uilib/option.h"

#include <QButtonGroup>
#include <QCheckBox>

#include "uilib/paint_manager.h"

namespace norvane::ui {

QAbstractButton* COptionUI::Button() {
  return static_cast<QAbstractButton*>(GetWidget());
}
const QAbstractButton* COptionUI::Button() const {
  return static_cast<const QAbstractButton*>(GetWidget());
}

void COptionUI::ConnectOption() {
  QAbstractButton* b = Button();
  b->setCheckable(true);
  b->setCursor(Qt::PointingHandCursor);
  if (auto* push = qobject_cast<QPushButton*>(b)) push->setAutoDefault(false);
  // toggled covers every state change (user, group partner, code); the user's click comes separately so that
  // its notifications keep their order: "click", then the state changes.
  QObject::connect(b, &QAbstractButton::toggled, b, [this](bool on) {
    if (on) UnselectGroupMates(true);
    SendNotify(DUI_MSGTYPE_SELECTCHANGED, on ? 1 : 0);
  });
  QObject::connect(b, &QAbstractButton::clicked, b, [this](bool) { OnUserClicked(); });
}

void COptionUI::OnUserClicked() {
  QAbstractButton* b = Button();
  SendNotify(DUI_MSGTYPE_CLICK);
  if (qobject_cast<QCheckBox*>(b)) SendNotify(DUI_MSGTYPE_CHECKCLICK, b->isChecked() ? 1 : 0);
}

bool COptionUI::IsSelected() const {
  return Button()->isChecked();
}

void COptionUI::Selected(bool selected, bool triggerEvent) {
  QAbstractButton* b = Button();
  if (b->isChecked() == selected) return;
  CPaintManagerUI* pm = triggerEvent ? nullptr : GetManager();
  CPaintManagerUI::NotifySuppressor quiet(pm);
  QButtonGroup* qtGroup = b->group();
  const bool wasExclusive = qtGroup && qtGroup->exclusive();
  if (wasExclusive && !selected) qtGroup->setExclusive(false);  // Qt refuses to clear an exclusive member
  b->setChecked(selected);
  if (wasExclusive && !selected) qtGroup->setExclusive(true);
}

CDuiString COptionUI::GetGroup() const {
  const QString group = GetWidget()->property("group").toString();
  if (!group.isEmpty()) return group;
  if (const QButtonGroup* g = Button()->group())
    return g->objectName().isEmpty() ? QStringLiteral("#qtgroup") : g->objectName();
  return {};
}

void COptionUI::SetGroup(const CDuiString& group) {
  GetWidget()->setProperty("group", QString(group));
}

QWidget* OptionScope(QWidget* widget) {
  for (QWidget* w = widget ? widget->parentWidget() : nullptr; w; w = w->parentWidget()) {
    if (w->property(kOptionScopeProperty).toBool()) return w;
    if (w->isWindow()) return w;
  }
  return widget ? widget->window() : nullptr;
}

void COptionUI::UnselectGroupMates(bool) {
  const QString group = GetWidget()->property("group").toString();
  if (group.isEmpty()) return;  // no group, or a Qt button group that keeps itself exclusive
  QWidget* scope = OptionScope(GetWidget());
  for (QAbstractButton* other : scope->findChildren<QAbstractButton*>()) {
    if (other == Button() || !other->isChecked()) continue;
    auto* option = dynamic_cast<COptionUI*>(other);
    if (option && option->GetWidget()->property("group").toString() == group) other->setChecked(false);
  }
}

void COptionUI::SetSelectedBkColor(DWORD argb) {
  selectedBkColor_ = argb;
  ApplyStyle();
}

QString COptionUI::ExtraStyle(const QString& selector) const {
  if (selectedBkColor_ == 0) return {};
  return QStringLiteral("%1:checked{background-color:%2;}").arg(selector, CssColor(selectedBkColor_));
}

COptionButtonUI::COptionButtonUI(QWidget* parent) : ControlBase(parent) {
  ConnectOption();
}
CRadioOptionUI::CRadioOptionUI(QWidget* parent) : ControlBase(parent) {
  ConnectOption();
  setAutoExclusive(false);  // exclusivity follows the skin's group, not the parent widget
}
CCheckBoxUI::CCheckBoxUI(QWidget* parent) : ControlBase(parent) {
  ConnectOption();
}

}  // namespace norvane::ui
