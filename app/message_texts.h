#pragma once
// Which message the program shows in which situation, as language text ids, and the two helpers that the
// formatted messages need: resolving a text id through a window's hidden label, and putting one number into
// a translated text without ever treating that text as a printf format.

#include "uilib/control.h"
#include "uilib/window_wnd.h"

namespace norvane::app::msgtext {

// Confirmations (shown with kMessageOkCancel; the action runs only on confirm).
inline constexpr char kResetProfile[] = "message_text_22";   // "default_btn", "device_reset_btn"
inline constexpr char kAddProfile[] = "message_text_27";     // "device_add_btn"
inline constexpr char kDeleteProfile[] = "message_text_29";  // "device_sub_btn"
inline constexpr char kCopyProfile[] = "message_text_26";    // "device_copy_btn"
inline constexpr char kAddMacro[] = "message_text_28";       // "macro_btn_name_add"
inline constexpr char kDeleteMacro[] = "message_text_4";     // "macro_btn_name_sub"
inline constexpr char kMacroStillUsed[] = "message_text_2";  // "macro_btn_name_sub", keys still use it

// Errors and notices (shown with kMessageOk).
inline constexpr char kNameTaken[] = "message_text_5";         // rename result 0, empty macro name, EQ save
inline constexpr char kNameMissing[] = "message_text_25";      // profile rename result 2
inline constexpr char kNameInvalid[] = "message_text_30";      // profile rename result 3, macro name with "&"
inline constexpr char kLastLeftButton[] = "message_text_6";    // the mouse's last left-button key
inline constexpr char kMacroWriteFailed[] = "message_text_7";  // writing the macros answered -1
inline constexpr char kMacroTooLong[] = "message_text_16";     // formatted with the write's answer N

// The hidden labels that translate ids: "str_test" in the main layout, "text_test" in the about window and
// the device pages.
inline constexpr char kMainTextLabel[] = "str_test";
inline constexpr char kPageTextLabel[] = "text_test";

}  // namespace norvane::app::msgtext

namespace norvane::app {

// The current language's text of `id`, read back from `hiddenLabel` after it was given the id. An id the
// language does not know gives the id itself; a null label gives the id as well.
ui::CDuiString ResolveLanguageText(ui::CControlUI* hiddenLabel, const ui::CDuiString& id);

// Puts `number` into a translated text. The text's first integer placeholder ("%d", "%i", "%u", "%x", with
// flags or width) takes the number and "%%" is a percent sign; everything else, "%s" and "%n" included, is
// copied as text. Safe for any text a language file holds.
ui::CDuiString SubstituteNumber(const ui::CDuiString& text, long long number);

// Tells the user how writing the macros to a device went: nothing for 0 (written), "message_text_7" for -1,
// "message_text_16" with the answer in place of its number for anything else. `hiddenLabel` is the caller's
// "str_test" or "text_test". Returns true when a message was shown.
bool ShowMacroWriteResult(ui::CWindowWnd* parent, ui::CControlUI* hiddenLabel, int dpi, int result);

}  // namespace norvane::app
