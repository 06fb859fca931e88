// The demo's update service (scripts/update-service) answers the program's own query with something newer
// for the emulated mouse and hands out an installer that reports back over the bus.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "tests/support/temp_folder.h"
#include "update/http_client.h"
#include "update/update_query.h"

extern char** environ;

namespace norvane::update {
namespace {

// The service started on a free port; stopped (SIGTERM) with the object.
class DemoService {
 public:
  DemoService() {
    int fds[2];
    if (::pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string script = NORVANE_SOURCE_DIR "/scripts/update-service";
    std::string python = "python3", port = "--port", zero = "0";
    char* argv[] = {python.data(), script.data(), port.data(), zero.data(), nullptr};
    if (::posix_spawnp(&pid_, "python3", &actions, nullptr, argv, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    // The first line names the address: "update service on http://127.0.0.1:PORT/api/". The pipe stays
    // open: the service goes on logging its requests there.
    out_ = ::fdopen(fds[0], "r");
    char line[256] = {};
    if (pid_ > 0 && out_ && std::fgets(line, sizeof line, out_)) {
      const std::string text = line;
      const std::size_t at = text.find("http://");
      if (at != std::string::npos) base_ = text.substr(at, text.find_first_of(" \n", at) - at);
    }
  }
  ~DemoService() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      int status = 0;
      ::waitpid(pid_, &status, 0);
    }
    if (out_) std::fclose(out_);
  }
  const std::string& Base() const { return base_; }

 private:
  pid_t pid_ = -1;
  FILE* out_ = nullptr;
  std::string base_;
};

TEST(DemoServiceTest, AnswersTheEmulatedMouseWithANewerFirmwareAndAnInstaller) {
  norvane::testing::ScopedEnv noProxy{"no_proxy", "127.0.0.1,localhost"};
  DemoService service;
  if (service.Base().empty()) GTEST_SKIP() << "python3 cannot run scripts/update-service here";
  ASSERT_EQ(service.Base().substr(service.Base().size() - 5), "/api/");

  // The emulated wired mouse reports release 0x0120.
  const UpdateInfo mouse = CheckForUpdate(service.Base() + "updates", "VEXOR_1_ZR204A_MS_1", 0x0120, true);
  EXPECT_EQ(mouse.state, kStateNewer);
  EXPECT_EQ(mouse.newVersion, "V0121");
  EXPECT_EQ(mouse.deviceId, 2);
  const UpdateInfo program = CheckForUpdate(service.Base() + "updates", "VEXOR_0_ALL_TQ80_BX2_BX1_1", 10, false);
  EXPECT_EQ(program.state, kStateNewer);

  norvane::testing::TempFolder folder;
  ASSERT_TRUE(DownloadFile(mouse.downloadUrl, folder / "MS.run", {}).ok);
  const std::string installer = norvane::testing::ReadText(folder / "MS.run");
  EXPECT_EQ(installer.rfind("#!/bin/sh\n", 0), 0u);
  EXPECT_NE(installer.find("{4695579F-999A-41d4-9FAF-EFFCE93EBF15}"), std::string::npos) << "it reports back";
}

}  // namespace
}  // namespace norvane::update
