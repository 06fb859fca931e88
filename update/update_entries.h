#pragma once
// The entries of the update list: one per model-table row, with the version of the connected device (the
// USB release number its interface reports) or of the program itself.

#include <cstdint>
#include <span>
#include <vector>

#include "update/update_info.h"

namespace norvane::update {

// What the device strip tells about one tab, in tab order.
struct TabVersion {
  bool deviceTab = true;  // false for an item of the strip that is no device tab: it changes nothing
  int pageRow = -1;  // the model-table row of the tab's device page; -1 when the tab has no page
  bool channelOpen = false;
  bool receiverLink = false;
  bool tabVisible = false;
  std::uint16_t wiredVersion = 0;     // release number of the wired command interface
  std::uint16_t receiverVersion = 0;  // release number of the receiver's command interface
};

// One entry per model-table row in row order, versions taken from the tabs: an open wired channel gives
// its wired version; a visible tab on the receiver link gives the receiver's version and marks the key's
// last part -1; a closed channel gives 0; a tab without a page clears the entry of its own index. The last
// row is the program: `installedVersion`.
[[nodiscard]] std::vector<UpdateEntry> BuildUpdateEntries(std::span<const TabVersion> tabs,
                                                          std::int32_t installedVersion);

// The entries the settings window lists: those whose version is known.
[[nodiscard]] std::vector<UpdateEntry> ListedEntries(std::span<const UpdateEntry> entries);

}  // namespace norvane::update
