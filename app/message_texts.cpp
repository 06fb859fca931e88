#include "app/message_texts.h"

#include "app/message_window.h"

namespace norvane::app {

ui::CDuiString ResolveLanguageText(ui::CControlUI* hiddenLabel, const ui::CDuiString& id) {
  if (!hiddenLabel) return id;
  // Plain id first, so that an id the language does not know reads back as itself, not as the last text.
  const bool wasResource = hiddenLabel->IsResourceText();
  hiddenLabel->SetResourceText(false);
  hiddenLabel->SetText(id);
  hiddenLabel->SetResourceText(true);
  hiddenLabel->SetText(id);
  const ui::CDuiString text = hiddenLabel->GetText();
  hiddenLabel->SetResourceText(wasResource);
  return text;
}

namespace {

bool IsFlagOrWidth(QChar c) {
  return c == u'-' || c == u'+' || c == u' ' || c == u'#' || (c >= u'0' && c <= u'9');
}
bool IsLengthModifier(QChar c) {
  return c == u'l' || c == u'h' || c == u'z' || c == u'j' || c == u't' || c == u'q' || c == u'L';
}

}  // namespace

ui::CDuiString SubstituteNumber(const ui::CDuiString& text, long long number) {
  // A translator's text is data: it is scanned here character by character and never reaches a printf-style
  // formatter, so "%s" or "%n" in a language file cannot read or write memory.
  QString out;
  out.reserve(text.size() + 20);
  bool used = false;
  const qsizetype n = text.size();
  qsizetype i = 0;
  while (i < n) {
    const QChar c = text[i];
    if (c != u'%' || i + 1 >= n) {
      out += c;
      ++i;
      continue;
    }
    if (text[i + 1] == u'%') {
      out += u'%';
      i += 2;
      continue;
    }
    qsizetype j = i + 1;
    while (j < n && IsFlagOrWidth(text[j])) ++j;
    while (j < n && IsLengthModifier(text[j])) ++j;
    const QChar conv = j < n ? text[j] : QChar();
    const bool integer = conv == u'd' || conv == u'i' || conv == u'u' || conv == u'x' || conv == u'X';
    if (!used && integer) {
      if (conv == u'x' || conv == u'X') {
        // Hexadecimal of the two's-complement value, as the text's author would expect for a code.
        QString hex = QString::number(static_cast<unsigned long long>(number), 16);
        out += conv == u'X' ? hex.toUpper() : hex;
      } else {
        out += QString::number(number);
      }
      used = true;
      i = j + 1;
      continue;
    }
    // Anything else (a second placeholder, "%s", "%n", a lone "%") is ordinary text.
    out += c;
    ++i;
  }
  return out;
}

bool ShowMacroWriteResult(ui::CWindowWnd* parent, ui::CControlUI* hiddenLabel, int dpi, int result) {
  if (result == 0) return false;
  if (result == -1) {
    ShowMessage(parent, {}, msgtext::kMacroWriteFailed, dpi, true, kMessageOk);
    return true;
  }
  const ui::CDuiString format = ResolveLanguageText(hiddenLabel, msgtext::kMacroTooLong);
  ShowMessage(parent, {}, SubstituteNumber(format, result), dpi, false, kMessageOk);
  return true;
}

}  // namespace norvane::app
