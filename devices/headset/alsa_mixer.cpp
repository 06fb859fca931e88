// The sound card mixer through libasound, and the card of a hidraw node through libudev.
#include <alsa/asoundlib.h>

#include <array>
#include <cstring>

#include "devices/headset/sound_card_mixer.h"
#include "hid/udev_ptr.h"
#include "platform/trace.h"

namespace norvane::devices::headset {
namespace {

// The names cards give their microphone, most usual first; the monitoring is the microphone's playback.
constexpr std::array<const char*, 4> kMicrophoneNames = {"Mic", "Headset", "Microphone", "Capture"};
constexpr std::array<const char*, 2> kMonitoringNames = {"Mic", "Sidetone"};
constexpr auto kFirstChannel = SND_MIXER_SCHN_FRONT_LEFT;

struct MixerCloser {
  void operator()(snd_mixer_t* mixer) const { snd_mixer_close(mixer); }
};

snd_mixer_elem_t* FindElement(snd_mixer_t* mixer, const char* name) {
  snd_mixer_selem_id_t* id = nullptr;
  snd_mixer_selem_id_alloca(&id);
  snd_mixer_selem_id_set_index(id, 0);
  snd_mixer_selem_id_set_name(id, name);
  snd_mixer_elem_t* element = snd_mixer_find_selem(mixer, id);
  return element != nullptr && snd_mixer_selem_is_active(element) ? element : nullptr;
}

class AlsaMixer : public SoundCardMixer {
 public:
  AlsaMixer(std::unique_ptr<snd_mixer_t, MixerCloser> mixer, std::string control)
      : mixer_(std::move(mixer)), control_(std::move(control)) {
    for (const char* name : kMicrophoneNames) {
      snd_mixer_elem_t* element = FindElement(mixer_.get(), name);
      if (element && (snd_mixer_selem_has_capture_volume(element) || snd_mixer_selem_has_capture_switch(element))) {
        microphone_ = element;
        break;
      }
    }
    for (const char* name : kMonitoringNames) {
      snd_mixer_elem_t* element = FindElement(mixer_.get(), name);
      if (element && (snd_mixer_selem_has_playback_volume(element) || snd_mixer_selem_has_playback_switch(element))) {
        monitoring_ = element;
        break;
      }
    }
  }

  bool IsUsable() const { return microphone_ != nullptr; }

  bool HasLevel(MixerPart part) const override {
    snd_mixer_elem_t* element = Element(part);
    if (element == nullptr) return false;
    return part == MixerPart::kMicrophone ? snd_mixer_selem_has_capture_volume(element) != 0
                                          : snd_mixer_selem_has_playback_volume(element) != 0;
  }

  bool HasSwitch(MixerPart part) const override {
    snd_mixer_elem_t* element = Element(part);
    if (element == nullptr) return false;
    return part == MixerPart::kMicrophone ? snd_mixer_selem_has_capture_switch(element) != 0
                                          : snd_mixer_selem_has_playback_switch(element) != 0;
  }

  std::optional<MixerRange> LevelRange(MixerPart part) override {
    if (!Current() || !HasLevel(part)) return std::nullopt;
    MixerRange range;
    const int result = part == MixerPart::kMicrophone
                           ? snd_mixer_selem_get_capture_volume_range(Element(part), &range.low, &range.high)
                           : snd_mixer_selem_get_playback_volume_range(Element(part), &range.low, &range.high);
    if (result < 0 || range.high <= range.low) return std::nullopt;
    return range;
  }

  std::optional<long> Level(MixerPart part) override {
    if (!Current() || !HasLevel(part)) return std::nullopt;
    long level = 0;
    const int result = part == MixerPart::kMicrophone
                           ? snd_mixer_selem_get_capture_volume(Element(part), kFirstChannel, &level)
                           : snd_mixer_selem_get_playback_volume(Element(part), kFirstChannel, &level);
    return result < 0 ? std::nullopt : std::optional<long>(level);
  }

  bool SetLevel(MixerPart part, long level) override {
    if (!Current() || !HasLevel(part)) return false;
    const int result = part == MixerPart::kMicrophone ? snd_mixer_selem_set_capture_volume_all(Element(part), level)
                                                      : snd_mixer_selem_set_playback_volume_all(Element(part), level);
    return Checked(result);
  }

  std::optional<MixerRange> DecibelRange(MixerPart part) override {
    if (!Current() || !HasLevel(part)) return std::nullopt;
    MixerRange range;
    const int result = part == MixerPart::kMicrophone
                           ? snd_mixer_selem_get_capture_dB_range(Element(part), &range.low, &range.high)
                           : snd_mixer_selem_get_playback_dB_range(Element(part), &range.low, &range.high);
    if (result < 0 || range.high < range.low) return std::nullopt;
    return range;
  }

