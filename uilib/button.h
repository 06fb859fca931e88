#pragma once
// Buttons and labels. A button raises "click" when the user activates it.

#include <QLabel>
#include <QPushButton>

#include "uilib/control.h"

namespace norvane::ui {

class CButtonUI : public ControlBase<QPushButton> {
 public:
  explicit CButtonUI(QWidget* parent = nullptr);
};

class CLabelUI : public ControlBase<QLabel> {
 public:
  explicit CLabelUI(QWidget* parent = nullptr) : ControlBase(parent) {}
};

}  // namespace norvane::ui
