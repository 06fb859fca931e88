#include "uilib/paint_manager.h"

#include <QApplication>
#include <QLayout>
#include <QMetaObject>
#include <QThread>
#include <algorithm>
#include <array>

#include "uilib/window_host.h"

namespace norvane::ui {

namespace {

// Every live window manager, for the process-wide operations (SetAllDPI, ReloadText). UI thread only.
std::vector<CPaintManagerUI*>& Registry() {
  static std::vector<CPaintManagerUI*> managers;
  return managers;
}

bool OnWidgetThread(const QWidget* w) {
  return QThread::currentThread() == w->thread();
}

// Runs fn on the control's thread: at once when already there, else queued (dropped if the control goes).
template <class Fn>
void OnControlThread(CControlUI* control, Fn fn) {
  if (!control) return;
  QWidget* w = control->GetWidget();
  if (OnWidgetThread(w)) {
    fn();
  } else {
    QMetaObject::invokeMethod(w, std::move(fn), Qt::QueuedConnection);
  }
}

constexpr const char* kBaseMinProperty = "_nv_base_min";
constexpr const char* kBaseMaxProperty = "_nv_base_max";
constexpr const char* kBaseMarginsProperty = "_nv_base_margins";
constexpr const char* kBaseSpacingProperty = "_nv_base_spacing";

int Scaled(int v, double s) {
  return v >= QWIDGETSIZE_MAX ? v : int(v * s + 0.5);
}

void ScaleWidget(QWidget* w, double s) {
  if (!w->property(kBaseMinProperty).isValid()) w->setProperty(kBaseMinProperty, w->minimumSize());
  if (!w->property(kBaseMaxProperty).isValid()) w->setProperty(kBaseMaxProperty, w->maximumSize());
  const QSize min = w->property(kBaseMinProperty).toSize();
  const QSize max = w->property(kBaseMaxProperty).toSize();
  w->setMinimumSize(Scaled(min.width(), s), Scaled(min.height(), s));
  w->setMaximumSize(Scaled(max.width(), s), Scaled(max.height(), s));
  {
    // The base is the skin's own font, or the application's font for the widget's class; never an inherited
    // font, which may already be scaled.
    if (!w->property(kBaseFontProperty).isValid()) {
      w->setProperty(kBaseFontProperty, w->testAttribute(Qt::WA_SetFont) ? w->font() : QApplication::font(w));
    }
    QFont f = w->property(kBaseFontProperty).value<QFont>();
    if (f.pixelSize() > 0)
      f.setPixelSize(Scaled(f.pixelSize(), s));
    else if (f.pointSizeF() > 0)
      f.setPointSizeF(f.pointSizeF() * s);
    w->setFont(f);
  }
  if (QLayout* layout = w->layout()) {
    if (!layout->property(kBaseMarginsProperty).isValid()) {
      const QMargins m = layout->contentsMargins();
      layout->setProperty(kBaseMarginsProperty, QVariantList{m.left(), m.top(), m.right(), m.bottom()});
      layout->setProperty(kBaseSpacingProperty, layout->spacing());
    }
    const QVariantList m = layout->property(kBaseMarginsProperty).toList();
    layout->setContentsMargins(Scaled(m[0].toInt(), s), Scaled(m[1].toInt(), s), Scaled(m[2].toInt(), s),
                               Scaled(m[3].toInt(), s));
    const int spacing = layout->property(kBaseSpacingProperty).toInt();
    if (spacing >= 0) layout->setSpacing(Scaled(spacing, s));
  }
  // Children placed by position (no layout) keep their place relative to the scale.
  if (w->parentWidget() && !w->parentWidget()->layout() && !w->isWindow()) {
    if (!w->property("_nv_base_geom").isValid()) w->setProperty("_nv_base_geom", w->geometry());
    const QRect g = w->property("_nv_base_geom").toRect();
    w->setGeometry(Scaled(g.x(), s), Scaled(g.y(), s), Scaled(g.width(), s), Scaled(g.height(), s));
  }
}

}  // namespace

CPaintManagerUI::CPaintManagerUI(CWindowWnd& window) : window_(window) {
  Registry().push_back(this);
}

CPaintManagerUI::~CPaintManagerUI() {
  auto& all = Registry();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
  if (auto* host = dynamic_cast<detail::WindowHost*>(host_.data())) host->SetManager(nullptr);
}

void CPaintManagerUI::AttachHost(QWidget* host) {
  host_ = host;
  if (auto* h = dynamic_cast<detail::WindowHost*>(host)) h->SetManager(this);
}

CControlUI* CPaintManagerUI::GetRoot() const {
  return root_;
}
void CPaintManagerUI::SetRoot(CControlUI* root) {
  root_ = root;
}

namespace {

// The first control named `name` below `parent`, depth-first in child order; stops at the first.
CControlUI* FirstNamedBelow(const QObject* parent, const CDuiString& name) {
  for (QObject* child : parent->children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget == nullptr) continue;
    if (widget->objectName() == name) {
      if (CControlUI* control = ControlOf(widget)) return control;
    }
    if (CControlUI* below = FirstNamedBelow(widget, name)) return below;
  }
  return nullptr;
}

}  // namespace

