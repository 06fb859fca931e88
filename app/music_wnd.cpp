#include "app/music_wnd.h"

#include <QString>
#include <QWidget>
#include <algorithm>
#include <array>
#include <memory>

#include "app/about_wnd.h"
#include "platform/trace.h"
#include "uilib/option.h"
#include "uilib/slider.h"

namespace norvane::app {

namespace {

constexpr const char* kSliders[] = {"audio_r_slider", "audio_g_slider", "audio_b_slider"};
constexpr int kTopLevel = 9;
constexpr std::array<int, 7> kDpis = {48, 72, 96, 120, 144, 168, 192};
// What an emptied name becomes.
constexpr const char* kDefaultNames[] = {"第一组", "第二组", "第三组", "第四组"};

QString TabName(int group) {
  return QStringLiteral("audio_select_tab%1").arg(group + 1);
}
QString NameEdit(int group) {
  return QStringLiteral("audio_edit_name%1").arg(group + 1);
}
// The number n of "<prefix>n" (1 to 4, compared without regard to case) as a group 0 to 3; -1 otherwise.
int GroupOf(const QString& name, const QString& prefix) {
  if (!name.startsWith(prefix, Qt::CaseInsensitive) || name.size() != prefix.size() + 1) return -1;
  const int n = name.back().digitValue();
  return n >= 1 && n <= 4 ? n - 1 : -1;
}

// The one open audio style window (UI thread).
CMusicWnd*& OpenWindow() {
  static CMusicWnd* open = nullptr;
  return open;
}

}  // namespace

void CMusicWnd::InitWindow() {
  for (const char* name : kSliders) {
    if (auto* slider = dynamic_cast<ui::CSliderUI*>(FindControl(name))) {
      slider->SetMinValue(0);
      slider->SetMaxValue(kTopLevel);
    }
  }
  const int group = style_.style % AudioStyle::kGroups;
  if (auto* tab = dynamic_cast<ui::COptionUI*>(FindControl(TabName(group)))) tab->Selected(true, false);
  const auto& colour = style_.colours[std::size_t(group)];
  ShowGroupColour(colour[0], colour[1], colour[2]);
  for (int g = 0; g < AudioStyle::kGroups; ++g) {
    if (ui::CControlUI* edit = FindControl(NameEdit(g)))
      edit->SetText(QString::fromStdString(style_.names[std::size_t(g)]));
  }
}

void CMusicWnd::SetDpi(int dpi) {
  if (std::find(kDpis.begin(), kDpis.end(), dpi) == kDpis.end()) {
    Trace("SET_WND DPI SET ERROR");
    dpi = 96;
  }
  dpi_ = dpi;
  GetPaintManager().SetDPI(dpi);
}

int CMusicWnd::CurrentGroup() const {
  for (int g = 0; g < AudioStyle::kGroups; ++g) {
    const auto* tab = dynamic_cast<const ui::COptionUI*>(FindControl(TabName(g)));
    if (!tab) {
      Trace("CurrentGroup control is NULL");
      return 0;
    }
    if (tab->IsSelected()) return g;
  }
  return 0;
}

void CMusicWnd::ShowGroupColour(int red, int green, int blue) {
  const int components[] = {red, green, blue};
  for (int c = 0; c < 3; ++c) {
    if (auto* slider = dynamic_cast<ui::CSliderUI*>(FindControl(kSliders[c]))) {
      slider->SetValue(components[c]);
    } else {
      Trace("ShowGroupColour control is NULL");
    }
  }
}

ui::LRESULT CMusicWnd::HandleCustomMessage(ui::UINT msg, ui::WPARAM, ui::LPARAM, bool& handled) {
  handled = false;
  if (msg == kLanguageChangedMessage) {
    // The library re-texted the controls with text ids; nothing here is composed.
    if (QWidget* host = GetWidget()) host->update();
    handled = true;
  }
  return 0;
}

void CMusicWnd::Notify(ui::TNotifyUI& msg) {
  const QString name = msg.pSender ? QString(msg.pSender->GetName()) : QString();
  if (msg.sType == ui::DUI_MSGTYPE_SELECTCHANGED) {
    const int group = GroupOf(name, QStringLiteral("audio_select_tab"));
    auto* tab = dynamic_cast<ui::COptionUI*>(msg.pSender);
    if (group >= 0 && tab && tab->IsSelected()) {
      style_.style = static_cast<std::uint8_t>(group);
      const auto& colour = style_.colours[std::size_t(group)];
      ShowGroupColour(colour[0], colour[1], colour[2]);
    }
  } else if (msg.sType == ui::DUI_MSGTYPE_VALUECHANGED) {
    for (int c = 0; c < 3; ++c) {
      auto* slider = dynamic_cast<ui::CSliderUI*>(msg.pSender);
      if (name != kSliders[c] || !slider) continue;
      style_.colours[std::size_t(CurrentGroup())][std::size_t(c)] =
          static_cast<std::uint8_t>(std::clamp(slider->GetValue(), 0, kTopLevel));
    }
  } else if (msg.sType == ui::DUI_MSGTYPE_KILLFOCUS) {
    const int group = GroupOf(name, QStringLiteral("audio_edit_name"));
    if (group >= 0) {
      QString text = msg.pSender->GetText();
      if (text.isEmpty()) {
        text = QString::fromUtf8(kDefaultNames[group]);
        msg.pSender->SetText(text);
      }
      style_.names[std::size_t(group)] = text.toStdString();
    }
  } else if (msg.sType == ui::DUI_MSGTYPE_CLICK) {
    if (name == QStringLiteral("okbtn")) {
      Close(1);
      return;
    }
    if (name == QStringLiteral("closebtn")) {
      Close(0);
      return;
    }
  }
  WindowImplBase::Notify(msg);
}

int CMusicWnd::Open(ui::CWindowWnd* parent, int dpi, AudioStyle& style) {
  auto wnd = std::make_unique<CMusicWnd>();
  wnd->SetStyle(style);
  if (!wnd->Create(parent, "  ", false, 0, 0, kWidth, kHeight)) return -1;
  wnd->SetDpi(dpi);
  wnd->CenterWindow();
  OpenWindow() = wnd.get();
  const int code = wnd->ShowModal();
  OpenWindow() = nullptr;
  if (code == 1) style = wnd->GetStyle();
  return code;
}

ui::WindowHandle CMusicWnd::Current() {
  CMusicWnd* open = OpenWindow();
  return open ? open->GetHWND() : ui::WindowHandle();
}

}  // namespace norvane::app
