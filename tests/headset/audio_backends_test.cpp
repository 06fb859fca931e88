// The headset page on the two real backends: the sound card's ALSA mixer (a fake of the card's mixer
// controls stands in for the card) and a chip library loaded from a file, including one that fails or
// answers nonsense, and a headset whose sound card is not there.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "devices/headset/alsa_audio_chip.h"
#include "devices/headset/loadable_audio_chip.h"
#include "headset_fixture.h"

namespace norvane::devices::testing {
namespace {

using headset::MixerPart;
using headset::MixerRange;

// The mixer controls of a USB headset card: a microphone capture level of 0 to 31 steps (-12 to +30 dB)
// with its switch, and, when asked for, the microphone's playback into the headphones.
class FakeMixer : public headset::SoundCardMixer {
 public:
  struct Control {
    long level = 0;
    bool on = false;
  };
  explicit FakeMixer(bool monitoring) : monitoring_(monitoring) {}

  bool HasLevel(MixerPart part) const override { return part == MixerPart::kMicrophone || monitoring_; }
  bool HasSwitch(MixerPart part) const override { return part == MixerPart::kMicrophone || monitoring_; }
  std::optional<MixerRange> LevelRange(MixerPart part) override {
    if (gone || !HasLevel(part)) return std::nullopt;
    return MixerRange{0, 31};
  }
  std::optional<long> Level(MixerPart part) override {
    if (gone || !HasLevel(part)) return std::nullopt;
    return Of(part).level;
  }
  bool SetLevel(MixerPart part, long level) override {
    if (gone || !HasLevel(part)) return false;
    ++changes;
    Of(part).level = level;
    return true;
  }
  std::optional<MixerRange> DecibelRange(MixerPart part) override {
    if (gone || !HasLevel(part)) return std::nullopt;
    return MixerRange{-1200, 3000};
  }
  std::optional<long> Decibels(MixerPart part) override {
    if (gone || !HasLevel(part)) return std::nullopt;
    return -1200 + Of(part).level * 4200 / 31;
  }
  std::optional<bool> Switch(MixerPart part) override {
    if (gone || !HasSwitch(part)) return std::nullopt;
    return Of(part).on;
  }
  bool SetSwitch(MixerPart part, bool on) override {
    if (gone || !HasSwitch(part)) return false;
    ++changes;
    Of(part).on = on;
    return true;
  }
  std::string Describe() const override { return "fake card"; }

  Control& Of(MixerPart part) { return part == MixerPart::kMicrophone ? microphone : monitor; }

  Control microphone{23, false};
  Control monitor{10, true};
  int changes = 0;
  bool gone = false;

 private:
  bool monitoring_;
};

class AlsaHeadsetTest : public HeadsetTest {
 protected:
  // The card's mixer as the backend opens it; the test keeps a pointer to look at it.
  void UseCard(bool monitoring) {
    auto owned = std::make_unique<FakeMixer>(monitoring);
    mixer = owned.get();
    auto chip = std::make_shared<headset::AlsaAudioChip>(
        [owned = std::shared_ptr<FakeMixer>(std::move(owned))]() mutable -> std::unique_ptr<headset::SoundCardMixer> {
          return owned ? std::unique_ptr<headset::SoundCardMixer>(new ForwardingMixer(owned)) : nullptr;
        },
        "fake card");
    card = std::make_unique<headset::ScopedAudioChipSource>(
        [chip](const std::string&) { return std::vector<std::shared_ptr<headset::AudioChip>>{chip}; });
    ASSERT_EQ(Headset().LoadProfile(), 1);
    Headset().InitAudio();
  }

  // Hands every call to the fake, which the test holds on to.
  class ForwardingMixer : public headset::SoundCardMixer {
   public:
    explicit ForwardingMixer(std::shared_ptr<FakeMixer> mixer) : mixer_(std::move(mixer)) {}
    bool HasLevel(MixerPart p) const override { return mixer_->HasLevel(p); }
    bool HasSwitch(MixerPart p) const override { return mixer_->HasSwitch(p); }
    std::optional<MixerRange> LevelRange(MixerPart p) override { return mixer_->LevelRange(p); }
    std::optional<long> Level(MixerPart p) override { return mixer_->Level(p); }
    bool SetLevel(MixerPart p, long l) override { return mixer_->SetLevel(p, l); }
    std::optional<MixerRange> DecibelRange(MixerPart p) override { return mixer_->DecibelRange(p); }
    std::optional<long> Decibels(MixerPart p) override { return mixer_->Decibels(p); }
    std::optional<bool> Switch(MixerPart p) override { return mixer_->Switch(p); }
    bool SetSwitch(MixerPart p, bool on) override { return mixer_->SetSwitch(p, on); }
    std::string Describe() const override { return mixer_->Describe(); }

   private:
    std::shared_ptr<FakeMixer> mixer_;
  };

