// The customizing dialog of a designed manager: the All commands and Groups
// pages.
#include "dxBarDesignForm.h"

#include "dxBarCustForm.h"
#include "dxBarDesign.h"

#include "ActnList.h"
#include "Buttons.h"
#include "ComCtrls.h"
#include "StdCtrls.h"

#include <algorithm>

namespace {

template <typename T> T* Make(TdxBarCustomizingForm* Form, TWinControl* Parent, const char* Name, const TRect& Bounds) {
  auto* control = new T(Form);
  control->SetName(Name);
  control->SetParent(Parent);
  control->SetBoundsRect(Bounds);
  return control;
}

TButton* MakeButton(TdxBarCustomizingForm* Form, TWinControl* Parent, const char* Name, const char* Caption,
                    const TRect& Bounds, std::function<void()> Handler) {
  auto* button = Make<TButton>(Form, Parent, Name, Bounds);
  button->SetCaption(Caption);
  button->OnClick = [Handler](TObject*) { Handler(); };
  return button;
}

// An arrow pointing up or down on the olive that the button leaves out.
void DrawArrowGlyph(TSpeedButton* Button, bool Up) {
  TBitmap glyph;
  glyph.SetWidth(11);
  glyph.SetHeight(11);
  TCanvas* canvas = glyph.GetCanvas();
  canvas->GetBrush()->SetColor(clOlive);
  canvas->FillRect(TRect(0, 0, 11, 11));
  canvas->GetBrush()->SetColor(clBlack);
  canvas->GetPen()->SetColor(clBlack);
  const TPoint up[] = {TPoint(5, 1), TPoint(9, 5), TPoint(7, 5), TPoint(7, 9), TPoint(3, 9), TPoint(3, 5), TPoint(1, 5)};
  TPoint points[7];
  for (int i = 0; i < 7; ++i)
    points[i] = Up ? up[i] : TPoint(up[i].x, 10 - up[i].y);
  canvas->Polygon(points, 7);
  Button->SetGlyph(&glyph);
}

int TextWidth(TListBox* List, const String& Text) {
  return TextExtentOnScreen(List->GetFont()->GetHandle(), Text).cx;
}

// Groups and their members are bold.
void DrawGroupRow(TListBox* List, int Index, const TRect& Rect, bool Bold) {
  TCanvas* canvas = List->GetCanvas();
  if (Bold) canvas->GetFont()->SetStyle(TFontStyles{fsBold});
  TextOutA(canvas->GetHandle(), 0, 0, "", 0);
  SetBkMode(canvas->GetHandle(), OPAQUE);
  canvas->TextRect(Rect, Rect.left + 2, Rect.top + 1, List->GetItems()->Get(Index));
}

void MeasureGroupRow(TListBox* List, int& Height) {
  TFont font;
  font.Assign(List->GetFont());
  font.SetStyle(TFontStyles{fsBold});
  Height = TextExtentOnScreen(font.GetHandle(), "Qq").cy + 2;
}

} // namespace

TdxBarCustomizingFormDesign::TdxBarCustomizingFormDesign(TdxBarCustomizingForm* AForm)
    : FForm(AForm), FBarManager(AForm->GetBarManager()) {
  CreateAllCommandsPage();
  CreateGroupsPage();
  HookCommandsPage();
}

TdxBarDesignerHook* TdxBarCustomizingFormDesign::Hook() const { return DesignerHookOf(FBarManager); }

void TdxBarCustomizingFormDesign::SyncDesignerWithManager() {
  if (TdxBarDesignerHook* hook = Hook()) hook->SelectComponent(FBarManager, FBarManager);
}

// ---- All commands ----

