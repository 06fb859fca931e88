#include "uilib/control_name.h"

#include <climits>

namespace norvane::ui {

int DigitsValue(QStringView digits) {
  if (digits.isEmpty()) return 0;
  long long value = 0;
  for (QChar c : digits) {
    if (c < u'0' || c > u'9') return 0;
    if (value < INT_MAX) value = std::min<long long>(value * 10 + (c.unicode() - u'0'), INT_MAX);
  }
  return int(value);
}

std::optional<ControlNameSplit> SplitControlName(const CDuiString& name) {
  const qsizetype cut = name.lastIndexOf(u'_');
  if (cut < 0) return std::nullopt;
  return ControlNameSplit{name.left(cut + 1), DigitsValue(QStringView(name).mid(cut + 1))};
}

}  // namespace norvane::ui
