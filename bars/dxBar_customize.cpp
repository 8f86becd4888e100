// Customizing mode: entering and leaving it, the picked control, the drag of
// links and commands with its insertion mark, and the "Customize..." entry.
#include "dxBar.h"

#include "dxBarCommon.h"
#include "dxBarDesign.h"
#include "dxBarPopup.h"
#include "dxBarStrs.h"
#include "dxBarSubMenu.h"

#include "Forms.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr TCursor kMoveCursor = 1041, kCopyCursor = 1042, kNoDropCursor = 1043;

// The live bar windows of one manager, in the order they were made.
std::vector<TCustomdxBarControl*> BarControlsOf(const TdxBarManager* manager) {
  std::vector<TCustomdxBarControl*> result;
  for (TObject* object : LiveBarControls())
    if (auto* window = dynamic_cast<TCustomdxBarControl*>(object);
        window && window->GetBarManager() == manager)
      result.push_back(window);
  return result;
}

bool LaysOutVertically(const TCustomdxBarControl* window) {
  auto* toolbar = dynamic_cast<const TdxBarControl*>(window);
  return !toolbar || toolbar->IsVertical();
}

// A menu window whose entry waits on the shared timer to open its menu.
bool MenuHoverTimerRunning(const TCustomdxBarControl* window) {
  const TdxSubItemTimerState& timer = SubItemTimerState();
  return window && window->IsPopup() && timer.Timer && timer.Pending &&
         timer.Pending->GetBarControl() == window;
}

// The state of one customizing drag.
class TCustomizingDrag {
public:
  TCustomizingDrag(TdxBarManager* manager, TdxBarItemLink* link) : FManager(manager), FLink(link) {}

  void Run();
  void Drop();
  void HideMark() {
    if (FMarkShown) ToggleMark();
  }
  bool LinkFreed() const { return FLinkFreed; }
  HWND GetCapture() const { return FCapture; }
  POINT StartOffset{0, 0};

private:
  HWND CaptureWindow() const;
  void MouseMove(POINT pt);
  TCustomdxBarControl* TargetWindowAt(POINT pt, HWND under) const;
  bool IsValid() const { return FManager->IsValidDropPosition(FTargetControl, FInGap, FBefore, FCtrl); }
  void ShowMark() {
    if (!FMarkShown && FTargetControl) ToggleMark();
  }
  void ToggleMark();
  void PickCandidate(TdxBarItemControl* candidate);
  void DropOnWindow();
  void Nudge();

  TdxBarManager* FManager;
  TdxBarItemLink* FLink;
  bool FLinkFreed = false;
  HWND FCapture = nullptr;
  POINT FPoint{0, 0};
  TCustomdxBarControl* FTargetWindow = nullptr;
  TdxBarItemControl* FTargetControl = nullptr;
  bool FInGap = false, FVertical = false, FBefore = false;
  // Where the mark was drawn, so that it is drawn again there to go.
  TdxBarItemControl* FMarkControl = nullptr;
  bool FMarkInGap = false, FMarkVertical = false, FMarkBefore = false;
  bool FMarkShown = false;
  bool FMoved = false, FDropped = false;
  bool FCtrl = false, FCtrlChanged = false;
};

HWND TCustomizingDrag::CaptureWindow() const {
  if (FManager->GetCustomizing() && ActiveCustomizingFormHandle()) return ActiveCustomizingFormHandle();
  if (Application && IsWindowVisible(Application->GetHandle())) return Application->GetHandle();
  return FManager->GetOwnerForm()->GetHandle();
}

void TCustomizingDrag::ToggleMark() {
  TdxBarItemControl* control = FMarkShown ? FMarkControl : FTargetControl;
  if (!FMarkShown) {
    FMarkControl = control;
    FMarkInGap = FInGap;
    FMarkVertical = FVertical;
    FMarkBefore = FBefore;
  }
  FMarkShown = !FMarkShown;
  // A window that went took its mark with it.
  TCustomdxBarControl* window = control ? control->GetBarControl() : nullptr;
  if (!IsBarControlAlive(window) || !window->IsControlOfWindow(control)) return;
  FManager->DrawInsertionMark(control, FMarkInGap, FMarkVertical, FMarkBefore);
}

