#pragma once
// What a device tab needs from the device page it drives. The page implements this; the tab holds it
// without owning it, and the page clears the link (CDeviceOptionUI::SetPage(nullptr)) before it goes.

namespace norvane::controls {

class CDeviceOptionUI;

// Who wants a page's frames now.
enum class FramesFor {
  kNobody,   // the preview cannot be seen and the device takes none
  kPreview,  // only the preview: a frame per lighting tick is enough
  kDevice,   // the device takes them (a streamed effect): at the link's pace
};

class IDeviceTabPage {
 public:
  // The page's command channel is open (the device is attached).
  virtual bool IsChannelOpen() const = 0;
  // The channel reaches the device through its 2.4 GHz receiver (otherwise wired).
  virtual bool IsReceiverLink() const = 0;
  // The page's device can report a wireless status (battery, link).
  virtual bool IsWirelessCapable() const = 0;

  // The first synchronisation after the device was attached.
  virtual void InitialSync() = 0;
  // Reads the device's settings again after it reported a change.
  virtual void Resync() = 0;
  // Who wants frames now. The tab presents no frame that nobody wants; it asks again now and then, and the
  // page wakes it (PresentSoon) when its preview shows again.
  virtual FramesFor NeedsFrames() = 0;
  // Presents the current lighting frame.
  virtual void PresentFrame() = 0;
  // Whether the last frame changed the page's animated control so that it must be redrawn.
  virtual bool WantsAnimationRedraw() const = 0;
  // 1 when the receiver reports the device online; 0 or a negative code when not, or when it did not answer.
  virtual int IsWirelessLinkUp() = 0;
  // Whether another thread's command holds the device's channel now (a write of the page's worker still
  // waiting for its reply). A question asked on a timer then waits for its next round rather than freeze
  // the window until that command ends.
  virtual bool IsChannelInUse() { return false; }
  virtual void ReadWirelessStatus() = 0;
  // Work that the page's threads schedule through the tab's timers 1003 and 1004.
  virtual void RunFirstDeferredTask() = 0;
  virtual void RunSecondDeferredTask() = 0;

  // Whether more than one device tab is visible (the page offers cross-device features then).
  virtual void SetMoreThanOneTabVisible(bool more) = 0;
  // The page's back link to its tab.
  virtual void SetDeviceTab(CDeviceOptionUI* tab) = 0;

 protected:
  ~IDeviceTabPage() = default;
};

}  // namespace norvane::controls
