#pragma once
// Edits. A one-line edit raises "textchanged" when the user changes its text, "return" on Enter,
// "setfocus" and "killfocus". SetMaxChar limits the length; SetNumberOnly admits decimal digits only
// (typed and pasted text alike; text set from code is filtered the same way).

#include <QLineEdit>
#include <QPlainTextEdit>

#include "uilib/control.h"

namespace norvane::ui {

class CEditUI : public ControlBase<QLineEdit> {
 public:
  explicit CEditUI(QWidget* parent = nullptr);

  void SetMaxChar(int maxChars);
  int GetMaxChar() const { return maxLength(); }
  void SetNumberOnly(bool numberOnly);
  bool IsNumberOnly() const { return numberOnly_; }
  void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }

  void SetText(const CDuiString& text) override;

 private:
  bool numberOnly_ = false;
};

// A multi-line text field; raises "textchanged" on user edits.
class CRichEditUI : public ControlBase<QPlainTextEdit> {
 public:
  explicit CRichEditUI(QWidget* parent = nullptr);

  CDuiString GetText() const override { return toPlainText(); }
  void SetText(const CDuiString& text) override;
};

}  // namespace norvane::ui