void TdxBarCustomizingFormDesign::CreateAllCommandsPage() {
  TabSheet4 = new TTabSheet(FForm);
  TabSheet4->SetName("TabSheet4");
  TabSheet4->SetCaption(" All commands ");
  TabSheet4->SetPageControl(FForm->PageControl);
  LAllCommands = Make<TListBox>(FForm, TabSheet4, "LAllCommands", Bounds(6, 6, 333, 200));
  LAllCommands->SetStyle(lbOwnerDrawFixed);
  LAllCommands->SetItemHeight(16);
  LAllCommands->OnClick = [this](TObject*) { LAllCommandsClick(); };
  LAllCommands->OnDrawItem = [this](TWinControl*, int Index, const TRect& Rect, TOwnerDrawState) {
    DrawAllCommandsRow(Index, Rect);
  };
  CBShowCommandsWithShortCut = Make<TCheckBox>(FForm, TabSheet4, "CBShowCommandsWithShortCut", Bounds(6, 214, 333, 17));
  CBShowCommandsWithShortCut->SetCaption("Show commands that may have a shortcut");
  CBShowCommandsWithShortCut->SetChecked(true);
  CBShowCommandsWithShortCut->OnClick = [this](TObject*) {
    FillAllCommands();
    FForm->PageControlChange();
  };
}

// Every command with a category, only those that take a shortcut (buttons)
// while the box is checked; the rows keep their scroll and selection.
void TdxBarCustomizingFormDesign::FillAllCommands() {
  if (!FBarManager->GetDesigning()) return;
  const bool redraw = LAllCommands->HandleAllocated();
  if (redraw) SendMessageA(LAllCommands->GetHandle(), WM_SETREDRAW, 0, 0);
  const int top = LAllCommands->GetTopIndex();
  const int selected = LAllCommands->GetItemIndex();
  try {
    TStrings* rows = LAllCommands->GetItems();
    rows->Clear();
    const bool shortCuts = CBShowCommandsWithShortCut->GetChecked();
    for (int i = 0; i < FBarManager->GetItemCount(); ++i) {
      TdxBarItem* item = FBarManager->GetItem(i);
      if (item->GetCategory() < 0) continue;
      if (shortCuts && !dynamic_cast<TdxBarButton*>(item)) continue;
      rows->AddObject("", item);
    }
    LAllCommands->SetTopIndex(std::min(top, std::max(LAllCommands->GetCount() - 1, 0)));
    LAllCommands->SetItemIndex(selected < LAllCommands->GetCount() ? selected : -1);
  } catch (...) {
    if (redraw) SendMessageA(LAllCommands->GetHandle(), WM_SETREDRAW, 1, 0);
    throw;
  }
  if (redraw) SendMessageA(LAllCommands->GetHandle(), WM_SETREDRAW, 1, 0);
  CalcAllCommandsColumns();
}

void TdxBarCustomizingFormDesign::CalcAllCommandsColumns() {
  FNameWidth = FCaptionWidth = FShortCutWidth = 0;
  for (int i = 0; i < LAllCommands->GetCount(); ++i) {
    auto* item = static_cast<TdxBarItem*>(LAllCommands->GetItems()->GetObject(i));
    FNameWidth = std::max(FNameWidth, TextWidth(LAllCommands, item->GetName()));
    FCaptionWidth = std::max(FCaptionWidth, TextWidth(LAllCommands, item->GetCaption()));
    FShortCutWidth = std::max(FShortCutWidth, TextWidth(LAllCommands, ShortCutToText(item->GetShortCut())));
  }
  LAllCommands->Invalidate();
  LAllCommands->SetScrollWidth(FNameWidth + FCaptionWidth + FShortCutWidth + 30);
}

void TdxBarCustomizingFormDesign::DrawAllCommandsRow(int Index, const TRect& Rect) {
  if (Index < 0 || Index >= LAllCommands->GetCount()) return;
  auto* item = static_cast<TdxBarItem*>(LAllCommands->GetItems()->GetObject(Index));
  TCanvas* canvas = LAllCommands->GetCanvas();
  canvas->GetPen()->SetColor(canvas->GetFont()->GetColor());
  canvas->FillRect(Rect);
  SetBkMode(canvas->GetHandle(), TRANSPARENT);
  // The columns scroll with the list's horizontal offset, as the rows do.
  const int left = Rect.left;
  const int line1 = left + FNameWidth + 10;
  const int line2 = left + FNameWidth + FCaptionWidth + 20;
  canvas->TextOut(left + 5, Rect.top + 1, item->GetName());
  canvas->MoveTo(line1, Rect.top);
  canvas->LineTo(line1, Rect.bottom);
  canvas->TextOut(left + FNameWidth + 15, Rect.top + 1, item->GetCaption());
  canvas->MoveTo(line2, Rect.top);
  canvas->LineTo(line2, Rect.bottom);
  canvas->TextOut(line2 + 5, Rect.top + 1, ShortCutToText(item->GetShortCut()));
  if (Index == LAllCommands->GetCount() - 1) {
    const int bottom = LAllCommands->GetClientRect().bottom;
    canvas->GetPen()->SetColor(clWindowText);
    for (int x : {line1, line2}) {
      canvas->MoveTo(x, Rect.bottom);
      canvas->LineTo(x, bottom);
    }
  }
}

