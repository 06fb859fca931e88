// What other programs send over the bus: a message by its name, and a data record of any kind (all 64 bits)
// with any bytes. Nothing may crash; a name is only known when it is one of the table's, and a record
// handed on is of a kind this program receives, not empty, and never longer than the buffer it goes to.
// libFuzzer: -max_len=2100
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

#include <QByteArray>

#include "app/copy_data_record.h"
#include "app/registered_messages.h"
#include "fuzz/fuzz_require.h"

using norvane::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace norvane::app;
  const std::string_view name(reinterpret_cast<const char*>(data), size);
  if (const std::optional<RegisteredMessage> id = FindRegisteredMessage(name)) {
    Require(RegisteredMessageName(*id) == name);
  }

  if (size < sizeof(std::int64_t)) return 0;
  std::int64_t kind = 0;
  std::memcpy(&kind, data, sizeof kind);
  const QByteArray record(reinterpret_cast<const char*>(data + sizeof kind), qsizetype(size - sizeof kind));
  if (const std::optional<QByteArray> accepted = AcceptCopyData(kind, record)) {
    Require(kind == kCopyDataSoundLevels || kind == kCopyDataAudioBands);
    Require(!accepted->isEmpty());
    Require(accepted->size() <= (kind == kCopyDataSoundLevels ? kSoundLevelBufferBytes : kAudioBandBufferBytes));
    Require(std::memcmp(accepted->constData(), record.constData(), std::size_t(accepted->size())) == 0);
  }
  return 0;
}
