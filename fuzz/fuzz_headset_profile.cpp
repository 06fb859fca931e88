// Arbitrary bytes as the headset's profile, loaded by the headset page the way it loads a profile the user
// switches to: its audio settings, its equalizer type and custom set index, and its custom set names and
// band values, however long, malformed or out of step with each other. Then every equalizer operation runs
// on what was loaded. Nothing may crash, hang, or write outside the scratch folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "devices/headset/audio_chip_provider.h"
#include "devices/headset/emulated_audio_chip.h"
#include "devices/headset/hs6533_device.h"
#include "fuzz/fuzz_scratch_folder.h"
#include "platform/atomic_file.h"
#include "platform/xdg_paths.h"

namespace {

using namespace norvane;

const std::filesystem::path& ScratchFolder() {
  static const fuzz::ScratchFolderOwner owner("headset");
  return owner.path();
}

// The user data folder and the default data folder inside the scratch folder, and the emulated chip.
struct Setting {
  Setting() {
    setenv("XDG_DATA_HOME", ScratchFolder().c_str(), 1);
    SetDefaultDataFolderOverride(ScratchFolder() / "DefaultData");
    devices::headset::SetAudioChipSource([chip = std::make_shared<devices::headset::EmulatedAudioChip>()](
                                             const std::string&) {
      return std::vector<std::shared_ptr<devices::headset::AudioChip>>{chip};
    });
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Setting setting;
  devices::CNorvaneHS6533Device page;
  page.SetLedCount(13);
  page.SetDeviceFolder("HD");
  page.SetProfileStem("fuzzed");
  const std::filesystem::path file = page.CurrentProfileFile();
  if (file.empty() || !EnsureFolder(file.parent_path())) return 0;
  if (!WriteFileAtomically(file, std::string_view(reinterpret_cast<const char*>(data), size))) return 0;

  page.LoadProfile();
  page.InitAudio();
  const auto& audio = page.Audio();
  const int sets = static_cast<int>(audio.customNames.size());
  for (int set = -1; set <= sets && set < 70; ++set) page.ApplyCustomEq(set);
  page.ApplyEqPreset(audio.settings.eq_type);
  page.SetEqBand(3, audio.settings.custom_eq_select_index);
  page.SaveCustomEq("", audio.bands);
  page.SaveCustomEq("fuzz", audio.bands);
  page.SaveCustomEq("FUZZ", audio.bands);
  page.ApplyCustomEq(0);
  page.DeleteCustomEq();
  page.ApplyEqPreset(13);
  page.SelectVoice(audio.settings.magic_type);
  page.ApplyMicLevel(audio.settings.mic_in_value);
  page.LoadProfile();
  return 0;
}
