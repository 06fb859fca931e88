#include "devices/headset/light_sender.h"

#include "platform/trace.h"

namespace norvane::devices::headset {

bool LightReportSender::Present(const LightReports& reports, Clock::TimePoint now) {
  const bool due = !handedOn_ || now - handedOnAt_ >= kRefresh || forget_.load();
  if (!due && *handedOn_ == reports) return false;
  handedOn_ = reports;
  handedOnAt_ = now;
  worker_.Submit([this, reports, now] { Send(reports, now); });
  return true;
}

void LightReportSender::Forget() {
  forget_ = true;
  handedOn_.reset();
}

void LightReportSender::Send(const LightReports& reports, Clock::TimePoint now) {
  if (forget_.exchange(false) || !wholeAt_ || now - *wholeAt_ >= kRefresh) {
    cache_.Clear();
    wholeAt_ = now;
  }
  for (const std::size_t index : cache_.Changed(reports)) {
    if (!send_ || !send_(reports[index])) {
      // What the headset shows now is unknown: everything goes out with the next frame.
      Trace("headset lighting: a report was not taken; the next frame is sent whole");
      cache_.Clear();
      forget_ = true;
      return;
    }
    cache_.MarkSent(index, reports[index]);
    ++sent_;
  }
}

}  // namespace norvane::devices::headset