TCustomdxBarControl* TCustomizingDrag::TargetWindowAt(POINT pt, HWND under) const {
  TCustomdxBarControl* window = nullptr;
  if (auto* control = dynamic_cast<TCustomdxBarControl*>(FindControl(under))) {
    // A bar window of another manager counts as none.
    if (control->GetBarManager() == FManager) window = control;
  } else {
    RECT formRect{};
    if (HWND form = ActiveCustomizingFormHandle()) GetWindowRect(form, &formRect);
    if (!PtInRect(&formRect, pt)) {
      TdxBars* bars = FManager->GetBars();
      for (int i = 0; i < bars->GetCount() && !window; ++i) {
        TdxBarControl* barWindow = bars->GetItem(i)->GetBarControl();
        if (!barWindow || !barWindow->HandleAllocated() || !IsWindowVisible(barWindow->GetHandle())) continue;
        RECT r;
        GetWindowRect(barWindow->GetHandle(), &r);
        if (PtInRect(&r, pt)) window = barWindow;
      }
    }
  }
  return window && window->CanCustomizeItems() ? window : nullptr;
}

void TCustomizingDrag::PickCandidate(TdxBarItemControl* candidate) {
  TCustomdxBarControl* window = candidate->GetBarControl();
  // An entry with a menu opens it, so that the drop may go into the menu.
  if (dynamic_cast<TdxBarSubItemControl*>(candidate) ||
      dynamic_cast<TdxBarSubItemControl*>(window->GetSelectedControl())) {
    window->HotTrackControl(candidate);
    return;
  }
  FManager->SetSelectedItemControl(candidate);
  if (IsBarControlAlive(window) && window->IsControlOfWindow(candidate))
    window->SetSelectedControl(candidate);
}

