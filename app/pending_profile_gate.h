#pragma once
// A profile chosen in a page's combo loads after a short pause, so that scrolling through the combo does
// not load every profile on the way. The user's next press of a key or a mouse button on that page must
// not reach the profile that is about to be replaced: while the pause runs, this gate watches the
// application's input and, when it is meant for a waiting page, has the switch done first. The input then
// lands on the page as the chosen profile shows it.

#include <QObject>
#include <functional>

class QWidget;

namespace norvane::app {

class CPendingProfileGate : public QObject {
 public:
  struct Hooks {
    // Whether input meant for this widget waits for a chosen profile (false for the choice itself).
    std::function<bool(QWidget*)> awaitsProfile;
    // Loads the chosen profiles now.
    std::function<void()> switchNow;
  };

  explicit CPendingProfileGate(Hooks hooks, QObject* parent = nullptr);
  ~CPendingProfileGate() override;

  // Watches the input from now until Close (or the switch it asks for).
  void Open();
  void Close();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Hooks hooks_;
  bool open_ = false;
};

}  // namespace norvane::app
