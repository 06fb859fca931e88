// The headset's sound through the emulated audio chip: which devices the page takes, what a start writes,
// the equalizer with its presets and the user's sets, the microphone, the monitoring and the voice changer.
#include <gtest/gtest.h>

#include <cstring>

#include "headset_fixture.h"
#include "profiles/json_file_util.h"

namespace norvane::devices::testing {

Json::Value HeadsetTest::SavedEntry() const {
  return JsonFileUtil().ReadJsonValue(page_->CurrentProfileFile())["Device"][0];
}

namespace {

using headset::AudioDirection;
using headset::AudioEnd;
using headset::EmulatedAudioChip;
using Listed = EmulatedAudioChip::ListedDevice;

std::int32_t FloatWord(float value) {
  std::int32_t word = 0;
  std::memcpy(&word, &value, sizeof word);
  return word;
}

TEST_F(HeadsetTest, TheHeadsetsOwnOutputIsTakenOverTheOtherTypesWhereverItIsListed) {
  chip->SetDevices(AudioDirection::kOutput, {Listed{{10, 12, 0, 1}}, Listed{{11, 7, 0, 1}}, Listed{{12, 4, 0, 1}},
                                             Listed{{13, 1, 0, 1}, "1,1,1,1,1,1,1"}});
  Headset().InitAudio();
  ASSERT_NE(Headset().Session(), nullptr);
  EXPECT_EQ(Headset().Session()->Device(AudioEnd::kOutput)->id, 13);

  // Without it: type 12 when it is active, else type 7, else type 4.
  chip->SetDevices(AudioDirection::kOutput, {Listed{{12, 4, 0, 1}}, Listed{{10, 12, 0, 0}}, Listed{{11, 7, 0, 1}}});
  Headset().InitAudio();
  EXPECT_EQ(Headset().Session()->Device(AudioEnd::kOutput)->id, 11);
}

TEST_F(HeadsetTest, WithoutACaptureDeviceTheMicrophoneIsUnavailableAndNothingIsSentToADeviceThatIsNotThere) {
  chip->SetDevices(AudioDirection::kInput, {Listed{{30, 5, 0, 1}}});
  Start();
  EXPECT_FALSE(Headset().Session()->HasDevice(AudioEnd::kInput));
  EXPECT_FALSE(Headset().Audio().micLevel);
  EXPECT_FALSE(Headset().Audio().voiceChanger);
  EXPECT_EQ(Headset().ApplyMicLevel(50), kAudioUnavailable);
  EXPECT_EQ(Headset().SetMicOn(false), kAudioUnavailable);
  EXPECT_EQ(Headset().SelectVoice(2), kAudioUnavailable);
  for (const auto& call : chip->Calls()) EXPECT_NE(call.device, 30) << call.property;
}

TEST_F(HeadsetTest, AStartResetsOnlyWhatDidNotAnswerAndNeverSilencesTheMicrophone) {
  ASSERT_EQ(Headset().LoadProfile(), 1);
  Headset().InitAudio();
  for (const char* level : {"MuteControl", "VolumeScalarControl", "AAMuteControl", "AAVolumeScalarControl",
                            "VolumeControl", "VirtualSurroundEffectControl", "Enable_ENC_LFX"}) {
    EXPECT_TRUE(Sent(level).empty()) << level << " answered and was left as it was";
  }
  EXPECT_EQ(chip->Float(EmulatedAudioChip::kMicrophoneId, "VolumeScalarControl"), 0.8f);
  // The page shows the chip's own levels: 80 and, muted from the factory, the monitoring at 50.
  EXPECT_EQ(Headset().Audio().settings.mic_in_value, 80);
  EXPECT_EQ(Headset().Audio().settings.mic_in_select, 1);
  EXPECT_EQ(Headset().Audio().settings.mic_monitor_select, 0);

  // What does not answer is put into a known state: off, with the surround's own second words.
  chip->ClearCalls();
  chip->FailProperty("XearSurrHP_Enable", headset::kAudioFailed, 1);
  chip->FailProperty("Enable_ENC_LFX", headset::kAudioFailed, 1);
  Headset().InitAudio();
  EXPECT_EQ(Sent("Enable_ENC_LFX"), (std::vector<std::int32_t>{0}));
  EXPECT_EQ(Sent("VirtualSurroundEffectControl"), (std::vector<std::int32_t>{0}));
  for (const auto& call : chip->Calls()) {
    if (call.property == "VirtualSurroundEffectControl") {
      EXPECT_EQ(call.second, 4);
    }
  }
}

TEST_F(HeadsetTest, AChipLibraryThatFailsToStartCountsAsNoLibrary) {
  auto failing = std::make_shared<EmulatedAudioChip>();
  failing->SetInitResult(7);
  headset::ScopedAudioChipSource both{[&](const std::string&) {
    return std::vector<std::shared_ptr<headset::AudioChip>>{failing, chip};
  }};
  Start();
  EXPECT_EQ(Headset().Session()->Chip(), chip.get());
  EXPECT_TRUE(failing->Calls().empty());

  chip->SetInitResult(7);
  Headset().InitAudio();
  EXPECT_FALSE(Headset().Audio().started);
  EXPECT_EQ(Headset().Audio().noticeTextId, "hs_audio_not_found");
  EXPECT_EQ(Headset().ApplyEqPreset(2), kAudioUnavailable);
}

TEST_F(HeadsetTest, PresetFiveTurnsTheEqualizerOnAndWritesTenFlatBands) {
  Start();
  EXPECT_EQ(Headset().ApplyEqPreset(5), kAudioDone);
  const std::vector<std::string> expected = {"Enable_EQ_GFX", "EQ_Slider1", "EQ_Slider2", "EQ_Slider3", "EQ_Slider4",
                                             "EQ_Slider5",    "EQ_Slider6", "EQ_Slider7", "EQ_Slider8", "EQ_Slider9",
                                             "EQ_Slider10"};
  EXPECT_EQ(SetProperties(), expected);
  EXPECT_EQ(Sent("Enable_EQ_GFX"), (std::vector<std::int32_t>{1}));
  for (int band = 1; band <= 10; ++band) EXPECT_EQ(Sent("EQ_Slider" + std::to_string(band)), (std::vector<std::int32_t>{0}));
  EXPECT_EQ(SavedEntry()["SystemSetStages"]["EqType"].asInt(), 5);
}

TEST_F(HeadsetTest, MovingABandUnderAPresetMakesTheBandsTheUsersOwn) {
  Start();
  ASSERT_EQ(Headset().ApplyEqPreset(3), kAudioDone);
  EXPECT_EQ(Headset().Audio().bands, (headset::EqBands{10, 4, 0, -3, -4, -3, -2, -1, 0, 0}));
  chip->ClearCalls();
  EXPECT_EQ(Headset().SetEqBand(4, 6), kAudioDone);
  EXPECT_EQ(Headset().Audio().shownPreset, 13);
  EXPECT_EQ(Headset().Audio().customSelection, -1);
  EXPECT_TRUE(Headset().Audio().customSetsShown);
  EXPECT_EQ(Sent("EQ_Slider4"), (std::vector<std::int32_t>{6}));
  EXPECT_EQ(Headset().Audio().bands, (headset::EqBands{10, 4, 0, 6, -4, -3, -2, -1, 0, 0}));
}

TEST_F(HeadsetTest, PresetsAndBandsASkinMayNumberWronglyChangeNothing) {
  Start();
  for (const int preset : {-1, 0, 14, 100}) EXPECT_EQ(Headset().ApplyEqPreset(preset), kAudioNothing) << preset;
  for (const int band : {0, 11, -3}) EXPECT_EQ(Headset().SetEqBand(band, 5), kAudioNothing) << band;
  EXPECT_TRUE(chip->Calls().empty());
  EXPECT_EQ(Headset().Audio().shownPreset, 5);
}

TEST_F(HeadsetTest, AMicrophoneLevelOf37IsSentAsTheFloat037) {
  Start();
  EXPECT_EQ(Headset().ApplyMicLevel(37), kAudioDone);
  const auto calls = chip->Calls();
  const auto set = std::find_if(calls.begin(), calls.end(), [](const auto& c) {
    return c.property == "VolumeScalarControl" && c.access == headset::PropertyAccess::kSet;
  });
  ASSERT_NE(set, calls.end());
  EXPECT_EQ(static_cast<std::uint32_t>(set->word), 0x3EBD70A4u);
  EXPECT_EQ(set->word, FloatWord(0.37f));
  EXPECT_EQ(set->second, -1);
  // The chip's decibels of 0.37 on its -12 to 30 dB range.
  EXPECT_EQ(Headset().Audio().micDb, "3.54");
  EXPECT_EQ(SavedEntry()["SystemSetStages"]["MicInValue"].asInt(), 37);

  EXPECT_EQ(Headset().ApplyMonitorLevel(60), kAudioDone);
  EXPECT_EQ(Sent("AAVolumeScalarControl"), (std::vector<std::int32_t>{FloatWord(0.6f)}));
  EXPECT_EQ(SavedEntry()["SystemSetStages"]["MicMoniterValue"].asInt(), 60);
}

TEST_F(HeadsetTest, ASettingTheChipDoesNotTakeLeavesThePageAndTheProfileAsTheyWere) {
  Start();
  const Json::Value before = SavedEntry()["SystemSetStages"];
  chip->FailProperty("MuteControl", headset::kAudioFailed);
  chip->FailProperty("VolumeScalarControl", headset::kAudioFailed);
  chip->FailProperty("Enable_MAGICVOICE", headset::kAudioFailed);
  EXPECT_EQ(Headset().SetMicOn(false), kAudioNotTaken);
  EXPECT_EQ(Headset().Audio().settings.mic_in_select, 1) << "still on: the option flips back";
  EXPECT_EQ(Headset().ApplyMicLevel(10), kAudioNotTaken);
  EXPECT_EQ(Headset().Audio().settings.mic_in_value, 80);
  EXPECT_EQ(Headset().SetVoiceChanger(true), kAudioNotTaken);
  EXPECT_EQ(Headset().Audio().settings.magic_enable, 0);
  EXPECT_EQ(SavedEntry()["SystemSetStages"], before);

  chip->ClearFailures();
  EXPECT_EQ(Headset().SetMicOn(false), kAudioDone);
  EXPECT_EQ(chip->Word(EmulatedAudioChip::kMicrophoneId, "MuteControl"), 1) << "off is muted";
  EXPECT_EQ(SavedEntry()["SystemSetStages"]["MicInSelect"].asInt(), 0);
  EXPECT_EQ(Headset().SetMicOn(false), kAudioNothing);
}

TEST_F(HeadsetTest, VoiceOptionThreeIsTheChipsVoiceTwoAndTheChangerSilencesTheEcho) {
  Start();
  EXPECT_EQ(Headset().SetVoiceChanger(true), kAudioDone);
  EXPECT_EQ(Sent("Enable_MAGICVOICE"), (std::vector<std::int32_t>{1}));
  EXPECT_EQ(Sent("Enable_MICECHO"), (std::vector<std::int32_t>{0}));
  EXPECT_EQ(Headset().SelectVoice(3), kAudioDone);
  EXPECT_EQ(Sent("MagicVoice_Selection"), (std::vector<std::int32_t>{2}));
  EXPECT_EQ(SavedEntry()["SystemSetStages"]["MagicType"].asInt(), 3);
  for (const int voice : {0, 5}) EXPECT_EQ(Headset().SelectVoice(voice), kAudioNothing);
  EXPECT_EQ(Sent("MagicVoice_Selection").size(), 1u);
}

TEST_F(HeadsetTest, TheUsersSetsAreNamedOnceAtMostTwentyAndTheLastOneGoneBringsBackPresetOne) {
  Start();
  const headset::EqBands bands{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  EXPECT_EQ(Headset().SaveCustomEq("Bass", bands), 1);
  EXPECT_EQ(Headset().SaveCustomEq("bASS", bands), 0) << "the same name in other capitals";
  EXPECT_EQ(Headset().Audio().customNames, (std::vector<std::string>{"Bass"}));
  for (int n = 2; n <= 20; ++n) EXPECT_EQ(Headset().SaveCustomEq("set " + std::to_string(n), bands), 1);
  EXPECT_EQ(Headset().SaveCustomEq("one more", bands), -1);
  EXPECT_EQ(Headset().Audio().customNames.size(), 20u);
  EXPECT_EQ(SavedEntry()["CustomEQNameInfo"].size(), 20u);

  for (int n = 20; n >= 2; --n) {
    ASSERT_EQ(Headset().ApplyCustomEq(n - 1), kAudioDone);
    ASSERT_EQ(Headset().DeleteCustomEq(), kAudioDone);
  }
  chip->ClearCalls();
  ASSERT_EQ(Headset().ApplyCustomEq(0), kAudioDone);
  EXPECT_EQ(Headset().DeleteCustomEq(), kAudioDone);
  EXPECT_EQ(Headset().Audio().shownPreset, 1);
  EXPECT_FALSE(Headset().Audio().customSetsShown);
  EXPECT_EQ(Headset().Audio().bands, (headset::EqBands{7, 11, 2, -3, -1, 4, 9, 12, 9, 5}));
  EXPECT_EQ(Sent("EQ_Slider2").back(), 11) << "the chip plays preset 1 again";
  EXPECT_EQ(SavedEntry()["SystemSetStages"]["EqType"].asInt(), 1);
  EXPECT_EQ(Headset().DeleteCustomEq(), kAudioNothing);
}

TEST_F(HeadsetTest, ADeletedSetTakesItsBandsWithIt) {
  Start();
  EXPECT_EQ(Headset().SaveCustomEq("A", {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}), 1);
  EXPECT_EQ(Headset().SaveCustomEq("B", {2, 2, 2, 2, 2, 2, 2, 2, 2, 2}), 1);
  EXPECT_EQ(Headset().SaveCustomEq("C", {3, 3, 3, 3, 3, 3, 3, 3, 3, 3}), 1);
  ASSERT_EQ(Headset().ApplyCustomEq(1), kAudioDone);
  ASSERT_EQ(Headset().DeleteCustomEq(), kAudioDone);
  EXPECT_EQ(Headset().Audio().customNames, (std::vector<std::string>{"A", "C"}));
  ASSERT_EQ(Headset().ApplyCustomEq(1), kAudioDone);
  EXPECT_EQ(Headset().Audio().bands, (headset::EqBands{3, 3, 3, 3, 3, 3, 3, 3, 3, 3})) << "C keeps its own bands";
  const Json::Value stored = SavedEntry()["CustomEQHzValueInfo"];
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[1][0]["value"].asInt(), 3);

  // Without a name the chosen set takes the bands as they are now.
  EXPECT_EQ(Headset().SaveCustomEq("  ", {4, 4, 4, 4, 4, 4, 4, 4, 4, 4}), 1);
  EXPECT_EQ(SavedEntry()["CustomEQHzValueInfo"][1][9]["value"].asInt(), 4);
  // Bands moved away from a preset belong to no set: without a name they have nowhere to go.
  ASSERT_EQ(Headset().ApplyEqPreset(2), kAudioDone);
  ASSERT_EQ(Headset().SetEqBand(1, 0), kAudioDone);
  EXPECT_EQ(Headset().SaveCustomEq("", {4, 4, 4, 4, 4, 4, 4, 4, 4, 4}), -1);
}

TEST_F(HeadsetTest, DamagedSetListsLoadWithoutLosingOrMixingUpAnything) {
  ASSERT_EQ(Headset().LoadProfile(), 1);
  Json::Value document = JsonFileUtil().ReadJsonValue(page_->CurrentProfileFile());
  Json::Value& entry = document["Device"][0];
  Json::Value names(Json::arrayValue);
  for (int n = 0; n < 25; ++n) {
    Json::Value name(Json::objectValue);
    if (n == 3) {
      name["Name"] = 42;  // not a text
    } else {
      name["Name"] = "set " + std::to_string(n);
    }
    names.append(name);
  }
  entry["CustomEQNameInfo"] = names;
  entry["CustomEQHzValueInfo"] = Json::Value(Json::arrayValue);
  entry["CustomEQHzValueInfo"][0][0]["value"] = "loud";  // the one set with values, one of them damaged
  for (int band = 1; band < 10; ++band) entry["CustomEQHzValueInfo"][0][band]["value"] = band;
  entry["SystemSetStages"]["EqType"] = 13;
  entry["SystemSetStages"]["CustomEqSeletIndex"] = 400;
  ASSERT_TRUE(JsonFileUtil().WriteJsonValue(page_->CurrentProfileFile(), document));

  Start();
  EXPECT_EQ(Headset().Audio().customNames.size(), 25u);
  EXPECT_EQ(Headset().Audio().customSelection, -1) << "an index beyond the list chooses none";
  EXPECT_EQ(Headset().SaveCustomEq("new", {}), -1) << "more than 20 already";
  ASSERT_EQ(Headset().ApplyCustomEq(0), kAudioDone);
  EXPECT_EQ(Headset().Audio().bands, (headset::EqBands{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  ASSERT_EQ(Headset().ApplyCustomEq(20), kAudioDone);
  EXPECT_EQ(Headset().Audio().bands, headset::EqBands{}) << "a set without values plays flat";
  EXPECT_EQ(Headset().ApplyCustomEq(25), kAudioNothing);
  EXPECT_EQ(SavedEntry()["CustomEQNameInfo"].size(), 25u);
}

}  // namespace
}  // namespace norvane::devices::testing
