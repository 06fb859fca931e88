// The demo window on a real X server: it maps, lays out, takes real input and renders. Each test skips
// cleanly when there is no display.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "uilib/demo/demo_controls.h"
#include "uilib/uilib.h"

namespace norvane::ui {
namespace {

bool HasDisplay() {
  return !qEnvironmentVariableIsEmpty("DISPLAY");
}

class XcbEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!HasDisplay()) return;
    static QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    qputenv("QT_QPA_PLATFORM", "xcb");  // the test runner sets offscreen for every test; this one wants X
    qputenv("NORVANE_SKIN_DIR", NORVANE_SOURCE_DIR "/skin");
    static int argc = 1;
    static char name[] = "test_uilib_xcb";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
    CResourceManager& rm = CResourceManager::GetInstance();
    rm.SetResourcePath(CResourceManager::DefaultResourcePath());
    rm.LoadResource("res.xml");
    rm.LoadLanguage("lan_en.xml");
    ApplyTheme(*app_);
    demo::RegisterDemoControls();
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new XcbEnvironment);

class DemoWindow : public WindowImplBase {
 public:
  explicit DemoWindow(CDuiString skin = "XML_DEMO") : skin_(std::move(skin)) {}
  CDuiString GetWindowClassName() const override { return "DemoWnd"; }
  CDuiString GetSkinFile() const override { return skin_; }
  void Notify(TNotifyUI& msg) override {
    types.push_back(msg.sType.toStdString() + ":" +
                    (msg.pSender ? msg.pSender->GetName().toStdString() : ""));
    WindowImplBase::Notify(msg);
  }
  void OnClick(TNotifyUI& msg) override {
    if (msg.pSender->GetName() == "confirm_btn")
      Close(1);
    else
      WindowImplBase::OnClick(msg);
  }
  LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override {
    if (msg == WM_ACTIVATE) activations.push_back(wParam);
    if (msg == WM_MOUSEHOVER || msg == WM_MOUSELEAVE) pointer.push_back(msg);
    return WindowImplBase::HandleCustomMessage(msg, wParam, lParam, handled);
  }
  bool LastActivationIs(WPARAM state) const { return !activations.empty() && activations.back() == state; }
  std::vector<std::string> types;
  std::vector<WPARAM> activations;
  std::vector<UINT> pointer;

 private:
  CDuiString skin_;
};

bool Saw(const DemoWindow& w, const std::string& what) {
  return std::find(w.types.begin(), w.types.end(), what) != w.types.end();
}

TEST(RealWindowTest, DemoWindowMapsRendersAndTakesInput) {
  if (!HasDisplay()) GTEST_SKIP() << "no DISPLAY";
  ASSERT_EQ(QGuiApplication::platformName(), "xcb");
  DemoWindow wnd;
  ASSERT_TRUE(wnd.Create(nullptr, "Norvane", true));
  wnd.CenterWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(wnd.GetWidget()));
  ASSERT_TRUE(QTest::qWaitFor([&] { return Saw(wnd, "windowinit:root"); }));
  EXPECT_TRUE(wnd.GetWidget()->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_GE(wnd.GetWidget()->width(), 1000);

  auto* apply = wnd.FindControlAs<CButtonUI>("apply_btn");
  ASSERT_NE(apply, nullptr);
  QTest::mouseClick(apply, Qt::LeftButton);
  EXPECT_TRUE(Saw(wnd, "click:apply_btn"));

  const QPixmap shot = wnd.GetWidget()->grab();
  ASSERT_FALSE(shot.isNull());
  const QImage image = shot.toImage();
  EXPECT_NE(image.pixelColor(image.width() / 2, image.height() / 2), image.pixelColor(2, 2))
      << "something drew";
}

TEST(RealWindowTest, ModalMessageWindowReturnsItsCode) {
  if (!HasDisplay()) GTEST_SKIP() << "no DISPLAY";
  DemoWindow msg("XML_MSG");
  ASSERT_TRUE(msg.Create(nullptr, "msgwnd", false));
  msg.CenterWindow();
  QTimer::singleShot(0, [&] {
    (void)QTest::qWaitForWindowExposed(msg.GetWidget());
    QTest::mouseClick(msg.FindControlAs<CButtonUI>("confirm_btn"), Qt::LeftButton);
  });
  EXPECT_EQ(msg.ShowModal(), 1);
}

TEST(RealWindowTest, FocusAndThePointerArriveAsActivateHoverAndLeave) {
  if (!HasDisplay()) GTEST_SKIP() << "no DISPLAY";
  DemoWindow first("XML_MSG");
  DemoWindow second("XML_MSG");
  ASSERT_TRUE(first.Create(nullptr, "first", true, 0, 0, 300, 200));
  ASSERT_TRUE(second.Create(nullptr, "second", true, 400, 0, 300, 200));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(first.GetWidget()));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(second.GetWidget()));

  first.ShowWindow(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return first.LastActivationIs(WA_ACTIVE); }));
  second.ShowWindow(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return second.LastActivationIs(WA_ACTIVE); }));
  EXPECT_TRUE(QTest::qWaitFor([&] { return first.LastActivationIs(WA_INACTIVE); }));

  // The real pointer: into the first window, then over to the second.
  QWidget* firstHost = first.GetWidget();
  QCursor::setPos(firstHost->mapToGlobal(firstHost->rect().center()));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !first.pointer.empty(); }));
  EXPECT_EQ(first.pointer.back(), WM_MOUSEHOVER);
  QWidget* secondHost = second.GetWidget();
  QCursor::setPos(secondHost->mapToGlobal(secondHost->rect().center()));
  ASSERT_TRUE(QTest::qWaitFor([&] { return first.pointer.back() == WM_MOUSELEAVE; }));
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return !second.pointer.empty() && second.pointer.back() == WM_MOUSEHOVER; }));
}

}  // namespace
}  // namespace norvane::ui
