#include "app/screen_watcher.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "app/main_messages.h"

namespace norvane::app {

CScreenWatcher::CScreenWatcher(ui::WindowHandle target, QWidget* window)
    : target_(std::move(target)), window_(window) {
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (!app) return;
  connect(app, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
    Watch(screen);
    Changed();
  });
  connect(app, &QGuiApplication::screenRemoved, this, [this] { Changed(); });
  connect(app, &QGuiApplication::primaryScreenChanged, this, [this] { Changed(); });
  for (QScreen* screen : QGuiApplication::screens()) Watch(screen);
  // The platform window exists once asked for; a hidden window has none yet.
  if (window_) window_->winId();
  if (window_ && window_->windowHandle()) {
    connect(window_->windowHandle(), &QWindow::screenChanged, this, [this] { Changed(); });
  }
}

void CScreenWatcher::Watch(QScreen* screen) {
  if (!screen) return;
  connect(screen, &QScreen::geometryChanged, this, [this] { Changed(); });
  connect(screen, &QScreen::logicalDotsPerInchChanged, this, [this] { Changed(); });
}

void CScreenWatcher::Changed() {
  target_.PostMessage(WM_DISPLAYCHANGE, 0, 0);
}

}  // namespace norvane::app
