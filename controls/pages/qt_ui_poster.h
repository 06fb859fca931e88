#pragma once
// QtUiPoster: the UI poster of a device page on the Qt event loop. Worker threads post calls; they run on
// the thread that created the poster (the UI thread), in posting order. Calls still queued when the poster
// is destroyed are dropped, so the owner destroys it only after the threads that post have stopped.

#include <QObject>
#include <functional>
#include <memory>

#include "devices/ui_poster.h"

namespace norvane::controls {

class QtUiPoster : public devices::UiPoster {
 public:
  QtUiPoster() : context_(std::make_unique<QObject>()) {}
  void Post(std::function<void()> call) override;

 private:
  std::unique_ptr<QObject> context_;
};

}  // namespace norvane::controls
