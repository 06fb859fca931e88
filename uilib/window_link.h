#pragma once
// Library internal: what a WindowHandle shares with its window. The window clears `target` (under the lock)
// before it goes, so a worker never queues a message for a window that is already gone.

#include <QObject>
#include <QPointer>
#include <mutex>
#include <thread>

namespace norvane::ui {
class CWindowWnd;
}

namespace norvane::ui::detail {

struct WindowLink {
  std::mutex mutex;
  CWindowWnd* target = nullptr;  // guarded by mutex
  QObject* context = nullptr;    // the host widget once it exists; guarded by mutex
  std::thread::id uiThread = std::this_thread::get_id();
};

}  // namespace norvane::ui::detail
