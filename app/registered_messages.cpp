#include "app/registered_messages.h"

#include <array>

namespace norvane::app {
namespace {

using enum RegisteredMessage;

constexpr std::array kMessages = {
    RegisteredMessageInfo{kInstanceMessage, kInstanceName, true},
    RegisteredMessageInfo{kSettingsRelayMessage, "{4695579F-999A-41d4-9FAF-EFFCE93EBF15}", true},
    RegisteredMessageInfo{kLightControlStateMessage, "{4695579F-999A-41d4-9FAF-EFFCE93EBF16}", false},
    RegisteredMessageInfo{kLightControlRequestMessage, "{4695579F-999A-41d4-9FAF-EFFCE93EBF17}", true},
    RegisteredMessageInfo{kDeviceListRequestMessage, "{4695579F-999A-41d4-9FAF-EFFCE93EBF18}", true},
    // Ends in EBE19, with E where the other four have F: that is the name the capture program knows.
    RegisteredMessageInfo{kAudioCaptureMessage, "{4695579F-999A-41d4-9FAF-EFFCE93EBE19}", false},
    RegisteredMessageInfo{kHookKeySingleKey, "WM_HOOK_KEY_SINGLEKEY_MSG", true},
    RegisteredMessageInfo{kHookKeyHitKey, "WM_HOOK_KEY_HITKEY_MSG", true},
    RegisteredMessageInfo{kHookKeyKbMacro, "WM_HOOK_KEY_KBMACRO_MSG", true},
    RegisteredMessageInfo{kHookKeyMsMacro, "WM_HOOK_KEY_MSMACRO_MSG", true},
    RegisteredMessageInfo{kHookKeyKbMacroSingle, "WM_HOOK_KEY_KBMACROSINGLE_MSG", true},
    RegisteredMessageInfo{kHookKeyKbMacroPrevious, "WM_HOOK_KEY_KBMACROPREVIOUS_MSG", true},
    RegisteredMessageInfo{kHookKeyKbMacroLater, "WM_HOOK_KEY_KBMACROLATER_MSG", true},
    RegisteredMessageInfo{kHookMouSingleKey, "WM_HOOK_MOU_SINGLEKEY_MSG", true},
    RegisteredMessageInfo{kHookMouHitKey, "WM_HOOK_MOU_HITKEY_MSG", true},
    RegisteredMessageInfo{kHookMouKbMacro, "WM_HOOK_MOU_KBMACRO_MSG", true},
    RegisteredMessageInfo{kHookMouMsMacro, "WM_HOOK_MOU_MSMACRO_MSG", true},
    RegisteredMessageInfo{kHookKeyMsMacroSingle, "WM_HOOK_KEY_MSMACROSINGLE_MSG", true},
    RegisteredMessageInfo{kHookKeyMsMacroPrevious, "WM_HOOK_KEY_MSMACROPREVIOUS_MSG", true},
    RegisteredMessageInfo{kHookKeyMsMacroLater, "WM_HOOK_KEY_MSMACROLATER_MSG", true},
    RegisteredMessageInfo{kMouseRButtonDown, "UWM_MOUSERBUTTONDOWN_USER_MSG", true},
    RegisteredMessageInfo{kMouseLButtonUp, "UWM_MOUSELBUTTONUP_USER_MSG", true},
    RegisteredMessageInfo{kMouseLButtonDown, "UWM_MOUSELBUTTONDOWN_USER_MSG", true},
    RegisteredMessageInfo{kMouseRButtonUp, "UWM_MOUSERBUTTONUP_USER_MSG", true},
    RegisteredMessageInfo{kMouseMove, "UWM_MOUSEMOVE_USER_MSG", true},
    RegisteredMessageInfo{kGameStart, "Game_Start", true},
    RegisteredMessageInfo{kGameEnd, "Game_End", true},
    RegisteredMessageInfo{kGameKill, "Game_Kill", true},
    RegisteredMessageInfo{kGameDeath, "Game_Death", true},
};

}  // namespace

std::span<const RegisteredMessageInfo> RegisteredMessages() {
  return kMessages;
}

std::string_view RegisteredMessageName(RegisteredMessage id) {
  for (const RegisteredMessageInfo& info : kMessages) {
    if (info.id == id) return info.name;
  }
  return {};
}

QString RegisteredMessageQName(RegisteredMessage id) {
  const std::string_view name = RegisteredMessageName(id);
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

std::optional<RegisteredMessage> FindRegisteredMessage(std::string_view name) {
  for (const RegisteredMessageInfo& info : kMessages) {
    if (info.name == name) return info.id;
  }
  return std::nullopt;
}

}  // namespace norvane::app
