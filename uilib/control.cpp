#include "uilib/control.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QMetaProperty>
#include <QTimer>
#include <QWidget>
#include <atomic>

#include "uilib/paint_manager.h"
#include "uilib/resource_manager.h"
#include "uilib/window_host.h"

namespace norvane::ui {

namespace {
constexpr const char* kTextIdProperty = "textid";
constexpr const char* kUserDataProperty = "userdata";
constexpr const char* kClassProperty = "uiclass";
constexpr const char* kStyleIdProperty = "nvstyleid";
constexpr const char* kPlainTextProperty = "uitext";

bool HasTextProperty(const QWidget* w) {
  const int index = w->metaObject()->indexOfProperty("text");
  return index >= 0 && w->metaObject()->property(index).isWritable();
}
}  // namespace

CControlUI* ControlOf(QWidget* widget) {
  return dynamic_cast<CControlUI*>(widget);
}
const CControlUI* ControlOf(const QWidget* widget) {
  return dynamic_cast<const CControlUI*>(widget);
}

CDuiString CControlUI::GetClass() const {
  const QVariant cls = GetWidget()->property(kClassProperty);
  return cls.isValid() ? cls.toString() : QString::fromLatin1(GetWidget()->metaObject()->className());
}

CDuiString CControlUI::GetName() const {
  return GetWidget()->objectName();
}
void CControlUI::SetName(const CDuiString& name) {
  GetWidget()->setObjectName(name);
}

CDuiString CControlUI::GetText() const {
  const QWidget* w = GetWidget();
  return HasTextProperty(w) ? w->property("text").toString() : w->property(kPlainTextProperty).toString();
}

namespace {
void ShowText(QWidget* w, const QString& text) {
  if (HasTextProperty(w))
    w->setProperty("text", text);
  else
    w->setProperty(kPlainTextProperty, text);
}
}  // namespace

void CControlUI::SetText(const CDuiString& text) {
  if (resourceText_) {
    SetTextId(text);
    return;
  }
  GetWidget()->setProperty(kTextIdProperty, QVariant());
  ShowText(GetWidget(), text);
}

void CControlUI::SetTextId(const CDuiString& id) {
  QWidget* w = GetWidget();
  w->setProperty(kTextIdProperty, QString(id));
  // An unknown id leaves the control's text as it was (the resource manager reports the id).
  if (const std::optional<CDuiString> resolved = CResourceManager::GetInstance().GetText(id))
    ShowText(w, *resolved);
}

void CControlUI::SetResourceText(bool isTextId) {
  resourceText_ = isTextId;
}

CDuiString CControlUI::GetTextId() const {
  return GetWidget()->property(kTextIdProperty).toString();
}

void CControlUI::SetToolTip(const CDuiString& text) {
  GetWidget()->setToolTip(text);
}

CDuiString CControlUI::GetUserData() const {
  return GetWidget()->property(kUserDataProperty).toString();
}
void CControlUI::SetUserData(const CDuiString& data) {
  GetWidget()->setProperty(kUserDataProperty, QString(data));
}

bool CControlUI::IsVisible() const {
  return !GetWidget()->isHidden();
}
void CControlUI::SetVisible(bool visible) {
  GetWidget()->setVisible(visible);
}
bool CControlUI::IsEnabled() const {
  return GetWidget()->isEnabled();
}
void CControlUI::SetEnabled(bool enabled) {
  GetWidget()->setEnabled(enabled);
}
void CControlUI::SetFocus() {
  GetWidget()->setFocus(Qt::OtherFocusReason);
}

void CControlUI::SetBkColor(DWORD argb) {
  bkColor_ = argb;
  ApplyStyle();
}

void CControlUI::SetBkImage(const CDuiString& image) {
  bkImage_ = image;
  ApplyStyle();
}

void CControlUI::SetTextColor(DWORD argb) {
  textColor_ = argb;
  ApplyStyle();
}

void CControlUI::SetBorderColor(DWORD argb) {
  borderColor_ = argb;
  ApplyStyle();
}

void CControlUI::SetBorderSize(int pixels) {
  borderSize_ = pixels;
  ApplyStyle();
}

namespace {
// Base (unscaled) sizes live in dynamic properties so that a later scale change starts from the skin's
// values; see CPaintManagerUI::ApplyScaleTo.
constexpr const char* kBaseMinProperty = "_nv_base_min";
constexpr const char* kBaseMaxProperty = "_nv_base_max";

double ScaleOf(const CControlUI& c) {
  const CPaintManagerUI* pm = c.GetManager();
  return pm ? pm->GetScale() : 1.0;
}
}  // namespace

void CControlUI::SetFixedWidth(int width) {
  QWidget* w = GetWidget();
  QSize min =
      w->property(kBaseMinProperty).isValid() ? w->property(kBaseMinProperty).toSize() : w->minimumSize();
  QSize max =
      w->property(kBaseMaxProperty).isValid() ? w->property(kBaseMaxProperty).toSize() : w->maximumSize();
  min.setWidth(width > 0 ? width : 0);
  max.setWidth(width > 0 ? width : QWIDGETSIZE_MAX);
  w->setProperty(kBaseMinProperty, min);
  w->setProperty(kBaseMaxProperty, max);
  const double s = ScaleOf(*this);
  w->setMinimumWidth(int(min.width() * s + 0.5));
  w->setMaximumWidth(width > 0 ? int(max.width() * s + 0.5) : QWIDGETSIZE_MAX);
  if (width > 0 && w->parentWidget() && !w->parentWidget()->layout())
    w->resize(int(width * s + 0.5), w->height());
}

void CControlUI::SetFixedHeight(int height) {
  QWidget* w = GetWidget();
  QSize min =
      w->property(kBaseMinProperty).isValid() ? w->property(kBaseMinProperty).toSize() : w->minimumSize();
  QSize max =
      w->property(kBaseMaxProperty).isValid() ? w->property(kBaseMaxProperty).toSize() : w->maximumSize();
  min.setHeight(height > 0 ? height : 0);
  max.setHeight(height > 0 ? height : QWIDGETSIZE_MAX);
  w->setProperty(kBaseMinProperty, min);
  w->setProperty(kBaseMaxProperty, max);
  const double s = ScaleOf(*this);
  w->setMinimumHeight(int(min.height() * s + 0.5));
  w->setMaximumHeight(height > 0 ? int(max.height() * s + 0.5) : QWIDGETSIZE_MAX);
  if (height > 0 && w->parentWidget() && !w->parentWidget()->layout())
    w->resize(w->width(), int(height * s + 0.5));
}

int CControlUI::GetFixedWidth() const {
  const QWidget* w = GetWidget();
  const QSize min =
      w->property(kBaseMinProperty).isValid() ? w->property(kBaseMinProperty).toSize() : w->minimumSize();
  const QSize max =
      w->property(kBaseMaxProperty).isValid() ? w->property(kBaseMaxProperty).toSize() : w->maximumSize();
  return min.width() == max.width() ? min.width() : 0;
}

int CControlUI::GetFixedHeight() const {
  const QWidget* w = GetWidget();
  const QSize min =
      w->property(kBaseMinProperty).isValid() ? w->property(kBaseMinProperty).toSize() : w->minimumSize();
  const QSize max =
      w->property(kBaseMaxProperty).isValid() ? w->property(kBaseMaxProperty).toSize() : w->maximumSize();
  return min.height() == max.height() ? min.height() : 0;
}

CPaintManagerUI* CControlUI::GetManager() const {
  auto* host = dynamic_cast<detail::WindowHost*>(GetWidget()->window());
  return host ? host->Manager() : nullptr;
}

CControlUI* CControlUI::GetParent() const {
  for (QWidget* p = GetWidget()->parentWidget(); p; p = p->parentWidget()) {
    if (CControlUI* c = ControlOf(p)) return c;
  }
  return nullptr;
}

void CControlUI::SendNotify(const CDuiString& type, WPARAM wParam, LPARAM lParam) {
  CPaintManagerUI* pm = GetManager();
  if (!pm) return;
  TNotifyUI msg{type, this, wParam, lParam};
  pm->SendNotify(msg);
}

void CControlUI::OnTimer(int timerId) {
  SendNotify(DUI_MSGTYPE_TIMER, WPARAM(timerId));
}

void CControlUI::Invalidate() {
  GetWidget()->update();
}

void CControlUI::StartTimer(int timerId, int elapseMs, TimerMode mode) {
  QPointer<QTimer>& slot = timers_[timerId];
  if (!slot) {
    slot = new QTimer(GetWidget());  // owned by the widget: it goes with the control
    QObject::connect(slot, &QTimer::timeout, GetWidget(), [this, timerId] { OnTimer(timerId); });
  }
  slot->setSingleShot(mode == TimerMode::kSingleShot);
  slot->start(elapseMs < 0 ? 0 : elapseMs);  // start() on a running timer restarts it
}

void CControlUI::StopTimer(int timerId) {
  auto it = timers_.find(timerId);
  if (it != timers_.end() && it->second) it->second->stop();
}

void CControlUI::StopAllTimers() {
  for (auto& [id, timer] : timers_) {
    if (timer) timer->stop();
  }
}

bool CControlUI::IsTimerRunning(int timerId) const {
  auto it = timers_.find(timerId);
  return it != timers_.end() && it->second && it->second->isActive();
}

int CControlUI::TimerInterval(int timerId) const {
  auto it = timers_.find(timerId);
  return it != timers_.end() && it->second && it->second->isActive() ? it->second->interval() : -1;
}

bool CControlUI::MarkInitialised() {
  if (initialised_) return false;
  initialised_ = true;
  return true;
}

QString CControlUI::CssColor(DWORD argb) {
  return QStringLiteral("rgba(%1,%2,%3,%4)")
      .arg((argb >> 16) & 0xFF)
      .arg((argb >> 8) & 0xFF)
      .arg(argb & 0xFF)
      .arg(((argb >> 24) & 0xFF) / 255.0, 0, 'f', 3);
}

DWORD CControlUI::Faded(DWORD argb) {
  const DWORD alpha = (argb >> 24) & 0xFF;
  return ((alpha * 3 / 10) << 24) | (argb & 0x00FFFFFF);
}

QString CControlUI::StyleSelector() const {
  // A property selector matches this widget only, never its children (a plain rule would cascade).
  static std::atomic<int> nextId{1};
  auto* w = const_cast<QWidget*>(GetWidget());
  if (!w->property(kStyleIdProperty).isValid()) w->setProperty(kStyleIdProperty, nextId++);
  return QStringLiteral("*[%1=\"%2\"]").arg(kStyleIdProperty).arg(w->property(kStyleIdProperty).toInt());
}

QString CControlUI::ExtraStyle(const QString&) const {
  return {};
}

void CControlUI::ApplyStyle() {
  const QString sel = StyleSelector();
  QString rules;
  if (bkColor_ != 0) rules += QStringLiteral("background-color:%1;").arg(CssColor(bkColor_));
  if (textColor_ != 0) rules += QStringLiteral("color:%1;").arg(CssColor(textColor_));
  if (!bkImage_.isEmpty()) {
    const QString path = CResourceManager::GetInstance().ResolveResource(bkImage_);
    rules += QStringLiteral("border-image:url(\"%1\") 0 0 0 0 stretch stretch;").arg(path);
  }
  if (borderSize_ >= 0) {
    rules += QStringLiteral("border:%1px solid %2;")
                 .arg(borderSize_)
                 .arg(borderColor_ ? CssColor(borderColor_) : "transparent");
  }
  QString sheet = rules.isEmpty() ? QString() : QStringLiteral("%1{%2}").arg(sel, rules);
  // A control's own colour (a colour swatch's) stays what it says when the control is disabled, so the
  // theme cannot grey it: it is shown faded instead, or a colour that cannot be chosen would look choosable.
  if (bkColor_ != 0)
    sheet += QStringLiteral("%1:disabled{background-color:%2;}").arg(sel, CssColor(Faded(bkColor_)));
  sheet += ExtraStyle(sel);
  QWidget* w = GetWidget();
  if (sheet != w->styleSheet()) w->setStyleSheet(sheet);
}

void CControlUI::HandleCommonEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::FocusIn:
      SendNotify(DUI_MSGTYPE_SETFOCUS);
      break;
    case QEvent::FocusOut:
      // A combo's own pop-up takes the focus for a moment; that is not the user leaving the control.
      if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        SendNotify(DUI_MSGTYPE_KILLFOCUS);
      break;
    case QEvent::Enter:
      SendNotify(DUI_MSGTYPE_MOUSEENTER);
      break;
    case QEvent::Leave:
      SendNotify(DUI_MSGTYPE_MOUSELEAVE);
      break;
    case QEvent::MouseButtonDblClick:
      if (GetWidget()->isEnabled()) SendNotify(DUI_MSGTYPE_DBCLICK);
      break;
    case QEvent::ContextMenu: {
      const QPoint p = static_cast<QContextMenuEvent*>(event)->globalPos();
      SendNotify(DUI_MSGTYPE_MENU, WPARAM(p.x()), LPARAM(p.y()));
      break;
    }
    default:
      break;
  }
}

}  // namespace norvane::ui
