#include "editors/in_window_key_capture.h"

#include <QEvent>
#include <QKeyEvent>

#include "macro/scan_codes.h"

namespace norvane::editors {

CInWindowKeyCapture::CInWindowKeyCapture(QWidget* target) : target_(target) {}

CInWindowKeyCapture::~CInWindowKeyCapture() {
  Stop();
}

bool CInWindowKeyCapture::Start(KeySink sink) {
  if (!target_) return false;
  sink_ = std::move(sink);
  if (!capturing_) target_->installEventFilter(this);
  capturing_ = true;
  return true;
}

void CInWindowKeyCapture::Stop() {
  if (capturing_ && target_) target_->removeEventFilter(this);
  capturing_ = false;
  sink_ = nullptr;
}

bool CInWindowKeyCapture::eventFilter(QObject* watched, QEvent* event) {
  if (watched != target_.data()) return false;
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      // Claim every key, so that no shortcut of the window takes it before it reaches us.
      event->accept();
      return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      const auto* key = static_cast<QKeyEvent*>(event);
      const int native = static_cast<int>(key->nativeScanCode());
      if (sink_ && native > macro::kX11KeyCodeOffset) {
        // The sink may stop the capture; keep it alive for this call.
        const KeySink sink = sink_;
        sink({.linuxKey = native - macro::kX11KeyCodeOffset,
              .pressed = event->type() == QEvent::KeyPress,
              .autoRepeat = key->isAutoRepeat()});
      }
      return true;  // the edit never types the key
    }
    default:
      return false;
  }
}

}  // namespace norvane::editors
