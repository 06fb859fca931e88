#pragma once
// Library internal: the QUiLoader whose createWidget is the control factory.

#include <QUiLoader>

#include "uilib/dialog_builder.h"

namespace norvane::ui::detail {

class SkinLoader : public QUiLoader {
 public:
  SkinLoader(IDialogBuilderCallback* callback, QString skinFile);

  QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override;

 private:
  IDialogBuilderCallback* callback_;
  QString skinFile_;
};

// The callback of the build in progress (UI thread), so that a control building its sub-skin from its
// constructor or DoInit still reaches the window's CreateControl.
IDialogBuilderCallback* CurrentBuilderCallback();

}  // namespace norvane::ui::detail
