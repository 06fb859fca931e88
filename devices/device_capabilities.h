#pragma once
// What an editor may ask of a device beyond the page basics. A kind opts into each by implementing it and
// answering its accessor on CNorvaneUSBDevice, so an editor tells "this device does not do that" (null)
// from "the device failed" (a failing result).
//
// Results follow the command set: 1 success, 0 channel closed or no reply, negative codes for refusals.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "profiles/profile_records.h"

namespace norvane::devices {

class KeyTableOps {
 public:
  virtual ~KeyTableOps() = default;
  // The byte forms take 3 code bytes (type, data1, data2) per UI key.
  [[nodiscard]] virtual int WriteKeyTable(int page, std::span<const std::uint8_t> codes) = 0;
  [[nodiscard]] virtual int WriteKeyTableExtra(int page, std::span<const std::uint8_t> codes) = 0;
  [[nodiscard]] virtual int WriteKeyTableFromProfile(int page) = 0;
  [[nodiscard]] virtual int WriteKeyTableExtraFromProfile(int page) = 0;

  // The key assignment list, by UI key index (a profile may hold fewer keys than the picture shows).
  [[nodiscard]] virtual std::span<const KeyAssignment> KeyAssignments() const = 0;
  // Replaces the selected key's assignment in the list and the profile document, and saves the profile.
  virtual void SetSelectedKeyAssignment(const KeyAssignment& assignment) = 0;
  // The key buttons' labels follow the assignments (and the language).
  virtual void RefreshKeyLabels() = 0;
  // Writes the key table and the macros the keys use; the user is told what failed. 1 or the first
  // failing result.
  [[nodiscard]] virtual int CommitKeyAssignments() = 0;
};

class MacroOps {
 public:
  virtual ~MacroOps() = default;
  // Keys whose macro is gone fall back to their defaults.
  virtual void DropStaleMacroKeys() = 0;
  virtual std::vector<int> CollectUsedMacros() = 0;
  // 0 written (or nothing to write); above 0 the macros do not fit: that many events must go, plus one;
  // -1 the channel is closed or the write failed.
  [[nodiscard]] virtual int WriteMacros(std::span<const int> macro_indexes) = 0;
  // The device's macro names, in macro number order.
  [[nodiscard]] virtual std::vector<std::string> MacroNames() const = 0;
};

class SettingsOps {
 public:
  virtual ~SettingsOps() = default;
  // The device's settings record for a stored profile. 1 or the first failing command's result.
  [[nodiscard]] virtual int WriteSettings(int profile, int value) = 0;
  // The same without waiting for the device: the record is taken now and written on another thread, a
  // newer request replacing one that has not gone out yet. `done` gets the result on the UI thread.
  virtual void WriteSettingsSoon(int profile, int value, std::function<void(int result)> done) {
    const int result = WriteSettings(profile, value);
    if (done) done(result);
  }
};

}  // namespace norvane::devices
