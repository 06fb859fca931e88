#include "controls/color_select_wnd.h"

#include <QEvent>
#include <QLayout>
#include <algorithm>
#include <functional>
#include <utility>

#include "platform/trace.h"
#include "uilib/color_palette.h"
#include "uilib/control_name.h"
#include "uilib/edit.h"
#include "uilib/option.h"
#include "uilib/resource_manager.h"

namespace norvane::controls {
namespace {

constexpr const char* kPresetPrefix = "color_option_";
constexpr const char* kFavouritePrefix = "collect_color_option_";
constexpr std::uint32_t kEmptySlotColor = 0xFFFFFFFF;

// Tells the window about every change of its maximised state, whoever made it (its buttons, the window
// manager's keys), so that the maximise and restore buttons always match.
class StateChangeWatcher final : public QObject {
 public:
  StateChangeWatcher(QWidget* host, std::function<void()> onChange) : onChange_(std::move(onChange)) {
    host->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowStateChange) onChange_();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> onChange_;
};

enum class Row { kPreset, kFavourite };

struct SlotName {
  Row row;
  int index;
};

// "color_option_N" or "collect_color_option_N" with N a slot number, whatever the case of the letters.
std::optional<SlotName> SlotOf(const ui::CDuiString& name) {
  const std::optional<ui::ControlNameSplit> split = ui::SplitControlName(name);
  if (!split) return std::nullopt;
  // The split reads "color_option_x" as 0; only digits name a slot.
  const QStringView digits = QStringView(name).mid(split->prefix.size());
  if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); }))
    return std::nullopt;
  if (split->number >= swatches::kSlotCount) return std::nullopt;
  if (split->prefix.CompareNoCase(kPresetPrefix) == 0) return SlotName{Row::kPreset, split->number};
  if (split->prefix.CompareNoCase(kFavouritePrefix) == 0) return SlotName{Row::kFavourite, split->number};
  return std::nullopt;
}

// A channel as the user left it: the number the text starts with ("12abc" is 12), within 0..255, so that
// a value too large can never carry into the next channel.
int ChannelValue(const QString& text) {
  const QString trimmed = text.trimmed();
  qsizetype i = 0;
  bool negative = false;
  if (i < trimmed.size() && (trimmed[i] == u'+' || trimmed[i] == u'-')) negative = trimmed[i++] == u'-';
  int value = 0;
  for (; i < trimmed.size() && trimmed[i] >= u'0' && trimmed[i] <= u'9'; ++i)
    value = std::min(value * 10 + (trimmed[i].unicode() - u'0'), 256);
  return negative ? 0 : std::min(value, 255);
}

bool Named(const ui::CControlUI* control, const char* name) {
  return control && control->GetName().CompareNoCase(name) == 0;
}

void Paint(ui::COptionUI& slot, std::uint32_t argb) {
  slot.SetBkColor(argb);
  slot.SetSelectedBkColor(argb);
}

}  // namespace

CColorSelectWnd::CColorSelectWnd(swatches::SwatchFile file) : file_(std::move(file)) {}

CColorSelectWnd::~CColorSelectWnd() = default;

void CColorSelectWnd::InitWindow() {
  closeButton_ = FindControl("closebtn");
  maxButton_ = FindControl("maxbtn");
  restoreButton_ = FindControl("restorebtn");
  minButton_ = FindControl("minbtn");
  menuButton_ = FindControl("menubtn");
  laterButton_ = FindControl("laterbtn");
  palette_ = FindControlAs<ui::CColorPaletteUI>("Pallet");
  preview_ = FindControl("color_show_btn");
  channels_ = {FindControlAs<ui::CEditUI>("color_edit_r"), FindControlAs<ui::CEditUI>("color_edit_g"),
               FindControlAs<ui::CEditUI>("color_edit_b")};
  sevenColorOption_ = FindControlAs<ui::COptionUI>("7color");
  sevenColorLayout_ = FindControl("7color_layout");
  if (QWidget* host = GetWidget()) {
    // Notifications compare names without case; the slots are found the same way.
    for (QWidget* widget : host->findChildren<QWidget*>()) {
      auto* option = dynamic_cast<ui::COptionUI*>(ui::ControlOf(widget));
      const std::optional<SlotName> slot = option ? SlotOf(option->GetName()) : std::nullopt;
      if (!slot) continue;
      auto& row = slot->row == Row::kPreset ? presets_ : favourites_;
      if (!row[static_cast<std::size_t>(slot->index)]) row[static_cast<std::size_t>(slot->index)] = option;
    }
    stateWatcher_ = std::make_unique<StateChangeWatcher>(host, [this] { SyncMaxRestoreButtons(); });
  }
  SyncMaxRestoreButtons();
}

