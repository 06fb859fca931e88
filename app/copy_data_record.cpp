#include "app/copy_data_record.h"

namespace norvane::app {

std::optional<QByteArray> AcceptCopyData(std::int64_t kind, const QByteArray& data) {
  if (data.isEmpty()) return std::nullopt;
  switch (kind) {
    case kCopyDataSoundLevels:
      return data.left(kSoundLevelBufferBytes);
    case kCopyDataAudioBands:
      return data.left(kAudioBandBufferBytes);
    default:
      return std::nullopt;
  }
}

}  // namespace norvane::app
