#include "uilib/message_map.h"

#include "uilib/control.h"

namespace norvane::ui {

void CNotifyMap::Bind(const CDuiString& type, Handler handler) {
  bindings_.push_back({type, Match::kAny, {}, std::move(handler)});
}

void CNotifyMap::BindName(const CDuiString& type, const CDuiString& controlName, Handler handler) {
  bindings_.push_back({type, Match::kName, controlName, std::move(handler)});
}

void CNotifyMap::BindPrefix(const CDuiString& type, const CDuiString& namePrefix, Handler handler) {
  bindings_.push_back({type, Match::kPrefix, namePrefix, std::move(handler)});
}

bool CNotifyMap::Dispatch(TNotifyUI& msg) const {
  const QString senderName = msg.pSender ? QString(msg.pSender->GetName()) : QString();
  for (const Binding& b : bindings_) {
    if (b.type != msg.sType) continue;
    const bool matches = b.match == Match::kAny ||
                         (b.match == Match::kName && senderName.compare(b.name, Qt::CaseInsensitive) == 0) ||
                         (b.match == Match::kPrefix && senderName.startsWith(b.name, Qt::CaseInsensitive));
    if (!matches) continue;
    b.handler(msg);
    return true;
  }
  return false;
}

}  // namespace norvane::ui
