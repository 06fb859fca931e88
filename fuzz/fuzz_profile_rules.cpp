// Arbitrary bytes as a device's profile rule file, read from memory. Nothing may crash or hang; whatever was
// read decides a profile among the device's own ones (or none); anything damaged is kept aside before the
// next write; what a write would store reads back with the same rules.
// libFuzzer: -max_len=2048
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_require.h"
#include "profiles/json_file_util.h"
#include "profiles/profile_rules.h"

using norvane::fuzz::Require;

namespace {

using norvane::ListedProfile;
using norvane::ProfileRuleFile;
using norvane::ProfileRuleSet;

const std::vector<ListedProfile> kProfiles = {{"Profile1", "2026_01_01_00_00_00_000"},
                                              {"Games", "2026_01_01_00_00_01_000"}};

bool KnownOrEmpty(const std::string& id) {
  return id.empty() || id == kProfiles[0].id || id == kProfiles[1].id;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ProfileRuleSet set = ProfileRuleFile::ParseRules(bytes, kProfiles);
  if (set.damagedFile) Require(set.keepAsideBeforeWrite && set.rules.empty());

  norvane::RuleSituation situation;
  situation.running.push_back({1, "/usr/bin/steam", "steam", "steam"});
  situation.focused = situation.running.front();
  const norvane::RuleDecision decision = norvane::DecideProfile(set, situation);
  Require(KnownOrEmpty(decision.profileId));
  Require(decision.rule < static_cast<int>(set.rules.size()));
  (void)norvane::RulePrograms(set);

  const std::string written = norvane::JsonFileUtil::StyledText(ProfileRuleFile::RuleDocument(set));
  const ProfileRuleSet back = ProfileRuleFile::ParseRules(written, kProfiles);
  Require(!back.damagedFile && back.rules.size() == set.rules.size());
  for (std::size_t i = 0; i < set.rules.size(); ++i) {
    Require(back.rules[i].IsBroken() == set.rules[i].IsBroken());
    if (!set.rules[i].IsBroken()) {
      Require(back.rules[i].program == set.rules[i].program && back.rules[i].when == set.rules[i].when &&
              back.rules[i].profileId == set.rules[i].profileId);
    }
  }
  return 0;
}
