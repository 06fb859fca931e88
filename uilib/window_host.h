#pragma once
// Library internal: the Qt widget behind a CWindowWnd. It forwards close requests, resizes and caption drags
// to its window object, tells it when it becomes active or inactive (WM_ACTIVATE) and when the pointer comes
// over it or leaves it (WM_MOUSEHOVER, WM_MOUSELEAVE), and knows the window's paint manager.

#include <QWidget>

namespace norvane::ui {
class CWindowWnd;
class CPaintManagerUI;
}  // namespace norvane::ui

namespace norvane::ui::detail {

class WindowHost : public QWidget {
 public:
  WindowHost(CWindowWnd& owner, QWidget* parent);

  CWindowWnd* Owner() const { return owner_; }
  CPaintManagerUI* Manager() const { return manager_; }
  void SetManager(CPaintManagerUI* manager) { manager_ = manager; }
  void Detach() {
    owner_ = nullptr;
    manager_ = nullptr;
  }
  // Pixels from the top that drag a frameless window (unscaled); 0: none.
  void SetCaptionHeight(int height) { captionHeight_ = height; }

 protected:
  bool event(QEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  CWindowWnd* owner_;
  CPaintManagerUI* manager_ = nullptr;
  int captionHeight_ = 0;
};

}  // namespace norvane::ui::detail
