// Downloads: progress per 1024 bytes, a file that appears only when complete and right, never through a link
// and never left half written; the private folder they go to and the names they get.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/support/local_http_server.h"
#include "tests/support/temp_folder.h"
#include "update/download_folder.h"
#include "update/http_client.h"

namespace norvane::update {
namespace {

namespace fs = std::filesystem;
using norvane::testing::LocalHttpServer;

struct ProgressLog {
  std::vector<std::pair<std::int64_t, std::int64_t>> calls;
  DownloadProgress Callback() {
    return [this](std::int64_t total, std::int64_t received) { calls.emplace_back(total, received); };
  }
};

class DownloadTest : public ::testing::Test {
 protected:
  fs::path Target() const { return folder_ / "MS.bin"; }
  bool PartLeft() const { return fs::exists(folder_ / "MS.bin.part"); }

  norvane::testing::ScopedEnv noProxy_{"no_proxy", "127.0.0.1,localhost"};
  norvane::testing::TempFolder folder_;
  LocalHttpServer server_;
  ProgressLog progress_;
};

TEST_F(DownloadTest, ReportsEach1024BytesAndCompletesOnceTheFileIsInPlace) {
  std::string bytes(2048, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  server_.Serve("/f.bin", 200, bytes);
  const DownloadResult result = DownloadFile(server_.Url("/f.bin"), Target(), progress_.Callback());
  ASSERT_TRUE(result.ok) << result.error;
  using Call = std::pair<std::int64_t, std::int64_t>;
  EXPECT_EQ(progress_.calls, (std::vector<Call>{{2048, 1024}, {2048, 2048}})) << "50 %, then complete";
  EXPECT_EQ(norvane::testing::ReadText(Target()), bytes);
  EXPECT_FALSE(PartLeft());
  struct stat info {};
  ASSERT_EQ(::stat(Target().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u) << "nobody else reads or changes it";
}

TEST_F(DownloadTest, AnswersThatAreNoCompleteFileLeaveNothingBehind) {
  struct Case {
    const char* what;
    LocalHttpServer::Response response;
  };
  const Case cases[] = {
      {"closed halfway", {200, std::string(4096, 'a'), {}, LocalHttpServer::Behaviour::kCloseHalfway}},
      {"an error page", {404, R"({"error":"no such file"})"}},
      {"a server error", {500, "oops"}},
      {"an empty file", {200, ""}},
      {"an empty file of unknown length", {200, "", {}, LocalHttpServer::Behaviour::kNoLength}},
      {"a redirect to a file", {302, "", {{"Location", "file:///etc/passwd"}}}},
  };
  for (const Case& c : cases) {
    progress_.calls.clear();
    server_.Serve("/f.bin", c.response);
    const DownloadResult result = DownloadFile(server_.Url("/f.bin"), Target(), progress_.Callback());
    EXPECT_FALSE(result.ok) << c.what;
    EXPECT_FALSE(fs::exists(Target())) << c.what;
    EXPECT_FALSE(PartLeft()) << c.what;
    ASSERT_FALSE(progress_.calls.empty()) << c.what;
    EXPECT_EQ(progress_.calls.back().first, 0) << c.what << ": told as a failure";
  }
}

TEST_F(DownloadTest, AFileOfUnknownLengthCountsWhenSomethingArrived) {
  server_.Serve("/f.bin", {200, "#!/bin/sh\nexit 0\n", {}, LocalHttpServer::Behaviour::kNoLength});
  const DownloadResult result = DownloadFile(server_.Url("/f.bin"), Target(), progress_.Callback());
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.total, -1);
  ASSERT_EQ(progress_.calls.size(), 1u);
  EXPECT_EQ(progress_.calls[0], std::make_pair(std::int64_t{17}, std::int64_t{17}));
}

TEST_F(DownloadTest, AStopEndsItAtOnceAndRemovesThePart) {
  server_.Serve("/f.bin", {200, "", {}, LocalHttpServer::Behaviour::kNeverAnswer});
  std::stop_source stop;
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    stop.request_stop();
  });
  const auto started = std::chrono::steady_clock::now();
  const DownloadResult result = DownloadFile(server_.Url("/f.bin"), Target(), progress_.Callback(), stop.get_token());
  stopper.join();
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1000));
  EXPECT_TRUE(result.stopped);
  EXPECT_FALSE(PartLeft());
  EXPECT_TRUE(progress_.calls.empty()) << "nothing is told after a stop";
}

TEST_F(DownloadTest, ALinkPlantedWhereThePartGoesIsNotFollowed) {
  const fs::path victim = folder_ / "victim.txt";
  norvane::testing::WriteText(victim, "keep me");
  fs::create_symlink(victim, folder_ / "MS.bin.part");
  server_.Serve("/f.bin", 200, "payload");
  ASSERT_TRUE(DownloadFile(server_.Url("/f.bin"), Target(), progress_.Callback()).ok);
  EXPECT_EQ(norvane::testing::ReadText(victim), "keep me");
  EXPECT_EQ(norvane::testing::ReadText(Target()), "payload");
}

TEST(DownloadFolderTest, IsMadePrivateAndRefusesWhatIsNotAFolderOfOurs) {
  norvane::testing::TempFolder temp;
  const fs::path folder = temp / "cache" / "UpdateData";
  ASSERT_TRUE(PreparePrivateFolder(folder / "").ok);
  EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);

  fs::permissions(folder, fs::perms::owner_all | fs::perms::group_all | fs::perms::others_read);
  ASSERT_TRUE(PreparePrivateFolder(folder).ok);
  EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all) << "narrowed again";

  const fs::path elsewhere = temp / "elsewhere";
  fs::create_directory(elsewhere);
  fs::create_directory_symlink(elsewhere, temp / "linked");
  EXPECT_FALSE(PreparePrivateFolder(temp / "linked").ok) << "a link is not our folder";
  norvane::testing::WriteText(temp / "file", "x");
  EXPECT_FALSE(PreparePrivateFolder(temp / "file").ok);
}

TEST(DownloadFolderTest, TheItemsOwnNameNamesTheFile) {
  const fs::path folder = "/u";
  EXPECT_EQ(DownloadFileFor(folder, "MS", "http://h/fw/ms_v0103.bin"), "/u/MS.bin");
  EXPECT_EQ(DownloadFileFor(folder, "R27 有线", "https://h/a/b/setup.run?x=1#y"), "/u/R27 有线.run");
  EXPECT_EQ(DownloadFileFor(folder, "AP", "http://h/../../etc/passwd"), "/u/AP");
  EXPECT_EQ(DownloadFileFor(folder, "AP", "http://h/x.tar.gz"), "/u/AP.gz");
  EXPECT_EQ(DownloadFileFor(folder, "AP", "http://h/x.a-b"), "/u/AP") << "not a plain extension";
  EXPECT_EQ(DownloadFileFor(folder, "AP", "http://example.com"), "/u/AP") << "the host is no file name";
  EXPECT_EQ(DownloadFileFor(folder, "../x/y", ""), "/u/_._x_y") << "no way out of the folder";
  EXPECT_EQ(DownloadFileFor(folder, "", ""), "/u/update");
}

}  // namespace
}  // namespace norvane::update
