#pragma once
// Everything a routed notification can end at, grouped by the editor slot that carries it out. The main
// window carries out the kWindow slot itself; every other slot is an editor registered with the router.

#include <cstdint>

namespace norvane::editors {

enum class EditorSlot : std::uint8_t {
  kWindow,
  kKeyboardSystem,
  kKeyAssignment,
  kLighting,
  kAudioLighting,
  kMacro,
  kRecording,
  kMouse,
  kShoot,
  kHeadset,
  kProfileRules,
  kCount,
};

enum class RouteAction : std::uint16_t {
  kNothing,
  // Window.
  kWindowInit,
  kWindowSize,
  kCloseToTray,
  kHideWindow,
  kToggleLightControl,
  kMinimize,
  kMaximize,
  kRestore,
  kOpenSkinChooser,
  kOpenSettings,
  kOpenDesktopSettings,
  kLoadDefaults,
  kAddProfile,
  kDeleteProfile,
  kExportProfile,
  kImportProfile,
  kCopyProfile,
  kResetProfile,
  kRenameProfile,
  kToggleProfileMenu,
  kPreviousDevice,
  kNextDevice,
  kDeviceSelected,
  kFunctionTab,  // number: the tab code 1..8
  kProfileChosen,
  kTestSliderMoved,
  kTestEditDone,
  kMouseLightSelection,
  // Keyboard system settings.
  kClearRepeatTest,
  kPollingRate,
  kRepeatDelay,
  kRepeatRate,
  kWindowsKeyLock,
  kWFlag,
  kSixKeyFlag,
  // Key assignment.
  kKeyClicked,
  kApplyKey,
  kRestoreDefaultKey,
  kCancelKey,
  kCommitKeys,
  kKeyFunctionGroup,
  kKeyFunctionChosen,
  // Lighting.
  kColourOption,
  kCustomPaint,
  kCustomErase,
  kLightSync,
  kLightDirection,  // number: 1 left, 0 right
  kMultiColour,
  kBrightness,
  kSpeed,
  kColourComponent,  // number: 0 red, 1 green, 2 blue
  kEffectChosen,
  kCustomEffectChosen,
  kPresetEffectChosen,
  kPaletteColour,
  kPaintKey,        // number: the LED of a key clicked on the lighting tab
  kPaintSelection,  // the keys a drag selected on the lighting tab
  // Audio lighting.
  kAudioColourOption,
  kAudioBackgroundBlack,
  kOpenAudioStyle,
  kAudioMultiColour,
  kAudioBackgroundChoice,
  kAudioForegroundChoice,
  kAudioColourComponent,  // number: 0 red, 1 green, 2 blue
  kAudioEffectChosen,
  kAudioPaletteColour,
  kAudioCaptureColour,  // number: 6 red, 7 green, 8 blue (the capture program's parameter)
  // Macros.
  kMacroAdd,
  kMacroDelete,
  kMacroRename,
  kMacroSave,
  kMacroCancel,
  kMacroExport,
  kMacroImport,
  kMacroStepUp,
  kMacroStepDown,
  kMacroStepTop,
  kMacroStepBottom,
  kMacroStepDelete,
  kMacroStepDeleteAll,
  kMacroInsertMove,  // number: 0 left, 1 right, 2 up, 3 down
  kMacroChosen,
  kMacroDelayDone,
  kMacroActionMenu,
  // Recording.
  kRecordStart,
  kRecordStop,
  kCaptureOn,
  kCaptureOff,
  // Mouse.
  kDpiColour,
  kDpiEnable,
  kDpiSelect,
  kMousePollingRate,
  kMouseSettingsTab,
  kPointerPrecision,
  kScrollsPage,
  kDpiSlider,
  kDpiSliderMoved,
  kDpiEdit,
  kPointerSpeed,
  kScrollSpeed,
  kDoubleClickSpeed,
  // Recoil patterns.
  kShootSave,
  kShootReset,
  kShootImport,
  kShootExport,
  kBulletPrevious,
  kBulletNext,
  kGunChosen,
  kBulletChosen,
  kBulletAxis,  // number: 0 x, 1 y
  kBulletValue,  // number: 0 x, 1 y, 2 delay
  // Headset.
  kEqSave,
  kEqDelete,
  kVoiceEffect,
  kEqPreset,
  kVoiceEnable,
  kMicIn,
  kMicMonitor,
  kEqBand,
  kMicInLevel,
  kMicMonitorLevel,
  kCustomEqChosen,
  // Profile rules.
  kRulesToggle,
  kRuleAdd,
  kRuleFromFile,
  kRuleRemove,
  kRuleUp,
  kRuleDown,
  kRuleDefaultChosen,
};

}  // namespace norvane::editors
