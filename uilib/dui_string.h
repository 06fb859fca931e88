#pragma once
// CDuiString: the text type of the UI side. A QString with the handful of helpers the program's code uses, so
// that all display text stays Unicode and converts to UTF-8 only at file boundaries.

#include <QString>
#include <string>
#include <string_view>

namespace norvane::ui {

class CDuiString : public QString {
 public:
  CDuiString() = default;
  CDuiString(const QString& text) : QString(text) {}  // NOLINT: implicit by design, like the text it wraps
  CDuiString(QString&& text) : QString(std::move(text)) {}
  CDuiString(const char* utf8) : QString(QString::fromUtf8(utf8)) {}
  CDuiString(const char16_t* text) : QString(QString::fromUtf16(text)) {}
  CDuiString(std::string_view utf8) : QString(QString::fromUtf8(utf8.data(), qsizetype(utf8.size()))) {}
  CDuiString(const std::string& utf8) : CDuiString(std::string_view(utf8)) {}

  int GetLength() const { return int(size()); }
  bool IsEmpty() const { return isEmpty(); }
  void Empty() { clear(); }
  const QString& GetData() const { return *this; }
  std::string ToUtf8() const { return toStdString(); }

  int Compare(const QString& other) const { return QString::compare(other, Qt::CaseSensitive); }
  int CompareNoCase(const QString& other) const { return QString::compare(other, Qt::CaseInsensitive); }
  CDuiString Left(int count) const { return left(count); }
  CDuiString Mid(int pos, int count = -1) const { return mid(pos, count); }
  CDuiString Right(int count) const { return right(count); }
  int Find(const QString& what, int start = 0) const { return int(indexOf(what, start)); }
  int ReverseFind(QChar what) const { return int(lastIndexOf(what)); }
  void MakeUpper() { *this = toUpper(); }
  void MakeLower() { *this = toLower(); }

  // Formats a language text with one integer. The text's first conversion ("%d", "%i", "%u", "%x", "%X" or
  // "%s") takes the number; "%%" is a percent sign; every other character is copied. Texts come from
  // language files, so no pointer-reading conversion is ever honoured.
  static CDuiString FormatNumber(const QString& format, long long value);
};

}  // namespace norvane::ui
