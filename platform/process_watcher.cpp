#include "platform/process_watcher.h"

#include <linux/cn_proc.h>
#include <linux/connector.h>
#include <linux/netlink.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/trace.h"

namespace norvane {
namespace {

constexpr std::chrono::milliseconds kConnectorAckWait{250};
constexpr int kConnectorBufferBytes = 1 << 20;
constexpr std::chrono::seconds kYoungFor{3};
// Process starts come in bursts (a build, a launcher's helpers): one look for a burst.
constexpr std::chrono::milliseconds kMinRescanGap{200};

// Asks the kernel to start (or stop) sending process events: a netlink header, a connector message and
// the operation, back to back.
bool SendConnectorRequest(int fd, proc_cn_mcast_op op) {
  constexpr std::size_t kSize = sizeof(nlmsghdr) + sizeof(cn_msg) + sizeof(proc_cn_mcast_op);
  alignas(nlmsghdr) char request[kSize] = {};
  auto* header = reinterpret_cast<nlmsghdr*>(request);
  header->nlmsg_len = kSize;
  header->nlmsg_type = NLMSG_DONE;
  header->nlmsg_pid = static_cast<__u32>(getpid());
  auto* message = reinterpret_cast<cn_msg*>(request + sizeof(nlmsghdr));
  message->id.idx = CN_IDX_PROC;
  message->id.val = CN_VAL_PROC;
  message->len = sizeof(proc_cn_mcast_op);
  std::memcpy(request + sizeof(nlmsghdr) + sizeof(cn_msg), &op, sizeof op);
  return ::send(fd, request, kSize, 0) == static_cast<ssize_t>(kSize);
}

// Process ids from the kernel's events are those of the first pid namespace: inside a nested one they name
// other processes than /proc does.
bool InFirstPidNamespace() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (!line.starts_with("NSpid:")) continue;
    std::istringstream fields(line.substr(6));
    int count = 0;
    for (std::string pid; fields >> pid;) ++count;
    return count == 1;
  }
  return true;  // kernels without the line have no nested namespaces to speak of
}

// The last process id handed out (the fifth field of loadavg); empty when it cannot be read.
std::string LastPidMark(const std::filesystem::path& procRoot) {
  std::ifstream in(procRoot / "loadavg");
  std::string field;
  for (int i = 0; i < 5 && in >> field; ++i) {
  }
  return in ? field : std::string();
}

// Calls `onEvent` with each process event of what one receive got, reading no further than that: a message
// whose lengths do not fit what arrived ends the walk.
template <class OnEvent>
void ForEachProcessEvent(const char* buffer, std::size_t got, OnEvent onEvent) {
  constexpr std::size_t kHeaderBytes = NLMSG_ALIGN(sizeof(nlmsghdr));
  std::size_t left = got;
  const char* at = buffer;
  while (left >= sizeof(nlmsghdr)) {
    nlmsghdr header;
    std::memcpy(&header, at, sizeof header);
    if (header.nlmsg_len < kHeaderBytes || header.nlmsg_len > left) return;
    const std::size_t payload = header.nlmsg_len - kHeaderBytes;
    if (payload >= sizeof(cn_msg) + sizeof(proc_event)) {
      const auto* message = reinterpret_cast<const cn_msg*>(at + kHeaderBytes);
      if (message->id.idx == CN_IDX_PROC && message->len >= sizeof(proc_event) &&
          message->len <= payload - sizeof(cn_msg)) {
        // The event follows a 20-byte header: copied out, since it wants 8-byte alignment.
        proc_event event;
        std::memcpy(&event, message->data, sizeof event);
        onEvent(event);
      }
    }
    const std::size_t step = NLMSG_ALIGN(header.nlmsg_len);
    if (step >= left) return;
    left -= step;
    at += step;
  }
}

int OpenPidFd(int pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
  (void)pid;
  errno = ENOSYS;
  return -1;
#endif
}

}  // namespace

ProcessWatcher::ProcessWatcher(Options options, Listener listener)
    : options_(std::move(options)), listener_(std::move(listener)) {}

ProcessWatcher::~ProcessWatcher() {
  Stop();
}

void ProcessWatcher::SetPrograms(std::vector<std::string> programs) {
  {
    std::lock_guard lock(programsMutex_);
    programs_ = std::move(programs);
  }
  programsDirty_ = true;
  if (wakeFd_ >= 0) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
  }
}

bool ProcessWatcher::Start() {
  if (thread_.joinable()) return true;
  wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wakeFd_ < 0) return false;
  stopping_ = false;
  programsDirty_ = true;
  thread_ = std::thread([this] { Run(); });
  return true;
}

void ProcessWatcher::Stop() {
  if (!thread_.joinable()) return;
  stopping_ = true;
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
  thread_.join();
  ::close(wakeFd_);
  wakeFd_ = -1;
}

bool ProcessWatcher::ProgramsChanged() {
  if (!programsDirty_.exchange(false)) return false;
  std::lock_guard lock(programsMutex_);
  threadPrograms_ = programs_;
  return true;
}

