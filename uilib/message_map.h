#pragma once
// Binds notification types, optionally narrowed to a control name or a name prefix, to handlers. Names and
// prefixes compare without regard to case, as the program's routing tables do. Bindings run in the order they
// were added; the first that matches handles the notification.

#include <functional>
#include <vector>

#include "uilib/notify.h"

namespace norvane::ui {

class CNotifyMap {
 public:
  using Handler = std::function<void(TNotifyUI&)>;

  void Bind(const CDuiString& type, Handler handler);
  void BindName(const CDuiString& type, const CDuiString& controlName, Handler handler);
  void BindPrefix(const CDuiString& type, const CDuiString& namePrefix, Handler handler);

  // Runs the first matching binding; false when none matched.
  bool Dispatch(TNotifyUI& msg) const;

 private:
  enum class Match { kAny, kName, kPrefix };
  struct Binding {
    CDuiString type;
    Match match;
    CDuiString name;
    Handler handler;
  };
  std::vector<Binding> bindings_;
};

}  // namespace norvane::ui
