#include "uilib/button.h"

#include "uilib/resource_manager.h"

namespace norvane::ui {

CButtonUI::CButtonUI(QWidget* parent) : ControlBase(parent) {
  setCursor(Qt::PointingHandCursor);
  setAutoDefault(false);
  QObject::connect(this, &QAbstractButton::clicked, this, [this] { SendNotify(DUI_MSGTYPE_CLICK); });
}

void CButtonUI::SetForeImage(const CDuiString& image) {
  foreImage_ = image;
  setIcon(image.isEmpty() ? QIcon() : QIcon(CResourceManager::GetInstance().ResolveResource(image)));
}

}  // namespace norvane::ui
