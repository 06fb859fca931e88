#include "uilib/edit.h"

#include <QRegularExpressionValidator>

namespace norvane::ui {

CEditUI::CEditUI(QWidget* parent) : ControlBase(parent) {
  QObject::connect(this, &QLineEdit::textEdited, this,
                   [this](const QString&) { SendNotify(DUI_MSGTYPE_TEXTCHANGED); });
  QObject::connect(this, &QLineEdit::returnPressed, this, [this] { SendNotify(DUI_MSGTYPE_RETURN); });
}

void CEditUI::SetMaxChar(int maxChars) {
  setMaxLength(maxChars > 0 ? maxChars : 32767);
}

void CEditUI::SetNumberOnly(bool numberOnly) {
  numberOnly_ = numberOnly;
  if (numberOnly) {
    // The validator also filters pasted text; text set from code is filtered in SetText.
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    SetText(text());
  } else {
    setValidator(nullptr);
  }
}

void CEditUI::SetText(const CDuiString& text) {
  if (!numberOnly_ || IsResourceText()) {
    CControlUI::SetText(text);
    return;
  }
  QString digits;
  for (QChar c : text) {
    if (c >= u'0' && c <= u'9') digits += c;
  }
  CControlUI::SetText(digits);
}

CRichEditUI::CRichEditUI(QWidget* parent) : ControlBase(parent) {
  QObject::connect(this, &QPlainTextEdit::textChanged, this, [this] {
    if (hasFocus()) SendNotify(DUI_MSGTYPE_TEXTCHANGED);
  });
}

void CRichEditUI::SetText(const CDuiString& text) {
  QSignalBlocker quiet(this);
  setPlainText(text);
}

}  // namespace norvane::ui
