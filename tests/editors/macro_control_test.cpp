// The macro editor's panel with its shipped skin, offscreen, on a temporary device folder: the list mirrors
// "macro.config", renames are refused as the naming rules say, and the row operations (moves, deletes,
// mouse insertions, delays) land in the macro's file at once.
#include "editors/macro_control.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "editors/macro_row.h"
#include "macro/macro_library.h"

namespace norvane::editors {
namespace {

using macro::MacroEvent;

class MacroControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    panel_.InitMacroEditor();
    ASSERT_NE(panel_.NameList(), nullptr) << "the panel's skin did not build";
    ASSERT_NE(panel_.ActionList(), nullptr);
    panel_.SetMacroFolder(Folder());
    panel_.LoadMacroList();
  }
  std::filesystem::path Folder() const { return std::filesystem::path(dir_.path().toStdString()); }
  ui::CEditUI* Edit(const char* name) { return dynamic_cast<ui::CEditUI*>(panel_.FindSubControl(name)); }
  // What the macro's file holds, read by the model rather than by the panel.
  std::vector<MacroEvent> Stored(int index) const {
    macro::MacroLibrary library(Folder());
    library.Load();
    return library.Events(index);
  }
  void Rename(const char* text) { panel_.NameEdit()->SetText(text); }
  // A macro with three rows: left press, left release, right press (all with the fixed delay).
  void AddMacroWithThreeRows() {
    ASSERT_FALSE(panel_.AddMacro().empty());
    panel_.InsertMouseAction(0x201, 0);
    panel_.InsertMouseAction(0x202, 0);
    panel_.InsertMouseAction(0x204, 0);
    ASSERT_EQ(panel_.RowCount(), 3);
  }

  QTemporaryDir dir_;
  CMacroControlUI panel_;
};

const MacroEvent kLeftDown{"down", 0x01, 50, 1};
const MacroEvent kLeftUp{"up", 0x01, 50, 1};
const MacroEvent kRightDown{"down", 0x02, 50, 1};

TEST_F(MacroControlTest, NewMacrosTakeTheFirstFreeNumberAndShowEmpty) {
  EXPECT_EQ(panel_.GetSelectedMacroIndex(), -1) << "nothing is shown until a macro is chosen";
  EXPECT_EQ(panel_.AddMacro(), "macro_1");
  EXPECT_EQ(panel_.AddMacro(), "macro_2");
  EXPECT_EQ(panel_.AddMacro(), "macro_3");
  panel_.SelectMacro(1);
  ASSERT_EQ(panel_.DeleteMacro(), 1);
  EXPECT_EQ(panel_.AddMacro(), "macro_2") << "the gap left by macro_2 is filled first";
  EXPECT_EQ(panel_.GetSelectedMacroIndex(), 2) << "the new macro is selected";
  EXPECT_EQ(panel_.RowCount(), 0);
  EXPECT_EQ(panel_.NameEdit()->GetText().toStdString(), "macro_2");
  EXPECT_EQ(panel_.GetMacroNames(), (std::vector<std::string>{"macro_1", "macro_3", "macro_2"}));

  CMacroControlUI reopened;
  reopened.SetMacroFolder(Folder());
  reopened.LoadMacroList();
  EXPECT_EQ(reopened.NameList()->GetCount(), 3) << "the list is what macro.config holds";
  EXPECT_EQ(reopened.NameList()->GetItemText(2).toStdString(), "macro_2");
}

TEST_F(MacroControlTest, RenamesWithAmpersandBlankOrTakenNamesAreRefusedAndChangeNothing) {
  ASSERT_EQ(panel_.AddMacro(), "macro_1");
  ASSERT_EQ(panel_.AddMacro(), "macro_2");
  Rename("a&b");
  CMacroControlUI::Renamed renamed = panel_.RenameMacro();
  EXPECT_EQ(renamed.result.MessageId(), "message_text_30");
  EXPECT_EQ(renamed.index, 1);
  Rename("   ");
  EXPECT_EQ(panel_.RenameMacro().result.MessageId(), "message_text_5");
  Rename("MACRO_1");
  EXPECT_EQ(panel_.RenameMacro().result.MessageId(), "message_text_5") << "names are the same in any letter case";
  Rename("Macro_2");
  EXPECT_FALSE(panel_.RenameMacro().result.renamed()) << "its own name in other letters is taken too";
  EXPECT_EQ(panel_.GetMacroNames(), (std::vector<std::string>{"macro_1", "macro_2"}));

  Rename("  walk ");
  renamed = panel_.RenameMacro();
  EXPECT_TRUE(renamed.result.renamed());
  EXPECT_EQ(renamed.name, "walk");
  EXPECT_EQ(panel_.NameList()->GetItemText(1).toStdString(), "walk");
  EXPECT_EQ(panel_.GetMacroNames(), (std::vector<std::string>{"macro_1", "walk"}));

  panel_.NameList()->ClearSelection();
  EXPECT_EQ(panel_.RenameMacro().index, -1) << "no macro selected, nothing to rename";
}

