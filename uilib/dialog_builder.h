#pragma once
// CDialogBuilder: builds a control tree from a skin (.ui file) named through the skin index. The control
// factory makes the library's and the registered classes; class names it does not know go to the callback.
// Problems (missing or malformed file, unknown class) are reported on stderr naming the file or class;
// whatever could be built is kept.

#include "uilib/control.h"

class QWidget;

namespace norvane::ui {

class IDialogBuilderCallback {
 public:
  virtual CControlUI* CreateControl(const CDuiString& className) = 0;

 protected:
  ~IDialogBuilderCallback() = default;
};

class CDialogBuilder {
 public:
  // Builds the skin into `into` (its layout holds the new root, margins 0) and returns the root control, or
  // null when the skin could not be read. New controls get DoInit and their language texts.
  static CControlUI* Create(const CDuiString& skinName, IDialogBuilderCallback* callback, QWidget* into);

  // Runs DoInit once for every control below `root` (and root itself) that has not had it, including the
  // controls that those DoInit calls create.
  static void InitControls(QWidget* root);
};

}  // namespace norvane::ui
