#include "uilib/window_handle.h"

#include <QMetaObject>
#include <chrono>
#include <condition_variable>

#include "uilib/window_link.h"
#include "uilib/window_wnd.h"

namespace norvane::ui {

namespace {

// The outcome of one synchronous send, shared by the waiting worker and the queued call.
struct SendState {
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  std::optional<LRESULT> result;

  void Finish(std::optional<LRESULT> value) {
    {
      std::lock_guard lock(mutex);
      if (finished) return;
      finished = true;
      result = value;
    }
    done.notify_all();
  }
};

// Lives inside the queued call. If Qt drops the call (its window went away), the destructor releases the
// waiting worker instead of leaving it to wait for its stop request.
class SendCompletion {
 public:
  explicit SendCompletion(std::shared_ptr<SendState> state) : state_(std::move(state)) {}
  ~SendCompletion() { state_->Finish(std::nullopt); }
  SendCompletion(const SendCompletion&) = delete;
  SendCompletion& operator=(const SendCompletion&) = delete;
  SendState& State() { return *state_; }

 private:
  std::shared_ptr<SendState> state_;
};

// Queues fn on the window's thread while the window is alive. False when the window is gone.
template <class Fn>
bool QueueOnWindow(const std::shared_ptr<detail::WindowLink>& link, Fn fn) {
  if (!link) return false;
  std::lock_guard lock(link->mutex);
  if (!link->target || !link->context) return false;
  return QMetaObject::invokeMethod(link->context, std::move(fn), Qt::QueuedConnection);
}

CWindowWnd* TargetOf(const std::shared_ptr<detail::WindowLink>& link) {
  std::lock_guard lock(link->mutex);
  return link->target;
}

}  // namespace

bool WindowHandle::IsWindow() const {
  if (!link_) return false;
  std::lock_guard lock(link_->mutex);
  return link_->target != nullptr && link_->context != nullptr;
}

CWindowWnd* WindowHandle::GetWindow() const {
  return link_ ? TargetOf(link_) : nullptr;
}

bool WindowHandle::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) const {
  auto link = link_;
  return QueueOnWindow(link_, [link, msg, wParam, lParam] {
    if (CWindowWnd* wnd = TargetOf(link)) wnd->HandleMessage(msg, wParam, lParam);
  });
}

std::optional<LRESULT> WindowHandle::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam,
                                                 std::stop_token stop) const {
  if (!link_) return std::nullopt;
  if (std::this_thread::get_id() == link_->uiThread) {
    CWindowWnd* wnd = TargetOf(link_);
    if (!wnd) return std::nullopt;
    return wnd->HandleMessage(msg, wParam, lParam);
  }
  auto state = std::make_shared<SendState>();
  auto completion = std::make_shared<SendCompletion>(state);
  auto link = link_;
  const bool queued = QueueOnWindow(link_, [link, completion, msg, wParam, lParam] {
    CWindowWnd* wnd = TargetOf(link);
    completion->State().Finish(wnd ? std::optional<LRESULT>(wnd->HandleMessage(msg, wParam, lParam))
                                   : std::nullopt);
  });
  completion.reset();  // from here only the queued call keeps it
  if (!queued) return std::nullopt;

  using namespace std::chrono_literals;
  std::unique_lock lock(state->mutex);
  while (!state->finished) {
    if (stop.stop_requested()) return std::nullopt;
    state->done.wait_for(lock, 10ms);
  }
  return state->result;
}

}  // namespace norvane::ui