bool ProcessWatcher::Matches(const ProcessInfo& info) const {
  for (const std::string& program : threadPrograms_) {
    if (ProgramMatches(program, info)) return true;
  }
  return false;
}

void ProcessWatcher::Run() {
  ProgramsChanged();
  const bool connector = options_.tryConnector && OpenConnector();
  backend_ = connector ? Backend::kConnector : Backend::kScan;
  Trace(std::string("process watcher: ") +
        (connector ? "kernel process events" : "scanning " + options_.procRoot.string()));
  lastPidMark_ = LastPidMark(options_.procRoot);
  if (!threadPrograms_.empty()) FullScan();
  Report();
  Loop();
  CloseConnector();
  for (const auto& [pid, fd] : endFds_) ::close(fd);
  endFds_.clear();
  Trace("process watcher: ended");
}

bool ProcessWatcher::OpenConnector() {
  if (!InFirstPidNamespace()) return false;
  connectorFd_ = ::socket(PF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_CONNECTOR);
  if (connectorFd_ < 0) return false;
  sockaddr_nl address{};
  address.nl_family = AF_NETLINK;
  address.nl_groups = CN_IDX_PROC;
  const int size = kConnectorBufferBytes;
  // A burst of process starts must not overflow the socket; the privileged call may go further.
  if (::setsockopt(connectorFd_, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) != 0) {
    ::setsockopt(connectorFd_, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
  }
  if (::bind(connectorFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      !SendConnectorRequest(connectorFd_, PROC_CN_MCAST_LISTEN)) {
    CloseConnector();
    return false;
  }
  // The kernel answers the request; a user without the right gets its refusal (or no answer at all).
  const auto deadline = std::chrono::steady_clock::now() + kConnectorAckWait;
  alignas(nlmsghdr) char buffer[4096];
  while (true) {
    const auto remaining =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd wait{connectorFd_, POLLIN, 0};
    if (remaining.count() <= 0 || ::poll(&wait, 1, static_cast<int>(remaining.count())) <= 0) break;
    const ssize_t got = ::recv(connectorFd_, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    std::optional<std::uint32_t> answer;
    ForEachProcessEvent(buffer, static_cast<std::size_t>(got), [&](const proc_event& event) {
      if (event.what == proc_event::PROC_EVENT_NONE && !answer) answer = event.event_data.ack.err;
    });
    if (!answer) continue;
    if (*answer == 0) return true;
    Trace("process watcher: the kernel refused its process events (" +
          std::string(std::strerror(static_cast<int>(*answer))) + ")");
    CloseConnector();
    return false;
  }
  CloseConnector();
  return false;
}

void ProcessWatcher::CloseConnector() {
  if (connectorFd_ < 0) return;
  SendConnectorRequest(connectorFd_, PROC_CN_MCAST_IGNORE);
  ::close(connectorFd_);
  connectorFd_ = -1;
}

bool ProcessWatcher::DrainConnector() {
  alignas(nlmsghdr) char buffer[8192];
  bool started = false;
  while (true) {
    const ssize_t got = ::recv(connectorFd_, buffer, sizeof buffer, MSG_DONTWAIT);
    if (got < 0) {
      // Events were lost: something may have started.
      if (errno == ENOBUFS) {
        started = true;
        continue;
      }
      return started;
    }
    if (got == 0) return started;
    ForEachProcessEvent(buffer, static_cast<std::size_t>(got), [&](const proc_event& event) {
      if (event.what == proc_event::PROC_EVENT_EXEC) started = true;
      // A new process (not a thread) may be a copy of a watched one.
      if (event.what == proc_event::PROC_EVENT_FORK &&
          event.event_data.fork.child_pid == event.event_data.fork.child_tgid) {
        started = true;
      }
    });
  }
}

void ProcessWatcher::Loop() {
  using Clock = std::chrono::steady_clock;
  auto nextLook = Clock::now() + options_.scanInterval;
  // A look the kernel's events asked for; never closer to the last one than kMinRescanGap.
  bool asked = false;
  Clock::time_point askedFor{};
  Clock::time_point lastRescan = Clock::now();
  while (!stopping_) {
    if (threadPrograms_.empty()) {
      if (!Rest()) return;
      nextLook = Clock::now() + options_.scanInterval;
      asked = false;
      lastRescan = Clock::now();
      continue;
    }
    std::vector<pollfd> fds;
    fds.push_back({wakeFd_, POLLIN, 0});
    if (connectorFd_ >= 0) fds.push_back({connectorFd_, POLLIN, 0});
    const std::size_t firstEnd = fds.size();
    std::vector<int> pids;
    for (const auto& [pid, fd] : endFds_) {
      fds.push_back({fd, POLLIN, 0});
      pids.push_back(pid);
    }
    const Clock::time_point due = asked ? std::min(askedFor, nextLook) : nextLook;
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now());
    if (::poll(fds.data(), fds.size(), static_cast<int>(std::max<std::int64_t>(0, wait.count()))) < 0 &&
        errno != EINTR) {
      return;
    }
    if (fds[0].revents & POLLIN) {
      std::uint64_t count = 0;
      [[maybe_unused]] const ssize_t got = ::read(wakeFd_, &count, sizeof count);
      if (stopping_) return;
      if (ProgramsChanged()) {
        FullScan();
        Report();
      }
    }
    if (connectorFd_ >= 0 && (fds[1].revents & (POLLIN | POLLERR)) && DrainConnector() && !asked) {
      asked = true;
      askedFor = std::max(Clock::now(), lastRescan + kMinRescanGap);
    }
    bool ended = false;
    for (std::size_t i = firstEnd; i < fds.size(); ++i) {
      if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      const int pid = pids[i - firstEnd];
      matching_.erase(pid);
      known_.erase(pid);
      ended = true;
    }
    if (ended) Report();

    const Clock::time_point now = Clock::now();
    bool look = false;
    if (asked && now >= askedFor) {
      asked = false;
      look = true;
    } else if (now >= nextLook) {
      // Without the kernel's events: something was started when the last process id moved. Either way a
      // young process is read again, and a watched one whose end no descriptor tells is looked for.
      const std::string mark = LastPidMark(options_.procRoot);
      const bool moved = connectorFd_ < 0 && (mark.empty() || mark != lastPidMark_);
      look = moved || !young_.empty() || endFds_.size() != matching_.size();
      nextLook = now + options_.scanInterval;
    }
    if (!look) continue;
    lastPidMark_ = LastPidMark(options_.procRoot);
    lastRescan = now;
    nextLook = now + options_.scanInterval;
    Rescan();
    Report();
  }
}

bool ProcessWatcher::Rest() {
  // Nothing is known while nothing is watched; what was watched has ended as far as the listener cares.
  CloseConnector();
  known_.clear();
  young_.clear();
  matching_.clear();
  Report();
  while (!stopping_) {
    pollfd wake{wakeFd_, POLLIN, 0};
    if (::poll(&wake, 1, -1) < 0 && errno != EINTR) return false;
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = ::read(wakeFd_, &count, sizeof count);
    if (stopping_) return false;
    if (!ProgramsChanged() || threadPrograms_.empty()) continue;
    // Listening again where the kernel allowed it at the start; a refusal now falls back to the scan.
    if (backend_ == Backend::kConnector && !OpenConnector()) backend_ = Backend::kScan;
    lastPidMark_ = LastPidMark(options_.procRoot);
    FullScan();
    Report();
    return true;
  }
  return false;
}

void ProcessWatcher::FullScan() {
  ++fullScans_;
  known_.clear();
  young_.clear();
  for (const int pid : ListProcessIds(options_.procRoot)) {
    if (std::optional<ProcessInfo> info = ReadProcessInfo(options_.procRoot, pid))
      known_[pid] = std::move(*info);
  }
  Refilter();
}

void ProcessWatcher::Rescan() {
  ++fullScans_;
  const auto now = std::chrono::steady_clock::now();
  std::erase_if(young_, [&](const auto& entry) { return entry.second <= now; });
  std::set<int> present;
  for (const int pid : ListProcessIds(options_.procRoot)) {
    present.insert(pid);
    const bool isNew = !known_.contains(pid);
    // A young process may have replaced its program (a launcher's exec) since it was read.
    if (!isNew && !young_.contains(pid)) continue;
    if (std::optional<ProcessInfo> info = ReadProcessInfo(options_.procRoot, pid)) {
      known_[pid] = std::move(*info);
      if (isNew) young_[pid] = now + kYoungFor;
    }
  }
  std::erase_if(known_, [&](const auto& entry) { return !present.contains(entry.first); });
  std::erase_if(young_, [&](const auto& entry) { return !present.contains(entry.first); });
  Refilter();
}

void ProcessWatcher::Refilter() {
  matching_.clear();
  for (const auto& [pid, info] : known_) {
    if (Matches(info)) matching_[pid] = info;
  }
}

void ProcessWatcher::WatchEnds() {
  // Only for real processes: a test's made-up /proc has none to open.
  if (options_.procRoot != "/proc") return;
  for (auto it = endFds_.begin(); it != endFds_.end();) {
    if (matching_.contains(it->first)) {
      ++it;
      continue;
    }
    ::close(it->second);
    it = endFds_.erase(it);
  }
  for (const auto& [pid, info] : matching_) {
    if (endFds_.contains(pid)) continue;
    const int fd = OpenPidFd(pid);
    if (fd >= 0) endFds_[pid] = fd;
  }
}

void ProcessWatcher::Report() {
  WatchEnds();
  if (reportedOnce_ && matching_ == reported_) return;
  reportedOnce_ = true;
  reported_ = matching_;
  std::vector<ProcessInfo> running;
  running.reserve(matching_.size());
  for (const auto& [pid, info] : matching_) running.push_back(info);
  if (listener_) listener_(running);
}

}  // namespace norvane