void TdxBarCustomizingFormDesign::LAllCommandsClick() {
  const int index = LAllCommands->GetItemIndex();
  if (index < 0 || index >= LAllCommands->GetCount()) return;
  if (TdxBarDesignerHook* hook = Hook())
    hook->SelectComponent(FBarManager, static_cast<TdxBarItem*>(LAllCommands->GetItems()->GetObject(index)));
}

bool TdxBarCustomizingFormDesign::PageChanged() {
  TTabSheet* page = FForm->PageControl->GetActivePage();
  if (page == FForm->TabSheet2) {
    TdxBarDesignerHook* hook = Hook();
    if (auto* item = hook ? dynamic_cast<TdxBarItem*>(hook->GetSelection(FBarManager)) : nullptr)
      FForm->SelectItem(item, false);
    else
      FForm->LCommandsClick();
    return true;
  }
  if (page == TabSheet4) {
    TdxBarDesignerHook* hook = Hook();
    if (LAllCommands->GetCount() == 0) {
      SyncDesignerWithManager();
    } else if (auto* item = hook ? dynamic_cast<TdxBarItem*>(hook->GetSelection(FBarManager)) : nullptr) {
      LAllCommands->SetItemIndex(LAllCommands->GetItems()->IndexOfObject(item));
    } else {
      LAllCommandsClick();
    }
    return true;
  }
  if (page == TabSheet5) {
    SyncDesignerWithGroup(false);
    return true;
  }
  return false;
}

// ---- Groups ----

void TdxBarCustomizingFormDesign::CreateGroupsPage() {
  TabSheet5 = new TTabSheet(FForm);
  TabSheet5->SetName("TabSheet5");
  TabSheet5->SetCaption("Groups");
  TabSheet5->SetPageControl(FForm->PageControl);
  auto list = [this](TGroupBox* box, const char* name) {
    auto* l = Make<TListBox>(FForm, box, name, Bounds(8, 18, 132, 176));
    l->SetStyle(lbOwnerDrawVariable);
    l->OnMeasureItem = [l](TWinControl*, int, int& Height) { MeasureGroupRow(l, Height); };
    return l;
  };
  GroupBox1 = Make<TGroupBox>(FForm, TabSheet5, "GroupBox1", Bounds(6, 2, 148, 232));
  GroupBox1->SetCaption(" Groups ");
  lbGroups = list(GroupBox1, "lbGroups");
  lbGroups->OnDrawItem = [this](TWinControl*, int Index, const TRect& Rect, TOwnerDrawState) {
    DrawGroupRow(lbGroups, Index, Rect, true);
  };
  lbGroups->OnClick = [this](TObject*) { SyncDesignerWithGroup(true); };
  lbGroups->OnEnter = [this](TObject*) {
    FGroupMembersActive = false;
    UpdateGroupButtons();
  };
  btnGroupAdd = MakeButton(FForm, GroupBox1, "btnGroupAdd", "Add", Bounds(8, 200, 64, 23), [this] { btnGroupAddClick(); });
  btnGroupDelete = MakeButton(FForm, GroupBox1, "btnGroupDelete", "Delete", Bounds(76, 200, 64, 23),
                              [this] { btnGroupDeleteClick(); });

  GroupBox2 = Make<TGroupBox>(FForm, TabSheet5, "GroupBox2", Bounds(192, 2, 148, 232));
  GroupBox2->SetCaption(" Items ");
  lbGroupItems = list(GroupBox2, "lbGroupItems");
  lbGroupItems->SetMultiSelect(true);
  lbGroupItems->OnDrawItem = [this](TWinControl*, int Index, const TRect& Rect, TOwnerDrawState) {
    DrawGroupRow(lbGroupItems, Index, Rect,
                 dynamic_cast<TdxBarGroup*>(static_cast<TComponent*>(lbGroupItems->GetItems()->GetObject(Index))));
  };
  lbGroupItems->OnClick = [this](TObject*) { SyncDesignerWithGroupItems(); };
  lbGroupItems->OnEnter = [this](TObject*) {
    FGroupMembersActive = true;
    UpdateGroupButtons();
  };
  btnGroupItemAdd = MakeButton(FForm, GroupBox2, "btnGroupItemAdd", "&Add...", Bounds(8, 200, 64, 23),
                               [this] { btnGroupItemAddClick(); });
  btnGroupItemDelete = MakeButton(FForm, GroupBox2, "btnGroupItemDelete", "Delete", Bounds(76, 200, 64, 23),
                                  [this] { btnGroupItemDeleteClick(); });

  // Insert and Delete press the list's own buttons, when they may be pressed.
  auto keys = [](TListBox* l, TButton* add, TButton* remove) {
    l->OnKeyDown = [add, remove](TObject*, WORD& Key, TShiftState) {
      TButton* button = Key == VK_INSERT ? add : Key == VK_DELETE ? remove : nullptr;
      if (button && button->GetEnabled()) button->Click();
    };
  };
  keys(lbGroups, btnGroupAdd, btnGroupDelete);
  keys(lbGroupItems, btnGroupItemAdd, btnGroupItemDelete);

  btnMoveUp = Make<TSpeedButton>(FForm, TabSheet5, "btnMoveUp", Bounds(159, 86, 29, 25));
  DrawArrowGlyph(btnMoveUp, true);
  btnMoveUp->OnClick = [this](TObject*) { btnMoveUpClick(); };
  btnMoveDown = Make<TSpeedButton>(FForm, TabSheet5, "btnMoveDown", Bounds(159, 116, 29, 25));
  DrawArrowGlyph(btnMoveDown, false);
  btnMoveDown->OnClick = [this](TObject*) { btnMoveDownClick(); };
}