TEST_F(MacroControlTest, MouseActionsGoAfterTheSelectedRowOrToRowOneWithoutSelection) {
  ASSERT_FALSE(panel_.AddMacro().empty());
  panel_.InsertMouseAction(0x201, 0);
  EXPECT_EQ(panel_.RowEvents(), (std::vector<MacroEvent>{kLeftDown})) << "an empty list gets its first row at 0";
  AddMacroWithThreeRows();
  panel_.SelectRow(-1);
  panel_.InsertMouseAction(0x20B, 1);
  const MacroEvent backDown{"down", 0x08, 50, 1};
  EXPECT_EQ(panel_.RowEvents(), (std::vector<MacroEvent>{kLeftDown, backDown, kLeftUp, kRightDown}));
  EXPECT_EQ(panel_.SelectedRow(), 1);
  EXPECT_EQ(Stored(1), panel_.RowEvents()) << "every insertion is saved at once";

  panel_.InsertMouseAction(0x20C, 0);
  EXPECT_EQ(panel_.RowEvents()[2], (MacroEvent{"up", 0x10, 50, 1})) << "variant 0 of the extra buttons is forward";
  panel_.InsertMouseAction(0x123, 0);
  EXPECT_EQ(panel_.RowCount(), 5) << "an unknown message inserts nothing";
}

TEST_F(MacroControlTest, MenuClicksInsertAPressAndItsReleaseAfterTheSelectedRow) {
  AddMacroWithThreeRows();
  panel_.SetFixedDelay(75);
  panel_.SelectRow(0);
  ASSERT_TRUE(panel_.InsertMenuAction("left_click"));
  EXPECT_EQ(panel_.RowEvents(), (std::vector<MacroEvent>{kLeftDown, {"down", 0x01, 75, 1}, {"up", 0x01, 75, 1},
                                                         kLeftUp, kRightDown}));
  EXPECT_EQ(panel_.SelectedRow(), 2) << "the release is selected, so a next insertion follows it";
  EXPECT_EQ(Stored(0), panel_.RowEvents());

  ASSERT_TRUE(panel_.InsertMenuAction("back_up"));
  ASSERT_TRUE(panel_.InsertMenuAction("forward_down"));
  ASSERT_TRUE(panel_.InsertMenuAction("middle_click"));
  const std::vector<MacroEvent> rows = panel_.RowEvents();
  ASSERT_EQ(rows.size(), 9u);
  EXPECT_EQ(rows[3], (MacroEvent{"up", 0x08, 75, 1}));
  EXPECT_EQ(rows[4], (MacroEvent{"down", 0x10, 75, 1}));
  EXPECT_EQ(rows[5], (MacroEvent{"down", 0x04, 75, 1}));
  EXPECT_EQ(rows[6], (MacroEvent{"up", 0x04, 75, 1}));

  for (const char* other : {"redio_later_record_time", "macro_action_edit", "left", "left_double", "_down", ""}) {
    EXPECT_FALSE(panel_.InsertMenuAction(other)) << other;
  }
  EXPECT_EQ(panel_.RowCount(), 9);
}

TEST_F(MacroControlTest, MovesKeepTheirLowEightBitsAndFollowTheirEdits) {
  ASSERT_FALSE(panel_.AddMacro().empty());
  Edit("mouse_x_left_edit")->SetText("300");
  panel_.InsertMouseAction(CMacroControlUI::kMoveMessage, 0);
  Edit("mouse_y_down_edit")->SetText("7");
  panel_.InsertMouseAction(CMacroControlUI::kMoveMessage, 3);
  EXPECT_EQ(Stored(0), (std::vector<MacroEvent>{{"down", 44, 50, 4}, {"up", 7, 50, 5}}));
}

TEST_F(MacroControlTest, MovesAtTheEndsChangeNothingAndOthersMoveTheRowAndItsSelection) {
  AddMacroWithThreeRows();
  panel_.SelectRow(0);
  panel_.MoveRowUp();
  panel_.MoveRowToTop();
  EXPECT_EQ(panel_.RowEvents(), (std::vector<MacroEvent>{kLeftDown, kLeftUp, kRightDown}));
  panel_.SelectRow(2);
  panel_.MoveRowDown();
  panel_.MoveRowToBottom();
  EXPECT_EQ(panel_.RowEvents(), (std::vector<MacroEvent>{kLeftDown, kLeftUp, kRightDown}));
  EXPECT_EQ(panel_.SelectedRow(), 2);

  panel_.MoveRowUp();
  EXPECT_EQ(panel_.RowEvents(), (std::vector<MacroEvent>{kLeftDown, kRightDown, kLeftUp}));
  EXPECT_EQ(panel_.SelectedRow(), 1);
  panel_.MoveRowToTop();
  EXPECT_EQ(panel_.RowEvents(), (std::vector<MacroEvent>{kRightDown, kLeftDown, kLeftUp}));
  EXPECT_EQ(panel_.SelectedRow(), 0);
  panel_.MoveRowToBottom();
  EXPECT_EQ(panel_.RowEvents(), (std::vector<MacroEvent>{kLeftDown, kLeftUp, kRightDown}));
  EXPECT_EQ(panel_.SelectedRow(), 2);
  panel_.SelectRow(0);
  panel_.MoveRowDown();
  EXPECT_EQ(Stored(0), (std::vector<MacroEvent>{kLeftUp, kLeftDown, kRightDown})) << "a move is saved at once";
}

