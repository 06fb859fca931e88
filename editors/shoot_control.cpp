#include "editors/shoot_control.h"

#include <algorithm>

#include "devices/mouse/recoil.h"
#include "platform/atomic_file.h"
#include "platform/trace.h"
#include "profiles/json_file_util.h"
#include "uilib/control_name.h"
#include "uilib/edit.h"
#include "uilib/option.h"
#include "uilib/tab_layout.h"

namespace norvane::editors {

namespace {

constexpr const char* kGunOption = "shoot_gun_op_";
constexpr const char* kBulletOption = "bullet_op_";
constexpr const char* kPictures = "shoot_image_display_switch";
constexpr const char* kBulletIndex = "bullet_select_index";
constexpr const char* kXCheck = "bullet_x_check";
constexpr const char* kYCheck = "bullet_y_check";
// The skin's own spellings.
constexpr const char* kXEdit = "bullet_x_eidt";
constexpr const char* kYEdit = "bullet_y_eidt";
constexpr const char* kDelayEdit = "bullet_delay_eidt";

constexpr const char* kLeftText = "mouse_move_to_left_text";
constexpr const char* kRightText = "mouse_move_to_right_text";
constexpr const char* kUpText = "mouse_move_to_up_text";
constexpr const char* kDownText = "mouse_move_to_down_text";

}  // namespace

CShootControlUI::CShootControlUI() = default;
CShootControlUI::~CShootControlUI() = default;

void CShootControlUI::DoInit() {
  if (built_) return;
  built_ = true;
  if (!FindSubControl(kXEdit)) LoadSubSkin(kSkin);
}

template <class T>
T* CShootControlUI::Find(const std::string& name) {
  return dynamic_cast<T*>(FindSubControl(ui::CDuiString(name)));
}

void CShootControlUI::SetShootFolder(const std::filesystem::path& folder) {
  folder_ = folder;
}

void CShootControlUI::SetDefaultShootFolder(const std::filesystem::path& folder) {
  defaults_ = folder;
}

std::filesystem::path CShootControlUI::CurrentGunFile() const {
  return devices::mouse::GunFile(folder_, gun_);
}

void CShootControlUI::InitShootPage() {
  DoInit();
  devices::mouse::ProvideMissingGunFiles(folder_, defaults_);
  if (bullet_ >= 0) SelectBullet(bullet_);
}

void CShootControlUI::SelectGun(int gun) {
  gun_ = std::clamp(gun, 0, kGunCount - 1);
  for (int n = 0; n < kGunCount; ++n) {
    if (auto* option = Find<ui::COptionUI>(kGunOption + std::to_string(n))) option->Selected(n == gun_, false);
  }
  if (auto* pictures = Find<ui::CTabLayoutUI>(kPictures)) pictures->SelectItem(gun_);
}

void CShootControlUI::SelectBullet(int bullet) {
  bullet_ = std::clamp(bullet, 0, kBulletCount - 1);
  for (int n = 0; n < kBulletCount; ++n) {
    if (auto* option = Find<ui::COptionUI>(kBulletOption + std::to_string(n))) option->Selected(n == bullet_, false);
  }
  if (ui::CControlUI* index = Find<ui::CControlUI>(kBulletIndex)) {
    index->SetResourceText(false);
    index->SetText(QString::number(bullet_ + 1));
  }
  ShowBullet();
}

void CShootControlUI::ShowBullet() {
  if (bullet_ < 0 || folder_.empty()) return;
  const devices::mouse::Bullet shown =
      devices::mouse::ReadBullet(JsonFileUtil().ReadJsonValue(CurrentGunFile()), bullet_);
  if (auto* check = Find<ui::COptionUI>(kXCheck)) check->Selected(shown.left, false);
  if (auto* check = Find<ui::COptionUI>(kYCheck)) check->Selected(shown.up, false);
  ShowXDirection();
  ShowYDirection();
  if (auto* edit = Find<ui::CEditUI>(kXEdit)) edit->SetText(QString::number(shown.x));
  if (auto* edit = Find<ui::CEditUI>(kYEdit)) edit->SetText(QString::number(shown.y));
  if (auto* edit = Find<ui::CEditUI>(kDelayEdit)) edit->SetText(QString::number(shown.delay));
}

bool CShootControlUI::SaveBullet() {
  if (bullet_ < 0 || folder_.empty()) return false;
  const auto number = [this](const char* name) -> std::int64_t {
    auto* edit = Find<ui::CEditUI>(name);
    return edit ? ui::DigitsValue(QStringView(edit->GetText()).trimmed()) : 0;
  };
  const auto selected = [this](const char* name) {
    auto* check = Find<ui::COptionUI>(name);
    return check && check->IsSelected();
  };
  const devices::mouse::Bullet bullet{.left = selected(kXCheck),
                                      .up = selected(kYCheck),
                                      .x = number(kXEdit),
                                      .y = number(kYEdit),
                                      .delay = number(kDelayEdit)};
  const std::filesystem::path file = CurrentGunFile();
  Json::Value document = JsonFileUtil().ReadJsonValue(file);
  devices::mouse::WriteBullet(document, bullet_, bullet);
  const FileResult written = JsonFileUtil().WriteJsonValue(file, document);
  if (!written) Trace("recoil editor: " + file.string() + " could not be written: " + written.error);
  return bool(written);
}

void CShootControlUI::ShowDirection(const char* name, const char* selectedText, const char* clearedText) {
  auto* check = Find<ui::COptionUI>(name);
  if (check) check->SetTextId(check->IsSelected() ? selectedText : clearedText);
}

void CShootControlUI::ShowXDirection() {
  ShowDirection(kXCheck, kLeftText, kRightText);
}

void CShootControlUI::ShowYDirection() {
  ShowDirection(kYCheck, kUpText, kDownText);
}

CShootControlUI::FileOutcome CShootControlUI::CopyOver(const std::filesystem::path& from,
                                                       const std::filesystem::path& to) const {
  std::string error;
  switch (devices::mouse::CopyGunFile(from, to, &error)) {
    case devices::mouse::GunCopy::kDone:
      return FileOutcome::kDone;
    case devices::mouse::GunCopy::kNothing:
      return FileOutcome::kNothing;
    case devices::mouse::GunCopy::kSourceUnusable:
      return FileOutcome::kSourceUnusable;
    case devices::mouse::GunCopy::kWriteFailed:
      Trace("recoil editor: " + to.string() + " could not be written: " + error);
      return FileOutcome::kWriteFailed;
  }
  return FileOutcome::kNothing;
}

CShootControlUI::FileOutcome CShootControlUI::ResetGun(int gun) {
  if (gun < 0 || gun >= kGunCount || folder_.empty()) return FileOutcome::kNothing;
  const FileOutcome outcome = CopyOver(devices::mouse::GunFile(defaults_, gun), devices::mouse::GunFile(folder_, gun));
  if (bullet_ >= 0) SelectBullet(bullet_);
  return outcome;
}

CShootControlUI::FileOutcome CShootControlUI::ImportGunFile(const std::filesystem::path& path) {
  if (path.empty() || folder_.empty()) return FileOutcome::kNothing;
  const FileOutcome outcome = CopyOver(path, CurrentGunFile());
  if (bullet_ >= 0) SelectBullet(bullet_);
  return outcome;
}

CShootControlUI::FileOutcome CShootControlUI::ExportGunFile(const std::filesystem::path& path) const {
  if (path.empty() || folder_.empty()) return FileOutcome::kNothing;
  return CopyOver(CurrentGunFile(), path);
}

}  // namespace norvane::editors
