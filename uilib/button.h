#pragma once
// Buttons and labels. A button raises "click" when the user activates it.

#include <QLabel>
#include <QPushButton>

#include "uilib/control.h"

namespace norvane::ui {

class CButtonUI : public ControlBase<QPushButton> {
 public:
  explicit CButtonUI(QWidget* parent = nullptr);

  // The image drawn on the button (a badge, an icon), path in the skin folder; empty removes it.
  void SetForeImage(const CDuiString& image);
  CDuiString GetForeImage() const { return foreImage_; }

 private:
  CDuiString foreImage_;
};

class CLabelUI : public ControlBase<QLabel> {
 public:
  explicit CLabelUI(QWidget* parent = nullptr) : ControlBase(parent) {}
};

}  // namespace norvane::ui
