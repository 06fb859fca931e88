#include "uilib/color_value.h"

namespace norvane::ui {

std::optional<DWORD> ParseColorValue(const QString& text) {
  QString digits = text.trimmed();
  if (digits.startsWith(u'#'))
    digits.remove(0, 1);
  else if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
    digits.remove(0, 2);
  if (digits.size() != 6 && digits.size() != 8) return std::nullopt;
  bool ok = false;
  const uint value = digits.toUInt(&ok, 16);
  if (!ok) return std::nullopt;
  return digits.size() == 6 ? DWORD(0xFF000000u | value) : DWORD(value);
}

}  // namespace norvane::ui
