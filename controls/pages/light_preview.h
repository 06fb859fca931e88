#pragma once
// CLightPreviewUI (skin class "LightPreview"): the lighting picture of a page whose LEDs have no buttons of
// their own (mouse pad, headset, the mouse's light zones). It draws one glowing dot per LED, in a row or
// around a ring or along the edge of a rectangle (skin property "ledshape": "row", "ring" or "frame").

#include <QColor>
#include <QWidget>
#include <span>
#include <vector>

#include "devices/lighting/led_record.h"
#include "uilib/control.h"

namespace norvane::controls {

class CLightPreviewUI : public ui::ControlBase<QWidget> {
 public:
  static constexpr const char* kClassName = "LightPreview";

  explicit CLightPreviewUI(QWidget* parent = nullptr);

  void SetAttribute(const ui::CDuiString& name, const ui::CDuiString& value) override;

  // Takes the LEDs' colours scaled by their levels; true when the picture changed.
  bool SetLeds(std::span<const lighting::LedRecord> leds);
  const std::vector<QColor>& Colours() const { return colours_; }
  enum class Shape { kRow, kRing, kFrame };
  Shape GetShape() const { return shape_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<QColor> colours_;
  Shape shape_ = Shape::kRow;
};

// The colour an LED shows: its colour scaled by its level.
QColor LedColour(const lighting::LedRecord& led);

}  // namespace norvane::controls
