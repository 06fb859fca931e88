#pragma once
// CControlFactory: class names used in skins mapped to creation functions. The library's own classes
// (QPushButton -> CButtonUI, QComboBox -> CComboUI, ...) are known from the start; the program registers its
// custom classes ("CDeviceKeyButtonUI", ...) with RegistControl. Process-wide, UI thread.

#include <functional>
#include <map>

#include "uilib/control.h"

namespace norvane::ui {

class CControlFactory {
 public:
  using Creator = std::function<CControlUI*()>;

  static CControlFactory* GetInstance();

  // A second registration of a name replaces the first.
  void RegistControl(const CDuiString& className, Creator creator);
  bool IsRegistered(const CDuiString& className) const;
  // A new control of that class without a parent, or null when the name is unknown.
  CControlUI* CreateControl(const CDuiString& className) const;

 private:
  CControlFactory();
  std::map<QString, Creator> creators_;
};

// Registers `T` under `className` (T default-constructible).
template <class T>
void RegistControl(const CDuiString& className) {
  CControlFactory::GetInstance()->RegistControl(className, [] { return static_cast<CControlUI*>(new T()); });
}

}  // namespace norvane::ui
