#pragma once
// Key capture inside our own window: while started, key presses and releases sent to one widget (the key
// editor's key text) are taken from it and reported by their key codes, so the widget never types the
// character and no shortcut of the window fires. Works wherever Qt reports native key codes (X11 and Wayland
// both give XKB key codes, the kernel's plus 8).

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "macro/input_capture.h"

namespace norvane::editors {

class CInWindowKeyCapture final : public QObject, public macro::InputCapture {
 public:
  // Captures the keys typed into `target` while it has the focus.
  explicit CInWindowKeyCapture(QWidget* target);
  ~CInWindowKeyCapture() override;

  [[nodiscard]] bool Start(KeySink sink) override;
  void Stop() override;
  bool IsCapturing() const override { return capturing_; }
  QWidget* Target() const { return target_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> target_;
  KeySink sink_;
  bool capturing_ = false;
};

}  // namespace norvane::editors
