// Before any window: the program refuses in one line to start where Qt has no display to open (instead of
// Qt's abort), tells a missing data folder apart from a usable one, and names the session in the trace.

#include "app/startup_checks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/temp_folder.h"

namespace norvane::app {
namespace {

GraphicalEnvironment Env(std::string display, std::string wayland, std::string platform = "",
                         std::string session = "") {
  return {std::move(display), std::move(wayland), std::move(platform), std::move(session)};
}

const DisplayProbe kReachable = [](const std::string&) { return true; };
const DisplayProbe kUnreachable = [](const std::string&) { return false; };

TEST(MissingDisplayTest, NoDisplayAtAllIsOneLineThatPointsToTheCommandLineTool) {
  const std::string problem = MissingDisplayProblem(Env("", ""), kReachable);
  EXPECT_TRUE(problem.starts_with("norvane: needs a graphical session")) << problem;
  EXPECT_NE(problem.find("norvanectl works without one"), std::string::npos) << problem;
  EXPECT_EQ(problem.find('\n'), std::string::npos);
}

TEST(MissingDisplayTest, EachPlatformNeedsItsOwnDisplay) {
  EXPECT_EQ(MissingDisplayProblem(Env(":0", ""), kReachable), "");
  EXPECT_EQ(MissingDisplayProblem(Env("", "wayland-0"), kReachable), "");
  // An X display that is named but gone would make Qt abort.
  EXPECT_NE(MissingDisplayProblem(Env(":7", ""), kUnreachable).find("\":7\" cannot be opened"),
            std::string::npos);
  // With Wayland there as well, Qt may take that one: no probe of X then.
  EXPECT_EQ(MissingDisplayProblem(Env(":7", "wayland-0"), kUnreachable), "");
  EXPECT_NE(MissingDisplayProblem(Env(":0", "", "wayland"), kReachable), "");
  EXPECT_NE(MissingDisplayProblem(Env("", "wayland-0", "xcb"), kReachable), "");
  // A list is fine when any of its platforms is; options after ':' do not matter.
  EXPECT_EQ(MissingDisplayProblem(Env("", "wayland-0", "xcb;wayland"), kReachable), "");
  EXPECT_EQ(MissingDisplayProblem(Env("", "", "offscreen:fontengine=freetype"), kReachable), "");
  EXPECT_EQ(MissingDisplayProblem(Env("", "", "vnc"), kReachable), "");
}

TEST(MissingDisplayTest, APlatformArgumentOutranksTheEnvironment) {
  testing::ScopedEnv platform("QT_QPA_PLATFORM", "xcb");
  char program[] = "norvane";
  char option[] = "-platform";
  char value[] = "offscreen";
  char* argv[] = {program, option, value, nullptr};
  EXPECT_EQ(ReadGraphicalEnvironment(3, argv).platform, "offscreen");
  char joined[] = "-platform=wayland";
  char* argvJoined[] = {program, joined, nullptr};
  EXPECT_EQ(ReadGraphicalEnvironment(2, argvJoined).platform, "wayland");
}

TEST(DataFolderTest, NamesTheMissingPartAndAcceptsACompleteFolder) {
  testing::TempFolder folder;
  const std::filesystem::path skin = folder.path() / "skin";
  const std::filesystem::path data = folder.path() / "DefaultData";
  EXPECT_NE(DataFolderProblem(skin, data).find("skin folder"), std::string::npos);
  std::filesystem::create_directories(skin);
  EXPECT_NE(DataFolderProblem(skin, data).find("res.xml"), std::string::npos);
  testing::WriteText(skin / "res.xml", "<Res/>");
  EXPECT_NE(DataFolderProblem(skin, data).find("default data folder"), std::string::npos);
  std::filesystem::create_directories(data);
  EXPECT_EQ(DataFolderProblem(skin, data), "");
}

TEST(SessionTraceTest, TellsNativeWaylandFromXWaylandAndX11) {
  EXPECT_EQ(DescribeSession("wayland", Env("", "wayland-0")), "Wayland (native)");
  EXPECT_EQ(DescribeSession("xcb", Env(":0", "wayland-0")), "Wayland through XWayland");
  EXPECT_EQ(DescribeSession("xcb", Env(":0", "", "", "wayland")), "Wayland through XWayland");
  EXPECT_EQ(DescribeSession("xcb", Env(":0", "", "", "x11")), "X11");
  EXPECT_EQ(DescribeSession("offscreen", Env("", "")), "offscreen");
}

}  // namespace
}  // namespace norvane::app
