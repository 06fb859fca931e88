// Writing to the keyboard: key tables, macros, the settings record.
#include <algorithm>

#include "devices/keyboard/key_table_builder.h"
#include "devices/keyboard/keyboard_device.h"
#include "devices/macro_writes.h"
#include "macro/macro_files.h"
#include "platform/trace.h"
#include "protocol/command_series.h"

namespace norvane::devices {
namespace {

// Sets the channel's block size to the key table of the refreshed information block.
int TakeTableBlockSize(protocol::CommandChannel& channel, const keyboard::KeyboardLayout& layout) {
  const std::size_t bytes = layout.TableBytes();
  if (bytes > keyboard::kKeyTableSize) return protocol::kResultNotWritten;
  return channel.SetBlockSize(static_cast<std::uint16_t>(bytes)) == 1 ? protocol::kResultOk
                                                                      : protocol::kResultNotWritten;
}

}  // namespace

// A table write starts from the table last read; without one it would wipe the keys it does not set.
int CNorvaneKeyboardDevice::EnsureLayout() {
  return layout_.loaded ? protocol::kResultOk : ReadDeviceKeys();
}

std::size_t CNorvaneKeyboardDevice::MacroCount() const {
  return macro::ReadMacroList(UserProfileFolder()).size();
}

std::vector<KeyAssignment> CNorvaneKeyboardDevice::KeysFromCodes(std::span<const std::uint8_t> codes) const {
  std::vector<KeyAssignment> keys;
  for (std::size_t key = 0; key < codes.size() / keyboard::kCodeSize; ++key) {
    KeyAssignment assignment = key < key_list_.size() ? key_list_[key] : KeyAssignment{};
    assignment.current = {codes[3 * key], codes[3 * key + 1], codes[3 * key + 2]};
    keys.push_back(assignment);
  }
  return keys;
}

// Both tables are written with the block size the keyboard reports now: its information block is read
// again first, and nothing is sent when that read fails.
int CNorvaneKeyboardDevice::PrepareKeyTableWrite() {
  protocol::CommandChannel& channel = CommandChannel();
  if (!channel.IsOpen()) return protocol::kResultNoReply;
  if (const int result = EnsureLayout(); result != protocol::kResultOk) return result;
  keyboard::KeyboardLayout refreshed = layout_;
  if (const int result = keyboard::RefreshDeviceInfo(channel, refreshed); result != protocol::kResultOk) {
    return result;
  }
  if (const int result = TakeTableBlockSize(channel, refreshed); result != protocol::kResultOk) return result;
  layout_.info = refreshed.info;
  return protocol::kResultOk;
}

int CNorvaneKeyboardDevice::WriteKeyTable(int page, std::span<const std::uint8_t> codes) {
  return WriteKeyTable(page, std::span<const KeyAssignment>(KeysFromCodes(codes)));
}

int CNorvaneKeyboardDevice::WriteKeyTableExtra(int page, std::span<const std::uint8_t> codes) {
  return WriteKeyTableExtra(page, std::span<const KeyAssignment>(KeysFromCodes(codes)));
}

int CNorvaneKeyboardDevice::WriteKeyTableFromProfile(int page) {
  return WriteKeyTable(page, std::span<const KeyAssignment>(key_list_));
}

int CNorvaneKeyboardDevice::WriteKeyTableExtraFromProfile(int page) {
  const std::vector<KeyAssignment> second = profile_.GetSecondaryKeyList();
  return WriteKeyTableExtra(page, std::span<const KeyAssignment>(second));
}

int CNorvaneKeyboardDevice::WriteKeyTable(int page, std::span<const KeyAssignment> keys) {
  if (const int result = PrepareKeyTableWrite(); result != protocol::kResultOk) return result;
  protocol::CommandChannel& channel = CommandChannel();
  const keyboard::BuiltKeyTable built =
      keyboard::BuildKeyTable(layout_.keyTable, layout_.TableBytes(), keys, layout_.maps.keys, MacroCount());
  protocol::CommandSeries series(channel);
  return series.Run([&](auto& ch) { return protocol::CmdWriteKeyTable(ch, built.table, page); });
}

int CNorvaneKeyboardDevice::WriteKeyTableExtra(int page, std::span<const KeyAssignment> keys) {
  if (const int result = PrepareKeyTableWrite(); result != protocol::kResultOk) return result;
  protocol::CommandChannel& channel = CommandChannel();
  const keyboard::KeyTable table =
      keyboard::BuildExtraKeyTable(layout_.TableBytes(), keys, layout_.maps.keys);
  protocol::CommandSeries series(channel);
  return series.Run([&](auto& ch) { return protocol::CmdWriteKeyTableExtra(ch, table, page); });
}

std::vector<int> CNorvaneKeyboardDevice::CollectUsedMacros() {
  return keyboard::CollectUsedMacros(key_list_, layout_.maps.keys, MacroCount());
}

int CNorvaneKeyboardDevice::WriteMacros(std::span<const int> macros) {
  if (macros.empty()) return 0;
  // The macro memory's size comes from the information block; without one nothing can be checked.
  if (!layout_.loaded && EnsureLayout() != protocol::kResultOk) return -1;
  protocol::CommandChannel& channel = CommandChannel();
  return WriteMacroBlock(channel, UserProfileFolder(), macros, layout_.MacroCapacity(),
                         [&channel] { return channel.IsOpen(); });
}

int CNorvaneKeyboardDevice::WriteUsedMacros() {
  const int result = WriteMacros(CollectUsedMacros());
  if (const std::optional<DeviceMessage> message = MacroWriteMessage(result)) ShowMessage(*message);
  return result;
}

int CNorvaneKeyboardDevice::CommitKeyAssignments() {
  const int result = WriteKeyTableFromProfile(0);
  if (result != protocol::kResultOk) {
    Trace("keyboard: writing the key table failed: " + std::string(protocol::DescribeResult(result)));
    ShowMessage({"key_write_failed_text", std::nullopt});
    return result;
  }
  const int macros = WriteUsedMacros();
  return macros == 0 ? protocol::kResultOk : protocol::kResultNotWritten;
}

std::optional<CNorvaneKeyboardDevice::PreparedSettings> CNorvaneKeyboardDevice::PrepareSettings(int profile, int value,
                                                                                            int& result) {
  protocol::CommandChannel& channel = CommandChannel();
  result = protocol::kResultNoReply;
  if (!channel.IsOpen()) return std::nullopt;
  // Each record sits at its profile number × 31 within the 16-bit address range.
  result = protocol::kResultNotWritten;
  if (profile < 0 || profile > 0xFFFF / static_cast<int>(keyboard::kSettingsRecordSize)) return std::nullopt;
  const auto address = static_cast<std::uint16_t>(profile * static_cast<int>(keyboard::kSettingsRecordSize));
  // The firmware's own bytes go back as they were; before any live read, take them from the record itself.
  keyboard::SettingsRecord base = live_record_;
  if (!live_record_read_) {
    result = protocol::CmdReadSettings(channel, base, address);
    if (result != protocol::kResultOk) return std::nullopt;
  }
  result = protocol::kResultOk;
  return PreparedSettings{keyboard::EncodeSettingsRecord(base, GetLightParams(), system_, ModeTable(),
                                                         static_cast<std::uint8_t>(value)),
                          address};
}

int CNorvaneKeyboardDevice::SendSettings(const PreparedSettings& prepared) {
  protocol::CommandSeries series(CommandChannel());
  return series.Run([&](auto& ch) { return protocol::CmdWriteSettings(ch, prepared.record, prepared.address); });
}

int CNorvaneKeyboardDevice::WriteSettings(int profile, int value) {
  int result = protocol::kResultOk;
  const std::optional<PreparedSettings> prepared = PrepareSettings(profile, value, result);
  return prepared ? SendSettings(*prepared) : result;
}

void CNorvaneKeyboardDevice::WriteSettingsSoon(int profile, int value, std::function<void(int)> done) {
  // The record is built here, on the UI thread, from the state as it is now; only the sending waits.
  int result = protocol::kResultOk;
  const std::optional<PreparedSettings> prepared = PrepareSettings(profile, value, result);
  if (!prepared) {
    if (done) done(result);
    return;
  }
  settings_writer_.Submit([this, record = *prepared, done = std::move(done)] {
    const int sent = SendSettings(record);
    if (done) PostToUi([done, sent] { done(sent); });
  });
}

void CNorvaneKeyboardDevice::WaitForSettingsWrites() {
  settings_writer_.WaitIdle();
}

}  // namespace norvane::devices