void CColorSelectWnd::LoadSwatches() {
  const swatches::Swatches stored = file_.Load();
  SetColor(color_);
  SetSevenColor(sevenColor_);
  if (stored.presetSelected && *stored.presetSelected >= 0 && *stored.presetSelected < swatches::kSlotCount)
    presetIndex_ = *stored.presetSelected;
  for (std::size_t i = 0; i < favourites_.size(); ++i) {
    ui::COptionUI* slot = favourites_[i];
    if (!slot) continue;
    // No slot is selected at the start: a click on an already selected option would raise nothing, and
    // the user could never pick that slot.
    slot->Selected(false, false);
    const swatches::Slot& entry = stored.favourites[i];
    if (!entry.present) continue;
    Paint(*slot, kEmptySlotColor);
    slot->SetUserData(QString::fromStdString(entry.userData));
    if (entry.userData == swatches::kSlotFilled) {
      Paint(*slot, entry.colour);
      slot->SetBorderSize(0);
    }
  }
  favouriteIndex_ = -1;
}

void CColorSelectWnd::Notify(ui::TNotifyUI& msg) {
  const ui::CDuiString& type = msg.sType;
  if (type == ui::DUI_MSGTYPE_WINDOWINIT) {
    LoadSwatches();
  } else if (type == ui::DUI_MSGTYPE_CLICK) {
    OnClick(msg);
  } else if (type == ui::DUI_MSGTYPE_SELECTCHANGED) {
    OnSelectChanged(msg);
  } else if (type == ui::DUI_MSGTYPE_CHECKCLICK) {
    if (Named(msg.pSender, "7color")) SetSevenColor(msg.wParam != 0 ? 1 : 0);
  } else if (type == ui::DUI_MSGTYPE_KILLFOCUS) {
    for (const ui::CEditUI* channel : channels_) {
      if (channel && msg.pSender == channel) OnChannelEdited();
    }
  } else if (type == ui::DUI_MSGTYPE_COLORCHANGED) {
    if (palette_ && msg.pSender == palette_) OnPaletteChanged();
  }
}

void CColorSelectWnd::OnClick(ui::TNotifyUI& msg) {
  const ui::CControlUI* sender = msg.pSender;
  if (Named(sender, "closebtn") || Named(sender, "laterbtn")) {
    Close(kColorClosed);
  } else if (Named(sender, "minbtn")) {
    HandleMessage(ui::WM_SYSCOMMAND, ui::SC_MINIMIZE, 0);
  } else if (Named(sender, "maxbtn")) {
    HandleMessage(ui::WM_SYSCOMMAND, ui::SC_MAXIMIZE, 0);
  } else if (Named(sender, "restorebtn")) {
    HandleMessage(ui::WM_SYSCOMMAND, ui::SC_RESTORE, 0);
  } else if (Named(sender, "okbtn")) {
    if (!palette_) {
      Close(kColorChosenWithoutPalette);
      return;
    }
    // The preview is what the user saw last, whichever control chose it.
    color_ = preview_ ? preview_->GetBkColor() : 0;
    Close(kColorChosen);
  }
  // "menubtn" has nothing to offer here.
}

void CColorSelectWnd::OnSelectChanged(ui::TNotifyUI& msg) {
  // Each change of a group raises one notification for the option that lost the selection too; only the
  // newly selected one says what the user chose.
  auto* option = dynamic_cast<ui::COptionUI*>(msg.pSender);
  if (!option || msg.wParam == 0) return;
  const std::optional<SlotName> slot = SlotOf(option->GetName());
  if (!slot) return;
  if (slot->row == Row::kPreset) {
    presetIndex_ = slot->index;
    SavePresets();
    color_ = option->GetBkColor();
    ShowInPalette(color_);
    ShowChannels(color_);
    StoreIntoFavourite();
    return;
  }
  favouriteIndex_ = slot->index;
  if (option->GetUserData() != ui::CDuiString(swatches::kSlotFilled))
    return;  // an empty slot waits for the next colour picked
  SaveFavourites();
  color_ = option->GetBkColor();
  if (preview_) preview_->SetBkColor(color_);
  SetSevenColor(0);
  ShowInPalette(color_);
  ShowChannels(color_);
}

void CColorSelectWnd::OnChannelEdited() {
  std::uint32_t rgb = 0;
  for (ui::CEditUI* channel : channels_) {
    int value = 0;
    if (channel) {
      value = ChannelValue(channel->GetText());
      const QString corrected = QString::number(value);
      if (channel->GetText() != corrected) channel->SetText(corrected);
    }
    rgb = (rgb << 8) | static_cast<std::uint32_t>(value);
  }
  color_ = 0xFF000000u | rgb;
  ShowInPalette(color_);
  StoreIntoFavourite();
}

void CColorSelectWnd::OnPaletteChanged() {
  color_ = palette_->GetSelectColor();
  StoreIntoFavourite();
  ShowChannels(color_);
}

void CColorSelectWnd::StoreIntoFavourite() {
  if (favouriteIndex_ >= 0 && favouriteIndex_ < swatches::kSlotCount) {
    ui::COptionUI* slot = favourites_[static_cast<std::size_t>(favouriteIndex_)];
    if (slot && slot->IsSelected()) {
      Paint(*slot, color_);
      slot->Selected(true, false);
      slot->SetUserData(ui::CDuiString(swatches::kSlotFilled));
      slot->SetBorderSize(0);
      SaveFavourites();
    }
  }
  if (preview_) preview_->SetBkColor(color_);
  SetSevenColor(0);
}

