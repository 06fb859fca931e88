#pragma once
// WindowImplBase: a window built from a skin. Create loads GetSkinFile() through the skin index, builds the
// controls (registered classes through the control factory, unknown ones through CreateControl), applies
// the language texts and scale, runs InitWindow, and queues "windowinit" for the first layout. Every
// notification of its controls reaches Notify; the default Notify runs the message map and the title-bar
// defaults ("closebtn" closes with 0, "minbtn", "maxbtn", "restorebtn" act on the window).

#include "uilib/dialog_builder.h"
#include "uilib/message_map.h"
#include "uilib/paint_manager.h"
#include "uilib/window_wnd.h"

namespace norvane::ui {

class WindowImplBase : public CWindowWnd, public INotifyUI, public IDialogBuilderCallback {
 public:
  WindowImplBase();
  ~WindowImplBase() override;

  virtual CDuiString GetSkinFile() const = 0;
  // Runs once after the controls exist, before the window is shown.
  virtual void InitWindow() {}
  void Notify(TNotifyUI& msg) override;
  // Sees every message first; set `handled` to skip the library's own handling.
  virtual LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  // Creates controls of class names the control factory does not know; null when this window does not
  // know the name either.
  CControlUI* CreateControl(const CDuiString& className) override {
    (void)className;
    return nullptr;
  }
  // Bound to "click" when no message-map binding took it.
  virtual void OnClick(TNotifyUI& msg);

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  CControlUI* FindControl(const CDuiString& name) const { return m_pm.FindControl(name); }
  template <class T>
  T* FindControlAs(const CDuiString& name) const {
    return dynamic_cast<T*>(m_pm.FindControl(name));
  }
  CPaintManagerUI& GetPaintManager() { return m_pm; }
  // True when the skin could not be loaded at all (the window then shows an empty root).
  bool SkinFailed() const { return skinFailed_; }

 protected:
  // Shows "maxbtn" while the window is not maximised and "restorebtn" while it is.
  void SyncMaxRestoreButtons();
  void OnCreate() override;
  void OnSize(int width, int height) override;

  CPaintManagerUI m_pm;
  CNotifyMap m_messageMap;

 private:
  bool skinFailed_ = false;
  bool windowInitSent_ = false;
};

}  // namespace norvane::ui
