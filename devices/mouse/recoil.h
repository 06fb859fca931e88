#pragma once
// The mouse's recoil patterns: one gun file per gun ("ShootData_<n>.Shoot" in the mouse's folder), each 30
// bullets of six macro events, and the recoil block the mouse stores all four guns in.
//
// Bullet b of a gun owns events 6b to 6b + 5: the left button pressed (10 ms) and released, the horizontal
// move (5 ms), the vertical move (then the bullet's delay), and both moves again with distance 0. A move's
// "Action" is "down" for left (horizontal) or up (vertical), "up" for right or down.

#include <json/json.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "macro/event_block.h"

namespace norvane::devices::mouse {

inline constexpr int kGunCount = 4;
inline constexpr int kBulletCount = 30;
inline constexpr int kEventsPerBullet = 6;

// The gun file of gun `gun` in `folder`.
[[nodiscard]] std::filesystem::path GunFile(const std::filesystem::path& folder, int gun);

// What the editor shows and saves of one bullet.
struct Bullet {
  bool left = false;  // the horizontal move pulls left (else right)
  bool up = false;    // the vertical move pulls up (else down)
  std::int64_t x = 0;
  std::int64_t y = 0;
  std::int64_t delay = 0;
  friend bool operator==(const Bullet&, const Bullet&) = default;
};

// Bullet `bullet` of a gun document. Directions are "down" without regard to case; events or members a
// document lacks read as a move right or down of 0. "Button" and "Delay" may be integers or decimal text.
[[nodiscard]] Bullet ReadBullet(const Json::Value& document, int bullet);

// Sets the four members of events 6b to 6b + 5 from `values`, with integer "Button" and "Delay"; every
// other member of the document and of the events stays. A root that is not an object starts as an empty
// object; an "Events" that is not an array starts as an empty one (the events before the bullet's are null).
void WriteBullet(Json::Value& document, int bullet, const Bullet& values);

// The events of a gun file in the mouse's 4-byte form, in file order: a file that is missing or not JSON,
// or whose "Events" is not an array, has none.
[[nodiscard]] std::vector<macro::EventCode> ReadGunEvents(const std::filesystem::path& file);
// The same from a gun file's parsed document.
[[nodiscard]] std::vector<macro::EventCode> GunEventsOf(const Json::Value& document);

// A copy of a gun file over another, as the recoil editor's import, export and reset make it. A source that
// cannot be read, is no JSON document or is far too large for a gun file is not taken, and the target keeps
// what it holds; the target is written whole or not at all.
enum class GunCopy {
  kDone,
  kNothing,         // no path, or a copy of a file onto itself
  kSourceUnusable,  // the source cannot be read or is not JSON
  kWriteFailed,     // the target could not be written; it is as it was
};
[[nodiscard]] GunCopy CopyGunFile(const std::filesystem::path& from, const std::filesystem::path& to,
                                  std::string* writeError = nullptr);

// Gives every gun of `folder` whose file is missing or is no JSON document the default file of `defaults`,
// as the recoil editor does when it opens: what the guns hold is then what the editor shows.
void ProvideMissingGunFiles(const std::filesystem::path& folder, const std::filesystem::path& defaults);

// The recoil block of the four guns (the shared event block with a record per gun); nullopt when the
// block's 16-bit size would not hold its total, rather than a block whose size field wrapped.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> BuildRecoilBlock(std::span<const macro::EventRecord> guns);

}  // namespace norvane::devices::mouse
