// Reading the mouse: its layout, its live settings, its wireless status, and the syncs built on them.
#include <algorithm>

#include "devices/basic_device.h"
#include "devices/mouse/mouse_device.h"
#include "platform/trace.h"
#include "protocol/command_codes.h"
#include "protocol/commands.h"

namespace norvane::devices {
namespace {

SyncResult SyncResultOf(int result) {
  if (result == protocol::kResultOk) return SyncResult::kDone;
  if (result == protocol::kResultRefused || result == protocol::kResultRefusedOther)
    return SyncResult::kRefused;
  return SyncResult::kNoReply;
}

}  // namespace

bool CNorvaneMouseDevice::IsLinkUsable() {
  protocol::CommandChannel& channel = CommandChannel();
  if (!channel.IsOpen()) return false;
  return !channel.IsWireless() || protocol::CmdQueryWirelessLink(channel) == 1;
}

int CNorvaneMouseDevice::ReadDeviceKeys() {
  protocol::CommandChannel& channel = CommandChannel();
  int result = protocol::kResultNoReply;
  if (!channel.IsOpen()) {
    if (View()) View()->ShowSyncResult(SyncResult::kNotConnected);
    return result;
  }
  if (IsLinkUsable()) result = mouse::ReadMouseLayout(channel, layout_);
  if (result != protocol::kResultOk) {
    Trace("mouse: reading the buttons failed: " + std::string(protocol::DescribeResult(result)));
  }
  if (View()) View()->ShowSyncResult(SyncResultOf(result));
  return result;
}

int CNorvaneMouseDevice::ReadLiveSettings() {
  last_live_result_ = ReadLiveRecord();
  return last_live_result_;
}

int CNorvaneMouseDevice::ReadLiveRecord() {
  protocol::CommandChannel& channel = CommandChannel();
  if (!channel.IsOpen()) return protocol::kResultNoReply;
  std::array<std::uint8_t, 1> active{};
  mouse::SettingsRecord record{};
  int result = protocol::CmdReadSettings(channel, active, 0);
  if (result == protocol::kResultOk) {
    const auto address = static_cast<std::uint16_t>(active[0] * mouse::kRecordSpacing);
    result = protocol::CmdReadSettings(channel, record, address);
  }
  if (result != protocol::kResultOk) {
    Trace("mouse: reading the live settings failed: " + std::string(protocol::DescribeResult(result)));
    return result;
  }

  active_profile_ = active[0];
  const mouse::LiveSettings live = mouse::DecodeSettingsRecord(record, ModeTable());
  record[mouse::record_byte::kMode] = live.light.mode;
  record[mouse::record_byte::kUnused] = 0;
  live_record_ = record;
  SetAnimationPaused(false);

  // The mouse's own lighting, with the direction the page has (the record's is not taken).
  lighting::LightParams light = GetLightParams();
  light.mode = live.light.mode;
  light.brightness = live.light.brightness;
  light.speed = live.light.speed;
  light.multiColour = live.light.multiColour;
  light.red = live.light.red;
  light.green = live.light.green;
  light.blue = live.light.blue;
  SetLightParams(light);
  // A stage byte that names no stage of the profile leaves the profile's choice.
  if (HasStage(live.activeStage)) {
    active_stage_ = live.activeStage;
    profile_.SetActiveDpiStage(active_stage_);
  }
  SaveProfile();
  return protocol::kResultOk;
}

void CNorvaneMouseDevice::InitialSync() {
  ReadDeviceState();
  RefreshPage();
  StartLightingThread();
}

int CNorvaneMouseDevice::ReadDeviceState() {
  const int keys = ReadDeviceKeys();
  LoadProfile();
  // The buttons the profile reassigned are found by the functions the mouse holds for them: first where they
  // were known to sit, then anywhere still free.
  if (keys == protocol::kResultOk) {
    PlaceReassignedKeys(layout_.buttons, mouse::kNoButton, layout_.keyTable, layout_.KeyPositions(),
                        key_list_, layout_.known);
  }
  const int live = ReadLiveSettings();
  return keys != 1 ? keys : live;
}

void CNorvaneMouseDevice::Resync() {
  TakeLastDeviceEvent();
  ReadLiveSettings();
  RefreshPage();
}

int CNorvaneMouseDevice::IsWirelessLinkUp() {
  protocol::CommandChannel& channel = CommandChannel();
  if (!channel.IsOpen() || !channel.IsWireless()) return 0;
  return protocol::CmdQueryWirelessLink(channel) == 1 ? 1 : 0;
}

void CNorvaneMouseDevice::ReadWirelessStatus() {
  StatusRecord status{};
  if (WirelessState() != 0 || ReadStatusRecord(status) != protocol::kResultOk) return;
  if (View()) View()->ShowWirelessStatus(status);
}

}  // namespace norvane::devices
