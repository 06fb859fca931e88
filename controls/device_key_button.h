#pragma once
// CDeviceKeyButtonUI (skin class "DeviceKeyButton"): one key of a device picture. A push button that can draw
// the key's current lighting colour over itself, a key-set or key-unset mark, and a frame while it is part
// of a drag selection. Clicks raise "click" and double clicks "dbclick", like every button of the library.
// The device pages set its colour from each presented frame.

#include <cstdint>

#include "uilib/button.h"

class QPaintEvent;

namespace norvane::controls {

class CDeviceKeyButtonUI : public ui::CButtonUI {
 public:
  static constexpr const char* kClassName = "DeviceKeyButton";

  explicit CDeviceKeyButtonUI(QWidget* parent = nullptr);

  // "lightimage", "keysetimage", "keyunsetimage" (images in the skin folder) and "gmnametextcolor"
  // (accepted, not drawn). Each image change repaints.
  void SetAttribute(const ui::CDuiString& name, const ui::CDuiString& value) override;
  void SetLightImage(const ui::CDuiString& image);
  void SetKeySetImage(const ui::CDuiString& image);
  void SetKeyUnsetImage(const ui::CDuiString& image);
  const ui::CDuiString& GetLightImage() const { return lightImage_; }

  // The light overlay: on or off, its colour (0xRRGGBB) and level (0..255, scales the colour). Each change
  // repaints.
  void SetLightOverlay(bool on);
  void SetLightColour(uint32_t rgb);
  void SetLightLevel(int level);
  bool IsLightOverlayOn() const { return lightOn_; }
  uint32_t GetLightColour() const { return lightColour_; }
  int GetLightLevel() const { return lightLevel_; }

  void SetKeySetMark(bool shown);
  void SetKeyUnsetMark(bool shown);
  bool IsKeySetMarkShown() const { return !keySetHidden_; }
  bool IsKeyUnsetMarkShown() const { return !keyUnsetHidden_; }

  // A value the device keeps on the button; not drawn.
  void SetDeviceMark(int mark) { deviceMark_ = mark; }
  int GetDeviceMark() const { return deviceMark_; }

  // 1 while the button lies inside the last drag selection.
  void SetSelectionState(int state);
  int GetSelectionState() const { return selectionState_; }

  uint32_t GetGameNameTextColour() const { return gameNameTextColour_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Repaint();

  ui::CDuiString lightImage_;
  ui::CDuiString keySetImage_;
  ui::CDuiString keyUnsetImage_;
  bool keySetHidden_ = true;
  bool keyUnsetHidden_ = true;
  int deviceMark_ = 0;
  bool lightOn_ = false;
  uint32_t lightColour_ = 255;
  int lightLevel_ = 200;
  int selectionState_ = 0;
  uint32_t gameNameTextColour_ = 0;
};

}  // namespace norvane::controls
