// Writing to the mouse: the key table, macros, the settings record.
#include <algorithm>

#include "devices/key_table_builder.h"
#include "devices/mouse/mouse_device.h"
#include "devices/macro_writes.h"
#include "macro/macro_files.h"
#include "platform/trace.h"
#include "protocol/command_series.h"

namespace norvane::devices {

std::size_t CNorvaneMouseDevice::MacroCount() const {
  return macro::ReadMacroList(UserProfileFolder()).size();
}

// A table write starts from the table last read; without one it would wipe the buttons it does not set.
int CNorvaneMouseDevice::EnsureLayout() {
  return layout_.loaded ? protocol::kResultOk : ReadDeviceKeys();
}

int CNorvaneMouseDevice::WriteKeyTable(int page, std::span<const std::uint8_t> codes) {
  std::vector<KeyAssignment> keys;
  for (std::size_t key = 0; key < codes.size() / kKeyCodeSize; ++key) {
    KeyAssignment assignment = key < key_list_.size() ? key_list_[key] : KeyAssignment{};
    assignment.current = {codes[3 * key], codes[3 * key + 1], codes[3 * key + 2]};
    keys.push_back(assignment);
  }
  return WriteKeys(page, keys);
}

int CNorvaneMouseDevice::WriteKeyTableExtra(int, std::span<const std::uint8_t>) {
  return protocol::kResultNoReply;
}

int CNorvaneMouseDevice::WriteKeyTableExtraFromProfile(int) {
  return protocol::kResultNoReply;
}

int CNorvaneMouseDevice::WriteKeyTableFromProfile(int page) {
  return WriteKeys(page, key_list_);
}

int CNorvaneMouseDevice::WriteKeys(int page, std::span<const KeyAssignment> keys) {
  if (!IsLinkUsable()) return protocol::kResultNoReply;
  if (const int result = EnsureLayout(); result != protocol::kResultOk) return result;
  // The cache holds at most 512 bytes: a longer table is not one this mouse can have.
  const std::size_t bytes = layout_.TableBytes();
  if (bytes > kKeyTableBytes) return protocol::kResultNotWritten;
  protocol::CommandChannel& channel = CommandChannel();
  if (channel.SetBlockSize(static_cast<std::uint16_t>(bytes)) != 1) return protocol::kResultNotWritten;
  const BuiltKeyTable built = BuildKeyTable(layout_.keyTable, bytes, keys, layout_.Places(), MacroCount());
  protocol::CommandSeries series(channel);
  return series.Run([&](auto& ch) { return protocol::CmdWriteKeyTable(ch, built.table, page); });
}

std::vector<int> CNorvaneMouseDevice::CollectUsedMacros() {
  return devices::CollectUsedMacros(key_list_, layout_.Places(), MacroCount());
}

int CNorvaneMouseDevice::WriteMacros(std::span<const int> macros) {
  if (macros.empty()) return 0;
  // The macro memory's size comes from the information block; without one nothing can be checked.
  if (!layout_.loaded && EnsureLayout() != protocol::kResultOk) return -1;
  return WriteMacroBlock(CommandChannel(), UserProfileFolder(), macros, layout_.MacroCapacity(),
                         [this] { return IsLinkUsable(); });
}

int CNorvaneMouseDevice::WriteUsedMacros() {
  const int result = WriteMacros(CollectUsedMacros());
  if (const std::optional<DeviceMessage> message = MacroWriteMessage(result)) ShowMessage(*message);
  return result;
}

int CNorvaneMouseDevice::CommitKeyAssignments() {
  const int result = WriteKeyTableFromProfile(0);
  if (result != protocol::kResultOk) {
    Trace("mouse: writing the key table failed: " + std::string(protocol::DescribeResult(result)));
    ShowMessage({"key_write_failed_text", std::nullopt});
    return result;
  }
  const int macros = WriteUsedMacros();
  return macros == 0 ? protocol::kResultOk : protocol::kResultNotWritten;
}

std::optional<mouse::SettingsRecord> CNorvaneMouseDevice::PrepareSettings(int profile, int value, int& result,
                                                                         std::uint16_t& address) {
  result = protocol::kResultNoReply;
  if (!CommandChannel().IsOpen()) return std::nullopt;
  // Each record sits at its profile number × 128 within the 16-bit address range.
  result = protocol::kResultNotWritten;
  if (profile < 0 || profile > 0xFFFF / static_cast<int>(mouse::kRecordSpacing)) return std::nullopt;
  address = static_cast<std::uint16_t>(profile * static_cast<int>(mouse::kRecordSpacing));
  // A position beyond the sensor's range is not a DPI the mouse has: it goes out as the highest one.
  std::vector<DpiStage> stages = stages_;
  if (HasDpiScale()) {
    const mouse::DpiScale scale = DpiScale();
    for (DpiStage& stage : stages) {
      stage.dpi_x = static_cast<std::uint16_t>(scale.Clamp(stage.dpi_x));
      stage.dpi_y = static_cast<std::uint16_t>(scale.Clamp(stage.dpi_y));
    }
  }
  result = protocol::kResultOk;
  return mouse::EncodeSettingsRecord({.activeProfile = static_cast<std::uint8_t>(value),
                                      .light = GetLightParams(),
                                      .modeTable = ModeTable(),
                                      .reportRate = system_.report_stage,
                                      .activeStage = active_stage_,
                                      .stages = stages,
                                      .flag = 1,
                                      .screenWidth = ScreenWidth(),
                                      .screenHeight = ScreenHeight(),
                                      .correction = correction_});
}

int CNorvaneMouseDevice::SendSettings(const mouse::SettingsRecord& record, std::uint16_t address) {
  if (!IsLinkUsable()) return protocol::kResultNoReply;
  protocol::CommandSeries series(CommandChannel());
  return series.Run([&](auto& ch) { return protocol::CmdWriteSettings(ch, record, address); });
}

int CNorvaneMouseDevice::WriteSettings(int profile, int value) {
  int result = protocol::kResultOk;
  std::uint16_t address = 0;
  const std::optional<mouse::SettingsRecord> record = PrepareSettings(profile, value, result, address);
  return record ? SendSettings(*record, address) : result;
}

void CNorvaneMouseDevice::WriteSettingsSoon(int profile, int value, std::function<void(int)> done) {
  // The record is built here, on the UI thread, from the state as it is now; only the sending waits.
  int result = protocol::kResultOk;
  std::uint16_t address = 0;
  const std::optional<mouse::SettingsRecord> record = PrepareSettings(profile, value, result, address);
  if (!record) {
    if (done) done(result);
    return;
  }
  settings_writer_.Submit([this, record = *record, address, done = std::move(done)] {
    const int sent = SendSettings(record, address);
    if (done) PostToUi([done, sent] { done(sent); });
  });
}

void CNorvaneMouseDevice::WaitForSettingsWrites() {
  settings_writer_.WaitIdle();
}

}  // namespace norvane::devices
