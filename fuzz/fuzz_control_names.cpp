// Control names come from skin files, which are data from outside the program: splitting any name and
// matching it against the routing table never crashes, and the numbers handed on are never negative.
// libFuzzer: -max_len=256
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/notify_router.h"
#include "uilib/control_name.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // "type\nname": the notification type first, the sender's name after the first line break.
  const std::size_t cut = input.find('\n');
  const std::string_view type = cut == std::string_view::npos ? std::string_view("click") : input.substr(0, cut);
  const std::string_view name = cut == std::string_view::npos ? input : input.substr(cut + 1);
  const norvane::ui::CDuiString typeText(type);
  const norvane::ui::CDuiString nameText(name);

  if (const auto split = norvane::ui::SplitControlName(nameText)) {
    if (split->number < 0 || !split->prefix.endsWith(u'_')) std::abort();
  }
  static const norvane::app::NotifyRouter router;
  for (const norvane::app::RouteRow* row : router.Match(typeText, nameText)) {
    if (row == nullptr || row->type.empty()) std::abort();
  }
  return 0;
}
