// Arbitrary bytes as a device's profile rule file. Nothing may crash or hang; whatever was read decides a
// profile among the device's own ones (or none); a file with anything broken is kept aside byte for byte
// before it is written again, and the written file reads back with the same rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz/fuzz_scratch_folder.h"
#include "platform/atomic_file.h"
#include "profiles/profile_rules.h"

namespace {

using norvane::ListedProfile;
using norvane::ProfileRuleFile;
using norvane::ProfileRuleSet;

const std::filesystem::path& ScratchFolder() {
  static const norvane::fuzz::ScratchFolderOwner owner("profile_rules");
  return owner.path();
}

void Require(bool condition) {
  if (!condition) std::abort();
}

const std::vector<ListedProfile> kProfiles = {{"Profile1", "2026_01_01_00_00_00_000"},
                                              {"Games", "2026_01_01_00_00_01_000"}};

bool KnownOrEmpty(const std::string& id) {
  return id.empty() || id == kProfiles[0].id || id == kProfiles[1].id;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::filesystem::path folder = ScratchFolder() / "run";
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  std::filesystem::create_directories(folder);
  const ProfileRuleFile file(folder);
  norvane::WriteFileAtomically(file.Path(), bytes);

  const ProfileRuleSet set = file.Read(kProfiles);
  norvane::RuleSituation situation;
  situation.running.push_back({1, "/usr/bin/steam", "steam", "steam"});
  situation.focused = situation.running.front();
  const norvane::RuleDecision decision = norvane::DecideProfile(set, situation);
  Require(KnownOrEmpty(decision.profileId));
  Require(decision.rule < static_cast<int>(set.rules.size()));

  Require(file.Write(set).ok);
  if (set.keepAsideBeforeWrite) {
    std::string kept;
    Require(norvane::ReadWholeFile(file.Path().string() + ".bak", kept) && kept == bytes);
  }
  const ProfileRuleSet back = file.Read(kProfiles);
  Require(!back.damagedFile && back.rules.size() == set.rules.size());
  for (std::size_t i = 0; i < set.rules.size(); ++i) {
    Require(back.rules[i].IsBroken() == set.rules[i].IsBroken());
    if (!set.rules[i].IsBroken()) {
      Require(back.rules[i].program == set.rules[i].program && back.rules[i].when == set.rules[i].when &&
              back.rules[i].profileId == set.rules[i].profileId);
    }
  }
  std::filesystem::remove_all(folder, ignored);
  return 0;
}
