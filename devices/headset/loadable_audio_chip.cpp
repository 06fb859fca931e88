#include "devices/headset/loadable_audio_chip.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "devices/headset/audio_chip_sdk.h"
#include "platform/trace.h"

namespace norvane::devices::headset {
namespace {

constexpr const char* kLibraryName = "libaudiochipconf.so";

class LoadableAudioChip : public AudioChip {
 public:
  LoadableAudioChip(void* handle, std::filesystem::path file) : handle_(handle), file_(std::move(file)) {
    init_ = Resolve<ConfLibInitFn>("ConfLibInit");
    createList_ = Resolve<CreateDeviceListFn>("CreateDeviceList");
    count_ = Resolve<GetDeviceCountFn>("GetDeviceCount");
    byId_ = Resolve<GetDeviceByIdFn>("GetDeviceById");
    property_ = Resolve<PropertyControlFn>("PropertyControl");
    uninit_ = Resolve<ConfLibUnInitFn>("ConfLibUnInit");
  }
  ~LoadableAudioChip() override {
    if (started_ && uninit_) uninit_();
    dlclose(handle_);
  }
  LoadableAudioChip(const LoadableAudioChip&) = delete;
  LoadableAudioChip& operator=(const LoadableAudioChip&) = delete;

  bool IsComplete() const { return init_ && createList_ && count_ && byId_ && property_; }

  int ConfLibInit() override {
    const int result = init_();
    started_ = result == kAudioOk;
    return result;
  }
  int CreateDeviceList() override { return createList_(); }
  int GetDeviceCount(AudioDirection direction, std::int32_t& count) override {
    std::int32_t answered = -1;
    const int result = count_(static_cast<std::int32_t>(direction), &answered);
    if (result != kAudioOk) return result;
    if (answered < 0) return kAudioFailed;
    count = answered;
    return result;
  }
  int GetDeviceById(AudioDirection direction, std::int32_t index, AudioDeviceWords& device) override {
    AudioChipDevice answered{};
    const int result = byId_(static_cast<std::int32_t>(direction), index, &answered);
    if (result == kAudioOk) device = {answered.id, answered.type, answered.reserved, answered.state};
    return result;
  }
  int PropertyControl(const AudioDeviceWords& device, std::string_view property, PropertyAccess access,
                      PropertyBuffer& value, PropertyBuffer& second) override {
    const AudioChipDevice asked{device.id, device.type, device.reserved, device.state};
    const std::string name(property);
    const int result = property_(&asked, name.c_str(), static_cast<std::int32_t>(access), value.data(), second.data(),
                                 static_cast<std::uint32_t>(kPropertyBufferSize));
    // A text that runs to the end of the buffer ends there.
    value.back() = 0;
    second.back() = 0;
    return result;
  }
  std::string Describe() const override { return "audio chip library " + file_.string(); }

 private:
  template <class Fn>
  Fn Resolve(const char* name) {
    return reinterpret_cast<Fn>(dlsym(handle_, name));
  }

  void* handle_;
  std::filesystem::path file_;
  bool started_ = false;
  ConfLibInitFn init_ = nullptr;
  CreateDeviceListFn createList_ = nullptr;
  GetDeviceCountFn count_ = nullptr;
  GetDeviceByIdFn byId_ = nullptr;
  PropertyControlFn property_ = nullptr;
  ConfLibUnInitFn uninit_ = nullptr;
};

std::filesystem::path ProgramFolder() {
  std::string buffer(PATH_MAX, '\0');
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0) return {};
  buffer.resize(static_cast<std::size_t>(length));
  return std::filesystem::path(buffer).parent_path();
}

}  // namespace

std::filesystem::path DefaultAudioChipLibrary() {
  const std::filesystem::path folder = ProgramFolder();
  return folder.empty() ? std::filesystem::path() : folder / "SDK" / kLibraryName;
}

std::shared_ptr<AudioChip> LoadAudioChipLibrary(const std::filesystem::path& file) {
  std::error_code error;
  if (file.empty() || !std::filesystem::is_regular_file(file, error)) return nullptr;
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    Trace("headset audio: " + file.string() + " could not be loaded: " + (why ? why : "unknown"));
    return nullptr;
  }
  auto chip = std::make_shared<LoadableAudioChip>(handle, file);
  if (!chip->IsComplete()) {
    Trace("headset audio: " + file.string() + " lacks an entry point; it is not used");
    return nullptr;
  }
  return chip;
}

}  // namespace norvane::devices::headset
