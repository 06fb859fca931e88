#pragma once
// Data records other programs send to this one (the audio capture program's sound levels and bands). A
// record of an unknown kind, or an empty one, is dropped; a longer one is cut to the buffer that receives it.

#include <QByteArray>
#include <cstdint>
#include <optional>

namespace norvane::app {

enum CopyDataKind : std::int64_t {
  kCopyDataSoundLevels = 1,  // up to 500 signed 32-bit levels
  kCopyDataAudioBands = 2,   // up to 6 signed 32-bit band values
  kCopyDataDeviceList = 5,   // sent to the device-list companion, 1024 bytes
  kCopyDataStyleColour = 10  // sent to the audio capture program, 40 bytes
};

inline constexpr int kSoundLevelBufferBytes = 500 * 4;
inline constexpr int kAudioBandBufferBytes = 6 * 4;

// The bytes to hand on for a received record, or nothing when the record is to be ignored.
std::optional<QByteArray> AcceptCopyData(std::int64_t kind, const QByteArray& data);

}  // namespace norvane::app
