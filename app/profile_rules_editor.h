#pragma once
// The rule panel of a device page's profile bar ("profile_rules_layout", opened by
// "profile_rules_spread_btn"): the device's profile rules in their order ("rules_list"), a new rule made of
// a program ("rules_program_combo": a running program, a typed name or path, or a file from
// "rules_file_btn"), a condition ("rules_condition_combo": while it runs, while it has the focus) and a
// profile ("rules_profile_combo"), added with "rules_add_btn"; the selected rule moved with "rules_up_btn" and
// "rules_down_btn" or removed with "rules_remove_btn"; and the profile for when no rule applies
// ("rules_default_combo"). "rules_notice_label" says when the focus cannot be known in this session, or
// when the rule file was damaged.
//
// Every change is written to the device folder's rule file at once and the switcher decides again.

#include <QPointer>
#include <functional>
#include <vector>

#include "app/profile_switcher.h"
#include "app/user_prompts.h"
#include "editors/editor.h"
#include "profiles/profile_rules.h"

namespace norvane::controls {
class CDevicePageUI;
}

namespace norvane::app {

class CProfileRulesEditor final : public editors::IEditor {
 public:
  static constexpr const char* kNoProgram = "rules_no_program_text";
  static constexpr const char* kWriteFailed = "rules_write_failed_text";
  static constexpr const char* kProgramFilter = "Programs(*)";

  CProfileRulesEditor(std::function<UserPrompts&()> prompts, std::function<CProfileSwitcher*()> switcher);

  void OnRoute(const editors::RoutedNotify& notify) override;
  void OnPageRefreshed(controls::CDevicePageUI& page) override;
  void OnLanguageChanged() override { RefreshOpenPanels(); }

  // Shows the page's rules in its panel again (the focus mode, a renamed profile).
  void Fill(controls::CDevicePageUI& page);
  void RefreshOpenPanels();

  // The text of one rule's row in the current language.
  static ui::CDuiString RowText(const ProfileRule& rule);

 private:
  void Toggle(controls::CDevicePageUI& page);
  void Add(controls::CDevicePageUI& page);
  void Remove(controls::CDevicePageUI& page);
  void Move(controls::CDevicePageUI& page, int step);
  void ChooseFile(controls::CDevicePageUI& page);
  void ChooseDefault(controls::CDevicePageUI& page);
  // Writes the set to the page's rule file; tells the user when that failed. Selects row `select` after.
  bool Store(controls::CDevicePageUI& page, const ProfileRuleSet& set, int select = -1);

  std::function<UserPrompts&()> prompts_;
  std::function<CProfileSwitcher*()> switcher_;
  std::vector<QPointer<QWidget>> openPages_;
};

}  // namespace norvane::app