void TCustomizingDrag::MouseMove(POINT pt) {
  FPoint = pt;
  const bool ctrlChanged = FCtrlChanged;
  FCtrlChanged = false;
  TCustomdxBarControl* window = TargetWindowAt(pt, WindowFromPointDeep(pt));
  bool inGap = false, vertical = false, before = false;
  TdxBarItemControl* candidate = nullptr;
  if (window) {
    const TPoint client = window->ScreenToClient(TPoint(pt.x, pt.y));
    candidate = window->GetDropTarget(client, inGap, vertical, before);
  }
  const bool showsLinks = window && window->GetItemLinks() && window->GetItemLinks()->GetShownCount() > 0;
  if (!window || (!candidate && showsLinks))
    Screen->SetCursor(kNoDropCursor);
  else
    Screen->SetCursor(!FCtrl && FLink ? kMoveCursor : kCopyCursor);
  FTargetWindow = window;
  if (window && !MenuHoverTimerRunning(window)) {
    const bool candidateChanged = candidate != FTargetControl;
    const bool flagsChanged = inGap != FInGap || vertical != FVertical || before != FBefore;
    if (!candidateChanged && !flagsChanged) {
      // Ctrl alone: a copy may go where a move changes nothing.
      if (ctrlChanged && FCtrl) ShowMark();
      if (ctrlChanged && !FCtrl && !IsValid()) HideMark();
    } else {
      HideMark();
      if (candidateChanged && candidate) {
        PickCandidate(candidate);
        if (!IsBarControlAlive(window)) return;
      }
      FTargetControl = candidate;
      FInGap = inGap;
      FVertical = vertical;
      FBefore = before;
      if (IsValid()) ShowMark();
    }
    if (!window->IsPopup()) return;
    // A menu scrolls and opens its sub-menus under the pointer.
    const TPoint client = window->ScreenToClient(TPoint(pt.x, pt.y));
    SendMessageA(window->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    if (!IsBarControlAlive(window) || !MenuHoverTimerRunning(window)) return;
  }
  HideMark();
  FTargetControl = nullptr;
}

void TCustomizingDrag::Run() {
  FCapture = CaptureWindow();
  SetCapture(FCapture);
  FCtrl = GetKeyState(VK_CONTROL) < 0;
  MSG msg;
  while (::GetCapture() == FCapture) {
    const int got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (msg.wParam == VK_CONTROL) {
        const bool down = msg.message == WM_KEYDOWN;
        if (down != FCtrl) FCtrlChanged = true;
        FCtrl = down;
        FMoved = true;
        MouseMove(msg.pt);
      } else if (msg.wParam == VK_ESCAPE) {
        return;
      }
      continue;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_CHAR:
      continue;
    case WM_LBUTTONUP:
      FPoint = msg.pt;
      FDropped = true;
      return;
    case WM_MOUSEMOVE:
      FMoved = true;
      MouseMove(msg.pt);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void TCustomizingDrag::Drop() {
  if (!FDropped || !FMoved) return;
  if (!FTargetWindow || !IsBarControlAlive(FTargetWindow)) {
    if (!FLink || FCtrl) return;
    // Dropped outside every bar: the link goes.
    TCustomdxBarControl* window = FLink->GetBarControl();
    FLinkFreed = true;
    delete FLink;
    FManager->DesignerModified();
    if (IsBarControlAlive(window)) {
      window->SetSelectedControl(nullptr);
      window->Rebuild();
    }
    return;
  }
  TdxBarItemControl* own = FLink ? FLink->GetControl() : nullptr;
  const bool creates =
      !FTargetControl || !FLink || (FTargetControl != own && IsValid()) || FCtrl || (FInGap && FBefore);
  if (creates)
    DropOnWindow();
  else
    Nudge();
}

void TCustomizingDrag::DropOnWindow() {
  TCustomdxBarControl* window = FTargetWindow;
  TdxBarItemLinks* links = window->GetItemLinks();
  const TPoint client = window->ScreenToClient(TPoint(FPoint.x, FPoint.y));
  const bool emptyWindow = window->GetClientRect().Contains(client) && links->GetShownCount() == 0;
  if (!FTargetControl && !emptyWindow) {
    FManager->SetSelectedItemControl(nullptr);
    return;
  }
  TdxBarItemLink* target = FTargetControl ? FTargetControl->GetLink() : nullptr;
  TdxBarItemLink* link = links->Add();
  link->BringToTopInRecentList(true);
  link->SetItem(FManager->DraggedItem);
  if (FLink) {
    link->Assign(FLink);
    link->LinkTag = 0;
  }
  if (target) {
    link->SetIndex(target->GetIndex() + (!FInGap && !FBefore ? 1 : 0));
    if ((FInGap && !FBefore) || (FBefore && !FInGap && target->GetBeginGroup())) {
      link->SetBeginGroup(true);
      target->SetBeginGroup(false);
    }
  }
  const bool moved = FLink && !FCtrl;
  const bool otherList = FLink && FLink->GetLinks() != links;
  TCustomdxBarControl* source = FLink ? FLink->GetBarControl() : nullptr;
  if (moved) {
    FLinkFreed = true;
    delete FLink;
  }
  links->RebuildLists();
  if (otherList && IsBarControlAlive(source)) source->Rebuild();
  if (!IsBarControlAlive(window)) return;
  window->Rebuild();
  if (!IsBarControlAlive(window)) return;
  link->CreateControl();
  if (TdxBarItemControl* control = link->GetControl()) {
    FManager->SetSelectedItemControl(control);
    if (IsBarControlAlive(window) && window->IsControlOfWindow(control)) window->SetSelectedControl(control);
  }
  FManager->DesignerModified();
  TCustomdxBarControl* active = ActiveBarControl();
  auto* toolbar = dynamic_cast<TdxBarControl*>(window);
  if (active && toolbar && active != toolbar && link->GetControl()) {
    active->Deactivate();
    if (IsBarControlAlive(toolbar) && link->GetControl()) toolbar->EnterKeyboardMode(link->GetControl());
  }
}

void TCustomizingDrag::Nudge() {
  TdxBarItemControl* control = FLink->GetControl();
  TCustomdxBarControl* window = FLink->GetBarControl();
  if (!control || !window || !window->HandleAllocated()) return;
  const TPoint client = window->ScreenToClient(TPoint(FPoint.x, FPoint.y));
  const TRect& r = FLink->ItemRect;
  const bool vertical = LaysOutVertically(window);
  const int distance = vertical ? client.y - r.top - StartOffset.y : client.x - r.left - StartOffset.x;
  if (std::abs(distance) <= 3) return;
  const bool beginGroup = distance > 0;
  if (FLink->GetBeginGroup() == beginGroup) {
    window->SelectControl(control);
    return;
  }
  window->SetSelectedControl(control);
  FManager->SetSelectedItemControl(control);
  FLink->SetBeginGroup(beginGroup);
  if (IsBarControlAlive(window)) window->Rebuild();
}

} // namespace

// ---- Entering and leaving ----

void TdxBarManager::SetCustomizing(bool Value) {
  if (Value == FCustomizing || (Value && ActiveCustomizingForm())) return;
  for (TCustomdxBarControl* window : BarControlsOf(this)) {
    if (!IsBarControlAlive(window)) continue;
    window->Deactivate();
    if (IsBarControlAlive(window)) window->DestroyControls();
  }
  SelectedItemControl = nullptr;
  FCustomizing = Value;
  for (int i = 0; i < FBars->GetCount(); ++i) {
    TdxBar* bar = FBars->GetItem(i);
    bar->GetItemLinks()->RebuildLists();
    if (TdxBarControl* window = bar->GetBarControl(); window && window->HandleAllocated())
      window->CreateControls();
  }
  for (TdxBarItem* item : FItems)
    if (auto* subItem = dynamic_cast<TCustomdxBarSubItem*>(item)) subItem->GetItemLinks()->RebuildLists();
  for (TdxBarPopupMenu* menu : FPopupMenus)
    menu->GetItemLinks()->RebuildLists();
  if (IsBarCustomizingFormRegistered()) ShowCustomizingForm(this, Value);
  if (!Value) CloseSubMenuEditor(this);
  for (TCustomdxBarControl* window : BarControlsOf(this)) {
    if (!IsBarControlAlive(window)) continue;
    window->UpdateDoubleClicks();
    window->Rebuild();
  }
}

void TdxBarManager::SetSelectedItemControl(TdxBarItemControl* Control) {
  TdxBarItemControl* previous = SelectedItemControl;
  if (Control == previous) return;
  auto rootToolbar = [](TdxBarItemControl* control) {
    TCustomdxBarControl* window = control->GetBarControl();
    return IsBarControlAlive(window) ? GetRootToolbarControl(window) : nullptr;
  };
  // Picking on another toolbar closes the menus opened from the previous one.
  if (IsCustomizing() && previous && (!Control || rootToolbar(Control) != rootToolbar(previous)))
    if (TdxBarControl* root = rootToolbar(previous)) root->HotTrackControl(nullptr);
  SelectedItemControl = Control;
  if (previous && previous != SelectedItemControl && !FDragging &&
      IsBarControlAlive(previous->GetBarControl()) && previous->GetBarControl()->IsControlOfWindow(previous))
    previous->Repaint();
}

// ---- The drag ----

bool TdxBarManager::IsValidDropPosition(TdxBarItemControl* Control, bool InGap, bool Before,
                                        bool Ctrl) const {
  if (!Control) return false;
  if (!DraggedLink || Ctrl) return true;
  if (Control == DraggedLink->GetControl()) return InGap && Before;
  const TdxBarItemLinks* links = DraggedLink->GetLinks();
  const int index = DraggedLink->GetShownIndex();
  if (!links || index < 0) return true;
  const TdxBarItemLink* previous = index > 0 ? links->GetShownLink(index - 1) : nullptr;
  if (previous && previous->GetControl() == Control && !DraggedLink->GetBeginGroup() && !InGap && !Before)
    return false;
  if (index == links->GetShownCount() - 1) return true;
  const TdxBarItemLink* next = links->GetShownLink(index + 1);
  return !(next->GetControl() == Control && ((InGap && Before) || (!next->GetBeginGroup() && Before)));
}

void TdxBarManager::DrawInsertionMark(TdxBarItemControl* Control, bool InGap, bool Vertical, bool Before) {
  TCustomdxBarControl* window = Control->GetBarControl();
  TdxBarItemLinks* links = window->GetItemLinks();
  const int shown = Control->GetLink()->GetShownIndex();
  TdxBarItemControl* at = Control;
  bool before = Before;
  if (InGap) {
    before = !(Before && shown > 0);
    if (!before) at = links->GetShownLink(shown - 1)->GetControl();
  } else if (!Before && shown >= 0 && shown < links->GetShownCount() - 1 &&
             !links->GetShownLink(shown + 1)->GetBeginGroup()) {
    at = links->GetShownLink(shown + 1)->GetControl();
    before = true;
  }
  if (!at || !window->HandleAllocated()) return;
  TRect r;
  window->GetControlRect(at, r);
  POINT lines[6][2];
  if (Vertical) {
    const int t = before ? r.top : r.bottom - 6, L = r.left, R = r.right;
    const POINT v[6][2] = {{{L, t}, {L, t + 6}},
                           {{L + 1, t + 1}, {L + 1, t + 5}},
                           {{L + 2, t + 2}, {R - 2, t + 2}},
                           {{L + 2, t + 3}, {R - 2, t + 3}},
                           {{R - 2, t + 1}, {R - 2, t + 5}},
                           {{R - 1, t}, {R - 1, t + 6}}};
    std::copy(&v[0][0], &v[0][0] + 12, &lines[0][0]);
  } else {
    const int l = before ? r.left : r.right - 6, T = r.top, B = r.bottom;
    const POINT h[6][2] = {{{l, T}, {l + 6, T}},
                           {{l + 1, T + 1}, {l + 5, T + 1}},
                           {{l + 2, T + 2}, {l + 2, B - 2}},
                           {{l + 3, T + 2}, {l + 3, B - 2}},
                           {{l + 1, B - 2}, {l + 5, B - 2}},
                           {{l, B - 1}, {l + 6, B - 1}}};
    std::copy(&h[0][0], &h[0][0] + 12, &lines[0][0]);
  }
  HDC dc = GetDC(window->GetHandle());
  const int oldRop = SetROP2(dc, R2_NOT);
  for (const auto& line : lines)
    Polyline(dc, line, 2);
  SetROP2(dc, oldRop == 0 ? R2_COPYPEN : oldRop);
  ReleaseDC(window->GetHandle(), dc);
}

void TdxBarManager::CustomizingDragLoop(TdxBarItem* Item, TdxBarItemLink* Link) {
  DraggedItem = Item;
  DraggedLink = Link;
  FDragging = true;
  TCustomizingDrag drag(this, Link);
  // The offset of the grip on the link: where the press that armed the
  // drag went (the cursor has left the drag rectangle by now, and under X
  // its position may lag behind).
  if (TCustomdxBarControl* window = Link ? Link->GetBarControl() : nullptr)
    drag.StartOffset =
        POINT{window->DragStartPoint.x - Link->ItemRect.left, window->DragStartPoint.y - Link->ItemRect.top};
  const TCursor savedCursor = Screen->GetCursor();
  auto cleanUp = [&] {
    drag.HideMark();
    if (drag.GetCapture() && ::GetCapture() == drag.GetCapture()) ReleaseCapture();
    Screen->SetCursor(savedCursor);
    FDragging = false;
  };
  auto finish = [&] {
    DraggedItem = nullptr;
    if (Link && !drag.LinkFreed()) {
      DraggedLink = nullptr;
      if (TdxBarItemControl* control = Link->GetControl()) control->Repaint();
    }
    DraggedLink = nullptr;
  };
  try {
    drag.Run();
  } catch (...) {
    cleanUp();
    try {
      drag.Drop();
    } catch (...) {
    }
    finish();
    throw;
  }
  cleanUp();
  try {
    drag.Drop();
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

// ---- The "Customize..." entry ----

void TdxBarManager::AddCustomizeEntry(TdxBarItemLinks* Links, bool BeginGroup, TdxBarItemClass ItemClass) {
  if (!CanCustomize || !IsBarCustomizingFormRegistered()) return;
  TdxBarItem* item = ItemClass->Create(nullptr);
  TempItems().push_back(item);
  item->SetCaption(dxBarString(dxSBAR_CUSTOMIZE));
  item->SetEnabled(!ActiveCustomizingForm());
  item->Tag = 1000;
  item->OnClick = [this](TObject*) { SetCustomizing(true); };
  TdxBarItemLink* link = Links->Add();
  link->SetItem(item);
  link->SetBeginGroup(BeginGroup);
}
