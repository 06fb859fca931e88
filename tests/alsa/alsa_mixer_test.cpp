// The ALSA backend through libasound itself, on a fake card that an ALSA control plugin provides: the
// microphone's and the monitoring's controls are found by their names, a start changes nothing on the card,
// levels and switches (on meaning not muted) reach the card's controls, a card without the microphone's
// playback has no monitoring, and a card that vanished takes nothing.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

#include "devices/headset/alsa_audio_chip.h"
#include "devices/headset/audio_session.h"
#include "devices/headset/sound_card_mixer.h"
#include "tests/support/temp_folder.h"

namespace norvane::devices::headset {
namespace {

enum Control { kPlaybackSwitch, kPlaybackVolume, kCaptureSwitch, kCaptureVolume };

// libasound reads its configuration once per process: it is pointed at the fake card's before any test.
class FakeCardConfiguration : public ::testing::Environment {
 public:
  void SetUp() override {
    std::ofstream(folder_ / "asound.conf") << "ctl_type.norvane_fake { lib \"" NORVANE_FAKE_CARD_PLUGIN "\" }\n"
                                              "ctl.fakecard { type norvane_fake }\n"
                                              "ctl.fakecard_nomonitor { type norvane_fake monitoring false }\n";
    setenv("ALSA_CONFIG_PATH", (folder_ / "asound.conf").c_str(), 1);
  }

 private:
  norvane::testing::TempFolder folder_;
};
const auto* const kConfiguration = ::testing::AddGlobalTestEnvironment(new FakeCardConfiguration);

class AlsaMixerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mixer_ = OpenAlsaMixer("fakecard");
    ASSERT_NE(mixer_, nullptr);
    plugin_ = dlopen(NORVANE_FAKE_CARD_PLUGIN, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(plugin_, nullptr) << "libasound loaded the fake card";
    Call<void (*)()>("FakeCardReset")();
  }
  void TearDown() override {
    if (plugin_) dlclose(plugin_);
  }
  template <class Fn>
  Fn Call(const char* name) {
    return reinterpret_cast<Fn>(dlsym(plugin_, name));
  }
  long Value(Control control) { return Call<long (*)(int)>("FakeCardValue")(control); }
  int Writes() { return Call<int (*)()>("FakeCardWrites")(); }
  void Vanish() { Call<void (*)(int)>("FakeCardGone")(1); }

  // A session on the card as the headset page starts one.
  std::unique_ptr<AudioSession> Session(const std::string& control) {
    auto chip = std::make_shared<AlsaAudioChip>([control] { return OpenAlsaMixer(control); }, control);
    auto session = std::make_unique<AudioSession>(chip);
    session->Start();
    return session;
  }

