#pragma once
// The headset's audio chip as the page talks to it: a configuration library with device lists and named
// properties. The page calls only ConfLibInit, CreateDeviceList, GetDeviceCount, GetDeviceById and
// PropertyControl, in that order of first use; every result is 0 for success.
//
// Three backends answer it: the loadable library of the chip's maker (loadable_audio_chip.h, C entry
// points in audio_chip_sdk.h), the USB sound card's ALSA mixer (alsa_audio_chip.h), and the emulated chip
// of the demo mode and the tests (emulated_audio_chip.h). audio_chip_provider.h picks one per headset.
//
// A property value travels in 1024-byte buffers: the first 32-bit word of the value buffer is an integer, a
// 32-bit float (the scalar volumes, 0.0 to 1.0) or the first bytes of a text (decibel values, ranges and the
// feature list, zero-terminated). The second buffer carries a second word that some properties take as a
// channel or mode selector, in both directions.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace norvane::devices::headset {

// The device lists: the chip's playback devices and its capture devices.
enum class AudioDirection : std::int32_t { kOutput = 0, kInput = 1 };

// What GetDeviceById fills in for one device of a list.
struct AudioDeviceWords {
  std::int32_t id = 0;
  std::int32_t type = 0;
  std::int32_t reserved = 0;
  std::int32_t state = 0;
  friend bool operator==(const AudioDeviceWords&, const AudioDeviceWords&) = default;
};

inline constexpr std::size_t kPropertyBufferSize = 1024;
using PropertyBuffer = std::array<std::uint8_t, kPropertyBufferSize>;

enum class PropertyAccess : std::int32_t { kGet = 0, kSet = 1 };

inline constexpr int kAudioOk = 0;
// What the backends of ours answer for a property the chip or card does not have.
inline constexpr int kAudioUnsupported = -2;
// A call that failed on the way (the card went away, the library answered nonsense).
inline constexpr int kAudioFailed = -1;

class AudioChip {
 public:
  virtual ~AudioChip() = default;

  virtual int ConfLibInit() = 0;
  virtual int CreateDeviceList() = 0;
  virtual int GetDeviceCount(AudioDirection direction, std::int32_t& count) = 0;
  virtual int GetDeviceById(AudioDirection direction, std::int32_t index, AudioDeviceWords& device) = 0;
  // A get fills `value` (and may fill `second`) and reads the selector word in `second`; a set reads both.
  virtual int PropertyControl(const AudioDeviceWords& device, std::string_view property, PropertyAccess access,
                              PropertyBuffer& value, PropertyBuffer& second) = 0;
  // A short name for traces ("alsa hw:2", "library", "emulated").
  virtual std::string Describe() const = 0;
};

// The buffer's words and text.
std::int32_t WordOf(const PropertyBuffer& buffer, std::size_t index = 0);
void PutWord(PropertyBuffer& buffer, std::int32_t word, std::size_t index = 0);
float FloatOf(const PropertyBuffer& buffer);
void PutFloat(PropertyBuffer& buffer, float value);
// The text up to the first zero byte, or the whole buffer when it has none.
std::string TextOf(const PropertyBuffer& buffer);
// Cut to fit with its terminating zero.
void PutText(PropertyBuffer& buffer, std::string_view text);

}  // namespace norvane::devices::headset
