#include "uilib/slider.h"

namespace norvane::ui {

CSliderUI::CSliderUI(QWidget* parent) : ControlBase(parent) {
  setOrientation(Qt::Horizontal);
  setCursor(Qt::PointingHandCursor);
  // While the handle is dragged the value moves ("movevaluechanged"); the release settles it
  // ("valuechanged"). Changes that are not drags (track click, keys, wheel) settle at once. Code sets values
  // with signals blocked, so it raises neither.
  QObject::connect(this, &QSlider::sliderMoved, this,
                   [this](int v) { SendNotify(DUI_MSGTYPE_MOVEVALUECHANGED, WPARAM(v)); });
  QObject::connect(this, &QSlider::sliderReleased, this,
                   [this] { SendNotify(DUI_MSGTYPE_VALUECHANGED, WPARAM(value())); });
  QObject::connect(this, &QSlider::valueChanged, this, [this](int v) {
    if (!isSliderDown()) SendNotify(DUI_MSGTYPE_VALUECHANGED, WPARAM(v));
  });
}

void CSliderUI::SetValue(int v) {
  QSignalBlocker quiet(this);
  setValue(v);
}

void CSliderUI::SetMinValue(int min) {
  QSignalBlocker quiet(this);
  setMinimum(min);
}

void CSliderUI::SetMaxValue(int max) {
  QSignalBlocker quiet(this);
  setMaximum(max);
}

CProgressUI::CProgressUI(QWidget* parent) : ControlBase(parent) {
  setTextVisible(false);
}

void CProgressUI::SetValue(int v) {
  setValue(qBound(minimum(), v, maximum()));
}
void CProgressUI::SetMinValue(int min) {
  setMinimum(min);
}
void CProgressUI::SetMaxValue(int max) {
  setMaximum(max);
}

}  // namespace norvane::ui
