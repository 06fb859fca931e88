#pragma once
// A headset page on the emulated headset and the emulated audio chip.

#include "strip_fixture.h"

namespace norvane::devices::testing {

constexpr int kHeadsetVariant = 3;  // the headset's row of the light lists

class HeadsetTest : public StripPageTest {
 protected:
  HeadsetTest() : StripPageTest(emulator::DeviceModel::kHeadset) {}
  void SetUp() override {
    MakePage<CNorvaneHS6533Device>("HD", "XML\\DeviceXml\\hs6533device.xml", 13, kHeadsetVariant);
    Open(hid::DeviceKind::kHeadset);
  }
  CNorvaneHS6533Device& Headset() { return *dynamic_cast<CNorvaneHS6533Device*>(page_.get()); }
  // The profile as the headset loaded it, and the chip started on it.
  void Start() {
    ASSERT_EQ(Headset().LoadProfile(), 1);
    Headset().InitAudio();
    ASSERT_TRUE(Headset().Audio().started);
    chip->ClearCalls();
  }
  // The values the chip was sent for this property, in order.
  std::vector<std::int32_t> Sent(const std::string& property) const {
    std::vector<std::int32_t> words;
    for (const auto& call : chip->Calls()) {
      if (call.access == headset::PropertyAccess::kSet && call.property == property) words.push_back(call.word);
    }
    return words;
  }
  std::vector<std::string> SetProperties() const {
    std::vector<std::string> names;
    for (const auto& call : chip->Calls()) {
      if (call.access == headset::PropertyAccess::kSet) names.push_back(call.property);
    }
    return names;
  }
  Json::Value SavedEntry() const;

  std::shared_ptr<headset::EmulatedAudioChip> chip = std::make_shared<headset::EmulatedAudioChip>();
  headset::ScopedAudioChipSource source{[this](const std::string&) {
    return std::vector<std::shared_ptr<headset::AudioChip>>{chip};
  }};
};

}  // namespace norvane::devices::testing
