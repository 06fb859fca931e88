#include "app/pending_profile_gate.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace norvane::app {

namespace {

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Wheel:
      return true;
    default:
      return false;
  }
}

}  // namespace

CPendingProfileGate::CPendingProfileGate(Hooks hooks, QObject* parent) : QObject(parent), hooks_(std::move(hooks)) {}

CPendingProfileGate::~CPendingProfileGate() {
  Close();
}

void CPendingProfileGate::Open() {
  if (open_ || !qApp) return;
  qApp->installEventFilter(this);
  open_ = true;
}

void CPendingProfileGate::Close() {
  if (!open_) return;
  if (qApp) qApp->removeEventFilter(this);
  open_ = false;
}

bool CPendingProfileGate::eventFilter(QObject* watched, QEvent* event) {
  if (!open_ || !IsUserInput(event->type()) || !watched->isWidgetType()) return false;
  auto* target = static_cast<QWidget*>(watched);
  if (!hooks_.awaitsProfile || !hooks_.awaitsProfile(target)) return false;
  Close();
  const QPointer<QWidget> alive = target;
  if (hooks_.switchNow) hooks_.switchNow();
  // The loaded profile may have taken the control away: its input has nothing left to act on.
  return alive.isNull();
}

}  // namespace norvane::app
