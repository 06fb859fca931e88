// Arbitrary bytes as the colour chooser's swatch file of the user and as the shipped default one. Nothing may
// crash or hang; a user file that is not usable is set aside byte for byte before anything replaces it, and
// a save always leaves a usable file that reads back what was saved.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz/fuzz_scratch_folder.h"
#include "platform/atomic_file.h"
#include "profiles/json_file_util.h"
#include "profiles/swatch_file.h"

namespace {

namespace sw = norvane::swatches;
using norvane::WriteFileAtomically;

constexpr std::string_view kDefaults = R"({"coloroptioninfo": {
  "palletDialogcoloroption": [{"color": "FFFF0000"}, {"color": "FF00FF00"}],
  "palletDialogcoloroption_selectitem": 4,
  "palletDialogcollectcoloroption": [{"color": "FFFFFFFF", "UserData": ""}],
  "palletDialogcollectcoloroption_selectitem": 0}})";

const std::filesystem::path& ScratchFolder() {
  static const norvane::fuzz::ScratchFolderOwner owner("swatches");
  return owner.path();
}

void Require(bool condition) {
  if (!condition) std::abort();
}

bool UsableOnDisk(const std::filesystem::path& file) {
  return sw::Classify(norvane::JsonFileUtil().ReadJsonValue(file)) == sw::Content::kUsable;
}

void SaveAndReadBack(const sw::SwatchFile& file, std::uint32_t colour) {
  sw::Row row{};
  row[0] = sw::Slot{true, colour, std::string(sw::kSlotFilled)};
  if (!file.SaveFavourites(row, 0)) return;  // only a file that could not be set aside refuses
  Require(UsableOnDisk(file.UserFile()));
  const sw::Swatches back = sw::Decode(norvane::JsonFileUtil().ReadJsonValue(file.UserFile()));
  Require(back.favourites[0].present && back.favourites[0].colour == colour);
  Require(back.favouriteSelected == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::filesystem::path folder = ScratchFolder() / "run";
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  std::filesystem::create_directories(folder);
  std::uint32_t colour = 0;
  for (std::size_t i = 0; i < size && i < 4; ++i) colour = (colour << 8) | data[i];
  Require(sw::ParseColourText(sw::ColourText(colour)) == colour);

  // The bytes as the user's file, beside good defaults.
  const std::filesystem::path user = folder / "user.config";
  const std::filesystem::path defaults = folder / "default.config";
  WriteFileAtomically(defaults, kDefaults);
  WriteFileAtomically(user, bytes);
  const bool usable = UsableOnDisk(user);
  const sw::SwatchFile file(user, defaults);
  (void)file.Load();
  if (!usable && std::filesystem::exists(folder / "user.config.damaged")) {
    std::string kept;
    Require(norvane::ReadWholeFile(folder / "user.config.damaged", kept) && kept == bytes);
  }
  Require(UsableOnDisk(user));
  SaveAndReadBack(file, colour);

  // The bytes as the shipped defaults, with no user file yet.
  std::filesystem::remove_all(folder, ignored);
  std::filesystem::create_directories(folder);
  WriteFileAtomically(defaults, bytes);
  const sw::Swatches fromDefaults = file.Load();
  Require(fromDefaults.presets.size() == sw::kSlotCount);
  SaveAndReadBack(file, colour);

  std::filesystem::remove_all(folder, ignored);
  return 0;
}
