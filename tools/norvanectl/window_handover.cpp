#include "tools/norvanectl/window_handover.h"

#include <dbus/dbus.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "app/bus_names.h"
#include "tools/norvanectl/cli_commands.h"
#include "tools/norvanectl/command_bus.h"

namespace norvane::cli {
namespace {

// norvanectl talks to the bus through libdbus, one blocking call at a time on a private connection that it
// closes before it returns. Qt's bus connections read on a thread of their own that outlives them until the
// program's statics are torn down: a reply that came after norvanectl stopped waiting was then read with
// Qt's type registry half gone, and its warnings landed in norvanectl's stderr.

struct ErrorText {
  ErrorText() { dbus_error_init(&error); }
  ~ErrorText() { dbus_error_free(&error); }
  ErrorText(const ErrorText&) = delete;
  ErrorText& operator=(const ErrorText&) = delete;
  bool Is(const char* name) const { return dbus_error_is_set(&error) && std::strcmp(error.name, name) == 0; }
  DBusError error;
};

struct MessageUnref {
  void operator()(DBusMessage* message) const { dbus_message_unref(message); }
};
using Message = std::unique_ptr<DBusMessage, MessageUnref>;

class PrivateSessionBus {
 public:
  // The session bus at its given address, or else at the user's bus socket; never one started for the look.
  PrivateSessionBus() {
    ErrorText error;
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    std::string where;
    if (address != nullptr && *address != '\0') {
      where = address;
    } else if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime != '\0') {
      std::error_code missing;
      const std::filesystem::path socket = std::filesystem::path(runtime) / "bus";
      if (!std::filesystem::exists(socket, missing)) return;
      where = "unix:path=" + socket.string();
    } else {
      return;
    }
    connection_ = dbus_connection_open_private(where.c_str(), &error.error);
    if (connection_ == nullptr) return;
    dbus_connection_set_exit_on_disconnect(connection_, FALSE);
    if (!dbus_bus_register(connection_, &error.error)) Close();
  }
  ~PrivateSessionBus() { Close(); }
  PrivateSessionBus(const PrivateSessionBus&) = delete;
  PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

  [[nodiscard]] bool Connected() const { return connection_ != nullptr; }

  // Sends `call` and waits up to `timeoutMs` for its answer; nullptr with the reason in `error` otherwise.
  Message Call(DBusMessage* call, int timeoutMs, ErrorText& error) {
    return Message(dbus_connection_send_with_reply_and_block(connection_, call, timeoutMs, &error.error));
  }

  [[nodiscard]] bool HasOwner(const char* name) {
    Message call(
        dbus_message_new_method_call(DBUS_SERVICE_DBUS, DBUS_PATH_DBUS, DBUS_INTERFACE_DBUS, "NameHasOwner"));
    if (!call || !dbus_message_append_args(call.get(), DBUS_TYPE_STRING, &name, DBUS_TYPE_INVALID))
      return false;
    ErrorText error;
    const Message reply = Call(call.get(), kWindowAnswerTimeoutMs, error);
    dbus_bool_t owned = FALSE;
    return reply &&
           dbus_message_get_args(reply.get(), &error.error, DBUS_TYPE_BOOLEAN, &owned, DBUS_TYPE_INVALID) &&
           owned;
  }

 private:
  void Close() {
    if (connection_ == nullptr) return;
    dbus_connection_close(connection_);
    dbus_connection_unref(connection_);
    connection_ = nullptr;
  }

  DBusConnection* connection_ = nullptr;
};

const std::string& ServiceName() {
  static const std::string name = app::kBusServiceName.toStdString();
  return name;
}

// The Run call with the command's words, never starting a window program for it.
Message RunCall(const std::vector<std::string>& words) {
  const std::string path = kCommandObjectPath.toStdString();
  const std::string interface = kCommandInterface.toStdString();
  const std::string method = kCommandRunMethod.toStdString();
  Message call(
      dbus_message_new_method_call(ServiceName().c_str(), path.c_str(), interface.c_str(), method.c_str()));
  if (!call) return nullptr;
  dbus_message_set_auto_start(call.get(), FALSE);
  DBusMessageIter arguments;
  DBusMessageIter list;
  dbus_message_iter_init_append(call.get(), &arguments);
  if (!dbus_message_iter_open_container(&arguments, DBUS_TYPE_ARRAY, DBUS_TYPE_STRING_AS_STRING, &list))
    return nullptr;
  for (const std::string& word : words) {
    // The bus takes only valid UTF-8: a word that is not is refused here rather than by the bus.
    if (!dbus_validate_utf8(word.c_str(), nullptr)) {
      dbus_message_iter_abandon_container(&arguments, &list);
      return nullptr;
    }
    const char* text = word.c_str();
    if (!dbus_message_iter_append_basic(&list, DBUS_TYPE_STRING, &text)) {
      dbus_message_iter_abandon_container(&arguments, &list);
      return nullptr;
    }
  }
  if (!dbus_message_iter_close_container(&arguments, &list)) return nullptr;
  return call;
}

}  // namespace

bool WindowRuns() {
  PrivateSessionBus bus;
  return bus.Connected() && bus.HasOwner(ServiceName().c_str());
}

std::optional<CommandOutput> HandToWindow(const std::vector<std::string>& words, int timeoutMs) {
  PrivateSessionBus bus;
  if (!bus.Connected() || !bus.HasOwner(ServiceName().c_str())) return std::nullopt;
  const Message call = RunCall(words);
  if (!call)
    return Failed(kExitUsage, "the command's words cannot be sent to the window program (not UTF-8)");
  ErrorText error;
  const Message reply = bus.Call(call.get(), timeoutMs, error);
  if (!reply) {
    // The window went away between the look and the call: nobody holds the devices now.
    if (error.Is(DBUS_ERROR_SERVICE_UNKNOWN) && !bus.HasOwner(ServiceName().c_str())) return std::nullopt;
    if (error.Is(DBUS_ERROR_NO_REPLY) || error.Is(DBUS_ERROR_TIMEOUT) || error.Is(DBUS_ERROR_TIMED_OUT)) {
      return Failed(kExitFailure,
                    "the window program does not answer (it runs, so the devices were left to it)");
    }
    const std::string why = dbus_error_is_set(&error.error) ? error.error.message : "no answer";
    return Failed(kExitFailure, "the window program refused the command: " + why);
  }
  dbus_int32_t exit = 0;
  const char* out = nullptr;
  const char* err = nullptr;
  if (!dbus_message_get_args(reply.get(), &error.error, DBUS_TYPE_INT32, &exit, DBUS_TYPE_STRING, &out,
                             DBUS_TYPE_STRING, &err, DBUS_TYPE_INVALID)) {
    return Failed(kExitFailure, "the window program gave an answer norvanectl does not understand");
  }
  return CommandOutput{exit, out, err};
}

}  // namespace norvane::cli
