#pragma once
// Tells the main window when the screens change (added, removed, resized, or the window moved to another
// screen): the window's display-change message, posted to the UI thread, so that the layout is scaled for
// the new monitor.

#include <QObject>
#include <QPointer>

#include "uilib/window_handle.h"

class QScreen;
class QWidget;

namespace norvane::app {

class CScreenWatcher : public QObject {
  Q_OBJECT

 public:
  CScreenWatcher(ui::WindowHandle target, QWidget* window);

 private:
  void Watch(QScreen* screen);
  void Changed();

  ui::WindowHandle target_;
  QPointer<QWidget> window_;
};

}  // namespace norvane::app