  std::unique_ptr<SoundCardMixer> mixer_;
  void* plugin_ = nullptr;
};

TEST_F(AlsaMixerTest, TheMicrophoneAndItsPlaybackAreFoundByTheirNames) {
  EXPECT_TRUE(mixer_->HasLevel(MixerPart::kMicrophone));
  EXPECT_TRUE(mixer_->HasSwitch(MixerPart::kMicrophone));
  EXPECT_TRUE(mixer_->HasLevel(MixerPart::kMonitoring));
  EXPECT_EQ(mixer_->Level(MixerPart::kMicrophone), 23);
  EXPECT_EQ(mixer_->Switch(MixerPart::kMicrophone), false);
  EXPECT_EQ(mixer_->Level(MixerPart::kMonitoring), 10);
  EXPECT_EQ(mixer_->Switch(MixerPart::kMonitoring), true);
  const auto range = mixer_->DecibelRange(MixerPart::kMicrophone);
  ASSERT_TRUE(range);
  EXPECT_EQ(range->low, -1200);
  EXPECT_EQ(range->high, -1200 + 31 * 135);
  EXPECT_EQ(mixer_->Decibels(MixerPart::kMicrophone), -1200 + 23 * 135);

  const auto without = OpenAlsaMixer("fakecard_nomonitor");
  ASSERT_NE(without, nullptr);
  EXPECT_FALSE(without->HasLevel(MixerPart::kMonitoring));
  EXPECT_FALSE(without->HasSwitch(MixerPart::kMonitoring));
  EXPECT_EQ(OpenAlsaMixer("nosuchcard"), nullptr);
}

TEST_F(AlsaMixerTest, AStartChangesNothingOnTheCard) {
  const auto session = Session("fakecard");
  ASSERT_TRUE(session->IsStarted());
  EXPECT_TRUE(session->HasDevice(AudioEnd::kOutput));
  EXPECT_TRUE(session->HasDevice(AudioEnd::kInput));
  EXPECT_EQ(Writes(), 0);
  EXPECT_EQ(Value(kCaptureVolume), 23);
  EXPECT_EQ(Value(kCaptureSwitch), 0);
  EXPECT_FALSE(session->Supports(AudioFeature::kEqualizer));
  EXPECT_DOUBLE_EQ(session->MicRange().minDb, -12.0);
  EXPECT_DOUBLE_EQ(session->MicRange().maxDb, 29.85);
}

TEST_F(AlsaMixerTest, LevelsAndSwitchesReachTheCardsControls) {
  const auto session = Session("fakecard");
  float scalar = 0;
  ASSERT_EQ(session->GetFloat(AudioEnd::kInput, "VolumeScalarControl", scalar, -1), kAudioOk);
  EXPECT_FLOAT_EQ(scalar, 23.0f / 31.0f);
  EXPECT_EQ(session->SetFloat(AudioEnd::kInput, "VolumeScalarControl", 0.37f, -1), kAudioOk);
  EXPECT_EQ(Value(kCaptureVolume), 11);
  std::string decibels;
  ASSERT_EQ(session->GetText(AudioEnd::kInput, "VolumeControl", decibels, -1), kAudioOk);
  EXPECT_EQ(decibels, "2.85");
  // Not muted is a switch that is on.
  EXPECT_EQ(session->SetWord(AudioEnd::kInput, "MuteControl", 0), kAudioOk);
  EXPECT_EQ(Value(kCaptureSwitch), 1);
  EXPECT_EQ(session->SetWord(AudioEnd::kInput, "AAMuteControl", 1), kAudioOk);
  EXPECT_EQ(Value(kPlaybackSwitch), 0);
  EXPECT_EQ(session->SetFloat(AudioEnd::kInput, "AAVolumeScalarControl", 1.0f, 0), kAudioOk);
  EXPECT_EQ(Value(kPlaybackVolume), 31);
  EXPECT_NE(session->SetWord(AudioEnd::kInput, "MuteControl", 2), kAudioOk) << "a mute word is 0 or 1";
  EXPECT_EQ(session->SetWord(AudioEnd::kOutput, "EQ_Slider1", 3), kAudioUnsupported);
}

TEST_F(AlsaMixerTest, ACardWithoutTheMicrophonesPlaybackHasNoMonitoring) {
  const auto session = Session("fakecard_nomonitor");
  std::int32_t muted = 0;
  EXPECT_EQ(session->GetWord(AudioEnd::kInput, "AAMuteControl", muted), kAudioUnsupported);
  EXPECT_EQ(Writes(), 0) << "the reset's write to the missing monitoring reaches nothing";
}

TEST_F(AlsaMixerTest, ACardThatVanishedTakesNothing) {
  const auto session = Session("fakecard");
  Vanish();
  EXPECT_NE(session->SetFloat(AudioEnd::kInput, "VolumeScalarControl", 0.5f, -1), kAudioOk);
  std::int32_t muted = 0;
  EXPECT_NE(session->GetWord(AudioEnd::kInput, "MuteControl", muted), kAudioOk);
  EXPECT_EQ(Writes(), 0);
}

}  // namespace
}  // namespace norvane::devices::headset