CControlUI* CPaintManagerUI::FindControl(const CDuiString& name) const {
  if (!host_ || name.isEmpty()) return nullptr;
  if (const auto kept = found_.constFind(name); kept != found_.cend()) {
    QWidget* widget = kept->data();
    if (widget != nullptr && widget->objectName() == name && host_->isAncestorOf(widget)) {
      if (CControlUI* control = ControlOf(widget)) return control;
    }
  }
  CControlUI* control = FirstNamedBelow(host_.data(), name);
  if (control != nullptr) {
    found_.insert(name, control->GetWidget());
  } else {
    found_.remove(name);
  }
  return control;
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* parent, const CDuiString& name) {
  if (!parent || name.isEmpty()) return nullptr;
  return FirstNamedBelow(parent->GetWidget(), name);
}

void CPaintManagerUI::SetTimer(CControlUI* control, int timerId, int elapseMs, TimerMode mode) {
  OnControlThread(control,
                  [control, timerId, elapseMs, mode] { control->StartTimer(timerId, elapseMs, mode); });
}

void CPaintManagerUI::KillTimer(CControlUI* control, int timerId) {
  OnControlThread(control, [control, timerId] { control->StopTimer(timerId); });
}

void CPaintManagerUI::KillTimer(CControlUI* control) {
  OnControlThread(control, [control] { control->StopAllTimers(); });
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg) {
  if (suppressDepth_ > 0 || !receiver_) return;
  receiver_->Notify(msg);
}

CPaintManagerUI::NotifySuppressor::NotifySuppressor(CPaintManagerUI* manager) : manager_(manager) {
  if (manager_) ++manager_->suppressDepth_;
}

CPaintManagerUI::NotifySuppressor::~NotifySuppressor() {
  if (manager_) --manager_->suppressDepth_;
}

void CPaintManagerUI::SetDPI(int dpi) {
  const int next = IsSupportedDpi(dpi) ? dpi : kDefaultDpi;
  if (next == dpi_) return;
  const double ratio = double(next) / dpi_;
  dpi_ = next;
  if (!host_) return;
  ApplyScaleTo(host_);
  host_->resize(int(host_->width() * ratio + 0.5), int(host_->height() * ratio + 0.5));
}

int CPaintManagerUI::Scale(int pixels) const {
  return int(pixels * GetScale() + 0.5);
}

void CPaintManagerUI::SetAllDPI(int dpi) {
  for (CPaintManagerUI* pm : GetAll()) pm->SetDPI(dpi);
}

void CPaintManagerUI::ResetDPIAssets() {
  if (!host_) return;
  ApplyScaleTo(host_);
  for (QWidget* w : host_->findChildren<QWidget*>()) {
    if (CControlUI* c = ControlOf(w)) c->ApplyStyle();
  }
}

void CPaintManagerUI::ApplyScaleTo(QWidget* subtree) {
  if (!subtree) return;
  const double s = GetScale();
  if (subtree != host_.data()) ScaleWidget(subtree, s);
  for (QWidget* w : subtree->findChildren<QWidget*>()) {
    if (w->isWindow()) continue;  // pop-ups (combo lists) size themselves
    ScaleWidget(w, s);
  }
}

std::vector<CPaintManagerUI*> CPaintManagerUI::GetAll() {
  return Registry();
}

int CPaintManagerUI::MessageLoop() {
  return QApplication::exec();
}

bool IsSupportedDpi(int dpi) {
  constexpr std::array<int, 7> kSupported{48, 72, 96, 120, 144, 168, 192};
  return std::find(kSupported.begin(), kSupported.end(), dpi) != kSupported.end();
}

}  // namespace norvane::ui
