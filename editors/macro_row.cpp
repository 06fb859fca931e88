#include "editors/macro_row.h"

#include <QBoxLayout>
#include <QEvent>
#include <QString>
#include <algorithm>

#include "macro/event_kinds.h"
#include "uilib/button.h"

namespace norvane::editors {

namespace {

constexpr int kRowHeight = 30;
constexpr int kDelayHeight = 25;
constexpr int kDelayChars = 6;
constexpr int kDelayWidth = 64;
constexpr int kActionWidth = 64;
constexpr int kRowMargin = 6;
constexpr ui::DWORD kDelayBackground = 0xFF444444;

bool IsMove(int type) {
  return type == macro::event_type::kHorizontalMove || type == macro::event_type::kVerticalMove;
}

// Skins style the labels by these names (the row look of the macro editor).
const char* NameStyle(int type) {
  switch (type) {
    case macro::event_type::kKey:
    case macro::event_type::kModifierKey:
      return "macro_label_keyboard_style";
    case macro::event_type::kMouseButton:
    case 2:
    case 3:
    case macro::event_type::kHorizontalMove:
    case macro::event_type::kVerticalMove:
      return "macro_label_mouse_style";
    default:
      return "";
  }
}

// The skin's style of a step's part: kept as "style" and, for the style sheet, as the part's "role".
void SetStyle(ui::CControlUI& control, const char* style) {
  control.GetWidget()->setProperty("style", QString::fromLatin1(style));
  control.GetWidget()->setProperty("role", QString::fromLatin1(style));
}

std::unique_ptr<ui::CLabelUI> StyledLabel(const char* style) {
  auto label = std::make_unique<ui::CLabelUI>();
  SetStyle(*label, style);
  return label;
}

}  // namespace

CMacroRowUI::CMacroRowUI() {
  SetName(kMacroRowName);
}

bool CMacroRowUI::event(QEvent* e) {
  // The list selects the row on the press that comes first (the row leaves presses to it).
  if (e->type() == QEvent::MouseButtonDblClick && isEnabled()) {
    SendNotify(ui::DUI_MSGTYPE_ITEMACTIVATE);
    e->accept();
    return true;
  }
  const bool handled = CHorizontalLayoutUI::event(e);
  if (e->type() == QEvent::ContextMenu) {
    // Raised above as "menu"; the list around the row must not take the request a second time.
    e->accept();
    return true;
  }
  return handled;
}

std::unique_ptr<CMacroRowUI> MakeMacroRow(const macro::MacroEvent& event, bool integerDelay) {
  auto row = std::make_unique<CMacroRowUI>();
  row->SetFixedHeight(kRowHeight);
  row->SetUserData(ui::CDuiString(MacroEventText(event, integerDelay)));

  auto name = StyledLabel(NameStyle(event.type));
  name->SetTextId(ui::CDuiString(std::string(macro::EventNameId(event))));

  const bool move = IsMove(event.type);
  const bool unshown = event.type == 2 || event.type == 3;
  auto action = StyledLabel(move || unshown ? "macro_label_text_style"
                                            : (event.IsDown() ? "macro_label_down_style" : "macro_label_up_style"));
  if (move) {
    action->SetText(QString::number(event.button));
  } else if (!unshown) {
    action->SetTextId(ui::CDuiString(std::string(macro::ActionLabelId(event))));
  }

  auto delay = std::make_unique<ui::CEditUI>();
  delay->SetName(kMacroDelayName);
  SetStyle(*delay, "macro_label_text_style");
  delay->SetBkColor(kDelayBackground);
  delay->SetFixedHeight(kDelayHeight);
  delay->SetMaxChar(kDelayChars);
  delay->SetNumberOnly(true);
  delay->SetText(QString::number(macro::ShownDelay(event.delay)));

  delay->SetFixedWidth(kDelayWidth);
  // A context menu on the delay is the step's menu, not the edit's own.
  delay->setContextMenuPolicy(Qt::NoContextMenu);
  action->SetFixedWidth(kActionWidth);

  // The container's layout lays the children out in this order; Qt's parent owns them from here. The name
  // takes the width the others leave.
  row->Add(name.release());
  row->Add(action.release());
  row->Add(delay.release());
  if (auto* box = qobject_cast<QBoxLayout*>(row->layout())) {
    box->setStretch(0, 1);
    box->setContentsMargins(kRowMargin, 0, kRowMargin, 0);
    box->setSpacing(kRowMargin);
  }
  return row;
}

std::unique_ptr<CMacroRowUI> MakeMacroRow(const std::string& eventJson) {
  const std::optional<macro::MacroEvent> event = MacroEventOfText(eventJson);
  return event ? MakeMacroRow(*event) : nullptr;
}

ui::CEditUI* DelayEditOf(ui::CControlUI* row) {
  auto* container = dynamic_cast<ui::CContainerUI*>(row);
  return container ? dynamic_cast<ui::CEditUI*>(container->FindSubControl(kMacroDelayName)) : nullptr;
}

int DelayOfText(const QString& text) {
  const QString digits = text.trimmed();
  if (digits.isEmpty()) return 0;
  bool ok = false;
  const qlonglong value = digits.toLongLong(&ok);
  // The edit takes digits only: what does not convert has more of them than any delay.
  if (!ok) return kMaxMacroDelay;
  return static_cast<int>(std::clamp<qlonglong>(value, 0, kMaxMacroDelay));
}

std::string MacroEventText(const macro::MacroEvent& event, bool integerDelay) {
  Json::Value object = macro::MacroEventJson(event);
  if (integerDelay) object["Delay"] = Json::Int64(event.delay);
  return object.toStyledString();
}

std::optional<macro::MacroEvent> MacroEventOfText(const std::string& text) {
  if (text.empty()) return std::nullopt;
  Json::CharReaderBuilder builder;
  Json::Value value;
  std::string errors;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  if (!reader->parse(text.data(), text.data() + text.size(), &value, &errors) || !value.isObject()) {
    return std::nullopt;
  }
  return macro::ReadMacroEvent(value);
}

}  // namespace norvane::editors
