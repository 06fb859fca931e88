#pragma once
// Shared by the uilib tests: a window that records its notifications and messages, a temporary skin folder,
// and the QApplication set up by the test environment (qt_test_environment.cpp).

#include <QTemporaryDir>
#include <QThread>
#include <map>
#include <string>
#include <vector>

#include "uilib/uilib.h"

namespace norvane::ui::test {

struct Seen {
  std::string type;
  std::string sender;
  WPARAM wParam;
  LPARAM lParam;
};

class RecordingWindow : public WindowImplBase {
 public:
  explicit RecordingWindow(CDuiString skin = "XML_DEMO") : skin_(std::move(skin)) {}
  CDuiString GetWindowClassName() const override { return "RecordingWnd"; }
  CDuiString GetSkinFile() const override { return skin_; }
  void Notify(TNotifyUI& msg) override {
    seen.push_back({msg.sType.toStdString(), msg.pSender ? msg.pSender->GetName().toStdString() : "",
                    msg.wParam, msg.lParam});
    if (msg.sType == DUI_MSGTYPE_TIMER) timerThreads.push_back(QThread::currentThread());
    WindowImplBase::Notify(msg);
  }
  LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override {
    messages.push_back({msg, wParam, lParam});
    messageThreads.push_back(QThread::currentThread());
    if (msg == WM_USER + 7) {
      handled = true;
      return LRESULT(wParam + lParam);
    }
    return WindowImplBase::HandleCustomMessage(msg, wParam, lParam, handled);
  }
  CControlUI* CreateControl(const CDuiString& className) override {
    if (className == "WindowOnlyWidget") return new CLabelUI();
    if (className == "StatCardPanel") {
      // As the program's windows do for their composite controls: a container built from a sub-skin.
      auto* panel = new CContainerUI();
      panel->LoadSubSkin("XML\\CustomControlXML\\StatCard.xml");
      return panel;
    }
    return nullptr;
  }

  // Notifications of one type, optionally from one sender.
  std::vector<Seen> Of(const std::string& type, const std::string& sender = {}) const {
    std::vector<Seen> out;
    for (const Seen& s : seen) {
      if (s.type == type && (sender.empty() || s.sender == sender)) out.push_back(s);
    }
    return out;
  }
  // Everything except hover and focus traffic, which depends on where the test's pointer happens to be.
  std::vector<std::string> Types() const {
    std::vector<std::string> out;
    for (const Seen& s : seen) {
      if (s.type != "msenter" && s.type != "msleave" && s.type != "setfocus" && s.type != "killfocus") {
        out.push_back(s.type + ":" + s.sender);
      }
    }
    return out;
  }

  struct Message {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
  };
  std::vector<Seen> seen;
  std::vector<Message> messages;
  std::vector<QThread*> messageThreads;
  std::vector<QThread*> timerThreads;

 private:
  CDuiString skin_;
};

// A skin folder of the test's own, made current for the test's lifetime (the shipped skin folder after).
class ScopedSkinDir {
 public:
  ScopedSkinDir();
  ~ScopedSkinDir();
  void Write(const QString& relativePath, const QByteArray& content) const;
  QString Path() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
};

// Restores the shipped skin folder, index and English texts.
void ResetResources();
// Processes events until pred() holds or the time runs out.
bool WaitFor(const std::function<bool()>& pred, int timeoutMs = 2000);

}  // namespace norvane::ui::test
