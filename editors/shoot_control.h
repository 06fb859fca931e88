#pragma once
// CShootControlUI (skin class "ShootControl"; the mouse page holds it as "ShootControlItem"): the recoil
// editor. It shows one bullet of one gun at a time: the gun chosen with "shoot_gun_op_N", the bullet with
// "bullet_op_N" or the arrows, its horizontal and vertical pull ("bullet_x_check" selected = left,
// "bullet_y_check" selected = up; distances in "bullet_x_eidt" and "bullet_y_eidt") and its delay
// ("bullet_delay_eidt"). Each gun is a file in the mouse's folder (devices/mouse/recoil.h); the editor holds
// no document between operations: every show reads the file afresh and every save writes it at once.
// Nothing reaches the mouse until its WriteShootData.
//
// Files are never lost to a bad source: a reset, an import or an export reads its source whole first,
// leaves the target as it was when that fails, and replaces it atomically.

#include <filesystem>
#include <string>

#include "uilib/container.h"

namespace norvane::editors {

class CShootControlUI : public ui::CHorizontalLayoutUI {
 public:
  static constexpr const char* kClassName = "ShootControl";
  static constexpr const char* kItemName = "ShootControlItem";
  static constexpr const char* kSkin = "XML\\CustomControlXML\\ShootControl.xml";
  static constexpr int kGunCount = 4;
  static constexpr int kBulletCount = 30;

  // How a file operation went.
  enum class FileOutcome {
    kDone,
    kNothing,         // no path, or a copy of a file onto itself
    kSourceUnusable,  // the source cannot be read (or is not JSON): the target is as it was
    kWriteFailed,     // the target could not be written: it is as it was
  };

  CShootControlUI();
  ~CShootControlUI() override;

  void DoInit() override;

  void SetShootFolder(const std::filesystem::path& folder);
  void SetDefaultShootFolder(const std::filesystem::path& folder);
  const std::filesystem::path& ShootFolder() const { return folder_; }
  // Looks the controls up (building the panel once), then gives every gun whose file is missing or not
  // JSON its default file.
  void InitShootPage();

  // The gun (kept within 0..3) and its option; the picture of the gun.
  void SelectGun(int gun);
  // The bullet (kept within 0..29), its option, its number in "bullet_select_index", then ShowBullet.
  void SelectBullet(int bullet);
  void PreviousBullet() { SelectBullet(bullet_ - 1); }
  void NextBullet() { SelectBullet(bullet_ + 1); }
  // The current bullet of the current gun, from its file.
  void ShowBullet();
  // The edits and checks into the current bullet's six events; false when the file could not be written
  // (it is then as it was).
  [[nodiscard]] bool SaveBullet();
  // The direction checks' texts follow their state (saved with the next SaveBullet).
  void ShowXDirection();
  void ShowYDirection();

  // Gun `gun`'s default file over its file, then the current bullet again.
  FileOutcome ResetGun(int gun);
  // A file over the current gun's file, then the current bullet again. A source that is not JSON is not
  // taken; any JSON document is (what it lacks reads as nothing).
  FileOutcome ImportGunFile(const std::filesystem::path& path);
  // The current gun's file to `path`.
  FileOutcome ExportGunFile(const std::filesystem::path& path) const;

  int CurrentGun() const { return gun_; }
  int CurrentBullet() const { return bullet_; }
  std::filesystem::path CurrentGunFile() const;

 private:
  template <class T>
  T* Find(const std::string& name);
  void ShowDirection(const char* check, const char* selectedText, const char* clearedText);
  FileOutcome CopyOver(const std::filesystem::path& from, const std::filesystem::path& to) const;

  bool built_ = false;
  int gun_ = 0;
  int bullet_ = -1;
  std::filesystem::path folder_;
  std::filesystem::path defaults_;
};

}  // namespace norvane::editors
