#pragma once
// Keeps the device pages out of sight while the "No_device_Link" notice is shown: whoever shows or hides
// the notice (the window, the tab strip), the page areas follow.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace norvane::app {

class CNoticeFollower : public QObject {
 public:
  // `followers` are hidden while the notice shows and shown when it goes; `hideOnly` are hidden while the
  // notice shows and otherwise left to their owners (a device without a power panel hides its own).
  CNoticeFollower(QWidget* notice, std::vector<QWidget*> followers, std::vector<QWidget*> hideOnly = {});

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Sync();

  QPointer<QWidget> notice_;
  std::vector<QPointer<QWidget>> followers_;
  std::vector<QPointer<QWidget>> hideOnly_;
};

}  // namespace norvane::app
