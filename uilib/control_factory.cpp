#include "uilib/control_factory.h"

#include "uilib/button.h"
#include "uilib/color_palette.h"
#include "uilib/combo.h"
#include "uilib/container.h"
#include "uilib/edit.h"
#include "uilib/list.h"
#include "uilib/option.h"
#include "uilib/slider.h"
#include "uilib/tab_layout.h"

namespace norvane::ui {

namespace {
template <class T>
CControlFactory::Creator Make() {
  return [] { return static_cast<CControlUI*>(new T()); };
}
}  // namespace

CControlFactory::CControlFactory() {
  // The Qt class names that Designer writes, and the library's own names for code and hand-written skins.
  for (const char* name : {"QWidget", "QFrame", "CContainerUI", "CControlUI"})
    creators_[name] = Make<CContainerUI>();
  creators_["CVerticalLayoutUI"] = Make<CVerticalLayoutUI>();
  creators_["CHorizontalLayoutUI"] = Make<CHorizontalLayoutUI>();
  for (const char* name : {"QPushButton", "CButtonUI"}) creators_[name] = Make<CButtonUI>();
  for (const char* name : {"QLabel", "CLabelUI", "CTextUI"}) creators_[name] = Make<CLabelUI>();
  for (const char* name : {"COptionUI", "COptionButtonUI"}) creators_[name] = Make<COptionButtonUI>();
  creators_["QRadioButton"] = Make<CRadioOptionUI>();
  for (const char* name : {"QCheckBox", "CCheckBoxUI"}) creators_[name] = Make<CCheckBoxUI>();
  for (const char* name : {"QComboBox", "CComboUI"}) creators_[name] = Make<CComboUI>();
  for (const char* name : {"QSlider", "CSliderUI"}) creators_[name] = Make<CSliderUI>();
  for (const char* name : {"QProgressBar", "CProgressUI"}) creators_[name] = Make<CProgressUI>();
  for (const char* name : {"QLineEdit", "CEditUI"}) creators_[name] = Make<CEditUI>();
  for (const char* name : {"QPlainTextEdit", "CRichEditUI"}) creators_[name] = Make<CRichEditUI>();
  for (const char* name : {"QStackedWidget", "CTabLayoutUI"}) creators_[name] = Make<CTabLayoutUI>();
  for (const char* name : {"QListWidget", "CListUI"}) creators_[name] = Make<CListUI>();
  creators_["CColorPaletteUI"] = Make<CColorPaletteUI>();
}

CControlFactory* CControlFactory::GetInstance() {
  static CControlFactory factory;
  return &factory;
}

void CControlFactory::RegistControl(const CDuiString& className, Creator creator) {
  creators_[className] = std::move(creator);
}

bool CControlFactory::IsRegistered(const CDuiString& className) const {
  return creators_.count(className) > 0;
}

CControlUI* CControlFactory::CreateControl(const CDuiString& className) const {
  auto it = creators_.find(className);
  return it == creators_.end() ? nullptr : it->second();
}

}  // namespace norvane::ui
