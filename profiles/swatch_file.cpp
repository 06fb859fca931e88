#include "profiles/swatch_file.h"

#include <system_error>

#include "platform/trace.h"
#include "platform/xdg_paths.h"
#include "profiles/json_access.h"
#include "profiles/json_file_util.h"

namespace norvane::swatches {
namespace {

constexpr std::string_view kInfo = "coloroptioninfo";
constexpr std::string_view kPresets = "palletDialogcoloroption";
constexpr std::string_view kPresetSelected = "palletDialogcoloroption_selectitem";
constexpr std::string_view kFavourites = "palletDialogcollectcoloroption";
constexpr std::string_view kFavouriteSelected = "palletDialogcollectcoloroption_selectitem";
constexpr std::string_view kColour = "color";
constexpr std::string_view kUserData = "UserData";

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool Has(const Json::Value& object, std::string_view key) {
  return object.isMember(key.data(), key.data() + key.size());
}

bool IsStringOrAbsent(const Json::Value& object, std::string_view key) {
  return !Has(object, key) || json::Member(object, key).isString();
}

bool IsRowElement(const Json::Value& element) {
  if (element.isNull()) return true;  // a gap a hand edit or an old writer left: no entry
  if (!element.isObject() || !IsStringOrAbsent(element, kUserData)) return false;
  if (!Has(element, kColour)) return true;
  const Json::Value& colour = json::Member(element, kColour);
  return colour.isString() && ParseColourText(colour.asString()).has_value();
}

bool IsRowOrAbsent(const Json::Value& info, std::string_view key) {
  const Json::Value& row = json::Member(info, key);
  if (row.isNull()) return true;
  if (!row.isArray()) return false;
  for (const Json::Value& element : row) {
    if (!IsRowElement(element)) return false;
  }
  return true;
}

bool IsIndexOrAbsent(const Json::Value& info, std::string_view key) {
  const Json::Value& index = json::Member(info, key);
  return index.isNull() || (index.isInt());
}

Row DecodeRow(const Json::Value& row) {
  Row slots{};
  for (int i = 0; i < kSlotCount; ++i) {
    const Json::Value& element = json::Element(row, i);
    const std::optional<std::uint32_t> colour = ParseColourText(json::ReadString(element, kColour));
    if (!colour) continue;
    slots[static_cast<std::size_t>(i)] = Slot{true, *colour, json::ReadString(element, kUserData)};
  }
  return slots;
}

std::optional<int> DecodeIndex(const Json::Value& info, std::string_view key) {
  const Json::Value& index = json::Member(info, key);
  if (!index.isInt()) return std::nullopt;
  return index.asInt();
}

enum class Read { kMissing, kEmpty, kDamaged, kParsed };

// The user file as it is on disk. A file that exists but cannot be read whole counts as damaged: it is
// not ours to replace without keeping it.
Read ReadFile(const std::filesystem::path& file, Json::Value& root) {
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  if (!std::filesystem::exists(status)) return Read::kMissing;
  if (!std::filesystem::is_regular_file(status)) return Read::kDamaged;
  const std::string text = JsonFileUtil().readjsonFile(file);
  if (text.empty()) return std::filesystem::file_size(file, error) == 0 ? Read::kEmpty : Read::kDamaged;
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) return Read::kEmpty;
  return JsonFileUtil::TryParseJson(text, root) ? Read::kParsed : Read::kDamaged;
}

}  // namespace

std::string ColourText(std::uint32_t argb) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text(8, '0');
  for (int i = 7; i >= 0; --i, argb >>= 4) text[static_cast<std::size_t>(i)] = kDigits[argb & 0xF];
  return text;
}

std::optional<std::uint32_t> ParseColourText(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(digit);
  }
  return value;
}

Content Classify(const Json::Value& root) {
  if (root.isNull()) return Content::kEmpty;
  if (!root.isObject()) return Content::kDamaged;
  if (root.empty()) return Content::kEmpty;
  // An object that holds anything but our member is somebody's file: kept, never replaced.
  if (!Has(root, kInfo)) return Content::kDamaged;
  const Json::Value& info = json::Member(root, kInfo);
  if (!info.isObject()) return Content::kDamaged;
  if (info.empty()) return Content::kEmpty;
  const bool typed = IsRowOrAbsent(info, kPresets) && IsRowOrAbsent(info, kFavourites) &&
                     IsIndexOrAbsent(info, kPresetSelected) && IsIndexOrAbsent(info, kFavouriteSelected);
  return typed ? Content::kUsable : Content::kDamaged;
}

