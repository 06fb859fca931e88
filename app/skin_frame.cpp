#include "app/skin_frame.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QImage>
#include <QMetaObject>
#include <QPointer>
#include <QScopeGuard>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "app/ini_text.h"
#include "app/message_window.h"
#include "platform/atomic_file.h"
#include "platform/trace.h"
#include "platform/xdg_paths.h"
#include "uilib/tab_layout.h"

namespace norvane::app {

namespace {

constexpr char kSection[] = "SKINIMAGE";
constexpr char kDefaultBackground[] = "common/background.png";
constexpr char kNotAnImageText[] = "skin_custom_error_text";

CSkinFrame::ImagePicker& Picker() {
  static CSkinFrame::ImagePicker picker;
  return picker;
}

ui::CDuiString PickImageFile(QWidget* parent) {
  if (Picker()) return Picker()(parent);
  // On the heap and watched: the chooser may be freed while the dialog runs, and its children with it.
  const QPointer<QFileDialog> dialog = new QFileDialog(parent);
  const auto cleanup = qScopeGuard([&dialog] { delete dialog.data(); });
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(QFileDialog::ExistingFile);
  dialog->setDefaultSuffix("png");
  dialog->setNameFilters({"(*.png)", "(*.*)"});
  dialog->selectFile("*.png");
  const int result = dialog->exec();
  if (!dialog || result != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
  return dialog->selectedFiles().constFirst();
}

void Record(const ui::CDuiString& flags, const ui::CDuiString& image) {
  std::string error;
  if (!RecordSkinChoice(SkinChoiceFile(), flags, image, &error)) {
    // Nothing reads the record back, so the user keeps the background they chose; the trace says why the
    // file was left as it was.
    Trace("SKIN_FRAME main.ini not written: " + error);
  }
}

// Closes the chooser when it stops being the active window. The close runs from the event loop, never from
// inside the host's own event handling, because closing frees the host.
class FocusLossCloser : public QObject {
 public:
  FocusLossCloser(QWidget* host, ui::WindowHandle window, const bool& suspended)
      : QObject(host), window_(std::move(window)), suspended_(suspended) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowDeactivate && !suspended_) window_.PostMessage(ui::WM_CLOSE);
    return QObject::eventFilter(watched, event);
  }

 private:
  ui::WindowHandle window_;
  const bool& suspended_;
};

}  // namespace

void CSkinFrame::SetImagePickerForTesting(ImagePicker picker) {
  Picker() = std::move(picker);
}

CSkinFrame::~CSkinFrame() {
  std::erase(Registry(), this);
}

std::vector<CSkinFrame*>& CSkinFrame::Registry() {
  static std::vector<CSkinFrame*> frames;
  return frames;
}

void CSkinFrame::CloseAll() {
  const std::vector<CSkinFrame*> frames = OpenFrames();
  for (CSkinFrame* frame : frames) frame->Close(0);
}

void CSkinFrame::InitWindow() {
  QWidget* host = GetWidget();
  host->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  host->installEventFilter(new FocusLossCloser(host, GetHWND(), pickingImage_));
}

void CSkinFrame::Notify(ui::TNotifyUI& msg) {
  if (msg.sType != ui::DUI_MSGTYPE_CLICK || !msg.pSender) {
    WindowImplBase::Notify(msg);
    return;
  }
  const ui::CDuiString name = msg.pSender->GetName().toLower();
  if (name == "skin_image_btn") {
    const ui::CDuiString image = msg.pSender->GetBkImage();
    SkinChangedObserver().Broadcast({false, 0, image});
    Record("1", image);
  } else if (name == "skin_color_btn") {
    SkinChangedObserver().Broadcast({true, msg.pSender->GetBkColor(), {}});
  } else if (name == "skin_color" || name == "skin_image") {
    if (auto* tabs = FindControlAs<ui::CTabLayoutUI>("skin_tab"))
      tabs->SelectItem(name == "skin_color" ? 1 : 0);
  } else if (name == "skin_reset") {
    SkinChangedObserver().Broadcast({false, 0, kDefaultBackground});
    Record("0", kDefaultBackground);
  } else if (name == "skin_custom") {
    // The dialog runs its own event loop, in which the chooser and this button may be freed: it runs once
    // the button's signal has returned. The host lives as long as the chooser object; when it is gone by
    // then, so is the chooser.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [this, host = QPointer<QWidget>(GetWidget())] {
          if (host) PickCustomImage();
        },
        Qt::QueuedConnection);
  }
}

bool CSkinFrame::IsOpen() const {
  return std::ranges::find(Registry(), this) != Registry().end();
}

void CSkinFrame::PickCustomImage() {
  if (!IsOpen() || pickingImage_) return;  // closed meanwhile, or a second click while the dialog runs
  // While the dialog runs the chooser may be closed and freed; the host goes with it.
  const QPointer<QWidget> host = GetWidget();
  const auto gone = [&host, this] { return !host || !IsOpen(); };
  // The dialogs take the focus; the chooser must not close (and free itself) underneath them.
  pickingImage_ = true;
  const ui::CDuiString path = PickImageFile(host);
  if (gone()) return;
  if (!path.IsEmpty()) {
    // "*.*" lets any file be picked; a file that is no image would leave the window without a background.
    if (!QImage(path).isNull())
      SkinChangedObserver().Broadcast({false, 0, path});
    else
      ShowMessage(nullptr, {}, kNotAnImageText, m_pm.GetDPI(), true, kMessageOk);
    if (gone()) return;
  }
  pickingImage_ = false;
  ShowWindow(true, true);
}

CSkinFrame* CSkinFrame::Open(ui::CWindowWnd* mainWindow, const QRect& skinButtonRect, int dpi) {
  (void)mainWindow;  // no parent: the chooser floats above everything and has no taskbar entry
  auto* frame = new CSkinFrame();
  if (!frame->Create(nullptr, "skinframe", false)) {
    delete frame;
    return nullptr;
  }
  Registry().push_back(frame);
  frame->GetPaintManager().SetDPI(dpi);
  QWidget* host = frame->GetWidget();
  // Its top-right corner at the button's bottom-right corner; it keeps its layout's size.
  const QRect geometry = host->frameGeometry();
  host->move(skinButtonRect.right() + 1 - geometry.width(), skinButtonRect.bottom() + 1);
  frame->ShowWindow(true, true);
  return frame;
}

void CSkinFrame::OnFinalMessage() {
  std::erase(Registry(), this);
  // Freed from the event loop: the close may have started inside one of this window's own handlers.
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [this] { delete this; }, Qt::QueuedConnection);
}

std::filesystem::path SkinChoiceFile() {
  return UserDataFolder() / "main.ini";
}

bool RecordSkinChoice(const std::filesystem::path& iniFile, const ui::CDuiString& flags,
                      const ui::CDuiString& image, std::string* error) {
  auto fail = [error](std::string text) {
    if (error) *error = std::move(text);
    return false;
  };
  if (!EnsureFolder(iniFile.parent_path())) return fail("cannot create " + iniFile.parent_path().string());
  std::string text;
  if (std::filesystem::exists(iniFile) && !ReadWholeFile(iniFile, text))
    return fail("cannot read " + iniFile.string());
  text = SetIniValue(text, kSection, "FLAGS", flags.ToUtf8());
  text = SetIniValue(text, kSection, "IMAGE", image.ToUtf8());
  const FileResult result = WriteFileAtomically(iniFile, text);
  if (!result) return fail(result.error);
  return true;
}

}  // namespace norvane::app
