#include "controls/mp_device_power.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <algorithm>

#include "uilib/resource_manager.h"
#include "uilib/slider.h"

namespace norvane::controls {

namespace {

constexpr const char* kLayoutName = "device_power_Layout";
constexpr const char* kValueName = "device_power_value";
constexpr const char* kLinkLogoName = "device_wuxian_logo";
constexpr const char* kProgressName = "device_Power_progress";
constexpr const char* kStatusName = "device_power_status";
constexpr const char* kPhoneName = "device_phone_type";

constexpr int kFullBattery = 100;

struct ImageChoice {
  const char* image;
  const char* textId;
};

ImageChoice ChargeImage(uint8_t state) {
  switch (state) {
    case 0:
      return {"file='power/powered.png'", "power_state_powered"};
    case 1:
      return {"file='power/powering.png'", "power_state_powering"};
    case 2:
      return {"file='power/power.png'", "power_state_power"};
    default:
      // A state the firmware does not define: nothing is claimed about the charge.
      return {"", ""};
  }
}

ImageChoice PhoneChoice(uint8_t type) {
  switch (type) {
    case 1:
      return {"file='power/Phone_type_iphone.png'", "Phone_type_iphone"};
    case 2:
      return {"file='power/Phone_type_samsung.png'", "Phone_type_samsung"};
    case 3:
      return {"file='power/Phone_type_other.png'", "Phone_type_other"};
    default:
      return {"file='power/Phone_type_no_device.png'", "Phone_type_no_device"};
  }
}

// "file='power/x.png'" -> "power/x.png"; a plain path stays as it is.
ui::CDuiString ImagePath(const ui::CDuiString& description) {
  const QString prefix = "file='";
  if (description.startsWith(prefix) && description.endsWith('\'')) {
    return description.mid(prefix.size(), description.size() - prefix.size() - 1);
  }
  return description;
}

bool SkinImageExists(const ui::CDuiString& path) {
  return !path.isEmpty() && QFileInfo(ui::CResourceManager::GetInstance().ResolveResource(path)).isFile();
}

}  // namespace

void CMpDevicePowerUI::DoInit() {
  Build();
}

bool CMpDevicePowerUI::Build() {
  if (!built_) {
    built_ = true;
    if (!FindSubControl(kLayoutName)) LoadSubSkin(kSkin);
  }
  for (const char* name : {kLayoutName, kValueName, kLinkLogoName, kProgressName, kStatusName, kPhoneName}) {
    if (!FindSubControl(name)) return false;
  }
  return true;
}

ui::CControlUI* CMpDevicePowerUI::Child(const char* name) {
  Build();
  return FindSubControl(name);
}

void CMpDevicePowerUI::SetPanelVisible(bool visible) {
  if (ui::CControlUI* layout = Child(kLayoutName)) layout->SetVisible(visible);
}

bool CMpDevicePowerUI::IsPanelVisible() {
  ui::CControlUI* layout = Child(kLayoutName);
  return layout && layout->IsVisible();
}

void CMpDevicePowerUI::ShowImage(ui::CControlUI* control, const ui::CDuiString& description,
                                 const ui::CDuiString& fallbackTextId) {
  if (!control) return;
  const ui::CDuiString path = ImagePath(description);
  // A skin without the picture still tells the state in words.
  if (SkinImageExists(path)) {
    control->SetBkImage(path);
    control->SetText(ui::CDuiString());
  } else {
    control->SetBkImage(ui::CDuiString());
    if (fallbackTextId.isEmpty()) {
      control->SetText(ui::CDuiString());
    } else {
      control->SetTextId(fallbackTextId);
    }
  }
}

void CMpDevicePowerUI::ShowStatus(std::span<const uint8_t> record) {
  record_.fill(0);
  std::copy_n(record.begin(), std::min(record.size(), record_.size()), record_.begin());

  // A level above 100 is a firmware glitch; showing 255 % or a negative bar would only mislead.
  const int battery = std::min<int>(record_[0], kFullBattery);
  if (auto* progress = dynamic_cast<ui::CProgressUI*>(Child(kProgressName))) {
    progress->SetValue(kFullBattery - battery);
  }
  if (ui::CControlUI* value = Child(kValueName)) value->SetText(QString::asprintf("%d%s", battery, "%"));

  if (ui::CControlUI* logo = Child(kLinkLogoName)) logo->SetVisible(record_[3] != 0);

  const ImageChoice charge = ChargeImage(record_[1]);
  statusImage_ = charge.image;
  if (ui::CControlUI* status = Child(kStatusName)) {
    ShowImage(status, statusImage_, charge.textId);
    status->SetVisible(true);
  }

  ui::CControlUI* phone = Child(kPhoneName);
  if (kind_ == kChargingPadKind) {
    const ImageChoice choice = PhoneChoice(record_[5]);
    phoneImage_ = choice.image;
    phoneTextId_ = choice.textId;
    if (phone) {
      const ui::CDuiString path = ImagePath(phoneImage_);
      phone->SetBkImage(SkinImageExists(path) ? path : ui::CDuiString());
      phone->SetTextId(phoneTextId_);
      phone->SetVisible(true);
    }
  } else if (phone) {
    phone->SetVisible(false);
  }
}

void CMpDevicePowerUI::mousePressEvent(QMouseEvent* event) {
  ui::CHorizontalLayoutUI::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) SendNotify("selectchanged");
}

}  // namespace norvane::controls
