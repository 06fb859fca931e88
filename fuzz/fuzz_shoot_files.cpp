// Arbitrary bytes as a mouse's gun files: every bullet shown and saved again, the events in the mouse's form
// and the recoil block of four such guns. Nothing may crash or hang, a block is never larger than its size
// field can say, and what a bullet is saved as is what it reads back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

#include "devices/mouse/recoil.h"
#include "fuzz/fuzz_scratch_folder.h"
#include "platform/atomic_file.h"
#include "profiles/json_file_util.h"

namespace {

namespace mouse = norvane::devices::mouse;

const std::filesystem::path& ScratchFolder() {
  static const norvane::fuzz::ScratchFolderOwner owner("shoot");
  return owner.path();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::filesystem::path& folder = ScratchFolder();
  for (int gun = 0; gun < mouse::kGunCount; ++gun) norvane::WriteFileAtomically(mouse::GunFile(folder, gun), bytes);

  std::vector<norvane::macro::EventRecord> guns;
  for (int gun = 0; gun < mouse::kGunCount; ++gun) guns.push_back(mouse::ReadGunEvents(mouse::GunFile(folder, gun)));
  if (const auto block = mouse::BuildRecoilBlock(guns)) {
    if (block->size() > 0xFFFF || ((*block)[2] | (*block)[3] << 8) != static_cast<int>(block->size())) std::abort();
  }

  Json::Value document = norvane::JsonFileUtil::ParseJson(bytes);
  for (int bullet = 0; bullet < mouse::kBulletCount; ++bullet) {
    mouse::Bullet shown = mouse::ReadBullet(document, bullet);
    mouse::WriteBullet(document, bullet, shown);
    if (!(mouse::ReadBullet(document, bullet) == shown)) std::abort();
  }
  (void)norvane::JsonFileUtil::StyledText(document);
  return 0;
}
