// Arbitrary bytes as the colour chooser's swatch file (the user's or the shipped one), read from memory.
// Nothing may crash or hang; a usable document stays usable through a save of either row and reads back
// what was saved; colour texts read back as the colour they were written from.
// libFuzzer: -max_len=2048
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/fuzz_require.h"
#include "profiles/json_file_util.h"
#include "profiles/swatch_file.h"

using norvane::fuzz::Require;

namespace {

namespace sw = norvane::swatches;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::uint32_t colour = 0;
  for (std::size_t i = 0; i < size && i < 4; ++i) colour = (colour << 8) | data[i];
  Require(sw::ParseColourText(sw::ColourText(colour)) == colour);
  if (const auto parsed = sw::ParseColourText(bytes)) Require(sw::ParseColourText(sw::ColourText(*parsed)) == parsed);

  Json::Value root = norvane::JsonFileUtil::ParseJson(bytes);
  const sw::Content content = sw::Classify(root);
  const sw::Swatches shown = sw::Decode(root);
  if (content != sw::Content::kUsable) return 0;
  Require(shown.presets.size() == sw::kSlotCount);

  sw::Row row{};
  row[0] = sw::Slot{true, colour, std::string(sw::kSlotFilled)};
  sw::PutFavourites(root, row, 0);
  sw::PutPresets(root, row, 1);
  Json::Value written;
  Require(norvane::JsonFileUtil::TryParseJson(norvane::JsonFileUtil::StyledText(root), written));
  Require(sw::Classify(written) == sw::Content::kUsable);
  const sw::Swatches back = sw::Decode(written);
  Require(back.favourites[0].present && back.favourites[0].colour == colour && back.favouriteSelected == 0);
  Require(back.presets[0].present && back.presets[0].colour == colour && back.presetSelected == 1);
  return 0;
}
