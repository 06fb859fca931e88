// The recoil editor's panel with its shipped skin, offscreen, on a temporary mouse folder and the shipped
// default gun files: choosing guns and bullets, saving a bullet into its gun's file, and resets, imports and
// exports that never lose a gun file to a bad source.
#include "editors/shoot_control.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "devices/mouse/recoil.h"
#include "profiles/json_file_util.h"
#include "tests/support/emulator_fixture.h"
#include "tests/support/temp_folder.h"
#include "uilib/edit.h"
#include "uilib/option.h"

namespace norvane::editors {
namespace {

using devices::mouse::Bullet;
using devices::mouse::GunFile;

class ShootControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    panel_.SetShootFolder(Folder());
    panel_.SetDefaultShootFolder(norvane::testing::SourceDefaultData());
    panel_.InitShootPage();
    ASSERT_NE(Edit("bullet_x_eidt"), nullptr) << "the panel's skin did not build";
    panel_.SelectGun(0);
    panel_.SelectBullet(0);
  }
  std::filesystem::path Folder() const { return std::filesystem::path(dir_.path().toStdString()); }
  ui::CEditUI* Edit(const char* name) { return dynamic_cast<ui::CEditUI*>(panel_.FindSubControl(name)); }
  ui::COptionUI* Option(const std::string& name) {
    return dynamic_cast<ui::COptionUI*>(panel_.FindSubControl(ui::CDuiString(name)));
  }
  QString Shown(const char* name) { return panel_.FindSubControl(name)->GetText(); }
  Bullet Stored(int gun, int bullet) {
    return devices::mouse::ReadBullet(JsonFileUtil().ReadJsonValue(GunFile(Folder(), gun)), bullet);
  }
  void Type(const char* edit, const char* text) { Edit(edit)->SetText(text); }

  QTemporaryDir dir_;
  CShootControlUI panel_;
};

TEST_F(ShootControlTest, EveryGunStartsFromItsDefaultAndBulletsStayInRange) {
  for (int gun = 0; gun < 4; ++gun) {
    EXPECT_EQ(norvane::testing::ReadText(GunFile(Folder(), gun)),
              norvane::testing::ReadText(GunFile(norvane::testing::SourceDefaultData(), gun)));
    EXPECT_EQ(JsonFileUtil().ReadJsonValue(GunFile(Folder(), gun))["Events"].size(), 180u) << "gun " << gun;
  }
  panel_.SelectBullet(30);
  EXPECT_EQ(panel_.CurrentBullet(), 29);
  EXPECT_EQ(Shown("bullet_select_index"), "30");
  EXPECT_TRUE(Option("bullet_op_29")->IsSelected());
  panel_.NextBullet();
  EXPECT_EQ(panel_.CurrentBullet(), 29);
  panel_.SelectBullet(-1);
  EXPECT_EQ(panel_.CurrentBullet(), 0);
  EXPECT_EQ(Shown("bullet_select_index"), "1");
  panel_.PreviousBullet();
  EXPECT_EQ(panel_.CurrentBullet(), 0);
  EXPECT_FALSE(Option("bullet_op_29")->IsSelected());
  panel_.SelectGun(7);
  EXPECT_EQ(panel_.CurrentGun(), 3);
  EXPECT_TRUE(Option("shoot_gun_op_3")->IsSelected());
  EXPECT_FALSE(Option("shoot_gun_op_0")->IsSelected());
}

TEST_F(ShootControlTest, ABulletIsSavedIntoItsGunsFileAndShownFromItAgain) {
  panel_.SelectGun(1);
  panel_.SelectBullet(2);
  Option("bullet_x_check")->Selected(true, false);
  Option("bullet_y_check")->Selected(false, false);
  panel_.ShowXDirection();
  EXPECT_EQ(Option("bullet_x_check")->GetTextId(), "mouse_move_to_left_text");
  Type("bullet_x_eidt", "3");
  Type("bullet_y_eidt", "12");
  Type("bullet_delay_eidt", "95");
  ASSERT_TRUE(panel_.SaveBullet());
  EXPECT_EQ(Stored(1, 2), (Bullet{.left = true, .up = false, .x = 3, .y = 12, .delay = 95}));
  EXPECT_EQ(norvane::testing::ReadText(GunFile(Folder(), 0)),
            norvane::testing::ReadText(GunFile(norvane::testing::SourceDefaultData(), 0)))
      << "the other guns' files stay";

  Type("bullet_x_eidt", "0");
  panel_.SelectBullet(3);
  panel_.SelectBullet(2);
  EXPECT_EQ(Edit("bullet_x_eidt")->GetText(), "3") << "shown from the file";
  EXPECT_EQ(Edit("bullet_delay_eidt")->GetText(), "95");
  EXPECT_TRUE(Option("bullet_x_check")->IsSelected());
  EXPECT_EQ(Option("bullet_y_check")->GetTextId(), "mouse_move_to_down_text");
}

