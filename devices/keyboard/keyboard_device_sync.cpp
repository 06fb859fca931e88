// Reading the keyboard: its layout, its live settings, its wireless status, and the syncs built on them.
#include <algorithm>

#include "devices/keyboard/keyboard_device.h"
#include "platform/trace.h"
#include "protocol/command_codes.h"
#include "protocol/commands.h"

namespace norvane::devices {

int CNorvaneKeyboardDevice::ReadDeviceKeys() {
  const int result = keyboard::ReadKeyboardLayout(CommandChannel(), layout_);
  if (result == protocol::kResultOk) {
    SetEventPositions(layout_.maps.keys);
  } else {
    Trace("keyboard: reading the key layout failed: " + std::string(protocol::DescribeResult(result)));
  }
  return result;
}

int CNorvaneKeyboardDevice::ReadLiveSettings() {
  const lighting::LightParams before = GetLightParams();
  SetAnimationPaused(false);
  protocol::CommandChannel& channel = CommandChannel();
  if (!channel.IsOpen()) {
    last_live_result_ = protocol::kResultNoReply;
    return active_profile_.load();
  }
  std::array<std::uint8_t, 1> active{};
  keyboard::SettingsRecord record{};
  last_live_result_ = protocol::CmdReadSettings(channel, active, 0);
  if (last_live_result_ == protocol::kResultOk) {
    const auto address = static_cast<std::uint16_t>(active[0] * keyboard::kSettingsRecordSize);
    last_live_result_ = protocol::CmdReadSettings(channel, record, address);
  }
  if (last_live_result_ != protocol::kResultOk) {
    Trace("keyboard: reading the live settings failed: " +
          std::string(protocol::DescribeResult(last_live_result_)));
    return active_profile_.load();
  }

  active_profile_ = active[0];
  record[keyboard::record_byte::kZero] = 0;
  live_record_ = record;
  live_record_read_ = true;
  const keyboard::LiveSettings live = keyboard::DecodeSettingsRecord(record, ModeTable());

  lighting::LightParams page = before;
  lighting::LightParams live_light = live.light;
  if (live.light.mode == keyboard::kStreamedModeCode) {
    // The keyboard shows what the host streams: the page's mode is the one that streams.
    live_light.mode = before.mode;
  } else {
    page.mode = live.light.mode;
  }
  page.brightness = live.light.brightness;
  page.speed = live.light.speed;
  page.direction = live.light.direction;
  page.multiColour = live.light.multiColour;
  page.presetColour = live.light.presetColour;
  page.customGroup = live.light.customGroup;
  CNorvaneUSBDevice::SetLightParams(page);
  SetLiveCopy(live_light);
  if (live_light.mode != before.mode || live_light.mode == keyboard::kCustomColourMode) {
    StartLightMode(live_light.mode);
  }

  system_.key6_flag = live.sixKey;
  system_.w_flag = live.wFlag;
  system_.win_flag = live.winLock;
  profile_.SetSystemStages(system_);
  StoreLightIntoProfile();
  SaveProfile();
  return active_profile_.load();
}

void CNorvaneKeyboardDevice::InitialSync() {
  ReadDeviceState();
  RefreshPage();
  StartLightingThread();
}

int CNorvaneKeyboardDevice::ReadDeviceState() {
  const int keys = ReadDeviceKeys();
  LoadProfile();
  if (keys == protocol::kResultOk) {
    // The keys the profile reassigned are found by the functions the keyboard holds for them.
    keyboard::CompletePositionMaps(layout_.maps, layout_.keyTable, layout_.KeyPositions(), key_list_);
    SetEventPositions(layout_.maps.keys);
  }
  ReadLiveSettings();  // gives the active profile; how the read went is kept apart
  return keys != 1 ? keys : LastLiveReadResult();
}

void CNorvaneKeyboardDevice::Resync() {
  if (LastDeviceEvent() == kEventResyncProfile) {
    if (View()) View()->ProfileSwitched();
    LoadProfile();
    TakeLastDeviceEvent();
  }
  ReadLiveSettings();
  RefreshPage();
}

int CNorvaneKeyboardDevice::IsWirelessLinkUp() {
  protocol::CommandChannel& channel = CommandChannel();
  if (!channel.IsOpen() || !channel.IsWireless()) return 0;
  return protocol::CmdQueryWirelessLink(channel) == 1 ? 1 : 0;
}

void CNorvaneKeyboardDevice::ReadWirelessStatus() {
  StatusRecord status{};
  if (WirelessState() != 0 || ReadStatusRecord(status) != protocol::kResultOk) return;
  if (View()) View()->ShowWirelessStatus(status);
}

}  // namespace norvane::devices
