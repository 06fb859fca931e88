// Arbitrary bytes as the headset's profile, loaded from memory by the headset page the way it loads a profile
// the user switches to: its audio settings, its equalizer type and custom set index, and its custom set
// names and band values, however long, malformed or out of step with each other. Then one group of
// equalizer, voice or microphone operations, picked by the input's length, runs on what was loaded (one group
// per input keeps an input cheap; over a run every group meets inputs of every shape). Nothing may crash or
// hang. The page and its emulated audio chip are made and started once; the page has no profile file, so
// nothing is written.
// libFuzzer: -max_len=4096
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "devices/headset/audio_chip_provider.h"
#include "devices/headset/emulated_audio_chip.h"
#include "devices/headset/hs6533_device.h"

namespace {

using namespace norvane;

devices::CNorvaneHS6533Device& Page() {
  static devices::CNorvaneHS6533Device* page = [] {
    devices::headset::SetAudioChipSource([chip = std::make_shared<devices::headset::EmulatedAudioChip>()](
                                             const std::string&) {
      return std::vector<std::shared_ptr<devices::headset::AudioChip>>{chip};
    });
    auto* made = new devices::CNorvaneHS6533Device();
    made->SetLedCount(13);
    made->InitAudio();
    return made;
  }();
  return *page;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  devices::CNorvaneHS6533Device& page = Page();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  page.LoadProfileFromText(bytes, Json::Value());
  const auto& audio = page.Audio();
  const int sets = static_cast<int>(audio.customNames.size());
  switch (size % 6) {
    case 0: {
      // Every set is applied by the same code: the ends, one past them on each side and one the input picks.
      const int picked = size > 0 ? data[size - 1] % (sets + 1) : 0;
      for (const int set : {-1, 0, picked, sets - 1, sets}) page.ApplyCustomEq(set);
      break;
    }
    case 1:
      page.ApplyEqPreset(audio.settings.eq_type);
      page.SetEqBand(3, audio.settings.custom_eq_select_index);
      page.ApplyEqPreset(13);
      break;
    case 2:
      page.SaveCustomEq("", audio.bands);
      page.SaveCustomEq("fuzz", audio.bands);
      page.SaveCustomEq("FUZZ", audio.bands);
      break;
    case 3:
      page.ApplyCustomEq(0);
      page.DeleteCustomEq();
      break;
    case 4:
      page.SelectVoice(audio.settings.magic_type);
      page.ApplyMicLevel(audio.settings.mic_in_value);
      break;
    default:
      // The chip started again under what was loaded, as when the headset comes back.
      page.InitAudio();
      break;
  }
  return 0;
}
