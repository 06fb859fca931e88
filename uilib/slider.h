#pragma once
// Sliders and progress bars: an integer value between a minimum and a maximum. A slider raises
// "movevaluechanged" while the user drags it and "valuechanged" (wParam: value) when the user has set a
// value (drag released, click on the track, keyboard, wheel). SetValue from code raises nothing.

#include <QProgressBar>
#include <QSlider>

#include "uilib/control.h"

namespace norvane::ui {

class CSliderUI : public ControlBase<QSlider> {
 public:
  explicit CSliderUI(QWidget* parent = nullptr);

  int GetValue() const { return value(); }
  void SetValue(int value);  // clamped to the range
  int GetMinValue() const { return minimum(); }
  int GetMaxValue() const { return maximum(); }
  void SetMinValue(int min);
  void SetMaxValue(int max);
};

class CProgressUI : public ControlBase<QProgressBar> {
 public:
  explicit CProgressUI(QWidget* parent = nullptr);

  int GetValue() const { return value(); }
  void SetValue(int value);  // clamped to the range
  int GetMinValue() const { return minimum(); }
  int GetMaxValue() const { return maximum(); }
  void SetMinValue(int min);
  void SetMaxValue(int max);
};

}  // namespace norvane::ui
