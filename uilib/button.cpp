#include "uilib/button.h"

namespace norvane::ui {

CButtonUI::CButtonUI(QWidget* parent) : ControlBase(parent) {
  setCursor(Qt::PointingHandCursor);
  setAutoDefault(false);
  QObject::connect(this, &QAbstractButton::clicked, this, [this] { SendNotify(DUI_MSGTYPE_CLICK); });
}

}  // namespace norvane::ui
