#include "uilib/tray_icon.h"

#include <QSystemTrayIcon>

namespace norvane::ui {

CTrayIcon::CTrayIcon() = default;
CTrayIcon::~CTrayIcon() = default;

bool CTrayIcon::IsAvailable() {
  return QSystemTrayIcon::isSystemTrayAvailable();
}

bool CTrayIcon::CreateTrayIcon(WindowHandle owner, const QIcon& icon, const CDuiString& toolTip,
                               UINT message) {
  owner_ = std::move(owner);
  message_ = message;
  if (!icon_) {
    icon_ = std::make_unique<QSystemTrayIcon>();
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated, icon_.get(),
                     [this](QSystemTrayIcon::ActivationReason reason) { Activate(int(reason)); });
  }
  icon_->setIcon(icon);
  icon_->setToolTip(toolTip);
  if (!IsAvailable()) return false;
  icon_->show();
  return true;
}

void CTrayIcon::DeleteTrayIcon() {
  icon_.reset();
}

void CTrayIcon::SetTooltipText(const CDuiString& toolTip) {
  if (icon_) icon_->setToolTip(toolTip);
}

void CTrayIcon::SetIcon(const QIcon& icon) {
  if (icon_) icon_->setIcon(icon);
}

bool CTrayIcon::IsVisible() const {
  return icon_ && icon_->isVisible();
}

void CTrayIcon::Activate(int reason) {
  LPARAM what = 0;
  switch (QSystemTrayIcon::ActivationReason(reason)) {
    case QSystemTrayIcon::Trigger:
      what = WM_LBUTTONUP;
      break;
    case QSystemTrayIcon::Context:
      what = WM_RBUTTONUP;
      break;
    case QSystemTrayIcon::DoubleClick:
      what = WM_LBUTTONDBLCLK;
      break;
    default:
      return;
  }
  owner_.PostMessage(message_, 0, what);
}

}  // namespace norvane::ui
