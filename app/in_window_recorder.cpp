#include "app/in_window_recorder.h"

#include <linux/input-event-codes.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <chrono>
#include <tuple>
#include <utility>

#include "macro/scan_codes.h"
#include "platform/trace.h"

namespace norvane::app {

namespace {

struct KeyPair {
  int qtKey;
  int linuxKey;
};

// Keys by their meaning, for platforms that give no native code. Letters and digits follow below.
constexpr KeyPair kKeys[] = {
    {Qt::Key_Escape, KEY_ESC},        {Qt::Key_Tab, KEY_TAB},           {Qt::Key_Backtab, KEY_TAB},
    {Qt::Key_Backspace, KEY_BACKSPACE}, {Qt::Key_Return, KEY_ENTER},    {Qt::Key_Enter, KEY_KPENTER},
    {Qt::Key_Insert, KEY_INSERT},     {Qt::Key_Delete, KEY_DELETE},     {Qt::Key_Pause, KEY_PAUSE},
    {Qt::Key_Print, KEY_SYSRQ},       {Qt::Key_Home, KEY_HOME},         {Qt::Key_End, KEY_END},
    {Qt::Key_Left, KEY_LEFT},         {Qt::Key_Up, KEY_UP},             {Qt::Key_Right, KEY_RIGHT},
    {Qt::Key_Down, KEY_DOWN},         {Qt::Key_PageUp, KEY_PAGEUP},     {Qt::Key_PageDown, KEY_PAGEDOWN},
    {Qt::Key_Shift, KEY_LEFTSHIFT},   {Qt::Key_Control, KEY_LEFTCTRL},  {Qt::Key_Meta, KEY_LEFTMETA},
    {Qt::Key_Alt, KEY_LEFTALT},       {Qt::Key_AltGr, KEY_RIGHTALT},    {Qt::Key_CapsLock, KEY_CAPSLOCK},
    {Qt::Key_NumLock, KEY_NUMLOCK},   {Qt::Key_ScrollLock, KEY_SCROLLLOCK}, {Qt::Key_Menu, KEY_COMPOSE},
    {Qt::Key_Space, KEY_SPACE},       {Qt::Key_Minus, KEY_MINUS},       {Qt::Key_Equal, KEY_EQUAL},
    {Qt::Key_BracketLeft, KEY_LEFTBRACE}, {Qt::Key_BracketRight, KEY_RIGHTBRACE}, {Qt::Key_Backslash, KEY_BACKSLASH},
    {Qt::Key_Semicolon, KEY_SEMICOLON}, {Qt::Key_Apostrophe, KEY_APOSTROPHE}, {Qt::Key_QuoteLeft, KEY_GRAVE},
    {Qt::Key_Comma, KEY_COMMA},       {Qt::Key_Period, KEY_DOT},        {Qt::Key_Slash, KEY_SLASH},
};

constexpr int kLetters[] = {KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I, KEY_J, KEY_K, KEY_L, KEY_M,
                            KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z};
constexpr int kDigits[] = {KEY_0, KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9};
constexpr int kFunctionKeys[] = {KEY_F1, KEY_F2, KEY_F3, KEY_F4,  KEY_F5,  KEY_F6,
                                 KEY_F7, KEY_F8, KEY_F9, KEY_F10, KEY_F11, KEY_F12};

int LinuxKeyOfMeaning(int qtKey) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return kLetters[qtKey - Qt::Key_A];
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return kDigits[qtKey - Qt::Key_0];
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return kFunctionKeys[qtKey - Qt::Key_F1];
  for (const KeyPair& pair : kKeys) {
    if (pair.qtKey == qtKey) return pair.linuxKey;
  }
  return 0;
}

int LinuxButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return BTN_LEFT;
    case Qt::RightButton:
      return BTN_RIGHT;
    case Qt::MiddleButton:
      return BTN_MIDDLE;
    case Qt::BackButton:
      return BTN_SIDE;
    case Qt::ForwardButton:
      return BTN_EXTRA;
    default:
      return 0;
  }
}

}  // namespace

CInWindowRecorder::CInWindowRecorder() = default;

CInWindowRecorder::~CInWindowRecorder() {
  Stop();
}

int CInWindowRecorder::LinuxKeyOf(const QKeyEvent& event) {
  const int native = static_cast<int>(event.nativeScanCode());
  if (native > macro::kX11KeyCodeOffset) return native - macro::kX11KeyCodeOffset;
  return LinuxKeyOfMeaning(event.key());
}

std::uint32_t CInWindowRecorder::Now() const {
  using namespace std::chrono;
  return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool CInWindowRecorder::Start(Sink sink, LostSink, std::string& why) {
  if (!qApp) {
    why = "the program has no window";
    return false;
  }
  sink_ = std::move(sink);
  if (!running_) qApp->installEventFilter(this);
  running_ = true;
  toldFallback_ = false;
  return true;
}

void CInWindowRecorder::Stop() {
  if (running_ && qApp) qApp->removeEventFilter(this);
  running_ = false;
  sink_ = nullptr;
}

bool CInWindowRecorder::eventFilter(QObject* watched, QEvent* event) {
  // Every event passes the application's filters once per object it is sent to; one per input is taken,
  // the one sent to a widget (not to its window's handle).
  if (!watched->isWidgetType()) return false;
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      // No shortcut of the program takes a key while it is recorded.
      event->accept();
      return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->nativeScanCode() <= quint32(macro::kX11KeyCodeOffset) && !toldFallback_) {
        toldFallback_ = true;
        Trace("recording in the window: no native key codes here; keys are told by their meaning, so left and "
              "right Shift, Ctrl and Alt are one key each");
      }
      macro::CapturedInput input;
      input.kind = macro::CapturedInput::Kind::kKey;
      input.code = LinuxKeyOf(*key);
      input.pressed = event->type() == QEvent::KeyPress;
      input.autoRepeat = key->isAutoRepeat();
      input.time = Now();
      if (sink_ && input.code > 0) {
        const Sink sink = sink_;  // the sink may stop the recording
        sink(input);
      }
      return true;  // typed into no widget
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      macro::CapturedInput input;
      input.kind = macro::CapturedInput::Kind::kButton;
      input.code = LinuxButtonOf(mouse->button());
      input.pressed = event->type() == QEvent::MouseButtonPress;
      input.time = Now();
      input.hasPosition = true;
      input.x = int(mouse->globalPosition().x());
      input.y = int(mouse->globalPosition().y());
      // A press goes to the widget under the pointer, and on to its parents (as copies) while they ignore
      // it: the first of them is the one counted.
      const std::tuple<int, int, quint64> seen{int(event->type()), input.code, mouse->timestamp()};
      if (seen == lastButton_) return false;
      lastButton_ = seen;
      if (sink_ && input.code != 0) {
        const Sink sink = sink_;
        sink(input);
      }
      return false;  // the buttons still work: the stop button must be clickable
    }
    default:
      return false;
  }
}

}  // namespace norvane::app