  std::optional<long> Decibels(MixerPart part) override {
    if (!Current() || !HasLevel(part)) return std::nullopt;
    long decibels = 0;
    const int result = part == MixerPart::kMicrophone
                           ? snd_mixer_selem_get_capture_dB(Element(part), kFirstChannel, &decibels)
                           : snd_mixer_selem_get_playback_dB(Element(part), kFirstChannel, &decibels);
    return result < 0 ? std::nullopt : std::optional<long>(decibels);
  }

  std::optional<bool> Switch(MixerPart part) override {
    if (!Current() || !HasSwitch(part)) return std::nullopt;
    int on = 0;
    const int result = part == MixerPart::kMicrophone
                           ? snd_mixer_selem_get_capture_switch(Element(part), kFirstChannel, &on)
                           : snd_mixer_selem_get_playback_switch(Element(part), kFirstChannel, &on);
    return result < 0 ? std::nullopt : std::optional<bool>(on != 0);
  }

  bool SetSwitch(MixerPart part, bool on) override {
    if (!Current() || !HasSwitch(part)) return false;
    const int result = part == MixerPart::kMicrophone ? snd_mixer_selem_set_capture_switch_all(Element(part), on)
                                                      : snd_mixer_selem_set_playback_switch_all(Element(part), on);
    return Checked(result);
  }

  std::string Describe() const override { return control_; }

 private:
  snd_mixer_elem_t* Element(MixerPart part) const {
    return part == MixerPart::kMicrophone ? microphone_ : monitoring_;
  }

  // Takes what changed on the card meanwhile (another mixer, a sound server); false once the card is gone.
  bool Current() {
    if (gone_) return false;
    return Checked(snd_mixer_handle_events(mixer_.get()));
  }

  bool Checked(int result) {
    if (result >= 0) return true;
    if (result == -ENODEV) {
      gone_ = true;
      Trace("headset audio: the sound card " + control_ + " is gone");
    }
    return false;
  }

  std::unique_ptr<snd_mixer_t, MixerCloser> mixer_;
  std::string control_;
  snd_mixer_elem_t* microphone_ = nullptr;
  snd_mixer_elem_t* monitoring_ = nullptr;
  bool gone_ = false;
};

std::string SyspathOfUsbDevice(udev_device* device) {
  udev_device* usb = udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_device");
  const char* path = usb ? udev_device_get_syspath(usb) : nullptr;
  return path ? path : std::string();
}

}  // namespace

std::optional<int> SoundCardOfHidNode(const std::string& hidPath) {
  // The program's paths carry the node first: "/dev/hidraw3#vid_...".
  const std::string node = hidPath.substr(0, hidPath.find('#'));
  constexpr std::string_view kPrefix = "/dev/";
  if (node.compare(0, kPrefix.size(), kPrefix) != 0 || node.find("hidraw") == std::string::npos) return std::nullopt;
  const hid::UdevPtr udev(udev_new());
  if (!udev) return std::nullopt;
  const hid::UdevDevicePtr hidraw(
      udev_device_new_from_subsystem_sysname(udev.get(), "hidraw", node.substr(kPrefix.size()).c_str()));
  if (!hidraw) return std::nullopt;
  const std::string usb = SyspathOfUsbDevice(hidraw.get());
  if (usb.empty()) return std::nullopt;

  const hid::UdevEnumeratePtr cards(udev_enumerate_new(udev.get()));
  if (!cards) return std::nullopt;
  udev_enumerate_add_match_subsystem(cards.get(), "sound");
  udev_enumerate_add_match_sysname(cards.get(), "card*");
  udev_enumerate_scan_devices(cards.get());
  for (udev_list_entry* entry = udev_enumerate_get_list_entry(cards.get()); entry != nullptr;
       entry = udev_list_entry_get_next(entry)) {
    const hid::UdevDevicePtr card(udev_device_new_from_syspath(udev.get(), udev_list_entry_get_name(entry)));
    if (!card || SyspathOfUsbDevice(card.get()) != usb) continue;
    const char* number = udev_device_get_sysattr_value(card.get(), "number");
    if (number != nullptr) return std::atoi(number);
  }
  return std::nullopt;
}

std::unique_ptr<SoundCardMixer> OpenAlsaMixer(const std::string& control) {
  snd_mixer_t* opened = nullptr;
  if (snd_mixer_open(&opened, 0) < 0) return nullptr;
  std::unique_ptr<snd_mixer_t, MixerCloser> mixer(opened);
  if (snd_mixer_attach(mixer.get(), control.c_str()) < 0 || snd_mixer_selem_register(mixer.get(), nullptr, nullptr) < 0 ||
      snd_mixer_load(mixer.get()) < 0) {
    Trace("headset audio: the mixer of " + control + " could not be opened");
    return nullptr;
  }
  auto result = std::make_unique<AlsaMixer>(std::move(mixer), control);
  if (!result->IsUsable()) {
    Trace("headset audio: " + control + " has no microphone control");
    return nullptr;
  }
  return result;
}

}  // namespace norvane::devices::headset
