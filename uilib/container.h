#pragma once
// Containers: a frame that holds other controls. Children added from code go into the container's layout
// (a vertical or horizontal box is made when the skin gave none); a skin without a layout places its
// children at their own positions.

#include <QFrame>

#include "uilib/control.h"

namespace norvane::ui {

class IDialogBuilderCallback;

class CContainerUI : public ControlBase<QFrame> {
 public:
  explicit CContainerUI(QWidget* parent = nullptr);

  // Takes ownership through Qt's parent. False for null.
  bool Add(CControlUI* control);
  bool AddAt(CControlUI* control, int index);
  // Deletes the control when it is a direct child; false otherwise.
  bool Remove(CControlUI* control);
  void RemoveAll();
  int GetCount() const;
  CControlUI* GetItemAt(int index) const;
  int GetItemIndex(CControlUI* control) const;
  CControlUI* FindSubControl(const CDuiString& name);

  // Builds the named sub-skin into this container (the window's CreateControl callback applies when the
  // container sits in a window). Returns the sub-skin's root, or null when it could not be read.
  CControlUI* LoadSubSkin(const CDuiString& skinName);

 protected:
  enum class Orientation { kVertical, kHorizontal };
  void SetOrientation(Orientation o) { orientation_ = o; }

 private:
  QList<CControlUI*> DirectChildren() const;
  Orientation orientation_ = Orientation::kVertical;
};

class CVerticalLayoutUI : public CContainerUI {
 public:
  explicit CVerticalLayoutUI(QWidget* parent = nullptr) : CContainerUI(parent) {
    SetOrientation(Orientation::kVertical);
  }
};

class CHorizontalLayoutUI : public CContainerUI {
 public:
  explicit CHorizontalLayoutUI(QWidget* parent = nullptr) : CContainerUI(parent) {
    SetOrientation(Orientation::kHorizontal);
  }
};

}  // namespace norvane::ui
