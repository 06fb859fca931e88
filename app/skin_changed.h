#pragma once
// The skin chooser's change notification: the chooser broadcasts a SkinChangedParam to every registered
// receiver (the main window), which repaints its "root" with it.

#include <algorithm>
#include <vector>

#include "uilib/dui_string.h"
#include "uilib/types.h"

namespace norvane::ui {
class CPaintManagerUI;
}

namespace norvane::app {

struct SkinChangedParam {
  bool useColor = false;   // true: bkColor is the background; false: bkImage is
  ui::DWORD bkColor = 0;   // 0xAARRGGBB
  ui::CDuiString bkImage;  // path relative to the skin folder, or an absolute path the user picked
};

template <class ReturnT, class ParamT>
class ReceiverImpl {
 public:
  virtual ReturnT Receive(ParamT param) = 0;

 protected:
  ~ReceiverImpl() = default;
};

// Receivers are not owned; a receiver removes itself before it goes away. UI thread only.
template <class ReturnT, class ParamT>
class ObserverImpl {
 public:
  void AddReceiver(ReceiverImpl<ReturnT, ParamT>* receiver) {
    if (receiver && std::find(receivers_.begin(), receivers_.end(), receiver) == receivers_.end())
      receivers_.push_back(receiver);
  }
  void RemoveReceiver(ReceiverImpl<ReturnT, ParamT>* receiver) { std::erase(receivers_, receiver); }
  // Every receiver gets the parameter, in registration order. A receiver may remove itself meanwhile.
  void Broadcast(const ParamT& param) {
    const std::vector<ReceiverImpl<ReturnT, ParamT>*> snapshot = receivers_;
    for (auto* receiver : snapshot) {
      if (std::find(receivers_.begin(), receivers_.end(), receiver) != receivers_.end())
        receiver->Receive(param);
    }
  }

 private:
  std::vector<ReceiverImpl<ReturnT, ParamT>*> receivers_;
};

using SkinChangedReceiver = ReceiverImpl<int, SkinChangedParam>;
// The process-wide sender the main window registers with (and removes itself from when it goes).
ObserverImpl<int, SkinChangedParam>& SkinChangedObserver();

// What the main window's receiver does: its control "root" gets the colour and no image, or no colour and
// the image.
void ApplySkinChange(ui::CPaintManagerUI& manager, const SkinChangedParam& param);

}  // namespace norvane::app
