// The library's process-wide services: start and end, the item class
// registry, the live bar windows, naming and small window utilities.
#include "dxBar.h"

#include "dxBarCommon.h"
#include "dxBarEdits.h"
#include "dxBarExtItems.h"

#include "cxControls.h"

#include "Forms.h"

#include <algorithm>

namespace {

struct TItemClassRecord {
  TdxBarItemClass ItemClass;
  TdxBarItemControlClass ItemControlClass;
  bool ShownInDesigner;
};

struct TUnitState {
  std::vector<TItemClassRecord> Registry;
  std::vector<TObject*> LiveBarControls;
  std::vector<TdxBarItem*> TempItems;
  std::unique_ptr<TdxBarManagerList> Managers;
  TdxUser32Entries User32;
  HMODULE User32Module = nullptr;
  TdxOSFlags OSFlags;
};

int gStartCount = 0;
TUnitState* gState = nullptr;

TUnitState& State() {
  static TUnitState empty;
  return gState ? *gState : empty;
}

void CheckOSVersion(TUnitState& state) {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExA(&info)) state.OSFlags = ComputeOSFlags(info);
#pragma GCC diagnostic pop
}

template <typename F> void LookUp(HMODULE module, const char* name, F& entry) {
  entry = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void LoadUser32(TUnitState& state) {
  state.User32Module = LoadLibraryA("USER32");
  if (!state.User32Module) return;
  LookUp(state.User32Module, "TrackMouseEvent", state.User32.TrackMouseEvent);
  LookUp(state.User32Module, "UpdateLayeredWindow", state.User32.UpdateLayeredWindow);
  LookUp(state.User32Module, "AnimateWindow", state.User32.AnimateWindow);
  LookUp(state.User32Module, "SetLayeredWindowAttributes", state.User32.SetLayeredWindowAttributes);
}

// The drag and sizing cursors of customizing, by screen cursor number.
const struct {
  TCursor Id;
  const char* Name;
} kCursors[] = {
    {1041, "DXBARDRAGCURSOR"},
    {1042, "DXBARDRAGCOPYCURSOR"},
    {1043, "DXBARDRAGNODROPCURSOR"},
    {1044, "DXBAREDITSIZINGCURSOR"},
};

void LoadCursors() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  for (const auto& cursor : kCursors)
    Screen->SetCursors(cursor.Id, LoadCursorFile(instance, cursor.Name));
}

void RegisterItemClasses() {
  // The other kinds join this list, in their order, as their classes land.
  RegisterBarItemClass(
      TdxBarButton::ClassInfo(),
      [](TdxBarItemLink* link) -> TObject* { return new TdxBarButtonControl(link, link->GetBarControl()); },
      true);
  RegisterBarItemClass(
      TdxBarEdit::ClassInfo(),
      [](TdxBarItemLink* link) -> TObject* { return new TdxBarEditControl(link, link->GetBarControl()); }, true);
  RegisterBarItemClass(
      TCustomdxBarCombo::ClassInfo(),
      [](TdxBarItemLink* link) -> TObject* { return new TCustomdxBarComboControl(link, link->GetBarControl()); },
      true);
  RegisterBarItemClass(
      TdxBarCombo::ClassInfo(),
      [](TdxBarItemLink* link) -> TObject* { return new TdxBarComboControl(link, link->GetBarControl()); }, true);
  RegisterBarItemClass(
      TdxBarSubItem::ClassInfo(),
      [](TdxBarItemLink* link) -> TObject* { return new TdxBarSubItemControl(link, link->GetBarControl()); },
      true);
  // The quick-customization entries, in no designer list.
  RegisterBarItemClass(
      TdxBarQuickSubItem::ClassInfo(),
      [](TdxBarItemLink* link) -> TObject* { return new TdxBarSubItemControl(link, link->GetBarControl()); },
      false);
  RegisterBarItemClass(
      TdxBarQuickCustItem::ClassInfo(),
      [](TdxBarItemLink* link) -> TObject* {
        return new TdxBarQuickCustItemControl(link, link->GetBarControl());
      },
      false);
  RegisterBarItemClass(
      TdxBarQuickCustExtButton::ClassInfo(),
      [](TdxBarItemLink* link) -> TObject* { return new TdxBarButtonControl(link, link->GetBarControl()); },
      false);
  for (TdxBarItemClass itemClass : {TdxBarListItem::ClassInfo(), TdxBarContainerItem::ClassInfo()})
    RegisterBarItemClass(
        itemClass,
        [](TdxBarItemLink* link) -> TObject* {
          return new TdxBarContainerItemControl(link, link->GetBarControl());
        },
        true);
  RegisterSystemMenuItemClass();
}

} // namespace

TdxOSFlags ComputeOSFlags(const OSVERSIONINFOA& Info) {
  TdxOSFlags flags;
  flags.IsWin9x = Info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
  flags.IsWin95 = flags.IsWin9x && Info.dwMinorVersion == 0;
  flags.IsWin98OrW2K = (flags.IsWin9x && Info.dwMinorVersion > 0) ||
                       (Info.dwPlatformId == VER_PLATFORM_WIN32_NT && Info.dwMajorVersion == 5);
  return flags;
}

void StartBarsLibrary() {
  if (gStartCount++ > 0) return;
  gState = new TUnitState;
  CheckOSVersion(*gState);
  LoadUser32(*gState);
  gState->Managers = std::make_unique<TdxBarManagerList>();
  ReadScreenBitsPerPixel();
  CreateCheckerBrush();
  RegisterItemClasses();
  StartExtItemsModule();
  LoadCursors();
}

