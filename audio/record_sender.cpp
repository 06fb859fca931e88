#include "audio/record_sender.h"

#include <dbus/dbus.h>

#include <bit>

namespace norvane::audio {

namespace {

constexpr const char* kWindowService = "org.norvane.Norvane";
constexpr const char* kObjectPath = "/org/norvane/Norvane";
constexpr const char* kInterface = "org.norvane.Messages";
constexpr const char* kMethod = "CopyData";
// Incoming messages are rare (the bus's greeting and name signals): look about three times a second.
constexpr unsigned kDrainEvery = 32;

}  // namespace

RecordSender::~RecordSender() {
  Close();
}

bool RecordSender::Connect(const std::string& address, std::string& why) {
  Close();
  // The connection is used from the sound thread while Qt's own bus connection lives on: libdbus must
  // lock (Qt asks for the same; the call is idempotent).
  dbus_threads_init_default();
  DBusError error;
  dbus_error_init(&error);
  DBusConnection* connection = nullptr;
  if (address.empty()) {
    connection = dbus_bus_get_private(DBUS_BUS_SESSION, &error);
  } else {
    connection = dbus_connection_open_private(address.c_str(), &error);
    if (connection && !dbus_bus_register(connection, &error)) {
      dbus_connection_close(connection);
      dbus_connection_unref(connection);
      connection = nullptr;
    }
  }
  if (!connection) {
    why = dbus_error_is_set(&error) ? error.message : "no bus";
    dbus_error_free(&error);
    return false;
  }
  // A bus that goes away ends the records, not the program.
  dbus_connection_set_exit_on_disconnect(connection, FALSE);
  connection_ = connection;
  return true;
}

void RecordSender::Close() {
  if (!connection_) return;
  dbus_connection_close(connection_);
  dbus_connection_unref(connection_);
  connection_ = nullptr;
}

bool RecordSender::IsConnected() const {
  return connection_ && dbus_connection_get_is_connected(connection_);
}

bool RecordSender::Send(std::int64_t kind, std::span<const std::int32_t> values) {
  if (!IsConnected()) return false;
  if (++sinceDrain_ >= kDrainEvery) {
    sinceDrain_ = 0;
    DrainIncoming();
  }
  if (dbus_connection_get_outgoing_size(connection_) > kMaxQueuedBytes) return false;

  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(values.data());
  if constexpr (std::endian::native != std::endian::little) {
    bytes_.resize(values.size_bytes());
    for (std::size_t i = 0; i < values.size(); ++i) {
      const auto bits = static_cast<std::uint32_t>(values[i]);
      for (std::size_t b = 0; b < 4; ++b) bytes_[4 * i + b] = static_cast<unsigned char>(bits >> (8 * b));
    }
    bytes = bytes_.data();
  }
  DBusMessage* message = dbus_message_new_method_call(kWindowService, kObjectPath, kInterface, kMethod);
  if (!message) return false;
  dbus_message_set_no_reply(message, TRUE);
  dbus_message_set_auto_start(message, FALSE);
  const dbus_int64_t recordKind = kind;
  const int size = static_cast<int>(values.size_bytes());
  bool sent = dbus_message_append_args(message, DBUS_TYPE_INT64, &recordKind, DBUS_TYPE_ARRAY, DBUS_TYPE_BYTE,
                                       &bytes, size, DBUS_TYPE_INVALID);
  // Queues the message and writes what the socket takes at once, without waiting.
  if (sent) sent = dbus_connection_send(connection_, message, nullptr);
  dbus_message_unref(message);
  return sent;
}

void RecordSender::DrainIncoming() {
  if (!dbus_connection_read_write(connection_, 0)) return;
  while (DBusMessage* message = dbus_connection_pop_message(connection_)) dbus_message_unref(message);
}

}  // namespace norvane::audio
