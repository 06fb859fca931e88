#pragma once
// What the update list knows: one entry per model-table row (the key the update service knows the model
// by, and the version the connected device or the program has), and one record per list item (what the
// service answered and where the download goes), with the item's state.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace norvane::update {

struct UpdateEntry {
  std::int32_t first = 0;    // non-zero: firmware, versions in hexadecimal; 0: the program, in decimal
  std::int32_t second = 0;   // last part of the key; -1 for a device reached through its receiver
  std::int32_t version = 0;  // 0: unknown, the entry is not listed
  std::string brand;
  std::string model;  // "ALL" marks the program's own row
  std::string type;
  std::string name;          // shown in the list; names the downloaded file
  std::string versionLabel;  // current version shown for the program before a successful query
};

enum UpdateItemState : std::int32_t {
  kStateInitial = 0,
  kStateNewer = 1,       // a newer version is available
  kStateNewerAlso = 2,   // as 1
  kStateQueued = 3,      // waits for its download
  kStateDownloading = 4,
  kStateDownloaded = 5,
  kStateInstalling = 6,
  kStateUpToDate = 7,    // up to date, or updated
  kStateFailed = 8,      // the download or the update failed
};

// The states an item rests in: no download or installer is under way for it.
[[nodiscard]] constexpr bool IsRestingState(std::int32_t state) {
  return state == kStateNewer || state == kStateNewerAlso || state == kStateUpToDate || state == kStateFailed;
}

struct UpdateInfo {
  std::int32_t state = kStateUpToDate;
  std::int32_t deviceId = 0;  // 1: the download is opened with the desktop's handler and not waited for
  std::string name;
  std::string currentVersion;
  std::string versionName;
  std::string newVersion;  // empty when there is nothing newer
  std::string downloadUrl;
  std::string downloadFile;  // where the download goes (set when the item is added)
};

// How an item shows a state: its status text (a language text id), whether the progress and the done
// mark show, whether its check box can be used, and the check box text colours (normal and selected /
// disabled, 0xAARRGGBB).
struct StatePresentation {
  std::string_view statusTextId;
  bool progressShown = false;
  bool doneShown = false;
  bool checkEnabled = false;
  std::uint32_t textColor = 0;
  std::uint32_t disabledTextColor = 0;
};

// The presentation of `state`; states outside 0..8 show as the initial state.
[[nodiscard]] const StatePresentation& PresentationOf(std::int32_t state);

}  // namespace norvane::update
