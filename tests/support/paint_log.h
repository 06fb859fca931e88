#pragma once
// Counts the paint events a widget receives and the region they covered (install it as an event filter).

#include <QEvent>
#include <QObject>
#include <QPaintEvent>
#include <QRegion>

namespace norvane::testing {

class PaintLog final : public QObject {
 public:
  int paints = 0;
  QRegion painted;
  void Reset() {
    paints = 0;
    painted = QRegion();
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++paints;
      painted += static_cast<QPaintEvent*>(event)->region();
    }
    return false;
  }
};

}  // namespace norvane::testing
