#include "uilib/dui_string.h"

namespace norvane::ui {

CDuiString CDuiString::FormatNumber(const QString& format, long long value) {
  QString out;
  out.reserve(format.size() + 8);
  bool used = false;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format[i];
    if (c != u'%' || i + 1 >= format.size()) {
      out += c;
      continue;
    }
    // Skip flags, width and length modifiers so that "%2d" or "%ld" still take the number.
    qsizetype j = i + 1;
    while (j < format.size() && QStringView(u"-+ #0123456789lhz").contains(format[j])) ++j;
    if (j >= format.size()) {
      out += format.mid(i);
      break;
    }
    const QChar conv = format[j];
    if (conv == u'%') {
      out += u'%';
    } else if (!used && QStringView(u"diusxX").contains(conv)) {
      if (conv == u'x')
        out += QString::number(value, 16);
      else if (conv == u'X')
        out += QString::number(value, 16).toUpper();
      else
        out += QString::number(value);
      used = true;
    } else {
      out += format.mid(i, j - i + 1);  // left as written: there is only one argument
    }
    i = j;
  }
  return out;
}

}  // namespace norvane::ui
