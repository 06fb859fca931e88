#include "update/http_client.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/ascii_text.h"

namespace norvane::update {
namespace {

std::mutex g_settings_mutex;
HttpSettings g_settings;

thread_local int t_last_error = kHttpNoError;
thread_local std::string t_last_error_text;

void SetLastError(int code, std::string text) {
  t_last_error = code;
  t_last_error_text = std::move(text);
}

// libcurl's global set-up is done once, before the first handle, whichever worker asks first.
bool CurlReady() {
  static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return ready;
}

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;

struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

bool IsWebUrl(std::string_view url) {
  return StartsWithIgnoringAsciiCase(url, "http://") || StartsWithIgnoringAsciiCase(url, "https://");
}

long SecondsAtLeastOne(std::chrono::milliseconds limit) {
  return std::max<long>(1, static_cast<long>((limit.count() + 999) / 1000));
}

int ProgressCallback(void* stopToken, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  // Non-zero aborts the transfer: a stop request ends every wait inside libcurl.
  return static_cast<const std::stop_token*>(stopToken)->stop_requested() ? 1 : 0;
}

// The options every transfer shares. `stop` must outlive the transfer.
void ApplyCommonOptions(CURL* easy, const HttpSettings& settings, bool namedProxy, const std::stop_token* stop,
                        char* errorBuffer) {
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer);
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 5L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(settings.connectTimeout.count()));
  // Sending and receiving: a transfer that moves nothing for that long has failed.
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME,
                   SecondsAtLeastOne(std::max(settings.sendTimeout, settings.receiveTimeout)));
  curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &ProgressCallback);
  curl_easy_setopt(easy, CURLOPT_XFERINFODATA, const_cast<std::stop_token*>(stop));
  if (namedProxy && !settings.namedProxy.empty()) {
    curl_easy_setopt(easy, CURLOPT_PROXY, settings.namedProxy.c_str());
    if (!settings.proxyUser.empty()) {
      curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, settings.proxyUser.c_str());
      if (!settings.proxyPassword.empty())
        curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, settings.proxyPassword.c_str());
    }
  }
}

// Runs the transfer through a multi handle so that a stop request wakes the wait at once instead of at
// libcurl's next progress call.
CURLcode Perform(CURL* easy, std::stop_token stop) {
  CURLM* multi = curl_multi_init();
  if (!multi) return CURLE_FAILED_INIT;
  CURLcode result = CURLE_FAILED_INIT;
  if (curl_multi_add_handle(multi, easy) == CURLM_OK) {
    {
      std::stop_callback wake(stop, [multi] { curl_multi_wakeup(multi); });
      int running = 1;
      bool finished = false;
      while (!finished) {
        if (stop.stop_requested()) {
          result = CURLE_ABORTED_BY_CALLBACK;
          break;
        }
        if (curl_multi_perform(multi, &running) != CURLM_OK) break;
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
          if (message->msg == CURLMSG_DONE && message->easy_handle == easy) {
            result = message->data.result;
            finished = true;
          }
        }
        if (finished || running == 0) break;
        if (curl_multi_poll(multi, nullptr, 0, 1000, nullptr) != CURLM_OK) break;
      }
    }
    curl_multi_remove_handle(multi, easy);
  }
  curl_multi_cleanup(multi);
  return result;
}

std::string CurlErrorText(CURLcode code, const char* errorBuffer) {
  std::string text = errorBuffer && errorBuffer[0] ? errorBuffer : curl_easy_strerror(code);
  return text;
}

// Where a request's answer goes: the caller's buffer, always leaving room for the terminating zero.
struct AnswerSink {
  std::span<char> buffer;
  std::size_t used = 0;
  bool tooLarge = false;
};

std::size_t WriteAnswer(char* data, std::size_t size, std::size_t count, void* user) {
  auto* sink = static_cast<AnswerSink*>(user);
  const std::size_t bytes = size * count;
  const std::size_t room = sink->buffer.size() - 1 - sink->used;
  const std::size_t taken = std::min(bytes, room);
  std::memcpy(sink->buffer.data() + sink->used, data, taken);
  sink->used += taken;
  if (taken < bytes) {
    sink->tooLarge = true;
    return 0;  // ends the transfer: the rest would not fit
  }
  return bytes;
}

}  // namespace

void ResetHttpSettings() {
  std::lock_guard lock(g_settings_mutex);
  g_settings = HttpSettings{};
}

HttpSettings GetHttpSettings() {
  std::lock_guard lock(g_settings_mutex);
  return g_settings;
}

void SetHttpSettings(HttpSettings settings) {
  for (std::string* text : {&settings.namedProxy, &settings.proxyUser, &settings.proxyPassword}) {
    if (text->size() > kMaxProxyText) text->resize(kMaxProxyText);
  }
  std::lock_guard lock(g_settings_mutex);
  g_settings = std::move(settings);
}

