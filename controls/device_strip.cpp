#include "controls/device_strip.h"

namespace norvane::controls {

namespace {

bool IsShownTab(CDeviceOptionUI* tab) {
  return tab && tab->IsVisible();
}

void SelectTab(const DeviceStrip& strip, int index) {
  if (CDeviceOptionUI* tab = strip.Tab(index)) {
    tab->ShowBoundPages();
    if (ui::COptionUI* option = tab->GetDeviceOption()) option->Selected(true, true);
  }
}

}  // namespace

DeviceStrip DeviceStrip::Find(const ui::CPaintManagerUI& manager) {
  DeviceStrip strip;
  strip.tabs = dynamic_cast<ui::CContainerUI*>(manager.FindControl(kDeviceStripName));
  strip.pages = dynamic_cast<ui::CTabLayoutUI*>(manager.FindControl(kDevicePagesLayout));
  strip.powerPages = dynamic_cast<ui::CTabLayoutUI*>(manager.FindControl(kPowerPagesLayout));
  strip.noDeviceNotice = manager.FindControl(kNoDeviceNoticeName);
  return strip;
}

int DeviceStrip::TabCount() const {
  return tabs ? tabs->GetCount() : 0;
}

CDeviceOptionUI* DeviceStrip::Tab(int index) const {
  return tabs ? dynamic_cast<CDeviceOptionUI*>(tabs->GetItemAt(index)) : nullptr;
}

void ShowDeviceTab(const DeviceStrip& strip, int tabIndex, bool visible, bool select) {
  if (CDeviceOptionUI* tab = strip.Tab(tabIndex)) {
    tab->SetVisible(visible);
    if (select) SelectTab(strip, tabIndex);
  }

  int visibleTabs = 0;
  int synchroTabs = 0;
  for (int i = 0; i < strip.TabCount(); ++i) {
    CDeviceOptionUI* tab = strip.Tab(i);
    if (!IsShownTab(tab)) continue;
    ++visibleTabs;
    if (tab->IsSynchroChecked()) ++synchroTabs;
  }

  if (strip.noDeviceNotice) strip.noDeviceNotice->SetVisible(visibleTabs == 0);
  if (visibleTabs == 0) {
    if (strip.powerPages) strip.powerPages->SelectItem(0);
    if (strip.pages) strip.pages->SelectItem(0);
  }

  for (int i = 0; i < strip.TabCount(); ++i) {
    CDeviceOptionUI* tab = strip.Tab(i);
    if (!tab) continue;
    if (IDeviceTabPage* page = tab->GetPage()) page->SetMoreThanOneTabVisible(visibleTabs > 1);
    // Synchronised lighting needs two visible partners; a lone checked tab would claim a sync that is not.
    if (synchroTabs < 2) tab->SetSynchro(false);
  }
}

void HideDeviceTab(const DeviceStrip& strip, int tabIndex,
                   const std::function<void()>& beforeLosingSelection) {
  CDeviceOptionUI* tab = strip.Tab(tabIndex);
  if (!tab) return;
  int successor = -1;
  if (tab->IsVisible() && tab->IsSelected()) {
    if (beforeLosingSelection) beforeLosingSelection();
    for (int i = 0; i < strip.TabCount(); ++i) {
      if (i != tabIndex && IsShownTab(strip.Tab(i))) {
        successor = i;
        break;
      }
    }
  }
  ShowDeviceTab(strip, tabIndex, false, false);
  if (successor >= 0) ShowDeviceTab(strip, successor, true, true);
}

void HandleDeviceTabMessage(const DeviceStrip& strip, ui::WPARAM wParam, ui::LPARAM lParam,
                            const std::function<void()>& beforeLosingSelection) {
  const int index = wParam >= ui::WPARAM(strip.TabCount()) ? -1 : int(wParam);
  if (lParam == 0) {
    HideDeviceTab(strip, index, beforeLosingSelection);
    return;
  }
  CDeviceOptionUI* tab = strip.Tab(index);
  if (!tab || tab->IsVisible()) return;
  bool anyVisible = false;
  for (int i = 0; i < strip.TabCount(); ++i) anyVisible = anyVisible || IsShownTab(strip.Tab(i));
  ShowDeviceTab(strip, index, true, !anyVisible);
}

SelectedDevice SelectedDeviceOf(const DeviceStrip& strip) {
  for (int i = 0; i < strip.TabCount(); ++i) {
    CDeviceOptionUI* tab = strip.Tab(i);
    if (tab && tab->IsSelected()) return SelectedDevice{i, tab->GetIconKind(), tab->GetIconVariant()};
  }
  return {};
}

int SelectedDeviceTab(const DeviceStrip& strip) {
  for (int i = 0; i < strip.TabCount(); ++i) {
    CDeviceOptionUI* tab = strip.Tab(i);
    if (IsShownTab(tab) && tab->IsSelected()) return i;
  }
  return -1;
}

IDeviceTabPage* CurrentDevicePage(const DeviceStrip& strip) {
  CDeviceOptionUI* tab = strip.Tab(SelectedDeviceTab(strip));
  return tab ? tab->GetPage() : nullptr;
}

bool SelectPreviousDevice(const DeviceStrip& strip) {
  const int selected = SelectedDeviceTab(strip);
  for (int i = selected - 1; selected > 0 && i >= 0; --i) {
    if (IsShownTab(strip.Tab(i))) {
      SelectTab(strip, i);
      return true;
    }
  }
  return false;
}

bool SelectNextDevice(const DeviceStrip& strip) {
  const int selected = SelectedDeviceTab(strip);
  if (selected < 0) return false;
  for (int i = selected + 1; i < strip.TabCount(); ++i) {
    if (IsShownTab(strip.Tab(i))) {
      SelectTab(strip, i);
      return true;
    }
  }
  return false;
}

}  // namespace norvane::controls
