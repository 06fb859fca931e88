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
// Optional: where the phone's name goes when the skin gives it a label of its own beside the picture.
constexpr const char* kPhoneTextName = "device_phone_text";

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

bool SkinImageExists(const ui::CDuiString& path) {
  return !path.isEmpty() && QFileInfo(ui::CResourceManager::GetInstance().ResolveResource(path)).isFile();
}

// "file='power/x.png'" -> "power/x.png"; a plain path stays as it is. A skin that draws the picture as
// "power/x.svg" instead has it taken from there.
ui::CDuiString ImagePath(const ui::CDuiString& description) {
  const QString prefix = "file='";
  QString path = description;
  if (description.startsWith(prefix) && description.endsWith('\'')) {
    path = description.mid(prefix.size(), description.size() - prefix.size() - 1);
  }
  if (!SkinImageExists(path) && path.endsWith(".png", Qt::CaseInsensitive)) {
    const QString drawn = path.left(path.size() - 4) + ".svg";
    if (SkinImageExists(drawn)) return drawn;
  }
  return path;
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
    ui::CControlUI* text = Child(kPhoneTextName);
    if (phone) {
      const ui::CDuiString path = ImagePath(phoneImage_);
      const bool drawn = SkinImageExists(path);
      phone->SetBkImage(drawn ? path : ui::CDuiString());
      // The name goes beside the picture where the skin has room for it, else onto the picture's place.
      if (text && drawn) {
        phone->SetText(ui::CDuiString());
        phone->SetToolTip(ui::CResourceManager::GetInstance().GetText(phoneTextId_).value_or(phoneTextId_));
      } else {
        phone->SetTextId(phoneTextId_);
      }
      phone->SetVisible(true);
    }
    if (text) {
      text->SetTextId(phoneTextId_);
      text->SetVisible(true);
    }
  } else {
    if (phone) phone->SetVisible(false);
    if (ui::CControlUI* text = Child(kPhoneTextName)) text->SetVisible(false);
  }
}

void CMpDevicePowerUI::mousePressEvent(QMouseEvent* event) {
  ui::CHorizontalLayoutUI::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) SendNotify("selectchanged");
}

}  // namespace norvane::controls