int GetLastHttpError() {
  return t_last_error;
}

std::string GetLastHttpErrorText() {
  return t_last_error_text;
}

int HttpRequest(std::string_view method, std::string_view url, std::span<const std::uint8_t> body,
                std::span<char> response, bool namedProxy, std::stop_token stop) {
  SetLastError(kHttpNoError, {});
  if (url.empty()) {
    SetLastError(kHttpEmptyUrl, "no address given");
    return -1;
  }
  const bool post = EqualsIgnoringAsciiCase(method, "POST");
  const bool get = EqualsIgnoringAsciiCase(method, "GET");
  if (!post && !get) {
    SetLastError(kHttpBadArgument, "method " + std::string(method) + " is not GET or POST");
    return -1;
  }
  if (!IsWebUrl(url)) {
    SetLastError(kHttpBadArgument, "only http and https addresses are used");
    return -1;
  }
  if (response.empty()) {
    SetLastError(kHttpBadArgument, "no room for an answer");
    return -1;
  }
  EasyHandle easy(CurlReady() ? curl_easy_init() : nullptr);
  if (!easy) {
    SetLastError(kHttpNoSession, "the HTTP client could not start");
    return -1;
  }
  const HttpSettings settings = GetHttpSettings();
  char errorBuffer[CURL_ERROR_SIZE] = {};
  ApplyCommonOptions(easy.get(), settings, namedProxy, &stop, errorBuffer);
  const std::string urlText(url);
  curl_easy_setopt(easy.get(), CURLOPT_URL, urlText.c_str());
  curl_easy_setopt(easy.get(), CURLOPT_USERAGENT, settings.userAgent.c_str());

  // Each field on its own line: a blank line inside the header block would end it early.
  curl_slist* fields = nullptr;
  for (const char* field : {"Content-Type: application/x-www-form-urlencoded",
                            "Accept: application/prs.Vexor.v1+json", "Expect:"}) {
    curl_slist* grown = curl_slist_append(fields, field);
    if (!grown) {
      curl_slist_free_all(fields);
      SetLastError(kHttpNoSession, "out of memory");
      return -1;
    }
    fields = grown;
  }
  const HeaderList headers(fields);
  curl_easy_setopt(easy.get(), CURLOPT_HTTPHEADER, headers.get());
  if (post) {
    static const char kEmpty[] = "";
    curl_easy_setopt(easy.get(), CURLOPT_POST, 1L);
    curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDS,
                     body.empty() ? kEmpty : reinterpret_cast<const char*>(body.data()));
    curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  } else {
    curl_easy_setopt(easy.get(), CURLOPT_HTTPGET, 1L);
  }
  AnswerSink sink{response};
  curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, &WriteAnswer);
  curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &sink);

  const CURLcode result = Perform(easy.get(), stop);
  long requestBytes = 0;
  curl_easy_getinfo(easy.get(), CURLINFO_REQUEST_SIZE, &requestBytes);
  if (result != CURLE_OK && requestBytes == 0 && !sink.tooLarge) {
    // Nothing reached a server: say so in the answer, as the caller expects.
    const std::size_t n = std::min(kNoLinkServer.size(), response.size() - 1);
    std::memcpy(response.data(), kNoLinkServer.data(), n);
    response[n] = '\0';
    if (stop.stop_requested()) {
      SetLastError(kHttpStopped, "stopped");
    } else {
      SetLastError(kHttpCurlErrorBase + static_cast<int>(result), CurlErrorText(result, errorBuffer));
    }
    return 0;
  }
  response[sink.used] = '\0';
  if (sink.tooLarge) {
    SetLastError(kHttpAnswerTooLarge, "the answer is longer than " + std::to_string(response.size() - 1) +
                                          " bytes and was cut there");
  } else if (result != CURLE_OK) {
    if (stop.stop_requested()) {
      SetLastError(kHttpStopped, "stopped");
    } else {
      SetLastError(kHttpCurlErrorBase + static_cast<int>(result), CurlErrorText(result, errorBuffer));
    }
  }
  return static_cast<int>(sink.used);
}