void EndBarsLibrary() {
  if (--gStartCount > 0) return;
  EndExtItemsModule();
  auto& registry = gState->Registry;
  while (!registry.empty())
    UnregisterBarItemClass(registry.back().ItemClass);
  DeleteCheckerBrush();
  gState->Managers.reset();
  if (gState->User32Module) FreeLibrary(gState->User32Module);
  delete gState;
  gState = nullptr;
}

// ---- Item class registry ----

void RegisterBarItemClass(TdxBarItemClass ItemClass, TdxBarItemControlClass ItemControlClass,
                          bool ShownInDesigner) {
  State().Registry.push_back({ItemClass, std::move(ItemControlClass), ShownInDesigner});
}

void UnregisterBarItemClass(TdxBarItemClass ItemClass) {
  auto& registry = State().Registry;
  auto it =
      std::find_if(registry.begin(), registry.end(), [&](const auto& r) { return r.ItemClass == ItemClass; });
  if (it != registry.end()) registry.erase(it);
}

int GetRegisteredItemClassCount() {
  const auto& registry = State().Registry;
  return static_cast<int>(
      std::count_if(registry.begin(), registry.end(), [](const auto& r) { return r.ShownInDesigner; }));
}

TdxBarItemClass GetRegisteredItemClass(int N) {
  for (const auto& record : State().Registry) {
    if (!record.ShownInDesigner) continue;
    if (N-- == 0) return record.ItemClass;
  }
  return nullptr;
}

const TdxBarItemControlClass* GetItemControlClass(const TdxBarItem* Item) {
  for (const auto& record : State().Registry)
    if (record.ItemClass->Type == typeid(*Item)) return &record.ItemControlClass;
  return nullptr;
}

// ---- Lists ----

TdxBarManagerList* dxBarManagerList() {
  return gState ? gState->Managers.get() : nullptr;
}

std::vector<TdxBarItem*>& TempItems() {
  return State().TempItems;
}

TdxUser32Entries& dxUser32() {
  return State().User32;
}

const TdxOSFlags& dxOSFlags() {
  return State().OSFlags;
}

void RegisterBarControl(TObject* BarControl) {
  State().LiveBarControls.push_back(BarControl);
}

void UnregisterBarControl(TObject* BarControl) {
  auto& list = State().LiveBarControls;
  list.erase(std::remove(list.begin(), list.end(), BarControl), list.end());
}

const std::vector<TObject*>& LiveBarControls() {
  return State().LiveBarControls;
}

bool IsBarControlAlive(const TObject* BarControl) {
  const auto& list = State().LiveBarControls;
  return BarControl && std::find(list.begin(), list.end(), BarControl) != list.end();
}

// ---- Managers and items ----

TdxBarManager* GetBarManagerOfForm(const TComponent* AForm) {
  TdxBarManagerList* managers = dxBarManagerList();
  if (!AForm || !managers) return nullptr;
  for (int i = 0; i < managers->GetCount(); ++i)
    if (managers->GetItem(i)->GetOwnerForm() == AForm) return managers->GetItem(i);
  return nullptr;
}

void BarManagerDesignerModified(TdxBarManager* BarManager) {
  if (BarManager) BarManager->DesignerModified();
}

String MakeUniqueItemName(const TdxBarManager* BarManager, TdxBarItemClass ItemClass) {
  const String base = ItemClass->Name.substr(1);
  for (int n = 1;; ++n) {
    const String name = base + IntToStr(n);
    bool taken = false;
    for (int i = 0; i < BarManager->GetItemCount() && !taken; ++i)
      taken = SameText(BarManager->GetItem(i)->GetName(), name);
    if (!taken) return name;
  }
}

TdxBarItemVisible BoolToItemVisible(bool Value) {
  return Value ? ivAlways : ivNever;
}

String RemoveAmpersands(const String& ACaption) {
  String result = ACaption;
  // The character that moves into the place of a deleted "&" is kept, so
  // "&&" leaves one; the last character is never looked at.
  for (size_t i = 0; i + 1 < result.size(); ++i)
    if (result[i] == '&') result.erase(i, 1);
  return result;
}

// ---- Window utilities ----

void SetLayeredAlpha(HWND Wnd, BYTE Alpha) {
  auto* setAttributes = dxUser32().SetLayeredWindowAttributes;
  if (!setAttributes) return;
  const LONG_PTR exStyle = GetWindowLongPtrA(Wnd, GWL_EXSTYLE);
  if (Alpha < 255) {
    if (!(exStyle & WS_EX_LAYERED)) SetWindowLongPtrA(Wnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    setAttributes(Wnd, 0, Alpha, LWA_ALPHA);
  } else if (exStyle & WS_EX_LAYERED) {
    SetWindowLongPtrA(Wnd, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    RedrawWindow(Wnd, nullptr, nullptr, RDW_FRAME | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
  }
}

TControl* FindControlOrParent(HWND Wnd) {
  for (; Wnd; Wnd = GetParent(Wnd))
    if (TControl* control = FindControl(Wnd)) return control;
  return nullptr;
}

bool IsAncestorWindow(HWND Child, HWND Parent) {
  HWND wnd = Child;
  while (wnd && wnd != Parent)
    wnd = GetParent(wnd);
  return wnd == Parent;
}

HWND WindowFromPointDeep(POINT Pt) {
  HWND wnd = WindowFromPoint(Pt);
  if (!wnd) return nullptr;
  POINT p = Pt;
  ScreenToClient(wnd, &p);
  for (;;) {
    HWND child = ChildWindowFromPointEx(wnd, p, CWP_SKIPINVISIBLE);
    if (!child || child == wnd) return wnd;
    MapWindowPoints(wnd, child, &p, 1);
    wnd = child;
  }
}
