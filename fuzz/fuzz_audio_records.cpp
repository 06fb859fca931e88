// Arbitrary bytes as the records of the audio capture companion and as an "AudioFile.json": the record's
// first byte picks its kind. Nothing may crash, overflow or hang: records are cut to their buffers and
// processed, levels of any value included, and a style file of any content reads as a style; a style read
// from a file is written and read back unchanged.
// libFuzzer: -max_len=2100
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include <QByteArray>

#include "app/audio_levels.h"
#include "app/audio_style.h"
#include "app/copy_data_record.h"
#include "fuzz/fuzz_require.h"
#include "profiles/json_file_util.h"

using norvane::fuzz::Require;

namespace {

norvane::app::AudioLevelProcessor& Processor() {
  static norvane::app::AudioLevelProcessor processor;
  return processor;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace norvane::app;
  if (size == 0) return 0;
  const std::int64_t kind = data[0] % 12;
  const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
  if (const std::optional<QByteArray> accepted = AcceptCopyData(kind, bytes)) {
    Require(kind == kCopyDataSoundLevels || kind == kCopyDataAudioBands);
    Require(accepted->size() <= (kind == kCopyDataSoundLevels ? kSoundLevelBufferBytes : kAudioBandBufferBytes));
    if (kind == kCopyDataSoundLevels) {
      AudioLevelProcessor::Buffer levels{};
      std::memcpy(levels.data(), accepted->constData(), std::size_t(accepted->size() / 4) * 4);
      const AudioLevelProcessor::Feeds feeds = Processor().Process(levels, true, data[0] & 0x10);
      if (feeds.keyboard)
        for (std::int32_t mean : *feeds.keyboard) Require(mean >= 0);
      for (std::int32_t deviation : Processor().KeyboardDeviations()) Require(deviation >= 0);
    }
  }

  // The same bytes as a style file's text.
  const Json::Value document =
      norvane::JsonFileUtil::ParseJson(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
  const AudioStyle style = AudioStyleOf(document.isObject() ? document["Device"] : Json::Value());
  Json::Value device(Json::objectValue);
  PutAudioStyle(device, style);
  Require(AudioStyleOf(device) == style);
  const auto record = StyleColourRecord(style);
  Require(record[4] != 0);
  return 0;
}
