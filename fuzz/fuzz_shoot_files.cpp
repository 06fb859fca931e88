// Arbitrary bytes as a mouse's gun files, read from memory: bullets shown and saved again, the events in
// the mouse's form and the recoil block of four such guns. Nothing may crash or hang, a block is never
// larger than its size field can say, and what a bullet is saved as is what it reads back.
// libFuzzer: -max_len=4096
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "devices/mouse/recoil.h"
#include "profiles/json_file_util.h"

namespace {

namespace mouse = norvane::devices::mouse;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Json::Value document = norvane::JsonFileUtil::ParseJson(bytes);

  const std::vector<norvane::macro::EventRecord> guns(mouse::kGunCount, mouse::GunEventsOf(document));
  if (const auto block = mouse::BuildRecoilBlock(guns)) {
    if (block->size() > 0xFFFF || ((*block)[2] | (*block)[3] << 8) != static_cast<int>(block->size())) std::abort();
  }

  // Every bullet is read and written by the same code: the first, the last and one the input picks.
  const int picked = size > 0 ? data[size - 1] % mouse::kBulletCount : 1;
  for (const int bullet : {0, picked, mouse::kBulletCount - 1}) {
    mouse::Bullet shown = mouse::ReadBullet(document, bullet);
    mouse::WriteBullet(document, bullet, shown);
    if (!(mouse::ReadBullet(document, bullet) == shown)) std::abort();
  }
  (void)norvane::JsonFileUtil::StyledText(document);
  return 0;
}
