#pragma once
// The recoil editor: what the router hands it for the mouse page's recoil panel ("ShootControlItem", a
// CShootControlUI). Bullets are saved to their gun's file as the user leaves an edit; "shootdate_save_btn"
// sends all four guns to the mouse; reset, import and export replace whole gun files. The user is told what
// did not work: a file that could not be read or written, recoil patterns too large for one block, a mouse
// that did not take them.
//
// File dialogs run their own loops, so they are posted and run only if the page is still there by then.

#include <filesystem>
#include <functional>

#include "app/user_prompts.h"
#include "editors/editor.h"
#include "editors/shoot_control.h"

namespace norvane::app {

class CShootEditor final : public editors::IEditor {
 public:
  static constexpr const char* kFileFilter = "Shoot Files(*.shoot *.Shoot *.SHOOT)";
  static constexpr const char* kFileExtension = ".Shoot";
  static constexpr const char* kWriteFailed = "shoot_write_failed_text";
  static constexpr const char* kTooLarge = "shoot_too_large_text";
  static constexpr const char* kSourceUnusable = "shoot_file_unusable_text";
  static constexpr const char* kFileNotWritten = "shoot_file_not_written_text";

  explicit CShootEditor(std::function<UserPrompts&()> prompts);

  void OnRoute(const editors::RoutedNotify& notify) override;
  void OnPageRefreshed(controls::CDevicePageUI& page) override;

  // The panel of a page; null when the page has none.
  static editors::CShootControlUI* PanelOf(controls::CDevicePageUI& page);

 private:
  void Post(controls::CDevicePageUI& page, std::function<void(controls::CDevicePageUI&)> action);
  void Send(controls::CDevicePageUI& page);
  void Import(controls::CDevicePageUI& page);
  void Export(controls::CDevicePageUI& page);
  // Tells the user what a file operation's outcome means, when it failed.
  void TellFileOutcome(editors::CShootControlUI::FileOutcome outcome);

  std::function<UserPrompts&()> prompts_;
};

}  // namespace norvane::app
