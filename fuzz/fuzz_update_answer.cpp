// Arbitrary bytes as an update service's answer (and as version texts and service addresses). Nothing may
// crash; an answer is either something newer with its version shown, or nothing newer with nothing shown.
// libFuzzer: -max_len=2048
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz/fuzz_require.h"
#include "update/update_query.h"
#include "update/update_service_address.h"

using norvane::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::int32_t version = 0;
  for (std::size_t i = 0; i < size && i < 2; ++i) version = (version << 8) | data[i];
  for (const bool hex : {true, false}) {
    const norvane::update::UpdateInfo info = norvane::update::ReadUpdateAnswer(bytes, version, hex);
    Require(info.state == norvane::update::kStateNewer || info.state == norvane::update::kStateUpToDate);
    if (info.state == norvane::update::kStateUpToDate) Require(info.newVersion.empty());
    if (info.state == norvane::update::kStateNewer) Require(!info.currentVersion.empty());
    (void)norvane::update::ReadVersionNumber(bytes, hex ? 16 : 10);
  }
  if (norvane::update::IsUpdateBaseUrl(bytes)) Require(bytes.substr(bytes.size() - 5) == "/api/");
  return 0;
}
