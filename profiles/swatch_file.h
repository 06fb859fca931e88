#pragma once
// The colour chooser's swatch file, "color_option_info.config" in the user data folder: the colours of its
// preset swatches and favourite slots and the item of each row that was selected last.
//
//   {"coloroptioninfo": {
//      "palletDialogcoloroption": [{"color": "FFFF0000"}, ...],                // 20 presets
//      "palletDialogcoloroption_selectitem": 4,
//      "palletDialogcollectcoloroption": [{"color": "FFFFFFFF", "UserData": ""}, ...],  // 20 favourites
//      "palletDialogcollectcoloroption_selectitem": 0}}
//
// A colour is written as eight upper-case hex digits, most significant first; a favourite whose "UserData"
// is "1" holds a colour the user kept, any other is an empty slot. The file is the user's: a damaged one
// (unparsable, or a member of the wrong type) is set aside as "<name>.damaged" and the shipped default
// document takes its place, so that nothing the user had is ever overwritten unseen.

#include <json/json.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/atomic_file.h"

namespace norvane::swatches {

inline constexpr std::string_view kFileName = "color_option_info.config";
inline constexpr std::string_view kDamagedSuffix = ".damaged";
inline constexpr int kSlotCount = 20;

// The user data of a favourite slot that holds a colour.
inline constexpr std::string_view kSlotFilled = "1";

// "FFFF0000" for opaque red.
[[nodiscard]] std::string ColourText(std::uint32_t argb);
// The value of one to eight hex digits of either case; nothing for any other text.
[[nodiscard]] std::optional<std::uint32_t> ParseColourText(std::string_view text);

// One element of a row. In a file read back, `present` says the element has a "color"; handed to a save,
// it says the window has that swatch (absent ones leave their element as it is).
struct Slot {
  bool present = false;
  std::uint32_t colour = 0;
  std::string userData;  // favourites only
};
using Row = std::array<Slot, kSlotCount>;

struct Swatches {
  Row presets{};
  Row favourites{};
  std::optional<int> presetSelected;
  std::optional<int> favouriteSelected;
};

enum class Content {
  kEmpty,    // nothing to read: null, {}, or an empty "coloroptioninfo"
  kDamaged,  // not a swatch document: wrong types, or an object holding something else entirely
  kUsable,
};

// What a parsed document holds.
[[nodiscard]] Content Classify(const Json::Value& root);
// The rows of a usable document; elements beyond the twentieth are ignored. Nothing for other documents.
[[nodiscard]] Swatches Decode(const Json::Value& root);

// Puts a row into a usable document the way a save does: the "color" of every present slot (and the user
// data of favourites) and the row's selected item; every other member stays as it was.
void PutPresets(Json::Value& root, const Row& presets, int selected);
void PutFavourites(Json::Value& root, const Row& favourites, int selected);

class SwatchFile {
 public:
  SwatchFile(std::filesystem::path userFile, std::filesystem::path defaultFile);
  // UserDataFolder() and DefaultDataFolder(), each with kFileName.
  [[nodiscard]] static SwatchFile ForCurrentUser();

  const std::filesystem::path& UserFile() const { return userFile_; }

  // The user's swatches. A user file that is missing, holds nothing or is damaged (then set aside first) is
  // replaced by the default document, which is what the result holds then.
  [[nodiscard]] Swatches Load() const;

  // Read, change, write back (atomically): the "color" of every present slot and the row's selected item.
  // Every other member of the file stays as it was.
  [[nodiscard]] FileResult SavePresets(const Row& presets, int selected) const;
  [[nodiscard]] FileResult SaveFavourites(const Row& favourites, int selected) const;

 private:
  struct Document {
    Json::Value root;
    bool writable = true;  // false while a damaged user file could not be set aside
  };
  // The shipped document when it is usable, else an empty object.
  Json::Value DefaultDocument() const;
  // The user's document, mended as Load describes.
  Document UsableDocument() const;
  FileResult SaveRow(std::string_view rowName, std::string_view selectedName, const Row& row,
                     bool withUserData, int selected) const;

  std::filesystem::path userFile_;
  std::filesystem::path defaultFile_;
};

}  // namespace norvane::swatches