TEST_F(MacroControlTest, DeletingOneRowOrAllIsSaved) {
  AddMacroWithThreeRows();
  panel_.SelectRow(1);
  panel_.DeleteRow();
  EXPECT_EQ(Stored(0), (std::vector<MacroEvent>{kLeftDown, kRightDown}));
  panel_.SelectRow(-1);
  panel_.DeleteRow();
  EXPECT_EQ(panel_.RowCount(), 2) << "without a selected row nothing goes";
  panel_.DeleteAllRows();
  EXPECT_EQ(panel_.RowCount(), 0);
  EXPECT_EQ(panel_.SelectedRow(), -1);
  EXPECT_TRUE(Stored(0).empty());
}

TEST_F(MacroControlTest, TypedDelaysAreHeldToTheirRangeWhenSavedAndCancelBringsBackTheFile) {
  AddMacroWithThreeRows();
  auto delayOf = [this](int row) { return DelayEditOf(panel_.RowControl(row)); };
  delayOf(0)->SetText("120");
  delayOf(1)->SetText("999999");
  delayOf(2)->SetText("");
  ASSERT_TRUE(panel_.SaveMacro());
  EXPECT_EQ(delayOf(1)->GetText().toStdString(), "65535");
  EXPECT_EQ(delayOf(2)->GetText().toStdString(), "0");
  const std::vector<MacroEvent> stored = Stored(0);
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[0].delay, 120);
  EXPECT_EQ(stored[1].delay, 65535);
  EXPECT_EQ(stored[2].delay, 0);

  delayOf(0)->SetText("7");
  panel_.ShowMacro();
  EXPECT_EQ(delayOf(0)->GetText().toStdString(), "120") << "showing again reads the file, not the edit";
}

TEST_F(MacroControlTest, ARowShowsItsEventAndItsDelayAsTheEditorShowsDelays) {
  std::unique_ptr<CMacroRowUI> row = MakeMacroRow(MacroEvent{"down", 0x04, 70000, 10});
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->GetName().toStdString(), "macro_action");
  ui::CEditUI* delay = DelayEditOf(row.get());
  ASSERT_NE(delay, nullptr);
  EXPECT_EQ(delay->GetName().toStdString(), "macro_delay");
  EXPECT_EQ(delay->GetText().toStdString(), "65535");
  EXPECT_EQ(delay->GetMaxChar(), 6);
  EXPECT_TRUE(delay->IsNumberOnly());
  EXPECT_EQ(MakeMacroRow(std::string("[1, 2]")), nullptr) << "a row is only made from an event object";
}

TEST_F(MacroControlTest, ImportAddsTheFileUnderItsNameAndAnUnreadableFileAddsNothing) {
  const std::filesystem::path source = Folder() / "walk.mac";
  const std::string bytes =
      R"({"Events":[{"Action":"down","Button":4,"Delay":"300","Type":10}],"Guid":"x","MacroName":"y","Version":64})";
  { std::ofstream(source) << bytes; }
  EXPECT_EQ(panel_.ImportMacro(source), "walk");
  EXPECT_EQ(panel_.RowEvents(), (std::vector<MacroEvent>{{"down", 4, 300, 10}})) << "the imported macro is shown";
  EXPECT_EQ(panel_.ImportMacro(source), "walk_1");
  const std::filesystem::path broken = Folder() / "broken.mac";
  { std::ofstream(broken) << "not json"; }
  EXPECT_EQ(panel_.ImportMacro(broken), "");
  EXPECT_EQ(panel_.MacroCount(), 2);

  const std::filesystem::path target = Folder() / "out.mac";
  ASSERT_TRUE(panel_.ExportMacro(target));
  std::stringstream exported;
  exported << std::ifstream(target).rdbuf();
  EXPECT_EQ(exported.str(), bytes) << "an export copies the file as it is";
}

TEST_F(MacroControlTest, DeletingTheLastMacroEmptiesTheEditorAndDisablesItsButtons) {
  ASSERT_FALSE(panel_.AddMacro().empty());
  ui::CControlUI* exportButton = panel_.FindSubControl("macro_btn_export");
  ASSERT_NE(exportButton, nullptr);
  EXPECT_TRUE(exportButton->IsEnabled());
  EXPECT_EQ(panel_.DeleteMacro(), 0);
  EXPECT_EQ(panel_.DeleteMacro(), -1);
  EXPECT_FALSE(exportButton->IsEnabled());
  EXPECT_TRUE(panel_.NameEdit()->GetText().isEmpty());
}

}  // namespace
}  // namespace norvane::editors