void TdxBarCustomizingFormDesign::EndGroupsUpdate() {
  if (FGroupsUpdate > 0 && --FGroupsUpdate == 0) UpdateGroupButtons();
}

TdxBarGroup* TdxBarCustomizingFormDesign::GetSelectedGroup() {
  const int index = lbGroups->GetItemIndex();
  if (index < 0 || index >= lbGroups->GetCount()) return nullptr;
  return static_cast<TdxBarGroup*>(lbGroups->GetItems()->GetObject(index));
}

std::vector<TComponent*> TdxBarCustomizingFormDesign::GetSelectedGroupItems() {
  std::vector<TComponent*> items;
  for (int i = 0; i < lbGroupItems->GetCount(); ++i)
    if (lbGroupItems->GetSelected(i)) items.push_back(static_cast<TComponent*>(lbGroupItems->GetItems()->GetObject(i)));
  return items;
}

void TdxBarCustomizingFormDesign::FillGroups() {
  TdxBarGroup* selected = GetSelectedGroup();
  TStrings* rows = lbGroups->GetItems();
  rows->BeginUpdate();
  rows->Clear();
  for (int i = 0; i < FBarManager->GetGroupCount(); ++i) {
    TdxBarGroup* group = FBarManager->GetGroup(i);
    rows->AddObject(group->GetName(), group);
  }
  rows->EndUpdate();
  // The list lost its selection with its rows: the same group is selected
  // anew (and its members filled).
  if (selected && rows->IndexOfObject(selected) >= 0) {
    lbGroups->SetItemIndex(rows->IndexOfObject(selected));
    SyncDesignerWithGroup(true);
  } else {
    FillGroupItems();
  }
  UpdateGroupButtons();
}

void TdxBarCustomizingFormDesign::FillGroupItems() {
  TStrings* rows = lbGroupItems->GetItems();
  rows->BeginUpdate();
  rows->Clear();
  if (TdxBarGroup* group = GetSelectedGroup())
    for (int i = 0; i < group->GetCount(); ++i)
      rows->AddObject(group->GetItem(i)->GetName(), group->GetItem(i));
  rows->EndUpdate();
  UpdateGroupButtons();
}

