#pragma once
// CNorvaneBasicDevice: the page object of a device kind that has no class of its own yet (mouse, mouse pad,
// headset). It reads the device's information block (the headset, which has none, its active profile
// number) on the first synchronisation, previews the generic effects on its lighting thread and reads the
// wireless status of a device reached through a receiver.
// Every failure is kept as an honest result the page can show; the object stays usable either way.

#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include "devices/usb_device.h"
#include "protocol/commands.h"

namespace norvane::devices {

// The language text id a page shows for a result; empty for kNotRun and kDone.
const char* SyncResultTextId(SyncResult result);

class CNorvaneBasicDevice : public CNorvaneUSBDevice {
 public:
  static constexpr std::size_t kStatusSize = 6;

  explicit CNorvaneBasicDevice(PageServices services = {});
  ~CNorvaneBasicDevice() override;

  // CmdBegin, CmdReadDeviceInfo (a headset: CmdReadSettings of its active profile number), CmdEnd (skipped
  // with a closed channel), then the lighting thread.
  void InitialSync() override;
  void Resync() override;
  // Only through a receiver: whether the device behind it answers.
  int IsWirelessLinkUp() override;
  // CmdReadStatus of the 6-byte status record, shown by the page (wireless-capable pages only).
  void ReadWirelessStatus() override;

  SyncResult LastSyncResult() const { return sync_result_; }
  // The command result behind LastSyncResult (1 when done).
  int LastSyncCode() const { return sync_code_; }
  const std::array<uint8_t, protocol::kDeviceInfoSize>& DeviceInfo() const { return info_; }
  bool HasDeviceInfo() const { return has_info_; }
  // The active profile number a headset's first synchronisation read (0 before).
  int ActiveProfile() const { return active_profile_; }

 protected:
  // The generic effects by the live mode, rendered every BlinkUnits(speed) ticks.
  void ComputeFrame(Clock::TimePoint now) override;

 private:
  void Finish(SyncResult result, int code);

  std::array<uint8_t, protocol::kDeviceInfoSize> info_{};
  bool has_info_ = false;
  int active_profile_ = 0;
  SyncResult sync_result_ = SyncResult::kNotRun;
  int sync_code_ = 0;
  unsigned tick_count_ = 0;  // lighting thread only
};

}  // namespace norvane::devices
