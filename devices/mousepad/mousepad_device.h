#pragma once
// CNorvaneMousePadDevice: the page and the device object of a lighted mouse pad. It reads the pad's
// information block on the first synchronisation, previews its lighting (the strip generators, the pad's
// own wave), writes its lighting record and follows the pad's own changes. The wireless-charging pad, which
// tells its charge and the phone on it, is the one whose firmware answers the status read: its page shows
// the power panel and reads the status with the tab's status timer.

#include <array>
#include <cstdint>
#include <string_view>

#include "devices/strip/strip_device.h"
#include "profiles/basic_profiledata.h"
#include "protocol/commands.h"

namespace norvane::devices {

class CNorvaneMousePadDevice : public CStripDevice {
 public:
  static constexpr std::string_view kClassName = "NorvaneMousePadDevice";

  explicit CNorvaneMousePadDevice(PageServices services = {});
  ~CNorvaneMousePadDevice() override;

  std::string_view GetClass() const { return kClassName; }
  CBasicProfiledata* ProfileDocument() override { return &profile_; }

  // CmdBegin, CmdReadDeviceInfo, CmdEnd (skipped with a closed channel); the status read that tells the
  // charging pad; LoadProfile, RefreshPage, the lighting thread.
  void InitialSync() override;

  const std::array<std::uint8_t, protocol::kDeviceInfoSize>& DeviceInfo() const { return info_; }
  bool HasDeviceInfo() const { return has_info_; }
  bool IsChargingPad() const { return IsWirelessCapable(); }

 protected:
  // The pad's record starts with the number of the profile it uses, as read live.
  std::uint8_t FirstRecordByte(int value) const override;

 private:
  CBasicProfiledata profile_;
  std::array<std::uint8_t, protocol::kDeviceInfoSize> info_{};
  bool has_info_ = false;
};

}  // namespace norvane::devices
