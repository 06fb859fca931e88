#include "controls/pages/qt_ui_poster.h"

#include <QMetaObject>

namespace norvane::controls {

void QtUiPoster::Post(std::function<void()> call) {
  QMetaObject::invokeMethod(context_.get(), std::move(call), Qt::QueuedConnection);
}

}  // namespace norvane::controls