Swatches Decode(const Json::Value& root) {
  Swatches swatches;
  if (Classify(root) != Content::kUsable) return swatches;
  const Json::Value& info = json::Member(root, kInfo);
  swatches.presets = DecodeRow(json::Member(info, kPresets));
  swatches.favourites = DecodeRow(json::Member(info, kFavourites));
  swatches.presetSelected = DecodeIndex(info, kPresetSelected);
  swatches.favouriteSelected = DecodeIndex(info, kFavouriteSelected);
  return swatches;
}

SwatchFile::SwatchFile(std::filesystem::path userFile, std::filesystem::path defaultFile)
    : userFile_(std::move(userFile)), defaultFile_(std::move(defaultFile)) {}

SwatchFile SwatchFile::ForCurrentUser() {
  return SwatchFile(UserDataFolder() / kFileName, DefaultDataFolder() / kFileName);
}

namespace {

void PutRow(Json::Value& root, std::string_view rowName, std::string_view selectedName, const Row& row,
            bool withUserData, int selected) {
  Json::Value& info = json::MemberForWrite(root, kInfo);
  Json::Value& elements = json::MemberForWrite(info, rowName);
  for (int i = 0; i < kSlotCount; ++i) {
    const Slot& slot = row[static_cast<std::size_t>(i)];
    if (!slot.present) continue;
    Json::Value* element = json::ElementForWrite(elements, i);
    if (element == nullptr) continue;
    json::MemberForWrite(*element, kColour) = ColourText(slot.colour);
    if (withUserData) json::MemberForWrite(*element, kUserData) = slot.userData;
  }
  json::MemberForWrite(info, selectedName) = selected;
}

}  // namespace

void PutPresets(Json::Value& root, const Row& presets, int selected) {
  PutRow(root, kPresets, kPresetSelected, presets, false, selected);
}

void PutFavourites(Json::Value& root, const Row& favourites, int selected) {
  PutRow(root, kFavourites, kFavouriteSelected, favourites, true, selected);
}

Json::Value SwatchFile::DefaultDocument() const {
  Json::Value root;
  if (ReadFile(defaultFile_, root) == Read::kParsed && Classify(root) == Content::kUsable) return root;
  Trace("No usable default swatch file at " + defaultFile_.string());
  return Json::Value(Json::objectValue);
}

SwatchFile::Document SwatchFile::UsableDocument() const {
  Document document;
  Read read = ReadFile(userFile_, document.root);
  if (read == Read::kParsed) {
    const Content content = Classify(document.root);
    if (content == Content::kUsable) return document;
    read = content == Content::kEmpty ? Read::kEmpty : Read::kDamaged;
  }
  document.root = DefaultDocument();
  if (read == Read::kDamaged) {
    const std::filesystem::path kept = SetAside(userFile_, kDamagedSuffix);
    if (kept.empty()) {
      // Showing the defaults is fine; writing them over the user's file is not.
      LogFileFailure(FileResult::Failure("The swatch file \"" + userFile_.string() +
                                         "\" is damaged and cannot be set aside; it stays as it is"));
      document.writable = false;
      return document;
    }
    Trace("Set the damaged swatch file " + userFile_.string() + " aside as " + kept.string());
  }
  if (Classify(document.root) == Content::kUsable && EnsureFolder(userFile_.parent_path())) {
    // A failed copy is logged by the writer; the defaults still serve this time.
    (void)JsonFileUtil().WriteJsonValue(userFile_, document.root);
  }
  return document;
}

Swatches SwatchFile::Load() const {
  return Decode(UsableDocument().root);
}

FileResult SwatchFile::SaveRow(std::string_view rowName, std::string_view selectedName, const Row& row,
                               bool withUserData, int selected) const {
  Document document = UsableDocument();
  if (!document.writable) {
    return FileResult::Failure("The swatch file \"" + userFile_.string() +
                               "\" is damaged; nothing was saved");
  }
  PutRow(document.root, rowName, selectedName, row, withUserData, selected);
  if (!EnsureFolder(userFile_.parent_path())) {
    return FileResult::Failure("Cannot create the folder of \"" + userFile_.string() + "\"");
  }
  return JsonFileUtil().WriteJsonValue(userFile_, document.root);
}

FileResult SwatchFile::SavePresets(const Row& presets, int selected) const {
  return SaveRow(kPresets, kPresetSelected, presets, false, selected);
}

FileResult SwatchFile::SaveFavourites(const Row& favourites, int selected) const {
  return SaveRow(kFavourites, kFavouriteSelected, favourites, true, selected);
}

}  // namespace norvane::swatches