void CColorSelectWnd::SetWindowDpi(int dpi) {
  if (dpi == dpi_) return;
  if (!ui::IsSupportedDpi(dpi)) {
    Trace("SET_WND DPI SET ERROR");
    dpi = ui::kDefaultDpi;
  }
  dpi_ = dpi;
  m_pm.SetDPI(dpi);
}

void CColorSelectWnd::SetColor(std::uint32_t argb) {
  color_ = argb;
  if (preview_) {
    preview_->SetBkColor(argb);
    preview_->SetBkImage({});
  }
  ShowInPalette(argb);
  ShowChannels(argb);
}

void CColorSelectWnd::SetSevenColor(int flag) {
  sevenColor_ = flag;
  if (sevenColorOption_) sevenColorOption_->Selected(flag != 0, false);
  if (preview_) preview_->SetBkImage(flag != 0 ? kSevenColorImage : "");
}

void CColorSelectWnd::ShowSevenColor(int flag) {
  if (sevenColorOption_) {
    sevenColorOption_->SetVisible(flag != 0);
    if (flag == 0) sevenColorOption_->Selected(false, false);
  }
  if (sevenColorLayout_) sevenColorLayout_->SetVisible(flag != 0);
}

void CColorSelectWnd::ShowChannels(std::uint32_t argb) {
  const std::array<std::uint32_t, 3> values{(argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF};
  for (std::size_t i = 0; i < channels_.size(); ++i) {
    if (channels_[i]) channels_[i]->SetText(QString::number(values[i]));
  }
}

void CColorSelectWnd::ShowInPalette(std::uint32_t argb) {
  if (palette_) palette_->SetSelectColor(argb);
}

void CColorSelectWnd::SavePresets() const {
  swatches::Row row{};
  for (std::size_t i = 0; i < presets_.size(); ++i) {
    if (presets_[i]) row[i] = swatches::Slot{true, presets_[i]->GetBkColor(), {}};
  }
  if (const FileResult saved = file_.SavePresets(row, presetIndex_); !saved) Trace(saved.error);
}

void CColorSelectWnd::SaveFavourites() const {
  swatches::Row row{};
  for (std::size_t i = 0; i < favourites_.size(); ++i) {
    if (favourites_[i])
      row[i] = swatches::Slot{true, favourites_[i]->GetBkColor(), favourites_[i]->GetUserData().ToUtf8()};
  }
  if (const FileResult saved = file_.SaveFavourites(row, favouriteIndex_); !saved) Trace(saved.error);
}

void CColorSelectWnd::SyncMaxRestoreButtons() {
  const QWidget* host = GetWidget();
  const bool maximized = host && host->isMaximized();
  if (maxButton_) maxButton_->SetVisible(!maximized);
  if (restoreButton_) restoreButton_->SetVisible(maximized);
}

void CColorSelectWnd::Retranslate() {
  QWidget* host = GetWidget();
  if (!host) return;
  ui::CResourceManager& resources = ui::CResourceManager::GetInstance();
  for (QWidget* widget : host->findChildren<QWidget*>()) {
    ui::CControlUI* control = ui::ControlOf(widget);
    if (!control) continue;
    if (const ui::CDuiString id = control->GetTextId(); !id.IsEmpty()) control->SetTextId(id);
    if (const QString id = widget->property("tooltipid").toString(); !id.isEmpty()) {
      if (const auto text = resources.GetText(id)) control->SetToolTip(*text);
    }
  }
  // Texts of another length need their rows laid out again.
  if (QLayout* layout = host->layout()) layout->activate();
  host->update();
}

ui::LRESULT CColorSelectWnd::HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam,
                                                 bool& handled) {
  (void)lParam;
  handled = false;
  if (msg == kColorSelectLanguageChanged) {
    Retranslate();
    handled = true;
  } else if (msg == ui::WM_SYSCOMMAND && wParam == ui::SC_CLOSE) {
    // Alt+F4 and the system menu end this chooser only; the program goes on.
    Close(kColorClosed);
    handled = true;
  }
  return 0;
}

std::optional<std::uint32_t> ChooseColour(ui::CWindowWnd* parent, int dpi, std::uint32_t initial) {
  auto wnd = std::make_unique<CColorSelectWnd>();
  if (!wnd->Create(parent, "PalletDialog", false, 0, 0, 800, 572)) return std::nullopt;
  if (QWidget* host = wnd->GetWidget()) {
    // A tool window: it belongs to its parent and has no task bar entry of its own.
    host->setWindowFlags((host->windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
  }
  wnd->SetWindowDpi(dpi);
  wnd->SetColor(initial);
  wnd->ShowSevenColor(0);
  wnd->CenterWindow();
  if (wnd->ShowModal() != kColorChosen) return std::nullopt;
  return wnd->GetColor();
}

}  // namespace norvane::controls
