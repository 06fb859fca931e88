// The update query as the service sees it (method, address, header fields, the body byte for byte) and
// what each kind of answer makes of an item, hostile and broken answers included.

#include "update/update_query.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/support/local_http_server.h"
#include "tests/support/temp_folder.h"
#include "update/http_client.h"

namespace norvane::update {
namespace {

using norvane::testing::LocalHttpServer;

UpdateEntry Entry(std::int32_t first, std::int32_t second, std::string model, std::string type, std::int32_t version) {
  UpdateEntry entry;
  entry.first = first;
  entry.second = second;
  entry.brand = "VEXOR";
  entry.model = std::move(model);
  entry.type = std::move(type);
  entry.version = version;
  return entry;
}

class UpdateQueryTest : public ::testing::Test {
 protected:
  // Requests to 127.0.0.1 never go through a proxy the machine may have set.
  norvane::testing::ScopedEnv noProxy_{"no_proxy", "127.0.0.1,localhost"};
  LocalHttpServer server_;
  std::string updates_ = server_.Url("/api/updates");
};

TEST_F(UpdateQueryTest, AppKeysJoinTheModelRowAndMarkTheReceiverLink) {
  EXPECT_EQ(BuildAppKey(Entry(1, 1, "ZR204A", "MS", 0x0102)), "VEXOR_1_ZR204A_MS_1");
  EXPECT_EQ(BuildAppKey(Entry(1, -1, "ZR204A", "MS", 0x0102)), "VEXOR_1_ZR204A_MS_-1");
  EXPECT_EQ(BuildAppKey(Entry(2, 1, "ZR109A_1", "R27 有线", 0x0101)), "VEXOR_2_ZR109A_1_R27 有线_1");
  EXPECT_EQ(BuildAppKey(Entry(0, 1, "ALL", "TQ80_BX2_BX1", 105)), "VEXOR_0_ALL_TQ80_BX2_BX1_1");
  EXPECT_EQ(BuildAppKey(Entry(1, 1, "ZR204A", "MS", 0)), "NULL") << "an unknown version has no key";
}

TEST_F(UpdateQueryTest, TheQueryIsAPostWithItsFieldsAndTheBodyWithItsTerminator) {
  server_.Serve("/api/updates", 200, R"({"name":"MS","version":"0103","version_name":"1.3","path":"x"})");
  (void)CheckForUpdate(updates_, "VEXOR_1_ZR204A_MS_1", 0x0102, true);
  ASSERT_EQ(server_.Requests().size(), 1u);
  const LocalHttpServer::Request request = server_.Requests()[0];
  EXPECT_EQ(request.method, "POST");
  EXPECT_EQ(request.path, "/api/updates");
  const std::string text = "app_key=VEXOR_1_ZR204A_MS_1&version=102";
  EXPECT_EQ(request.body, text + std::string(1, '\0'));
  EXPECT_EQ(request.body.size(), 40u);
  EXPECT_EQ(request.Header("Content-Length"), "40") << "the text length + 1, counted once";
  EXPECT_EQ(request.HeaderCount("Content-Length"), 1);
  EXPECT_EQ(request.Header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(request.Header("Accept"), "application/prs.Vexor.v1+json");
  EXPECT_EQ(request.Header("User-Agent"), "WinHTTP Client/1.0");
}

TEST_F(UpdateQueryTest, KeysAreSentAsUtf8WithTheirSpaceAndTheProgramInDecimal) {
  server_.Serve("/api/updates", 200, "{}");
  (void)CheckForUpdate(updates_, "VEXOR_1_ZR204A_MS_-1", 0x0102, true);
  (void)CheckForUpdate(updates_, "VEXOR_2_ZR109A_1_R27 有线_1", 0x0101, true);
  (void)CheckForUpdate(updates_, "VEXOR_0_ALL_TQ80_BX2_BX1_1", InstalledVersionFromText("1.0.5"), false);
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].body, std::string("app_key=VEXOR_1_ZR204A_MS_-1&version=102") + '\0');
  EXPECT_EQ(requests[1].body, std::string("app_key=VEXOR_2_ZR109A_1_R27 \xE6\x9C\x89\xE7\xBA\xBF_1&version=101") + '\0');
  EXPECT_EQ(requests[2].body, std::string("app_key=VEXOR_0_ALL_TQ80_BX2_BX1_1&version=105") + '\0');
}

TEST_F(UpdateQueryTest, FirmwareAnswersAreReadInHexadecimal) {
  server_.Serve("/api/updates", 200,
                R"({"name":"MS","version":"0103","version_name":"v1.3","path":"http://h/f.bin","device_id":2})");
  const UpdateInfo newer = CheckForUpdate(updates_, "k", 0x0102, true);
  EXPECT_EQ(newer.state, kStateNewer);
  EXPECT_EQ(newer.newVersion, "V0103");
  EXPECT_EQ(newer.currentVersion, "V0102");
  EXPECT_EQ(newer.downloadUrl, "http://h/f.bin");
  EXPECT_EQ(newer.deviceId, 2);
  EXPECT_EQ(newer.versionName, "v1.3");

  server_.Serve("/api/updates", 200, R"({"name":"MS","version":"0102","path":"x"})");
  const UpdateInfo same = CheckForUpdate(updates_, "k", 0x0102, true);
  EXPECT_EQ(same.state, kStateUpToDate);
  EXPECT_EQ(same.newVersion, "") << "nothing newer to show";
  EXPECT_EQ(same.currentVersion, "V0102");
}

TEST_F(UpdateQueryTest, ProgramAnswersAreDecimalAndShowTheVersionName) {
  server_.Serve("/api/updates", 200, R"({"name":"AP","version":"106","version_name":"1.0.6 beta"})");
  const UpdateInfo newer = CheckForUpdate(updates_, "k", 105, false);
  EXPECT_EQ(newer.state, kStateNewer);
  EXPECT_EQ(newer.newVersion, "1.0.6 beta");
  EXPECT_EQ(newer.currentVersion, "V105");
  EXPECT_EQ(InstalledVersionFromText("1.0.5"), 105);
  EXPECT_EQ(InstalledVersionFromText("two"), 0);
}

TEST_F(UpdateQueryTest, HostileAndBrokenAnswersReadAsNothingNewer) {
  struct Case {
    const char* what;
    LocalHttpServer::Response response;
  };
  const std::string huge = R"({"name":"MS","version":"FFFF","pad":")" + std::string(200 * 1024, 'x') + "\"}";
  const Case cases[] = {
      {"an array", {200, R"([{"name":"MS","version":"0999"}])"}},
      {"not JSON", {200, "<html>busy</html>"}},
      {"wrong types", {200, R"({"name":5,"version":"0999"})"}},
      {"a number for the version", {200, R"({"name":"MS","version":2457})"}},
      {"a 200 KB body", {200, huge}},
      {"an empty answer", {200, ""}},
      {"a redirect to a file", {302, "", {{"Location", "file:///etc/passwd"}}}},
  };
  for (const Case& c : cases) {
    server_.Serve("/api/updates", c.response);
    const UpdateInfo info = CheckForUpdate(updates_, "k", 0x0102, true);
    EXPECT_EQ(info.state, kStateUpToDate) << c.what;
    EXPECT_EQ(info.newVersion, "") << c.what;
    EXPECT_NE(info.name, std::string(kNoLinkServer)) << c.what << ": the server was reached";
  }
  // The body decides, whatever the status says.
  server_.Serve("/api/updates", 404, R"({"name":"MS","version":"0103"})");
  EXPECT_EQ(CheckForUpdate(updates_, "k", 0x0102, true).state, kStateNewer);
}

TEST_F(UpdateQueryTest, TheAnswerBufferIsNeverOverrun) {
  server_.Serve("/api/updates", 200, std::string(5000, 'a'));
  std::vector<char> buffer(101, '#');
  buffer.push_back('!');  // a guard byte after the buffer handed over
  const int got = HttpRequest("POST", updates_, {}, std::span<char>(buffer.data(), 101), false);
  EXPECT_EQ(got, 100);
  EXPECT_EQ(buffer[100], '\0');
  EXPECT_EQ(buffer[101], '!');
  EXPECT_EQ(GetLastHttpError(), kHttpAnswerTooLarge);
}

TEST_F(UpdateQueryTest, RequestsThatCannotBeMadeSaySo) {
  std::vector<char> buffer(64, '\0');
  EXPECT_EQ(HttpRequest("POST", "", {}, buffer, false), -1);
  EXPECT_EQ(GetLastHttpError(), kHttpEmptyUrl);
  EXPECT_EQ(HttpRequest("PUT", updates_, {}, buffer, false), -1);
  EXPECT_EQ(GetLastHttpError(), kHttpBadArgument);
  EXPECT_EQ(HttpRequest("get", "file:///etc/passwd", {}, buffer, false), -1);
  EXPECT_EQ(GetLastHttpError(), kHttpBadArgument);

  // A port nobody listens on: no request was sent.
  std::string closed;
  {
    LocalHttpServer gone;
    closed = gone.Url("/api/updates");
  }
  const UpdateInfo info = CheckForUpdate(closed, "k", 0x0102, true);
  EXPECT_EQ(info.name, std::string(kNoLinkServer));
  EXPECT_EQ(info.state, kStateUpToDate);
}

TEST_F(UpdateQueryTest, AStopEndsTheWaitForAServerThatNeverAnswers) {
  server_.Serve("/api/updates", {200, "", {}, LocalHttpServer::Behaviour::kNeverAnswer});
  std::stop_source stop;
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    stop.request_stop();
  });
  const auto started = std::chrono::steady_clock::now();
  const UpdateInfo info = CheckForUpdate(updates_, "k", 0x0102, true, stop.get_token());
  const auto took = std::chrono::steady_clock::now() - started;
  stopper.join();
  EXPECT_LT(took, std::chrono::milliseconds(1000)) << "the stop cut the 30 s receive limit short";
  EXPECT_EQ(info.state, kStateUpToDate);
}

TEST(VersionNumberTest, ReadsLikeTheServiceWritesAndClampsWhatOverflows) {
  EXPECT_EQ(ReadVersionNumber("0103", 16), 0x103);
  EXPECT_EQ(ReadVersionNumber("0x1A", 16), 0x1A);
  EXPECT_EQ(ReadVersionNumber("106", 10), 106);
  EXPECT_EQ(ReadVersionNumber(" 12abc", 10), 12);
  EXPECT_EQ(ReadVersionNumber("-5", 10), -5);
  EXPECT_EQ(ReadVersionNumber("", 16), 0);
  EXPECT_EQ(ReadVersionNumber("zz", 16), 0);
  EXPECT_EQ(ReadVersionNumber("FFFFFFFFFFFFFFFFFFFF", 16), 2147483647);
  EXPECT_EQ(ReadVersionNumber("-99999999999999999999", 10), -2147483647 - 1);
}

}  // namespace
}  // namespace norvane::update