namespace {

// The file a download is written to while it runs.
struct PartFile {
  int fd = -1;
  std::filesystem::path path;
  ~PartFile() {
    if (fd >= 0) ::close(fd);
  }
};

struct DownloadSink {
  CURL* easy = nullptr;
  PartFile* part = nullptr;
  const DownloadProgress* progress = nullptr;
  bool headerSeen = false;
  std::int64_t total = -1;
  std::int64_t received = 0;
  std::string refusal;  // why the body was refused (status, size, write failure)
};

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

std::size_t WriteDownload(char* data, std::size_t size, std::size_t count, void* user) {
  auto* sink = static_cast<DownloadSink*>(user);
  const std::size_t bytes = size * count;
  if (!sink->headerSeen) {
    sink->headerSeen = true;
    long status = 0;
    curl_easy_getinfo(sink->easy, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) {
      sink->refusal = "the server answered with status " + std::to_string(status);
      return 0;
    }
    curl_off_t length = -1;
    curl_easy_getinfo(sink->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    sink->total = length >= 0 ? static_cast<std::int64_t>(length) : -1;
    if (sink->total > kMaxDownloadBytes) {
      sink->refusal = "the file is larger than the program accepts";
      return 0;
    }
  }
  if (sink->received + static_cast<std::int64_t>(bytes) > kMaxDownloadBytes) {
    sink->refusal = "the file is larger than the program accepts";
    return 0;
  }
  if (!WriteAll(sink->part->fd, data, bytes)) {
    sink->refusal = std::string("the file could not be written: ") + std::strerror(errno);
    return 0;
  }
  // One report per 1024 bytes read, as long as the file is not complete (completion is told once the file
  // is in place).
  constexpr std::int64_t kStep = 1024;
  const std::int64_t before = sink->received;
  sink->received += static_cast<std::int64_t>(bytes);
  if (sink->total > 0 && sink->progress && *sink->progress) {
    for (std::int64_t mark = (before / kStep + 1) * kStep; mark <= sink->received && mark < sink->total;
         mark += kStep) {
      (*sink->progress)(sink->total, mark);
    }
  }
  return bytes;
}

}  // namespace

DownloadResult DownloadFile(std::string_view url, const std::filesystem::path& file,
                            const DownloadProgress& progress, std::stop_token stop) {
  DownloadResult outcome;
  auto fail = [&](std::string why) {
    outcome.ok = false;
    outcome.error = std::move(why);
    outcome.stopped = stop.stop_requested();
    if (!outcome.stopped && progress) progress(0, outcome.received);
    return outcome;
  };
  if (!IsWebUrl(url)) return fail("only http and https addresses are downloaded");
  if (file.empty() || !file.has_filename()) return fail("no file name to download to");

  PartFile part;
  part.path = file;
  part.path += ".part";
  // A part left by an earlier run that ended abruptly is ours to replace; the new one is created afresh.
  ::unlink(part.path.c_str());
  part.fd = ::open(part.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (part.fd < 0) return fail("cannot create " + part.path.string() + ": " + std::strerror(errno));

  auto removePart = [&] {
    if (part.fd >= 0) ::close(part.fd);
    part.fd = -1;
    ::unlink(part.path.c_str());
  };

  EasyHandle easy(CurlReady() ? curl_easy_init() : nullptr);
  if (!easy) {
    removePart();
    return fail("the HTTP client could not start");
  }
  const HttpSettings settings = GetHttpSettings();
  char errorBuffer[CURL_ERROR_SIZE] = {};
  ApplyCommonOptions(easy.get(), settings, false, &stop, errorBuffer);
  const std::string urlText(url);
  curl_easy_setopt(easy.get(), CURLOPT_URL, urlText.c_str());
  curl_easy_setopt(easy.get(), CURLOPT_HTTPGET, 1L);
  DownloadSink sink;
  sink.easy = easy.get();
  sink.part = &part;
  sink.progress = &progress;
  curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, &WriteDownload);
  curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &sink);

  const CURLcode result = Perform(easy.get(), stop);
  outcome.total = sink.total;
  outcome.received = sink.received;
  if (stop.stop_requested()) {
    removePart();
    return fail("stopped");
  }
  if (!sink.refusal.empty()) {
    removePart();
    return fail(sink.refusal);
  }
  if (result != CURLE_OK) {
    removePart();
    return fail(CurlErrorText(result, errorBuffer));
  }
  if (!sink.headerSeen) {
    // A body-less answer: look at its status now.
    long status = 0;
    curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
    removePart();
    return fail(status >= 200 && status <= 299 ? "the server sent an empty file"
                                               : "the server answered with status " + std::to_string(status));
  }
  if (sink.received < 1 || (sink.total >= 0 && sink.received != sink.total)) {
    removePart();
    return fail("the download is incomplete (" + std::to_string(sink.received) + " of " +
                std::to_string(sink.total) + " bytes)");
  }
  if (::fsync(part.fd) != 0 || ::close(part.fd) != 0) {
    part.fd = -1;
    removePart();
    return fail(std::string("the file could not be written: ") + std::strerror(errno));
  }
  part.fd = -1;
  if (::rename(part.path.c_str(), file.c_str()) != 0) {
    const std::string why = std::strerror(errno);
    removePart();
    return fail("cannot move the download into place: " + why);
  }
  outcome.ok = true;
  if (progress) progress(sink.received, sink.received);
  return outcome;
}

}  // namespace norvane::update