  FakeMixer* mixer = nullptr;
  std::unique_ptr<headset::ScopedAudioChipSource> card;
};

TEST_F(AlsaHeadsetTest, AStartLeavesTheCardsMixerAsItWasAndShowsWhatTheCardCannotDo) {
  UseCard(false);
  EXPECT_EQ(mixer->changes, 0);
  EXPECT_EQ(mixer->microphone.level, 23);
  EXPECT_FALSE(mixer->microphone.on);
  const auto& audio = Headset().Audio();
  ASSERT_TRUE(audio.started);
  EXPECT_EQ(audio.noticeTextId, "");
  EXPECT_EQ(audio.settings.mic_in_value, 74) << "23 of 31 steps";
  EXPECT_EQ(audio.settings.mic_in_select, 0) << "a switch that is off is muted";
  EXPECT_TRUE(audio.micLevel && audio.micMute);
  EXPECT_FALSE(audio.monitorLevel || audio.monitorMute) << "this card has no microphone playback";
  EXPECT_FALSE(audio.equalizer || audio.voiceChanger || audio.surround);
  EXPECT_DOUBLE_EQ(audio.micRange.minDb, -12.0);
  EXPECT_DOUBLE_EQ(audio.micRange.maxDb, 30.0);

  EXPECT_EQ(Headset().ApplyEqPreset(3), kAudioUnavailable);
  EXPECT_EQ(Headset().SetVoiceChanger(true), kAudioUnavailable);
  EXPECT_EQ(Headset().ApplyMonitorLevel(40), kAudioUnavailable);
  EXPECT_EQ(mixer->changes, 0);
}

TEST_F(AlsaHeadsetTest, LevelsAndSwitchesReachTheCardOnMeaningUnmuted) {
  UseCard(true);
  EXPECT_EQ(mixer->changes, 0);
  EXPECT_TRUE(Headset().Audio().monitorLevel);
  EXPECT_EQ(Headset().Audio().settings.mic_monitor_select, 1);

  EXPECT_EQ(Headset().ApplyMicLevel(37), kAudioDone);
  EXPECT_EQ(mixer->microphone.level, 11) << "0.37 of 31 steps";
  EXPECT_EQ(Headset().Audio().micDb, "2.90");
  EXPECT_EQ(Headset().SetMicOn(true), kAudioDone);
  EXPECT_TRUE(mixer->microphone.on);
  EXPECT_EQ(Headset().SetMonitorOn(false), kAudioDone);
  EXPECT_FALSE(mixer->monitor.on);
  EXPECT_EQ(Headset().ApplyMonitorLevel(100), kAudioDone);
  EXPECT_EQ(mixer->monitor.level, 31);
}

TEST_F(AlsaHeadsetTest, ACardThatWentAwayTakesNothingAndThePageKeepsItsSettings) {
  UseCard(true);
  mixer->gone = true;
  EXPECT_EQ(Headset().ApplyMicLevel(10), kAudioNotTaken);
  EXPECT_EQ(Headset().SetMicOn(true), kAudioNotTaken);
  EXPECT_EQ(Headset().Audio().settings.mic_in_value, 74);
  EXPECT_EQ(Headset().Audio().settings.mic_in_select, 0);
}

TEST_F(HeadsetTest, AHeadsetWithoutItsSoundCardSaysSoAndLeavesItsSoundAlone) {
  // The program's own choice of backend: no chip library, and the emulated headset has no sound card.
  headset::ScopedAudioChipSource real{headset::AudioChipSource{}};
  ASSERT_EQ(Headset().LoadProfile(), 1);
  Headset().InitAudio();
  EXPECT_FALSE(Headset().Audio().started);
  EXPECT_EQ(Headset().Audio().noticeTextId, "hs_audio_not_found");
  EXPECT_EQ(Headset().SetMicOn(false), kAudioUnavailable);
}

class LibraryHeadsetTest : public HeadsetTest {
 protected:
  void Load(int mode) {
    library = headset::LoadAudioChipLibrary(NORVANE_FAKE_CHIP_LIBRARY);
    ASSERT_NE(library, nullptr);
    void* handle = dlopen(NORVANE_FAKE_CHIP_LIBRARY, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(handle, nullptr);
    reinterpret_cast<void (*)(int)>(dlsym(handle, "FakeChipMode"))(mode);
    dlclose(handle);
    source = std::make_unique<headset::ScopedAudioChipSource>([this](const std::string&) {
      return std::vector<std::shared_ptr<headset::AudioChip>>{library, chip};
    });
    ASSERT_EQ(Headset().LoadProfile(), 1);
    Headset().InitAudio();
  }
  std::shared_ptr<headset::AudioChip> library;
  std::unique_ptr<headset::ScopedAudioChipSource> source;
};

TEST_F(LibraryHeadsetTest, ALoadedLibraryServesTheHeadset) {
  Load(0);
  ASSERT_TRUE(Headset().Audio().started);
  EXPECT_EQ(Headset().Session()->Chip(), library.get());
  EXPECT_TRUE(Headset().Audio().micMute);
  EXPECT_EQ(Headset().SetMicOn(false), kAudioDone);
}

TEST_F(LibraryHeadsetTest, ALibraryThatFailsToStartIsPassedOver) {
  Load(1);
  EXPECT_EQ(Headset().Session()->Chip(), chip.get());
}

TEST_F(LibraryHeadsetTest, NonsenseFromTheLibraryIsNeverTrusted) {
  Load(2);  // a negative number of devices: none
  EXPECT_FALSE(Headset().Session()->HasDevice(headset::AudioEnd::kOutput));
  Load(3);  // far too many: only the first few are looked at, and the one there is found
  EXPECT_TRUE(Headset().Session()->HasDevice(headset::AudioEnd::kOutput));
  Load(4);  // a feature list that runs off the buffer's end: cut, and too short to count
  EXPECT_EQ(Headset().Audio().noticeTextId, "hs_audio_features_unknown");
  EXPECT_FALSE(Headset().Audio().equalizer);
  EXPECT_EQ(headset::LoadAudioChipLibrary("/nonexistent/libaudiochipconf.so"), nullptr);
}

}  // namespace
}  // namespace norvane::devices::testing
