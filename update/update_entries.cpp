#include "update/update_entries.h"

#include "hid/catalogue/device_catalogue.h"

namespace norvane::update {

std::vector<UpdateEntry> BuildUpdateEntries(std::span<const TabVersion> tabs, std::int32_t installedVersion) {
  std::vector<UpdateEntry> entries;
  for (const hid::catalogue::ModelRow& row : hid::catalogue::ModelTable()) {
    UpdateEntry entry;
    entry.first = row.first;
    entry.second = row.second;
    entry.brand = row.brand;
    entry.model = row.model;
    entry.type = row.type;
    entry.name = row.name;
    entry.versionLabel = row.version_label;
    entries.push_back(std::move(entry));
  }
  for (std::size_t index = 0; index < tabs.size(); ++index) {
    const TabVersion& tab = tabs[index];
    if (!tab.deviceTab) continue;
    if (tab.pageRow < 0) {
      if (index < entries.size()) entries[index].version = 0;
      continue;
    }
    if (static_cast<std::size_t>(tab.pageRow) >= entries.size()) continue;
    UpdateEntry& entry = entries[static_cast<std::size_t>(tab.pageRow)];
    if (!tab.channelOpen) {
      entry.version = 0;
    } else if (!tab.receiverLink) {
      entry.version = tab.wiredVersion;
    } else if (tab.tabVisible) {
      entry.version = tab.receiverVersion;
      entry.second = -1;
    }
  }
  if (!entries.empty()) entries.back().version = installedVersion;
  return entries;
}

std::vector<UpdateEntry> ListedEntries(std::span<const UpdateEntry> entries) {
  std::vector<UpdateEntry> listed;
  for (const UpdateEntry& entry : entries) {
    if (entry.version != 0) listed.push_back(entry);
  }
  return listed;
}

}  // namespace norvane::update
