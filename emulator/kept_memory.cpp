// The emulator's side of the memory file: under which name each device's memory is stored, loading the file
// into the devices, and handing their memory to the writer after each change.

#include <algorithm>
#include <system_error>
#include <utility>

#include "emulator/emulator_core.h"
#include "platform/atomic_file.h"

namespace norvane::emulator {
namespace {

// An area that still holds what the device left the factory with is not stored, which keeps the file small.
const DeviceMemory& FactoryMemory(DeviceFamily family) {
  static const DeviceMemory keyboard(DeviceFamily::kKeyboard);
  static const DeviceMemory mouse(DeviceFamily::kMouse);
  static const DeviceMemory pad(DeviceFamily::kMousePad);
  static const DeviceMemory headset(DeviceFamily::kHeadset);
  switch (family) {
    case DeviceFamily::kKeyboard:
      return keyboard;
    case DeviceFamily::kMouse:
      return mouse;
    case DeviceFamily::kMousePad:
      return pad;
    case DeviceFamily::kHeadset:
      return headset;
  }
  return keyboard;
}

struct Owner {
  size_t index = 0;
  int rank = 0;  // among the list's devices of the same model
};

// The devices whose memory is stored under their own name: all but a receiver that reaches a wired device
// of the list, whose memory is that device's and is stored under the wired device's name. So a setting made
// through the receiver is on the keyboard in a run without the receiver.
std::vector<Owner> MemoryOwners(const std::vector<EmulatedDevice>& devices) {
  std::vector<Owner> owners;
  for (size_t index = 0; index < devices.size(); ++index) {
    const EmulatedDevice& device = devices[index];
    const auto same_model = [&](const EmulatedDevice& other) { return other.model == device.model; };
    const int rank = static_cast<int>(std::count_if(devices.begin(), devices.begin() + index, same_model));
    const bool reaches_wired = device.identity->receiver &&
                               std::any_of(devices.begin(), devices.end(), [&](const EmulatedDevice& other) {
                                 return !other.identity->receiver && other.memory == device.memory;
                               });
    if (!reaches_wired) owners.push_back(Owner{index, rank});
  }
  return owners;
}

struct FileContent {
  std::vector<StoredDevice> devices;
  std::string problem;
};

FileContent ReadMemoryFile(const std::filesystem::path& file) {
  FileContent content;
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  if (!std::filesystem::exists(status)) return content;
  const std::string name = "the emulated devices' memory file " + file.string();
  if (!std::filesystem::is_regular_file(status)) {
    content.problem = name + " is not a regular file; the devices start from factory memory";
    return content;
  }
  ParsedMemoryFile parsed;
  std::string text;
  if (std::filesystem::file_size(file, error) > kMaxMemoryFileBytes && !error) {
    parsed.problem = "it is larger than " + std::to_string(kMaxMemoryFileBytes) + " bytes";
  } else if (!ReadWholeFile(file, text)) {
    content.problem = name + " cannot be read; the devices start from factory memory";
    return content;
  } else {
    parsed = ParseMemoryFile(text);
  }
  switch (parsed.verdict) {
    case MemoryFileVerdict::kRead:
      content.devices = std::move(parsed.devices);
      return content;
    case MemoryFileVerdict::kOtherVersion:
      content.problem =
          name + " is from another version of the program; the devices start from factory memory";
      return content;
    case MemoryFileVerdict::kDamaged:
      break;
  }
  const std::filesystem::path kept = SetAside(file, ".malformed");
  content.problem = name + " is damaged (" + parsed.problem + "); the devices start from factory memory";
  content.problem += kept.empty() ? " and it will be replaced" : " and it was kept as " + kept.string();
  return content;
}

}  // namespace

std::string EmulatorCore::KeepMemoryIn(const std::filesystem::path& file) {
  FileContent content = ReadMemoryFile(file);
  auto writer = std::make_shared<MemoryFileWriter>(file);
  {
    std::lock_guard lock(mutex_);
    const std::vector<Owner> owners = MemoryOwners(devices_);
    std::vector<StoredDevice> elsewhere;
    for (StoredDevice& stored : content.devices) {
      const auto owner = std::find_if(owners.begin(), owners.end(), [&](const Owner& candidate) {
        return devices_[candidate.index].model == stored.model && candidate.rank == stored.rank;
      });
      if (owner == owners.end()) {
        elsewhere.push_back(std::move(stored));
        continue;
      }
      DeviceMemory& memory = *devices_[owner->index].memory;
      for (const auto& [area, bytes] : stored.areas) {
        // Another size is another firmware's layout or a damaged line: the device keeps its factory area.
        const std::span<uint8_t> target = memory.Area(area);
        if (IsKeptArea(area) && bytes.size() == target.size()) {
          std::copy(bytes.begin(), bytes.end(), target.begin());
        }
      }
    }
    stored_elsewhere_ = std::move(elsewhere);
    std::swap(memory_writer_, writer);
  }
  writer.reset();  // an earlier file's writer finishes its last write outside the lock
  return content.problem;
}

void EmulatorCore::FlushMemoryFile() {
  std::shared_ptr<MemoryFileWriter> writer;
  {
    std::lock_guard lock(mutex_);
    writer = memory_writer_;
  }
  if (writer) writer->Flush();
}

void EmulatorCore::KeptMemoryChangedLocked() {
  if (memory_writer_) memory_writer_->Post(StoredDevicesLocked());
}

std::vector<StoredDevice> EmulatorCore::StoredDevicesLocked() const {
  std::vector<StoredDevice> stored;
  for (const Owner& owner : MemoryOwners(devices_)) {
    const EmulatedDevice& device = devices_[owner.index];
    const DeviceMemory& memory = *device.memory;
    const DeviceMemory& factory = FactoryMemory(device.identity->family);
    StoredDevice entry{device.model, owner.rank, {}};
    for (const MemoryArea area : kKeptAreas) {
      const std::span<const uint8_t> bytes = memory.Area(area);
      if (!std::ranges::equal(bytes, factory.Area(area))) {
        entry.areas.emplace_back(area, std::vector(bytes.begin(), bytes.end()));
      }
    }
    if (!entry.areas.empty()) stored.push_back(std::move(entry));
  }
  stored.insert(stored.end(), stored_elsewhere_.begin(), stored_elsewhere_.end());
  return stored;
}

}  // namespace norvane::emulator
