#include "app/notice_follower.h"

#include <QEvent>

namespace norvane::app {

CNoticeFollower::CNoticeFollower(QWidget* notice, std::vector<QWidget*> followers,
                                 std::vector<QWidget*> hideOnly)
    : QObject(notice), notice_(notice) {
  for (QWidget* follower : followers) {
    if (follower) followers_.emplace_back(follower);
  }
  for (QWidget* follower : hideOnly) {
    if (follower) hideOnly_.emplace_back(follower);
  }
  if (notice_) notice_->installEventFilter(this);
  Sync();
}

bool CNoticeFollower::eventFilter(QObject* watched, QEvent* event) {
  if (watched == notice_ && (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
    Sync();
  return false;
}

void CNoticeFollower::Sync() {
  if (!notice_) return;
  // isHidden: the notice's own state, whether or not the window is on screen.
  const bool noticeShown = !notice_->isHidden();
  for (const QPointer<QWidget>& follower : followers_) {
    if (follower) follower->setHidden(noticeShown);
  }
  if (!noticeShown) return;
  for (const QPointer<QWidget>& follower : hideOnly_) {
    if (follower) follower->hide();
  }
}

}  // namespace norvane::app
