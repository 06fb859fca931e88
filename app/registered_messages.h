#pragma once
// The messages this program shares with other programs. Each keeps the name it is known by everywhere; on
// the bus the name travels as text next to the message's two integer parameters (see instance_bus.h).

#include <QString>
#include <optional>
#include <span>
#include <string_view>

namespace norvane::app {

// The instance name: names the bus service's instance message, the tray tooltip and the folders.
inline constexpr std::string_view kInstanceName = "R27 有线";

enum class RegisteredMessage {
  kInstanceMessage,
  kSettingsRelayMessage,
  kLightControlStateMessage,
  kLightControlRequestMessage,
  kDeviceListRequestMessage,
  kAudioCaptureMessage,
  kHookKeySingleKey,
  kHookKeyHitKey,
  kHookKeyKbMacro,
  kHookKeyMsMacro,
  kHookKeyKbMacroSingle,
  kHookKeyKbMacroPrevious,
  kHookKeyKbMacroLater,
  kHookMouSingleKey,
  kHookMouHitKey,
  kHookMouKbMacro,
  kHookMouMsMacro,
  kHookKeyMsMacroSingle,
  kHookKeyMsMacroPrevious,
  kHookKeyMsMacroLater,
  kMouseRButtonDown,
  kMouseLButtonUp,
  kMouseLButtonDown,
  kMouseRButtonUp,
  kMouseMove,
  kGameStart,
  kGameEnd,
  kGameKill,
  kGameDeath,
  // A data record (the bus form of WM_COPYDATA); not a registered name of its own.
  kCopyData,
};

struct RegisteredMessageInfo {
  RegisteredMessage id;
  std::string_view name;  // UTF-8, exactly as registered
  // Whether other programs may send it to this one. The others only ever leave this program.
  bool received;
};

// Every named message, in the order of the start-up table.
std::span<const RegisteredMessageInfo> RegisteredMessages();

// The registered name of id; empty for kCopyData.
std::string_view RegisteredMessageName(RegisteredMessage id);
QString RegisteredMessageQName(RegisteredMessage id);

// The message registered under name (compared exactly), when there is one.
std::optional<RegisteredMessage> FindRegisteredMessage(std::string_view name);

}  // namespace norvane::app