// The members again, the same ones selected, the designer not told.
void TdxBarCustomizingFormDesign::RefreshGroupItems() {
  FReselecting = true;
  try {
    const std::vector<TComponent*> selected = GetSelectedGroupItems();
    FillGroupItems();
    SelectGroupItems(selected);
  } catch (...) {
    FReselecting = false;
    throw;
  }
  FReselecting = false;
}

void TdxBarCustomizingFormDesign::SelectGroup(TdxBarGroup* Group) {
  if (Group && Group == GetSelectedGroup()) return;
  lbGroups->SetItemIndex(Group ? lbGroups->GetItems()->IndexOfObject(Group) : -1);
  SyncDesignerWithGroup(true);
}

void TdxBarCustomizingFormDesign::SelectGroupItems(const std::vector<TComponent*>& Items) {
  lbGroupItems->SetItemIndex(-1);
  for (int i = 0; i < lbGroupItems->GetCount(); ++i) {
    auto* member = static_cast<TComponent*>(lbGroupItems->GetItems()->GetObject(i));
    if (std::find(Items.begin(), Items.end(), member) != Items.end()) lbGroupItems->SetSelected(i, true);
  }
  SyncDesignerWithGroupItems();
}

void TdxBarCustomizingFormDesign::SyncDesignerWithGroup(bool Refill) {
  if (Refill) FillGroupItems();
  if (TdxBarGroup* group = GetSelectedGroup()) {
    if (TdxBarDesignerHook* hook = Hook()) hook->SelectComponent(FBarManager, group);
  } else {
    SyncDesignerWithManager();
  }
}

void TdxBarCustomizingFormDesign::SyncDesignerWithGroupItems() {
  UpdateGroupButtons();
  if (FReselecting) return;
  const std::vector<TComponent*> selected = GetSelectedGroupItems();
  if (selected.size() == 1) {
    if (TdxBarDesignerHook* hook = Hook()) hook->SelectComponent(FBarManager, selected.front());
  } else {
    SyncDesignerWithGroup(false);
  }
}

void TdxBarCustomizingFormDesign::UpdateGroupButtons() {
  if (FGroupsUpdate > 0) return;
  TdxBarGroup* group = GetSelectedGroup();
  btnGroupDelete->SetEnabled(group);
  btnGroupItemAdd->SetEnabled(group);
  const int count = lbGroupItems->GetCount();
  int selected = 0;
  bool firstRows = true, lastRows = true;
  for (int i = 0; i < count; ++i) {
    if (!lbGroupItems->GetSelected(i)) continue;
    ++selected;
    firstRows = firstRows && i < lbGroupItems->GetSelCount();
    lastRows = lastRows && i >= count - lbGroupItems->GetSelCount();
  }
  btnGroupItemDelete->SetEnabled(selected > 0);
  if (FGroupMembersActive) {
    btnMoveUp->SetEnabled(selected > 0 && !firstRows);
    btnMoveDown->SetEnabled(selected > 0 && !lastRows);
  } else {
    btnMoveUp->SetEnabled(group && group->GetIndex() > 0);
    btnMoveDown->SetEnabled(group && group->GetIndex() < FBarManager->GetGroupCount() - 1);
  }
}

void TdxBarCustomizingFormDesign::btnGroupAddClick() {
  TdxBarGroup* group = FBarManager->AddGroup();
  if (TdxBarDesignerHook* hook = Hook()) group->SetName(hook->UniqueName(FBarManager, "dxBarGroup"));
  BeginGroupsUpdate();
  try {
    FillGroups();
    SelectGroup(group);
  } catch (...) {
    EndGroupsUpdate();
    throw;
  }
  EndGroupsUpdate();
  BarManagerDesignerModified(FBarManager);
}

