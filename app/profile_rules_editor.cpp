#include "app/profile_rules_editor.h"

#include <QEvent>
#include <QLayout>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>

#include "controls/device_profile.h"
#include "controls/pages/device_page.h"
#include "editors/page_controls.h"
#include "platform/process_info.h"
#include "platform/trace.h"
#include "uilib/combo.h"
#include "uilib/list.h"
#include "uilib/paint_manager.h"

namespace norvane::app {
namespace {

using editors::FindInPage;
using editors::FindInPageAs;
using editors::RouteAction;

constexpr const char* kPanel = "profile_rules_layout";
constexpr const char* kList = "rules_list";
constexpr const char* kProgram = "rules_program_combo";
constexpr const char* kCondition = "rules_condition_combo";
constexpr const char* kProfile = "rules_profile_combo";
constexpr const char* kDefault = "rules_default_combo";
constexpr const char* kNotice = "rules_notice_label";

std::filesystem::path FolderOf(controls::CDevicePageUI& page) {
  return page.Device() ? page.Device()->UserProfileFolder() : std::filesystem::path();
}

ui::CDuiString Format(const char* textId, const std::string& first, const std::string& second = {}) {
  return editors::LocalizedText(textId).arg(QString::fromStdString(first), QString::fromStdString(second));
}

// The notice of the panel: the damaged file first, then what this session knows of the focus.
const char* NoticeOf(const ProfileRuleSet& set, CProfileSwitcher::FocusMode mode) {
  if (set.damagedFile) return "rules_notice_damaged";
  if (mode == CProfileSwitcher::FocusMode::kWayland) return "rules_notice_wayland";
  if (mode == CProfileSwitcher::FocusMode::kNoWindowManager) return "rules_notice_nowm";
  return "";
}

// Lays the rule panel over the page just below the profile bar, so that opening it takes no room from the
// page's own areas (the page is laid out for a fixed window size); it follows the bar when the page is
// laid out again (a screen change, the window's scale).
class RulePanelOverlay final : public QObject {
 public:
  RulePanelOverlay(QWidget* panel, QWidget* bar, QWidget* page) : QObject(panel), panel_(panel), bar_(bar), page_(page) {
    bar->installEventFilter(this);
    page->installEventFilter(this);
    panel->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    const bool relayout = type == QEvent::Resize || type == QEvent::Move || type == QEvent::LayoutRequest;
    if (relayout || (watched == panel_ && type == QEvent::Show)) QTimer::singleShot(0, this, [this] { Place(); });
    return false;
  }

  void Place() {
    if (!panel_ || !bar_ || !page_ || !panel_->isVisible()) return;
    const QPoint below = bar_->mapTo(page_, QPoint(0, bar_->height() + 4));
    const int width = bar_->width();
    const int height = panel_->hasHeightForWidth() ? panel_->heightForWidth(width) : panel_->sizeHint().height();
    panel_->setGeometry(below.x(), below.y(), width, std::max(height, panel_->minimumSizeHint().height()));
    panel_->raise();
  }

