#include "emulator/memory_file_writer.h"

#include <utility>

#include "platform/atomic_file.h"
#include "platform/trace.h"
#include "platform/xdg_paths.h"

namespace norvane::emulator {

MemoryFileWriter::MemoryFileWriter(std::filesystem::path file)
    : file_(std::move(file)), thread_([this](std::stop_token stop) { Run(std::move(stop)); }) {}

MemoryFileWriter::~MemoryFileWriter() = default;  // the thread's stop request ends Run after its last write

void MemoryFileWriter::Post(std::vector<StoredDevice> devices) {
  std::lock_guard lock(mutex_);
  pending_ = std::move(devices);
  ++posted_;
  changed_.notify_all();
}

void MemoryFileWriter::Flush() {
  std::unique_lock lock(mutex_);
  const uint64_t target = posted_;
  changed_.wait(lock, [&] { return written_ >= target; });
}

void MemoryFileWriter::Run(std::stop_token stop) {
  std::unique_lock lock(mutex_);
  while (true) {
    // Once stopping, this returns at once: with the last post still to write, or with nothing left.
    if (!changed_.wait(lock, stop, [&] { return pending_.has_value(); })) return;
    const std::vector<StoredDevice> devices = std::move(*pending_);
    pending_.reset();
    const uint64_t generation = posted_;
    lock.unlock();
    Write(devices);
    lock.lock();
    written_ = generation;
    changed_.notify_all();
  }
}

void MemoryFileWriter::Write(const std::vector<StoredDevice>& devices) {
  std::string text = FormatMemoryFile(devices);
  if (text == last_text_) return;  // the command wrote what the memory held already
  const std::filesystem::path folder = file_.parent_path();
  FileResult result = FileResult::Success();
  if (!folder.empty() && !EnsureFolder(folder)) {
    result = FileResult::Failure("the folder " + folder.string() + " cannot be created");
  } else {
    result = WriteFileAtomically(file_, text);
  }
  if (!result) {
    Trace("emulator: the devices' memory is not kept: " + result.error);
    return;
  }
  last_text_ = std::move(text);
}

}  // namespace norvane::emulator