void TdxBarCustomizingFormDesign::btnGroupDeleteClick() {
  TdxBarGroup* group = GetSelectedGroup();
  if (!group) return;
  const int index = lbGroups->GetItemIndex();
  TdxBarGroup* next = nullptr;
  if (index + 1 < lbGroups->GetCount())
    next = static_cast<TdxBarGroup*>(lbGroups->GetItems()->GetObject(index + 1));
  else if (index > 0)
    next = static_cast<TdxBarGroup*>(lbGroups->GetItems()->GetObject(index - 1));
  BeginGroupsUpdate();
  lbGroups->GetItems()->BeginUpdate();
  try {
    SelectGroup(next);
    delete group;
    FillGroups();
  } catch (...) {
    lbGroups->GetItems()->EndUpdate();
    EndGroupsUpdate();
    throw;
  }
  lbGroups->GetItems()->EndUpdate();
  EndGroupsUpdate();
  BarManagerDesignerModified(FBarManager);
}

// The chosen groups and items join the group in the order chosen; a group
// that would contain itself stops the adding with the members added so far
// kept (and shown).
void TdxBarCustomizingFormDesign::btnGroupItemAddClick() {
  TdxBarGroup* group = GetSelectedGroup();
  if (!group) return;
  std::vector<TComponent*> chosen;
  if (!AddGroupItemsDialog(group, chosen)) return;
  std::vector<TComponent*> added;
  auto show = [&] {
    BeginGroupsUpdate();
    FillGroupItems();
    SelectGroupItems(added);
    EndGroupsUpdate();
    BarManagerDesignerModified(FBarManager);
  };
  try {
    for (TComponent* member : chosen) {
      const bool present = group->IndexOf(member) >= 0;
      group->Add(member);
      if (!present && group->IndexOf(member) >= 0) added.push_back(member);
    }
  } catch (...) {
    show();
    throw;
  }
  show();
}

void TdxBarCustomizingFormDesign::btnGroupItemDeleteClick() {
  TdxBarGroup* group = GetSelectedGroup();
  if (!group || lbGroupItems->GetSelCount() == 0) return;
  const int count = lbGroupItems->GetCount();
  const int from = std::max(lbGroupItems->GetItemIndex(), 0);
  TComponent* kept = nullptr;
  for (int i = from; i < count && !kept; ++i)
    if (!lbGroupItems->GetSelected(i)) kept = static_cast<TComponent*>(lbGroupItems->GetItems()->GetObject(i));
  for (int i = std::min(from, count - 1); i >= 0 && !kept; --i)
    if (!lbGroupItems->GetSelected(i)) kept = static_cast<TComponent*>(lbGroupItems->GetItems()->GetObject(i));
  for (TComponent* member : GetSelectedGroupItems())
    group->Remove(member);
  BeginGroupsUpdate();
  FillGroupItems();
  SelectGroupItems(kept ? std::vector<TComponent*>{kept} : std::vector<TComponent*>{});
  EndGroupsUpdate();
  BarManagerDesignerModified(FBarManager);
}

// Up: the selected members close up into one block one row above the first
// of them (never above the top); down mirrors it.
void TdxBarCustomizingFormDesign::MoveGroupItems(int Delta) {
  TdxBarGroup* group = GetSelectedGroup();
  if (!group) return;
  std::vector<TComponent*> selected = GetSelectedGroupItems();
  if (selected.empty()) return;
  try {
    if (Delta < 0) {
      int position = std::max(group->IndexOf(selected.front()) - 1, 0);
      for (TComponent* member : selected)
        group->Move(group->IndexOf(member), position++);
    } else {
      int position = std::min(group->IndexOf(selected.back()) + 1, group->GetCount() - 1);
      for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        group->Move(group->IndexOf(*it), position--);
    }
  } catch (...) {
    RefreshGroupItems();
    throw;
  }
  RefreshGroupItems();
}

void TdxBarCustomizingFormDesign::btnMoveUpClick() {
  if (FGroupMembersActive) {
    MoveGroupItems(-1);
  } else if (TdxBarGroup* group = GetSelectedGroup()) {
    group->SetIndex(group->GetIndex() - 1);
    FillGroups();
  }
  BarManagerDesignerModified(FBarManager);
}

void TdxBarCustomizingFormDesign::btnMoveDownClick() {
  if (FGroupMembersActive) {
    MoveGroupItems(+1);
  } else if (TdxBarGroup* group = GetSelectedGroup()) {
    group->SetIndex(group->GetIndex() + 1);
    FillGroups();
  }
  BarManagerDesignerModified(FBarManager);
}
