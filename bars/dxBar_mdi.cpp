// MDI on the toolbar manager: the active child's main menu merged into its
// parent's, and the maximized child's system menu as the first entry of the
// parent's main menu, copied from the system's menu at each opening.
#include "dxBar.h"

#include "dxBarCommon.h"

#include "ActnList.h"
#include "Forms.h"

#include <algorithm>

namespace {

TCustomForm* FormOfWindow(HWND Wnd) {
  return Wnd ? dynamic_cast<TCustomForm*>(FindControl(Wnd)) : nullptr;
}

// Hiding or showing a child's main menu bar leaves the child's window where
// it is: the form's recorded bounds are its window's while the bar changes,
// and are given back afterwards without moving the window.
template <typename F> void KeepingBounds(TCustomForm* Form, F&& Change) {
  if (!Form->HandleAllocated()) return Change();
  RECT before;
  GetWindowRect(Form->GetHandle(), &before);
  Change();
  RECT after;
  GetWindowRect(Form->GetHandle(), &after);
  if (EqualRect(&before, &after)) return;
  MapWindowPoints(nullptr, GetParent(Form->GetHandle()), reinterpret_cast<POINT*>(&before), 2);
  SetWindowPos(Form->GetHandle(), nullptr, before.left, before.top, before.right - before.left,
               before.bottom - before.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The copied system-menu pictures of an MDI child's caption commands.
const char* PredefinedGlyph(HBITMAP Bitmap) {
  static const struct {
    HBITMAP Bitmap;
    const char* Name;
  } kGlyphs[] = {{HBMMENU_POPUP_CLOSE, "DXBARCLOSE"},
                 {HBMMENU_POPUP_RESTORE, "DXBARRESTORE"},
                 {HBMMENU_POPUP_MAXIMIZE, "DXBARMAXIMIZE"},
                 {HBMMENU_POPUP_MINIMIZE, "DXBARMINIMIZE"}};
  for (const auto& glyph : kGlyphs)
    if (glyph.Bitmap == Bitmap) return glyph.Name;
  return nullptr;
}

// A real bitmap, not one of the system's predefined menu pictures.
bool IsRealBitmap(HBITMAP Bitmap) {
  const auto value = reinterpret_cast<INT_PTR>(Bitmap);
  return value != 0 && (value < -1 || value > reinterpret_cast<INT_PTR>(HBMMENU_POPUP_MINIMIZE));
}

void CopyBitmap(TBitmap* Glyph, HBITMAP Bitmap) {
  Glyph->SetHandle(static_cast<HBITMAP>(CopyImage(Bitmap, IMAGE_BITMAP, 0, 0, 0)));
}

// The system-menu item's control: the child's icon, no arrow.
class TSystemMenuSubItemControl : public TdxBarSubItemControl {
public:
  using TdxBarSubItemControl::TdxBarSubItemControl;
  bool IsCustomizable() const override { return false; }
  bool IsSelectable() const override { return !GetBarControl()->IsCustomizing(); }
  int GetHeight() override { return GetSystemMetrics(SM_CYSMICON); }
  int GetWidth() override { return GetSystemMetrics(SM_CXSMICON); }
  bool HasSubMenu() const override { return false; }
  bool WantsDblClick() const override { return true; }

  void Paint(const TRect& R, int) override {
    TCustomdxBarControl* window = GetBarControl();
    HDC dc = window->GetCanvas()->GetHandle();
    window->DrawBackground(dc, R, true, clNone, window->GetToolbarBrush());
    auto* item = static_cast<TSystemMenuSubItem*>(GetItem());
    if (HICON icon = item->GetChildIcon()) {
      DrawIconEx(dc, R.left, R.top, icon, R.Width(), R.Height(), 0, nullptr, DI_NORMAL);
      DestroyIcon(icon);
    }
  }

  // The system menu's default command (closing, for the usual menu) runs
  // once the double click is handled: it frees this control.
  void DblClick() override {
    TdxBarSubItemControl::DblClick();
    HWND child = static_cast<TSystemMenuSubItem*>(GetItem())->ChildWindow;
    GetBarControl()->Deactivate();
    const UINT command = GetMenuDefaultItem(GetSystemMenu(child, FALSE), FALSE, 0);
    if (command != static_cast<UINT>(-1)) PostMessageA(child, WM_SYSCOMMAND, command, 0);
  }
};

} // namespace

// ---- The system-menu item ----

TdxBarItemClass TSystemMenuSubItem::ClassInfo() {
  static const TdxBarItemClassInfo info{
      typeid(TSystemMenuSubItem), "TSystemMenuSubItem",
      [](TComponent* owner) -> TdxBarItem* { return new TSystemMenuSubItem(owner); }};
  return &info;
}

void RegisterSystemMenuItemClass() {
  RegisterBarItemClass(
      TSystemMenuSubItem::ClassInfo(),
      [](TdxBarItemLink* link) -> TObject* {
        return new TSystemMenuSubItemControl(link, link->GetBarControl());
      },
      false);
}

HICON TSystemMenuSubItem::GetChildIcon() const {
  auto icon = reinterpret_cast<HICON>(SendMessageA(ChildWindow, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(ChildWindow, WM_GETICON, ICON_BIG, 0));
  // A window that was never given an icon shows its class's.
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(ChildWindow, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(ChildWindow, GCLP_HICON));
  return icon ? static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 16, 16, LR_COPYFROMRESOURCE)) : nullptr;
}

void TSystemMenuSubItem::DirectClick() {
  // The items of the last opening go with their closed menu; this item
  // stays while it runs.
  auto& temp = TempItems();
  temp.erase(std::remove(temp.begin(), temp.end(), this), temp.end());
  FreeUnusedTempItems();
  temp.push_back(this);
  BuildFromMenu(this, GetSystemMenu(ChildWindow, FALSE));
  TCustomdxBarSubItem::DirectClick();
}

void TSystemMenuSubItem::BuildFromMenu(TCustomdxBarSubItem* SubItem, HMENU Menu) {
  const int count = GetMenuItemCount(Menu);
  bool beginGroup = false;
  for (int k = 0; k < count; ++k) {
    char text[1024] = {};
    MENUITEMINFOA info{};
    // The structure's own size: the system's record is larger than the
    // 32-bit one in a 64-bit program.
    info.cbSize = sizeof(info);
    info.fMask =
        MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_FTYPE | MIIM_STRING | MIIM_BITMAP;
    info.dwTypeData = text;
    info.cch = sizeof(text);
    if (!GetMenuItemInfoA(Menu, static_cast<UINT>(k), TRUE, &info)) continue;
    if (info.fType & MFT_SEPARATOR) {
      beginGroup = true;
      continue;
    }
    String caption = info.cch ? String(text) : String();
    if (info.fType & MFT_BITMAP) {
      text[0] = 0;
      GetMenuStringA(Menu, static_cast<UINT>(k), text, sizeof(text), MF_BYPOSITION);
      caption = text;
    }
    String shortCut;
    if (const size_t tab = caption.find('\t'); tab != String::npos) {
      shortCut = caption.substr(tab + 1);
      caption.resize(tab);
    }
    TdxBarItem* item;
    if (info.hSubMenu) {
      auto* sub = new TdxBarSubItem(SubItem->GetOwner());
      BuildFromMenu(sub, info.hSubMenu);
      item = sub;
    } else {
      auto* button = new TdxBarButton(SubItem->GetOwner());
      if (info.fState & MFS_CHECKED) {
        button->SetButtonStyle(bsChecked);
        button->SetDown(true);
      }
      button->Tag = static_cast<int>(info.wID);
      button->OnClick = [this](TObject* Sender) {
        HWND child = ChildWindow;
        SendMessageA(child, WM_SYSCOMMAND, static_cast<WPARAM>(static_cast<TComponent*>(Sender)->Tag), 0);
      };
      item = button;
    }
    TempItems().push_back(item);
    item->SetCaption(caption);
    item->SetEnabled((info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0);
    if (const char* name = PredefinedGlyph(info.hbmpItem))
      item->GetGlyph()->LoadFromResourceName(GetModuleHandleA(nullptr), name);
    else if (HBITMAP mark = (info.fState & MFS_CHECKED) ? info.hbmpChecked : info.hbmpUnchecked)
      CopyBitmap(item->GetGlyph(), mark);
    if (item->GetGlyph()->GetEmpty() && (info.fType & MFT_BITMAP) && IsRealBitmap(info.hbmpItem))
      CopyBitmap(item->GetGlyph(), info.hbmpItem);
    item->SetShortCut(TextToShortCut(shortCut));
    TdxBarItemLink* link = SubItem->GetItemLinks()->Add();
    link->SetItem(item);
    link->SetBeginGroup(beginGroup);
    beginGroup = false;
  }
}

// ---- Merging ----

HWND TdxBarManager::GetActiveMDIChild() const {
  TCustomForm* form = GetOwnerForm();
  HWND client = form ? form->GetClientHandle() : nullptr;
  return client ? reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
}

void TdxBarManager::MDIChildChanged() {
  HWND child = GetActiveMDIChild();
  const bool maximized = child && IsZoomed(child);
  const bool wasMaximized = ActiveMDIChildMaximized;
  ActiveMDIChildMaximized = maximized;
  TdxBar* menu = GetMainMenuBar();
  FMDIMenuLock = menu && menu->GetLockUpdate();
  auto restore = [&] {
    if (TdxBar* bar = GetMainMenuBar()) bar->SetLockUpdate(FMDIMenuLock);
  };
  try {
    if (child == ActiveMDIChildWindow) {
      if (maximized != wasMaximized) MergeChildMenu(child, maximized, AlwaysMerge, false);
    } else {
      MergeChildMenu(ActiveMDIChildWindow, false, false, true);
      MergeChildMenu(child, true, false, false);
    }
    if (maximized != wasMaximized && GetMainMenuBar())
      if (TdxBarControl* window = GetMainMenuBar()->GetBarControl()) window->Rebuild();
  } catch (...) {
    restore();
    ActiveMDIChildWindow = child;
    throw;
  }
  restore();
  ActiveMDIChildWindow = child;
}

void TdxBarManager::MergeChildMenu(HWND Child, bool Activate, bool SkipMerge, bool KeepLocked) {
  TdxBar* menu = GetMainMenuBar();
  if (!menu || !Child || !FindControl(Child)) return;
  if (Activate && IsZoomed(Child))
    AddSystemMenuItem(Child);
  else if (!Activate)
    RemoveSystemMenuItem();
  if (SkipMerge) return;
  TCustomForm* form = FormOfWindow(Child);
  TdxBarManager* childManager = form ? GetBarManagerOfForm(form) : nullptr;
  TdxBar* childMenu = childManager ? childManager->GetMainMenuBar() : nullptr;
  if (!childMenu) return;
  if (Activate) {
    if (!AlwaysMerge && !IsZoomed(Child)) return;
    SavedChildMenuVisible = childMenu->GetVisible();
    if (OnMenuMerge) {
      OnMenuMerge(this, childManager, true);
    } else {
      menu->SetLockUpdate(true);
      TdxBarItemLinks* source = childMenu->GetItemLinks();
      for (int i = 0; i < source->GetVisibleCount(); ++i)
        menu->GetItemLinks()->Add()->Assign(source->GetVisibleLink(i));
      menu->SetLockUpdate(FMDIMenuLock);
    }
    KeepingBounds(form, [&] { childMenu->SetVisible(false); });
    return;
  }
  menu->SetLockUpdate(true);
  TdxBarItemLinks* links = menu->GetItemLinks();
  for (int i = links->GetVisibleCount() - 1; i >= 0; --i) {
    TdxBarItemLink* link = links->GetVisibleLink(i);
    if (link->GetItem() && link->GetItem()->GetBarManager() == childManager) delete link;
  }
  if (!KeepLocked) menu->SetLockUpdate(FMDIMenuLock);
  if (OnMenuMerge) OnMenuMerge(this, childManager, false);
  // A child that goes takes its bars with it.
  if (!AlwaysMerge && !childMenu->GetVisible() && !form->IsDestroying())
    KeepingBounds(form, [&] { childMenu->SetVisible(SavedChildMenuVisible); });
}

void TdxBarManager::AddSystemMenuItem(HWND Child) {
  if (!GetSystemMenu(Child, FALSE)) return;
  TdxBar* menu = GetMainMenuBar();
  menu->SetLockUpdate(true);
  FreeUnusedTempItems();
  auto* item = new TSystemMenuSubItem(GetOwnerForm());
  TempItems().push_back(item);
  item->ChildWindow = Child;
  static_cast<TdxBarItemLink*>(menu->GetItemLinks()->Insert(0))->SetItem(item);
}

void TdxBarManager::RemoveSystemMenuItem() {
  TdxBar* menu = GetMainMenuBar();
  TdxBarItemLinks* links = menu->GetItemLinks();
  if (links->GetCount() == 0) return;
  auto* item = dynamic_cast<TSystemMenuSubItem*>(links->GetItem(0)->GetItem());
  if (!item) return;
  menu->SetLockUpdate(true);
  delete item;
  FreeUnusedTempItems();
}

// ---- The call-window-proc hook's part ----

void MDIChildMessage(const CWPSTRUCT& Message) {
  if (Message.message != WM_DESTROY && Message.message != WM_CHILDACTIVATE &&
      Message.message != WM_MDIACTIVATE)
    return;
  HWND client = GetParent(Message.hwnd);
  char name[16] = {};
  if (!client || !GetClassNameA(client, name, sizeof(name)) || lstrcmpiA(name, "MDICLIENT") != 0) return;
  if (TCustomForm* form = FormOfWindow(GetParent(client)))
    if (TdxBarManager* manager = GetBarManagerOfForm(form)) manager->MDIChildChanged();
}

// ---- The bar's update lock ----

void TdxBar::SetLockUpdate(bool Value) {
  if (Value == FLockUpdate) return;
  FLockUpdate = Value;
  if (Value) return;
  if (TdxBarControl* window = GetBarControl()) window->Rebuild();
}
