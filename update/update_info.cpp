#include "update/update_info.h"

namespace norvane::update {

const StatePresentation& PresentationOf(std::int32_t state) {
  constexpr std::uint32_t kPlain = 0xFFFFFFFF, kPlainOff = 0xFF666666;
  constexpr std::uint32_t kBlue = 0xFF0099FF, kBlueOff = 0xFF0078C8;
  static constexpr std::array<StatePresentation, 9> kTable = {{
      {"LessUpdateText", false, false, false, kPlain, kPlainOff},
      {"NeedUpdateText", false, false, true, kBlue, kBlueOff},
      {"NeedUpdateText", false, false, true, kBlue, kBlueOff},
      {"DownloadWaitText", false, false, false, kBlue, kBlueOff},
      {"DownloadIngText", true, false, false, kBlue, kBlueOff},
      {"DownloadOkText", false, true, false, kBlue, kBlueOff},
      {"UpdateIngText", true, false, false, kBlue, kBlueOff},
      {"UpdateOkText", false, false, false, kPlain, kPlainOff},
      {"UpdateFailText", false, false, true, kBlue, kBlueOff},
  }};
  if (state < 0 || state >= static_cast<std::int32_t>(kTable.size())) return kTable[0];
  return kTable[static_cast<std::size_t>(state)];
}

}  // namespace norvane::update
