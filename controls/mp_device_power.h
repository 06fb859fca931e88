#pragma once
// CMpDevicePowerUI (skin class "MpDevicePower"): the power-status panel of a device page. It shows the
// wireless status record of a keyboard, mouse or headset reached through a receiver (battery level, charge
// state, link) and, on the wireless-charging mouse pad, which phone lies on the pad.
//
// The panel builds its content from "XML\CustomControlXML\MpDevicePower.xml", which provides the layout
// "device_power_Layout", the label "device_power_value", the wireless logo "device_wuxian_logo", the
// progress "device_Power_progress", the status icon "device_power_status" and the phone label
// "device_phone_type".

#include <QPointer>
#include <array>
#include <cstdint>
#include <span>

#include "uilib/container.h"

class QMouseEvent;

namespace norvane::controls {

class CMpDevicePowerUI : public ui::CHorizontalLayoutUI {
 public:
  static constexpr const char* kClassName = "MpDevicePower";
  static constexpr const char* kSkin = "XML\\CustomControlXML\\MpDevicePower.xml";
  static constexpr std::size_t kRecordSize = 64;
  // The kind value of the wireless-charging pad: only it shows the phone type.
  static constexpr int kChargingPadKind = 3;

  void DoInit() override;
  // Builds the content now (DoInit does it otherwise); false when the skin or one of its children is
  // missing.
  bool Build();

  void SetKind(int kind) { kind_ = kind; }
  int GetKind() const { return kind_; }
  void SetModel(int model) { model_ = model; }
  int GetModel() const { return model_; }

  // Shows or hides "device_power_Layout" (the device reports no status when it is not wireless-capable).
  void SetPanelVisible(bool visible);
  bool IsPanelVisible();

  // The status record: byte 0 battery percent, byte 1 charge state, byte 3 link flag, byte 5 phone type.
  // A shorter record is padded with zeros; at most kRecordSize bytes are kept.
  void ShowStatus(std::span<const uint8_t> record);

  // The image descriptions last chosen ("file='power/powered.png'" and the like), for the skin and tests.
  const ui::CDuiString& StatusImage() const { return statusImage_; }
  const ui::CDuiString& PhoneImage() const { return phoneImage_; }
  const ui::CDuiString& PhoneTextId() const { return phoneTextId_; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  ui::CControlUI* Child(const char* name);
  static void ShowImage(ui::CControlUI* control, const ui::CDuiString& description,
                        const ui::CDuiString& fallbackTextId);

  bool built_ = false;
  int kind_ = 0;
  int model_ = 0;
  std::array<uint8_t, kRecordSize> record_{};
  ui::CDuiString statusImage_;
  ui::CDuiString phoneImage_;
  ui::CDuiString phoneTextId_;
};

}  // namespace norvane::controls