TEST_F(ShootControlTest, ResetImportAndExportReplaceWholeFilesAndNeverLoseOneToABadSource) {
  panel_.SelectGun(2);
  panel_.SelectBullet(4);
  Type("bullet_y_eidt", "40");
  ASSERT_TRUE(panel_.SaveBullet());
  const std::string edited = norvane::testing::ReadText(GunFile(Folder(), 2));

  // Export, then an import of that file onto another gun shows the imported bullet.
  const std::filesystem::path exported = Folder() / "mine.Shoot";
  EXPECT_EQ(panel_.ExportGunFile(exported), CShootControlUI::FileOutcome::kDone);
  EXPECT_EQ(norvane::testing::ReadText(exported), edited);
  panel_.SelectGun(3);
  EXPECT_EQ(panel_.ImportGunFile(exported), CShootControlUI::FileOutcome::kDone);
  EXPECT_EQ(Edit("bullet_y_eidt")->GetText(), "40");
  EXPECT_EQ(norvane::testing::ReadText(GunFile(Folder(), 3)), edited);

  // Sources that are no gun file, and a copy onto itself, leave the gun's file as it was.
  const std::string gun3 = norvane::testing::ReadText(GunFile(Folder(), 3));
  norvane::testing::WriteText(Folder() / "broken.Shoot", "{ \"Events\": [");
  EXPECT_EQ(panel_.ImportGunFile(Folder() / "broken.Shoot"), CShootControlUI::FileOutcome::kSourceUnusable);
  EXPECT_EQ(panel_.ImportGunFile(Folder() / "missing.Shoot"), CShootControlUI::FileOutcome::kSourceUnusable);
  EXPECT_EQ(panel_.ImportGunFile(GunFile(Folder(), 3)), CShootControlUI::FileOutcome::kNothing);
  EXPECT_EQ(panel_.ExportGunFile(GunFile(Folder(), 3)), CShootControlUI::FileOutcome::kNothing);
  EXPECT_EQ(panel_.ImportGunFile({}), CShootControlUI::FileOutcome::kNothing);
  EXPECT_EQ(norvane::testing::ReadText(GunFile(Folder(), 3)), gun3);

  // A reset brings the default back; without a default the gun keeps its file.
  EXPECT_EQ(panel_.ResetGun(2), CShootControlUI::FileOutcome::kDone);
  EXPECT_EQ(norvane::testing::ReadText(GunFile(Folder(), 2)),
            norvane::testing::ReadText(GunFile(norvane::testing::SourceDefaultData(), 2)));
  panel_.SetDefaultShootFolder(Folder() / "nowhere");
  EXPECT_EQ(panel_.ResetGun(3), CShootControlUI::FileOutcome::kSourceUnusable);
  EXPECT_EQ(norvane::testing::ReadText(GunFile(Folder(), 3)), gun3);
}

TEST_F(ShootControlTest, AGunFileThatIsNotJsonIsReplacedByItsDefaultAtTheStart) {
  norvane::testing::WriteText(GunFile(Folder(), 1), "not json");
  std::filesystem::remove(GunFile(Folder(), 2));
  CShootControlUI fresh;
  fresh.SetShootFolder(Folder());
  fresh.SetDefaultShootFolder(norvane::testing::SourceDefaultData());
  fresh.InitShootPage();
  EXPECT_EQ(JsonFileUtil().ReadJsonValue(GunFile(Folder(), 1))["Events"].size(), 180u);
  EXPECT_EQ(JsonFileUtil().ReadJsonValue(GunFile(Folder(), 2))["Events"].size(), 180u);
}

}  // namespace
}  // namespace norvane::editors
