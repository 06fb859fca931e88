#pragma once
// Sends the companion's level and band records to the window ("CopyData" on org.norvane.Norvane), straight
// from the sound thread, over a session bus connection of its own driven through libdbus.
//
// Why not the companion's Qt bus connection: Qt hands every outgoing message to its bus thread, which wakes
// twice per record; at about 130 records a second that was most of the companion's CPU. Here a record is
// built and written to the bus socket in the calling thread, without waiting (a call that asks for no
// answer), and nothing else wakes.
//
// Never blocks: when the bus does not take the bytes (the daemon is stalled), records queue in the
// connection up to kMaxQueuedBytes and later ones are dropped; the lighting only wants the newest sound.
// What the socket did not take at once goes out with the next record (the sound thread sends one every
// 10 ms).
// One thread at a time may send.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct DBusConnection;

namespace norvane::audio {

class RecordSender {
 public:
  static constexpr std::int64_t kLevelsRecord = 1;
  static constexpr std::int64_t kBandsRecord = 2;
  // About a second of records.
  static constexpr long kMaxQueuedBytes = 256 * 1024;

  RecordSender() = default;
  ~RecordSender();
  RecordSender(const RecordSender&) = delete;
  RecordSender& operator=(const RecordSender&) = delete;

  // Connects to the bus at `address`, or to the session bus when it is empty. False, with the reason in
  // `why`, when no bus answers.
  [[nodiscard]] bool Connect(const std::string& address, std::string& why);
  // One record to the window: `values` as little-endian 32-bit integers. False when it was dropped (no
  // connection, the bus went away, or too much is queued already).
  bool Send(std::int64_t kind, std::span<const std::int32_t> values);
  bool IsConnected() const;

 private:
  void Close();
  // Reads and discards what the bus sent us (its greeting, signals): nothing here answers.
  void DrainIncoming();

  DBusConnection* connection_ = nullptr;
  std::vector<unsigned char> bytes_;  // the record's bytes on a big-endian machine
  unsigned sinceDrain_ = 0;
};

}  // namespace norvane::audio
