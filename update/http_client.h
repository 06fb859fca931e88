#pragma once
// The program's small HTTP client, on libcurl: one request with a bounded answer, and one download to a
// file with progress. Both run synchronously on the calling worker thread and end at once when the
// caller's stop token is triggered.
//
// What every request does: only http and https, also for redirects (at most five); TLS certificates
// verified; the proxy from the environment (http_proxy, https_proxy, no_proxy, by libcurl's own rules)
// unless a named proxy is asked for; connecting may take 60 s, and a transfer that moves no byte for 30 s
// (the send and receive limits) fails.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>

namespace norvane::update {

// Process-wide settings of the client. ResetHttpSettings restores these defaults before every update
// query.
struct HttpSettings {
  std::string userAgent = "WinHTTP Client/1.0";
  std::chrono::milliseconds resolveTimeout{0};  // 0: no limit of its own (the connect limit covers it)
  std::chrono::milliseconds connectTimeout{60000};
  std::chrono::milliseconds sendTimeout{30000};
  std::chrono::milliseconds receiveTimeout{30000};
  // Used only by requests that ask for the named proxy; at most kMaxProxyText characters each.
  std::string namedProxy;
  std::string proxyUser;
  std::string proxyPassword;
};
inline constexpr std::size_t kMaxProxyText = 260;

void ResetHttpSettings();
[[nodiscard]] HttpSettings GetHttpSettings();
// Longer proxy texts are cut to kMaxProxyText.
void SetHttpSettings(HttpSettings settings);

// Error codes kept by the client (per thread, like the system's last error). Codes from libcurl are
// kHttpCurlErrorBase + the CURLcode.
enum HttpError : int {
  kHttpNoError = 0,
  kHttpEmptyUrl = 3,
  kHttpNoSession = 8,
  kHttpBadArgument = 87,
  kHttpAnswerTooLarge = 9000,
  kHttpStopped = 9001,
  kHttpCurlErrorBase = 10000,
};
[[nodiscard]] int GetLastHttpError();
// A short English sentence for the trace; empty after success.
[[nodiscard]] std::string GetLastHttpErrorText();

// What the response buffer holds after a request that could not be sent at all.
inline constexpr std::string_view kNoLinkServer = "NO_LINK_SERVER";

// Sends one request. `method` is "GET" or "POST" in any case; the body goes with POST only. Its header
// carries Content-Type "application/x-www-form-urlencoded", Accept "application/prs.Vexor.v1+json" and the
// user agent as fields of their own, and a Content-Length of body.size().
//
// The answer's body is copied into `response`, at most response.size() - 1 bytes followed by a zero byte
// (the rest of the buffer is left as it was); a longer answer is cut there and the transfer ends (last
// error kHttpAnswerTooLarge). The status code is not looked at: the body decides.
//
// Result: the number of answer bytes copied. When no request could be sent (no connection, refused, TLS
// failure, stopped before sending), `response` starts with kNoLinkServer and the result is 0. -1 for an
// empty URL (kHttpEmptyUrl), another method, a URL that is not http or https, an empty response buffer
// (kHttpBadArgument) or a client that cannot start (kHttpNoSession).
[[nodiscard]] int HttpRequest(std::string_view method, std::string_view url, std::span<const std::uint8_t> body,
                              std::span<char> response, bool namedProxy, std::stop_token stop = {});

// Downloads beyond this size are refused: no file the update service hands out comes near it.
inline constexpr std::int64_t kMaxDownloadBytes = std::int64_t{1} << 30;

// Told the progress of a download: (total, received) after every 1024 bytes while received < total, when
// the total is known; (total, total) once the file is complete and in place (for an unknown length the
// total is then the bytes received); (0, received) when it failed. Nothing after a stop.
using DownloadProgress = std::function<void(std::int64_t total, std::int64_t received)>;

struct DownloadResult {
  bool ok = false;
  bool stopped = false;
  std::int64_t total = 0;  // the announced length; -1 when the server did not announce one
  std::int64_t received = 0;
  std::string error;  // why it failed, for the trace
};

// Fetches `url` (GET) into `file`. The bytes go to `file` + ".part", created anew (never through a link,
// never over another's file) with mode 0600; only a complete answer is renamed to `file`: a 2xx status and
// the announced length, or at least one byte when no length was announced. On failure or stop the part
// file is removed and `file` is left as it was. The folder must exist and should be private to the user
// (PreparePrivateFolder).
DownloadResult DownloadFile(std::string_view url, const std::filesystem::path& file,
                            const DownloadProgress& progress, std::stop_token stop = {});

}  // namespace norvane::update
