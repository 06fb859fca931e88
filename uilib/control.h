#pragma once
// CControlUI: the operations every skin control offers, whatever Qt widget draws it. Controls are Qt widgets
// built from the skin; this interface is mixed into each of them (see ControlBase), so a control found by
// name can be cast to its specific kind (COptionUI, CComboUI, ...) with dynamic_cast.
//
// Skin vocabulary on the widget: the Qt object name is the control name; the dynamic properties "textid"
// (language text id of its text), "tooltipid", "userdata" and "group" (option group) come from the .ui file.

#include <QPointer>
#include <map>

#include "uilib/dui_string.h"
#include "uilib/notify.h"

class QTimer;
class QWidget;
class QEvent;

namespace norvane::ui {

class CPaintManagerUI;
class CContainerUI;

enum class TimerMode { kSingleShot, kRepeating };

class CControlUI {
 public:
  CControlUI() = default;
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;
  virtual ~CControlUI() = default;

  virtual QWidget* GetWidget() = 0;
  virtual const QWidget* GetWidget() const = 0;

  // The class name the skin used to create this control ("DeviceKeyButton", "QPushButton", ...).
  CDuiString GetClass() const;
  CDuiString GetName() const;
  void SetName(const CDuiString& name);

  // The displayed text. With the resource-text flag set, SetText takes a language text id: the control shows
  // that id's text now and after every language switch.
  virtual CDuiString GetText() const;
  virtual void SetText(const CDuiString& text);
  void SetResourceText(bool isTextId);
  bool IsResourceText() const { return resourceText_; }
  CDuiString GetTextId() const;
  // Shows the text of a language id (now and after every language switch) without changing the
  // resource-text flag. Skins mark such texts with the dynamic property "textid".
  void SetTextId(const CDuiString& id);
  void SetToolTip(const CDuiString& text);

  CDuiString GetUserData() const;
  void SetUserData(const CDuiString& data);

  bool IsVisible() const;  // set visible, regardless of whether its window is shown
  virtual void SetVisible(bool visible = true);
  bool IsEnabled() const;
  virtual void SetEnabled(bool enabled = true);
  void SetFocus();

  // Background colour (0xAARRGGBB; 0 means none) and image (path relative to the skin folder; empty: none).
  void SetBkColor(DWORD argb);
  DWORD GetBkColor() const { return bkColor_; }
  void SetBkImage(const CDuiString& image);
  CDuiString GetBkImage() const { return bkImage_; }
  void SetBorderColor(DWORD argb);
  void SetBorderSize(int pixels);
  int GetBorderSize() const { return borderSize_; }

  // Fixed size in unscaled pixels (the window's scale factor applies on top); 0 releases the constraint.
  void SetFixedWidth(int width);
  void SetFixedHeight(int height);
  int GetFixedWidth() const;
  int GetFixedHeight() const;

  // The window this control lives in; null while it is not inside one.
  CPaintManagerUI* GetManager() const;
  // The nearest enclosing control; null at the root.
  CControlUI* GetParent() const;

  // Raises a notification from this control to its window (dropped while outside a window or while the
  // window suppresses notifications).
  void SendNotify(const CDuiString& type, WPARAM wParam = 0, LPARAM lParam = 0);

  // Text colour (0xAARRGGBB; 0: as the theme draws it).
  void SetTextColor(DWORD argb);
  DWORD GetTextColor() const { return textColor_; }

  // Each dynamic property the skin gave this control, before DoInit (names the library handles itself
  // included). Program controls with skin attributes of their own ("lightimage", ...) override it.
  virtual void SetAttribute(const CDuiString& name, const CDuiString& value) {
    (void)name;
    (void)value;
  }

  // Runs once after the control's window has been built (or after it was added to a built window). A control
  // that builds itself from its own sub-skin does that here.
  virtual void DoInit() {}
  // A control timer expired. The default raises a "timer" notification with the id.
  virtual void OnTimer(int timerId);

  // Repaints the control. A control that its container draws (a key of a key picture) repaints there.
  virtual void Invalidate();

  // Timers per control and id (used through CPaintManagerUI::SetTimer / KillTimer). UI thread only.
  void StartTimer(int timerId, int elapseMs, TimerMode mode);
  void StopTimer(int timerId);
  void StopAllTimers();
  bool IsTimerRunning(int timerId) const;
  // The running timer's interval in milliseconds; -1 when it does not run.
  int TimerInterval(int timerId) const;

  // Library internals: called once by the window builder.
  bool MarkInitialised();
  // Re-applies the style sheet made from the background and border settings.
  virtual void ApplyStyle();

 protected:
  // Shared event handling (focus, hover, double click, context menu): called by ControlBase::event.
  void HandleCommonEvent(QEvent* event);
  // A style sheet fragment that subclasses add (for example a selected background colour).
  virtual QString ExtraStyle(const QString& selector) const;
  QString StyleSelector() const;
  static QString CssColor(DWORD argb);
  // The colour at three tenths of its opacity: how a disabled control shows its own colour.
  static DWORD Faded(DWORD argb);

 private:
  bool resourceText_ = false;
  bool initialised_ = false;
  DWORD bkColor_ = 0;
  CDuiString bkImage_;
  DWORD borderColor_ = 0;
  DWORD textColor_ = 0;
  int borderSize_ = -1;  // -1: as the theme draws it
  std::map<int, QPointer<QTimer>> timers_;
};

// The control that draws `widget`, if it is one.
CControlUI* ControlOf(QWidget* widget);
const CControlUI* ControlOf(const QWidget* widget);

// Mixes a control interface into a Qt widget class. Api is CControlUI or an interface derived from it.
template <class QtBase, class Api = CControlUI>
class ControlBase : public QtBase, public Api {
 public:
  explicit ControlBase(QWidget* parent = nullptr) : QtBase(parent) {}
  ~ControlBase() override { this->blockSignals(true); }  // no notification from a half-destroyed control

  QWidget* GetWidget() override { return this; }
  const QWidget* GetWidget() const override { return this; }

 protected:
  bool event(QEvent* e) override {
    this->HandleCommonEvent(e);
    return QtBase::event(e);
  }
};

}  // namespace norvane::ui