 private:
  QPointer<QWidget> panel_;
  QPointer<QWidget> bar_;
  QPointer<QWidget> page_;
};

// Takes the panel out of the bar's layout and over the page, once.
void FloatOverPage(ui::CControlUI& panel, controls::CDevicePageUI& page) {
  QWidget* widget = panel.GetWidget();
  if (widget->property("rulesOverlay").toBool()) return;
  controls::CDeviceProfileUI* bar = page.ProfileBar();
  if (!bar) return;
  if (QWidget* parent = widget->parentWidget(); parent && parent->layout()) parent->layout()->removeWidget(widget);
  widget->setParent(page.GetWidget());
  widget->setAttribute(Qt::WA_StyledBackground);
  widget->setProperty("rulesOverlay", true);
  // Out of the bar, the panel takes the window's scale as it is now.
  if (ui::CPaintManagerUI* manager = panel.GetManager()) manager->ApplyScaleTo(widget);
  new RulePanelOverlay(widget, bar->GetWidget(), page.GetWidget());  // owned by the panel
}

}  // namespace

CProfileRulesEditor::CProfileRulesEditor(std::function<UserPrompts&()> prompts,
                                         std::function<CProfileSwitcher*()> switcher)
    : prompts_(std::move(prompts)), switcher_(std::move(switcher)) {}

ui::CDuiString CProfileRulesEditor::RowText(const ProfileRule& rule) {
  const std::string program = rule.program.empty() ? "?" : rule.program;
  if (rule.broken == "no such profile") return Format("rules_row_gone", program, rule.profileName);
  if (rule.IsBroken()) return Format("rules_row_broken", program);
  return Format(rule.when == RuleCondition::kFocused ? "rules_row_focus" : "rules_row_running", program,
                rule.profileName);
}

void CProfileRulesEditor::OnRoute(const editors::RoutedNotify& notify) {
  if (!notify.page || !notify.page->Device()) return;
  controls::CDevicePageUI& page = *notify.page;
  switch (notify.action) {
    case RouteAction::kRulesToggle:
      Toggle(page);
      break;
    case RouteAction::kRuleAdd:
      Add(page);
      break;
    case RouteAction::kRuleFromFile: {
      // The file dialog runs its own loop: not inside the button's signal.
      QPointer<QWidget> target = page.GetWidget();
      QTimer::singleShot(0, page.GetWidget(), [this, target] {
        if (auto* p = target ? dynamic_cast<controls::CDevicePageUI*>(ui::ControlOf(target)) : nullptr)
          ChooseFile(*p);
      });
      break;
    }
    case RouteAction::kRuleRemove:
      Remove(page);
      break;
    case RouteAction::kRuleUp:
      Move(page, -1);
      break;
    case RouteAction::kRuleDown:
      Move(page, 1);
      break;
    case RouteAction::kRuleDefaultChosen:
      ChooseDefault(page);
      break;
    default:
      break;
  }
}

void CProfileRulesEditor::OnPageRefreshed(controls::CDevicePageUI& page) {
  if (CProfileSwitcher* switcher = switcher_()) switcher->PageRefreshed(page);
  const ui::CControlUI* panel = FindInPage(page, kPanel);
  if (panel && panel->IsVisible()) Fill(page);
}

void CProfileRulesEditor::RefreshOpenPanels() {
  std::erase_if(openPages_, [](const QPointer<QWidget>& page) { return page.isNull(); });
  for (const QPointer<QWidget>& widget : openPages_) {
    auto* page = dynamic_cast<controls::CDevicePageUI*>(ui::ControlOf(widget));
    const ui::CControlUI* panel = page ? FindInPage(*page, kPanel) : nullptr;
    if (panel && panel->IsVisible()) Fill(*page);
  }
}

void CProfileRulesEditor::Toggle(controls::CDevicePageUI& page) {
  ui::CControlUI* panel = FindInPage(page, kPanel);
  if (!panel) return;
  const bool show = !panel->IsVisible();
  if (show) {
    FloatOverPage(*panel, page);
    Fill(page);
    // The running programs to pick from, as they are now.
    if (auto* programs = FindInPageAs<ui::CComboUI>(page, kProgram)) {
      const ui::CDuiString typed = programs->GetText();
      programs->RemoveAll();
      for (const ProcessInfo& info : RunningPrograms()) {
        programs->AddItem(QString::fromStdString(ProgramName(info)), false, QString::fromStdString(info.exe));
      }
      programs->SetText(typed);
    }
    if (std::none_of(openPages_.begin(), openPages_.end(),
                     [&](const auto& p) { return p == page.GetWidget(); })) {
      openPages_.emplace_back(page.GetWidget());
    }
  }
  panel->SetVisible(show);
}

void CProfileRulesEditor::Fill(controls::CDevicePageUI& page) {
  const std::filesystem::path folder = FolderOf(page);
  if (folder.empty()) return;
  const std::vector<ListedProfile> profiles = ReadListedProfiles(folder);
  const ProfileRuleSet set = ProfileRuleFile(folder).Read(profiles);

  if (auto* list = FindInPageAs<ui::CListUI>(page, kList)) {
    const int selected = list->GetCurSel();
    list->RemoveAll();
    for (const ProfileRule& rule : set.rules) {
      const int row = list->AddItem(RowText(rule));
      // The row may be cut short; its whole text is one hover away.
      if (QListWidgetItem* item = list->item(row)) item->setToolTip(RowText(rule));
    }
    if (selected >= 0 && selected < list->GetCount()) list->SelectItem(selected, false, false);
  }
  if (auto* combo = FindInPageAs<ui::CComboUI>(page, kProfile)) {
    const ui::CDuiString chosen = combo->GetItemUserData(combo->GetCurSel());
    combo->RemoveAll();
    for (const ListedProfile& profile : profiles) {
      combo->AddItem(QString::fromStdString(profile.name), false, QString::fromStdString(profile.id));
    }
    const int again = combo->FindItemByUserData(chosen);
    combo->SelectItem(again >= 0 ? again : 0, false, false);
  }
  if (auto* combo = FindInPageAs<ui::CComboUI>(page, kDefault)) {
    combo->RemoveAll();
    combo->AddItem("rules_default_hand", true, "");
    for (const ListedProfile& profile : profiles) {
      combo->AddItem(QString::fromStdString(profile.name), false, QString::fromStdString(profile.id));
    }
    const int current =
        set.defaultBroken ? -1 : combo->FindItemByUserData(QString::fromStdString(set.defaultProfileId));
    combo->SelectItem(std::max(current, 0), false, false);
  }
  if (auto* programs = FindInPageAs<ui::CComboUI>(page, kProgram); programs && programs->lineEdit()) {
    programs->lineEdit()->setPlaceholderText(editors::LocalizedText("rules_program_placeholder"));
  }
  if (auto* condition = FindInPageAs<ui::CComboUI>(page, kCondition);
      condition && condition->GetCurSel() < 0) {
    condition->SelectItem(0, false, false);
  }
  if (ui::CControlUI* notice = FindInPage(page, kNotice)) {
    const CProfileSwitcher* switcher = switcher_();
    const char* text =
        NoticeOf(set, switcher ? switcher->GetFocusMode() : CProfileSwitcher::FocusMode::kUnknown);
    notice->SetVisible(*text != '\0');
    if (*text != '\0') notice->SetTextId(text);
  }
}

bool CProfileRulesEditor::Store(controls::CDevicePageUI& page, const ProfileRuleSet& set, int select) {
  const FileResult written = ProfileRuleFile(FolderOf(page)).Write(set);
  if (!written) {
    Trace("profile rules: " + written.error);
    prompts_().Tell(kWriteFailed);
  }
  if (select >= 0) {
    if (auto* list = FindInPageAs<ui::CListUI>(page, kList)) list->ClearSelection();
  }
  Fill(page);
  if (auto* list = FindInPageAs<ui::CListUI>(page, kList); list && select >= 0 && select < list->GetCount()) {
    list->SelectItem(select, false, false);
  }
  if (CProfileSwitcher* switcher = switcher_()) switcher->RulesChanged();
  return written.ok;
}

void CProfileRulesEditor::Add(controls::CDevicePageUI& page) {
  auto* programs = FindInPageAs<ui::CComboUI>(page, kProgram);
  auto* profiles = FindInPageAs<ui::CComboUI>(page, kProfile);
  auto* condition = FindInPageAs<ui::CComboUI>(page, kCondition);
  if (!programs || !profiles || !condition) return;
  const std::string program = programs->GetText().trimmed().toStdString();
  const std::string profileId = profiles->GetItemUserData(profiles->GetCurSel()).toStdString();
  if (program.empty()) {
    // Asked from inside the button's signal: the message runs after it.
    QPointer<QWidget> target = page.GetWidget();
    QTimer::singleShot(0, page.GetWidget(), [this, target] {
      if (target) prompts_().Tell(kNoProgram);
    });
    return;
  }
  if (profileId.empty()) return;
  ProfileRuleSet set = ProfileRuleFile(FolderOf(page)).Read();
  ProfileRule rule;
  rule.program = program;
  rule.when = condition->GetCurSel() == 1 ? RuleCondition::kFocused : RuleCondition::kRunning;
  rule.profileId = profileId;
  rule.profileName = profiles->GetItemText(profiles->GetCurSel()).toStdString();
  set.rules.push_back(std::move(rule));
  if (Store(page, set, static_cast<int>(set.rules.size()) - 1)) programs->SetText("");
}

void CProfileRulesEditor::Remove(controls::CDevicePageUI& page) {
  auto* list = FindInPageAs<ui::CListUI>(page, kList);
  ProfileRuleSet set = ProfileRuleFile(FolderOf(page)).Read();
  const int row = list ? list->GetCurSel() : -1;
  if (row < 0 || row >= static_cast<int>(set.rules.size())) return;
  set.rules.erase(set.rules.begin() + row);
  Store(page, set, std::min(row, static_cast<int>(set.rules.size()) - 1));
}

void CProfileRulesEditor::Move(controls::CDevicePageUI& page, int step) {
  auto* list = FindInPageAs<ui::CListUI>(page, kList);
  ProfileRuleSet set = ProfileRuleFile(FolderOf(page)).Read();
  const int row = list ? list->GetCurSel() : -1;
  const int to = row + step;
  const int count = static_cast<int>(set.rules.size());
  if (row < 0 || row >= count || to < 0 || to >= count) return;
  std::swap(set.rules[static_cast<std::size_t>(row)], set.rules[static_cast<std::size_t>(to)]);
  Store(page, set, to);
}

void CProfileRulesEditor::ChooseFile(controls::CDevicePageUI& page) {
  const std::optional<ui::CDuiString> chosen = prompts_().OpenFile(kProgramFilter);
  if (!chosen || chosen->isEmpty()) return;
  if (auto* programs = FindInPageAs<ui::CComboUI>(page, kProgram)) programs->SetText(*chosen);
}

void CProfileRulesEditor::ChooseDefault(controls::CDevicePageUI& page) {
  auto* combo = FindInPageAs<ui::CComboUI>(page, kDefault);
  if (!combo || combo->GetCurSel() < 0) return;
  ProfileRuleSet set = ProfileRuleFile(FolderOf(page)).Read();
  const std::string chosen = combo->GetItemUserData(combo->GetCurSel()).toStdString();
  if (chosen == set.defaultProfileId && !set.defaultBroken) return;
  set.defaultProfileId = chosen;
  set.defaultBroken = false;
  Store(page, set);
}

}  // namespace norvane::app
