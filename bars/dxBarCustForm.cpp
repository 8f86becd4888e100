// The customizing dialog: its components, built in code in the order of its
// definition, the toolbar list with its check squares, the commands list and
// the handlers of the Toolbars, Commands and Options pages.
#include "dxBarCustForm.h"

#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "StdCtrls.h"
#include "dxBarCommon.h"
#include "dxBarDesign.h"
#include "dxBarDesignForm.h"
#include "dxBarEdits.h"
#include "dxBarStrs.h"

namespace {

constexpr int kCommandRowHeight = 22;

TPoint PointOf(LPARAM LParam) {
  return TPoint(static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam)));
}

TdxBar* BarOfRow(TCustomListBox* List, int Index) {
  return static_cast<TdxBar*>(List->GetItems()->GetObject(Index));
}

// The toolbar list: a check square before each toolbar's caption shows and
// switches its visibility. (The class library's check-list box is another.)
class TCheckListBox : public TListBox {
public:
  explicit TCheckListBox(TComponent* AOwner) : TListBox(AOwner) { SetStyle(lbOwnerDrawFixed); }
  TdxBarManager* BarManager = nullptr;

  void ToggleBar(int Index) {
    if (Index < 0 || Index >= GetCount()) return;
    TdxBar* bar = BarOfRow(this, Index);
    if (!bar->CanClose()) {
      MessageBeep(0);
      return;
    }
    bar->SetVisible(!bar->GetVisible());
    InvalidateCheck(Index);
  }

  void InvalidateCheck(int Index) {
    if (!HandleAllocated() || Index < 0 || Index >= GetCount()) return;
    TRect r = ItemRect(Index);
    r.right = r.left + FCheckWidth;
    InvalidateRect(GetHandle(), &r, TRUE);
    UpdateWindow(GetHandle());
  }

  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_LBUTTONDBLCLK) {
      // A double click in the square is a second press: it toggles again.
      if (PointOf(Message.LParam).x < FCheckWidth) {
        Message.Msg = WM_LBUTTONDOWN;
      } else {
        TListBox::WndProc(Message);
        ToggleBar(ItemAtPos(PointOf(Message.LParam), true));
        return;
      }
    }
    TListBox::WndProc(Message);
  }

protected:
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override {
    const int h = Rect.Height();
    FCheckWidth = h;
    TRect text = Rect;
    text.left += h;
    TListBox::DrawItem(Index, text, State);
    if (Index < 0 || Index >= GetCount()) return;
    TdxBar* bar = BarOfRow(this, Index);
    RECT square{Rect.left + 1, Rect.top + 1, Rect.left + h - 1, Rect.bottom - 1};
    UINT flags = DFCS_BUTTONCHECK;
    if (bar->GetVisible()) flags |= DFCS_CHECKED;
    if (!bar->CanClose()) flags |= DFCS_INACTIVE;
    DrawFrameControl(GetCanvas()->GetHandle(), &square, DFC_BUTTON, flags);
  }

  // The list's type-ahead search takes the space too: it still toggles.
  void KeyPress(char& Key) override {
    const char key = Key;
    TListBox::KeyPress(Key);
    if (key == ' ') ToggleBar(GetItemIndex());
  }

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    TListBox::MouseDown(Button, Shift, X, Y);
    const int index = ItemAtPos(TPoint(X, Y), true);
    if (index >= 0 && X - ItemRect(index).left < FCheckWidth) ToggleBar(index);
  }

  String ClassName() const override { return "TCheckListBox"; }

private:
  int FCheckWidth = 0;
};

// The commands of the selected category, drawn like the manager's items;
// a command dragged from here goes onto a bar.
class TCommandsListBox : public TListBox {
public:
  TCommandsListBox(TComponent* AOwner, TdxBarCustomizingForm* AForm) : TListBox(AOwner), FForm(AForm) {
    SetStyle(lbOwnerDrawVariable);
    ControlStyle.Exclude(csCaptureMouse);
    ControlStyle.Include(csOpaque);
  }

  void WndProc(TMessage& Message) override {
    switch (Message.Msg) {
    case WM_ERASEBKGND:
      EraseBelowRows(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      // The system list draws a focus rectangle into an empty owner-drawn
      // list itself; an empty list shows only its background.
      if (GetCount() == 0) {
        PaintEmpty(Message);
        return;
      }
      break;
    case WM_KILLFOCUS:
      TListBox::WndProc(Message);
      if (GetCount() == 0) Invalidate();
      return;
    case CN_DRAWITEM: {
      if (GetCount() == 0) {
        Message.Result = 1;
        return;
      }
      TListBox::WndProc(Message);
      // The list's own focus rectangle is drawn once more, which takes it
      // away: only the painter's mark stays.
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
      if (dis->itemState & ODS_FOCUS) DrawFocusRect(dis->hDC, &dis->rcItem);
      return;
    }
    case WM_MOUSEACTIVATE: {
      TListBox::WndProc(Message);
      POINT cursor;
      GetCursorPos(&cursor);
      ::ScreenToClient(GetHandle(), &cursor);
      const int index = ItemAtPos(cursor, true);
      if (index >= 0) SetItemIndex(index);
      return;
    }
    case WM_SETFOCUS:
      TListBox::WndProc(Message);
      if (GetCount() == 0) Invalidate();
      if (GetItemIndex() < 0 && GetCount() > 0) {
        SetItemIndex(0);
        Click();
      }
      return;
    }
    TListBox::WndProc(Message);
  }

protected:
  void MeasureItem(int, int& Height) override { Height = kCommandRowHeight; }

  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override {
    if (Index < 0 || Index >= GetCount()) return;
    auto* item = static_cast<TdxBarItem*>(GetItems()->GetObject(Index));
    if (!item) return;
    TdxBarCustomizingFormPainterClass painter = FForm->GetPainterClass();
    TCanvas* canvas = GetCanvas();
    const bool selected = State.Contains(odSelected);
    const String caption = RemoveAmpersands(item->GetCaption());
    const TColor brushColor = canvas->GetBrush()->GetColor();
    const TColor penColor = canvas->GetPen()->GetColor();
    if (dynamic_cast<TdxBarEdit*>(item))
      painter->DrawEditCommand(canvas, Rect, selected, caption, item);
    else
      painter->DrawCommand(canvas, Rect, selected, caption, item);
    if (Index == GetCount() - 1) {
      canvas->GetBrush()->SetColor(painter->GetBackgroundColor(false, item));
      canvas->FillRect(TRect(Rect.left, Rect.bottom, Rect.right, GetClientRect().bottom));
    }
    canvas->GetBrush()->SetColor(brushColor);
    canvas->GetPen()->SetColor(penColor);
    if (State.Contains(odFocused)) painter->DrawFocus(canvas, Rect, item);
  }

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    TListBox::MouseDown(Button, Shift, X, Y);
    if (Button == mbRight) {
      SetFocus();
      SetItemIndex(ItemAtPos(TPoint(X, Y), true));
      Click();
      return;
    }
    if (Button != mbLeft || GetItemIndex() < 0) return;
    Click();
    POINT screen{X, Y};
    ::ClientToScreen(GetHandle(), &screen);
    if (!DragDetect(GetHandle(), screen)) return;
    // The command goes onto a bar through the manager's customizing drag.
    if (auto* item = static_cast<TdxBarItem*>(GetItems()->GetObject(GetItemIndex())))
      FForm->GetBarManager()->CustomizingDragLoop(item, nullptr);
  }

  String ClassName() const override { return "TCommandsListBox"; }

private:
  void PaintEmpty(TMessage& Message) {
    PAINTSTRUCT ps{};
    HDC dc = Message.Msg == WM_PAINT ? BeginPaint(GetHandle(), &ps) : reinterpret_cast<HDC>(Message.WParam);
    EraseBelowRows(dc);
    if (Message.Msg == WM_PAINT) EndPaint(GetHandle(), &ps);
    Message.Result = 0;
  }

  // Only what lies below the last row: the rows paint the rest themselves.
  void EraseBelowRows(HDC DC) {
    TRect r = GetClientRect();
    if (GetCount() > 0) r.top = std::max<LONG>(r.top, ItemRect(GetCount() - 1).bottom);
    if (r.top < r.bottom) FillRect(DC, &r, GetBrush()->GetHandle());
  }

  TdxBarCustomizingForm* FForm;
};

template <typename T> T* Make(TdxBarCustomizingForm* Form, TWinControl* Parent, const char* Name) {
  auto* control = new T(Form);
  control->SetName(Name);
  control->SetParent(Parent);
  return control;
}

TLabel* MakeLabel(TdxBarCustomizingForm* Form, TWinControl* Parent, const char* Name, int Left, int Top) {
  auto* label = Make<TLabel>(Form, Parent, Name);
  label->SetLeft(Left);
  label->SetTop(Top);
  return label;
}

TButton* MakeButton(TdxBarCustomizingForm* Form, TWinControl* Parent, const char* Name, const TRect& Bounds,
                    std::function<void()> Handler) {
  auto* button = Make<TButton>(Form, Parent, Name);
  button->SetBoundsRect(Bounds);
  button->OnClick = [Handler](TObject*) { Handler(); };
  return button;
}

TCheckBox* MakeCheckBox(TdxBarCustomizingForm* Form, TWinControl* Parent, const char* Name, int Left, int Top) {
  auto* box = Make<TCheckBox>(Form, Parent, Name);
  box->SetBounds(Left, Top, 320 - Left, 17);
  return box;
}

TBevel* MakeLine(TdxBarCustomizingForm* Form, TWinControl* Parent, const char* Name, int Top) {
  auto* bevel = Make<TBevel>(Form, Parent, Name);
  bevel->Shape = bsTopLine;
  bevel->SetBounds(8, Top, 330, 2);
  return bevel;
}

// The bevel after its label runs from the label's right edge to where it
// ended.
void FitBevelToLabel(TLabel* Label, TBevel* Bevel) {
  const int right = Bevel->GetLeft() + Bevel->GetWidth();
  const int left = Label->GetLeft() + Label->GetWidth();
  Bevel->SetBounds(left, Bevel->GetTop(), right - left, Bevel->GetHeight());
}

} // namespace

// ---- Construction ----

TdxBarCustomizingForm::TdxBarCustomizingForm(TdxBarManager* ABarManager)
    : TForm(nullptr), FBarManager(ABarManager) {
  SetName("dxBarCustomizingForm");
  SetBorderStyle(bsDialog);
  SetBorderIcons(TBorderIcons{biSystemMenu});
  Position = poScreenCenter;
  SetClientWidth(366);
  SetClientHeight(310);
  GetFont()->SetName("MS Sans Serif");
  GetFont()->SetSize(8);
  GetFont()->SetName(FBarManager->GetFont()->GetName());
  GetFont()->SetCharset(FBarManager->GetFont()->GetCharset());
  OnClose = [this](TObject*, TCloseAction& Action) { FormClose(Action); };
  CreateComponents();

  SetCaption(dxBarString(dxSBAR_CAPTION));
  TabSheet1->SetCaption(dxBarString(dxSBAR_TABSHEET1));
  TabSheet2->SetCaption(dxBarString(dxSBAR_TABSHEET2));
  TabSheet3->SetCaption(dxBarString(dxSBAR_TABSHEET3));

  BClose->SetCaption(dxBarString(dxSBAR_CLOSE));
  const int closeWidth = MeasureText(RemoveAmpersands(BClose->GetCaption())) + 49;
  BClose->SetBounds(BottomPanel->GetWidth() - 6 - closeWidth, BClose->GetTop(), closeWidth, BClose->GetHeight());
  UpdateHelpButton();

  GetCanvas()->GetFont()->Assign(GetFont());
  BarsListBox->SetItemHeight(TextExtentOnScreen(GetFont()->GetHandle(), "0").cy + 2);
  BBarReset->SetVisible(!FBarManager->GetDesigning() && FBarManager->CanResetBars());
  LabelToobars->SetCaption(dxBarString(dxSBAR_TOOLBARS));
  BBarNew->SetCaption(dxBarString(dxSBAR_TNEW));
  BBarRename->SetCaption(dxBarString(dxSBAR_TRENAME));
  BBarDelete->SetCaption(dxBarString(dxSBAR_TDELETE));
  BBarReset->SetCaption(dxBarString(dxSBAR_TRESET));

  LabelCategories->SetCaption(dxBarString(dxSBAR_CATEGORIES));
  LabelCommands->SetCaption(dxBarString(dxSBAR_COMMANDS));
  LabelDescription->SetCaption(dxBarString(dxSBAR_DESCRIPTION));

  LocalizeOptions();
  FillLists();
  LCategoriesClick();
  UpdateStyle();
  UpdateOptions();
  FitBevelToLabel(LabelDescription, Bevel1);
  FitBevelToLabel(Label3, Bevel3);
  FitBevelToLabel(Label2, Bevel2);
  if (Design) {
    Design->FillAllCommands();
    Design->FillGroups();
  }
}

void TdxBarCustomizingForm::CreateComponents() {
  BottomPanel = Make<TPanel>(this, this, "BottomPanel");
  BottomPanel->SetBevelOuter(bvNone);
  BottomPanel->SetHeight(36);
  BottomPanel->SetAlign(alBottom);
  BottomPanel->SetCaption("");
  BClose = MakeButton(this, BottomPanel, "BClose", Bounds(285, 7, 75, 23), [this] { Close(); });
  BClose->SetDefault(true);
  BClose->Cancel = true;
  BHelp = Make<TBitBtn>(this, BottomPanel, "BHelp");
  BHelp->SetBounds(6, 7, 24, 23);
  BHelp->OnClick = [this](TObject*) { BHelpClick(); };

  PageControl = Make<TPageControl>(this, this, "PageControl");
  PageControl->SetBounds(6, 8, GetClientWidth() - 12, GetClientHeight() - 36 - 8);
  PageControl->OnChange = [this](TObject*) { PageControlChange(); };
  CreateToolbarsPage();
  CreateCommandsPage();
  CreateOptionsPage();
  if (FBarManager->GetDesigning()) Design = std::make_unique<TdxBarCustomizingFormDesign>(this);
  PageControl->SetActivePage(TabSheet1);
}

void TdxBarCustomizingForm::CreateToolbarsPage() {
  TabSheet1 = new TTabSheet(this);
  TabSheet1->SetName("TabSheet1");
  TabSheet1->SetPageControl(PageControl);
  LabelToobars = MakeLabel(this, TabSheet1, "LabelToobars", 8, 6);
  auto* bars = new TCheckListBox(this);
  bars->SetName("BarsListBox");
  bars->BarManager = FBarManager;
  bars->SetParent(TabSheet1);
  bars->SetBounds(8, 22, 227, 213);
  bars->OnClick = [this](TObject*) { UpdateToolbarButtons(); };
  BarsListBox = bars;
  LabelToobars->FocusControl = BarsListBox;
  BBarNew = MakeButton(this, TabSheet1, "BBarNew", Bounds(240, 22, 104, 22), [this] { BBarNewClick(); });
  BBarRename = MakeButton(this, TabSheet1, "BBarRename", Bounds(240, 50, 104, 22), [this] { BBarRenameClick(); });
  BBarDelete = MakeButton(this, TabSheet1, "BBarDelete", Bounds(240, 78, 104, 22), [this] { BBarDeleteClick(); });
  BBarReset = MakeButton(this, TabSheet1, "BBarReset", Bounds(240, 106, 104, 22), [this] { BBarResetClick(); });
}

void TdxBarCustomizingForm::CreateCommandsPage() {
  TabSheet2 = new TTabSheet(this);
  TabSheet2->SetName("TabSheet2");
  TabSheet2->SetPageControl(PageControl);
  LabelCategories = MakeLabel(this, TabSheet2, "LabelCategories", 8, 6);
  LabelCommands = MakeLabel(this, TabSheet2, "LabelCommands", 150, 6);
  LCategories = Make<TListBox>(this, TabSheet2, "LCategories");
  LCategories->SetBounds(8, 22, 135, 154);
  LCategories->OnClick = [this](TObject*) { LCategoriesClick(); };
  LCategories->OnMouseDown = [this](TObject*, TMouseButton Button, TShiftState, int X, int Y) {
    if (Button != mbRight) return;
    LCategories->SetFocus();
    LCategories->SetItemIndex(LCategories->ItemAtPos(TPoint(X, Y), true));
    LCategoriesClick();
  };
  LabelCategories->FocusControl = LCategories;
  CommandsListBox = new TCommandsListBox(this, this);
  CommandsListBox->SetName("CommandsListBox");
  CommandsListBox->SetParent(TabSheet2);
  CommandsListBox->SetBounds(150, 22, 194, 154);
  CommandsListBox->OnClick = [this](TObject*) { LCommandsClick(); };
  LabelCommands->FocusControl = CommandsListBox;
  LabelDescription = MakeLabel(this, TabSheet2, "LabelDescription", 8, 182);
  Bevel1 = MakeLine(this, TabSheet2, "Bevel1", 189);
  DescriptionLabel = MakeLabel(this, TabSheet2, "DescriptionLabel", 8, 198);
  DescriptionLabel->SetAutoSize(false);
  DescriptionLabel->SetWordWrap(true);
  DescriptionLabel->SetBounds(8, 198, 335, 40);
}

void TdxBarCustomizingForm::CreateOptionsPage() {
  TabSheet3 = new TTabSheet(this);
  TabSheet3->SetName("TabSheet3");
  TabSheet3->SetPageControl(PageControl);
  auto panel = [this](const char* name) {
    auto* p = Make<TPanel>(this, TabSheet3, name);
    p->SetBevelOuter(bvNone);
    p->SetAlign(alClient);
    p->SetCaption("");
    return p;
  };
  auto combo = [this](TWinControl* parent, const char* name, int top) {
    auto* box = Make<TComboBox>(this, parent, name);
    box->SetStyle(csDropDownList);
    box->SetBounds(110, top, 100, 21);
    box->OnChange = [this, box](TObject*) {
      FBarManager->SetMenuAnimations(static_cast<TdxBarMenuAnimations>(std::max(box->GetItemIndex(), 0)));
    };
    return box;
  };
  auto largeIcons = [this](TCheckBox* box) {
    box->OnClick = [this, box](TObject*) { FBarManager->SetLargeIcons(box->GetChecked()); };
  };
  auto hint2 = [this](TCheckBox* box) {
    box->OnClick = [this, box](TObject*) { FBarManager->SetShowShortCutInHint(box->GetChecked()); };
  };

  StandardOptionsPanel = panel("StandardOptionsPanel");
  CBLargeIcons = MakeCheckBox(this, StandardOptionsPanel, "CBLargeIcons", 8, 10);
  largeIcons(CBLargeIcons);
  CBHint1 = MakeCheckBox(this, StandardOptionsPanel, "CBHint1", 8, 32);
  CBHint1->OnClick = [this](TObject*) { FBarManager->SetShowHint(CBHint1->GetChecked()); };
  CBHint2 = MakeCheckBox(this, StandardOptionsPanel, "CBHint2", 8, 54);
  hint2(CBHint2);
  LabelMenuAnimations = MakeLabel(this, StandardOptionsPanel, "LabelMenuAnimations", 8, 84);
  ComboBoxMenuAnimations = combo(StandardOptionsPanel, "ComboBoxMenuAnimations", 80);
  LabelMenuAnimations->FocusControl = ComboBoxMenuAnimations;

  EnhancedOptionsPanel = panel("EnhancedOptionsPanel");
  Label3 = MakeLabel(this, EnhancedOptionsPanel, "Label3", 8, 6);
  Bevel3 = MakeLine(this, EnhancedOptionsPanel, "Bevel3", 13);
  CBMenusShowRecentItemsFirst = MakeCheckBox(this, EnhancedOptionsPanel, "CBMenusShowRecentItemsFirst", 16, 24);
  CBMenusShowRecentItemsFirst->OnClick = [this](TObject*) {
    CBShowFullMenusAfterDelay->SetEnabled(CBMenusShowRecentItemsFirst->GetChecked());
    FBarManager->SetMenusShowRecentItemsFirst(CBMenusShowRecentItemsFirst->GetChecked());
  };
  CBShowFullMenusAfterDelay = MakeCheckBox(this, EnhancedOptionsPanel, "CBShowFullMenusAfterDelay", 32, 44);
  CBShowFullMenusAfterDelay->OnClick = [this](TObject*) {
    FBarManager->SetShowFullMenusAfterDelay(CBShowFullMenusAfterDelay->GetChecked());
  };
  BResetUsageData = MakeButton(this, EnhancedOptionsPanel, "BResetUsageData", Bounds(16, 66, 140, 23),
                               [this] { FBarManager->ResetUsageDataWithConfirmation(); });
  Label2 = MakeLabel(this, EnhancedOptionsPanel, "Label2", 8, 100);
  Bevel2 = MakeLine(this, EnhancedOptionsPanel, "Bevel2", 107);
  CBLargeIconsEx = MakeCheckBox(this, EnhancedOptionsPanel, "CBLargeIconsEx", 16, 118);
  largeIcons(CBLargeIconsEx);
  CBHint1Ex = MakeCheckBox(this, EnhancedOptionsPanel, "CBHint1Ex", 16, 138);
  CBHint1Ex->OnClick = [this](TObject*) {
    CBHint2Ex->SetEnabled(CBHint1Ex->GetChecked());
    FBarManager->SetShowHint(CBHint1Ex->GetChecked());
  };
  CBHint2Ex = MakeCheckBox(this, EnhancedOptionsPanel, "CBHint2Ex", 32, 158);
  hint2(CBHint2Ex);
  Label1 = MakeLabel(this, EnhancedOptionsPanel, "Label1", 16, 186);
  ComboBoxMenuAnimationsEx = combo(EnhancedOptionsPanel, "ComboBoxMenuAnimationsEx", 182);
  Label1->FocusControl = ComboBoxMenuAnimationsEx;
}

// Both panels get their captions and all five animations whatever the style
// at creation: the style may change while the dialog is open, and the other
// panel must then offer every animation too.
void TdxBarCustomizingForm::LocalizeOptions() {
  Label3->SetCaption(dxBarString(dxSBAR_PERSONALIZEDMENUSCAPTION));
  CBMenusShowRecentItemsFirst->SetCaption(dxBarString(dxSBAR_MENUSSHOWRECENTITEMS));
  CBShowFullMenusAfterDelay->SetCaption(dxBarString(dxSBAR_SHOWFULLMENUSAFTERDELAY));
  BResetUsageData->SetCaption(dxBarString(dxSBAR_RESETUSAGEDATA));
  BResetUsageData->SetWidth(MeasureText(RemoveAmpersands(BResetUsageData->GetCaption())) + 17);
  Label2->SetCaption(dxBarString(dxSBAR_OTHEROPTIONS));
  for (TCheckBox* box : {CBLargeIcons, CBLargeIconsEx})
    box->SetCaption(dxBarString(dxSBAR_LARGEICONS));
  for (TCheckBox* box : {CBHint1, CBHint1Ex})
    box->SetCaption(dxBarString(dxSBAR_HINTOPT1));
  for (TCheckBox* box : {CBHint2, CBHint2Ex})
    box->SetCaption(dxBarString(dxSBAR_HINTOPT2));
  SetMenuAnimationsLabel(LabelMenuAnimations, ComboBoxMenuAnimations);
  SetMenuAnimationsLabel(Label1, ComboBoxMenuAnimationsEx);
  FillMenuAnimations(ComboBoxMenuAnimations);
  FillMenuAnimations(ComboBoxMenuAnimationsEx);
}

int TdxBarCustomizingForm::MeasureText(const String& Text) {
  return TextExtentOnScreen(GetFont()->GetHandle(), Text).cx;
}

void TdxBarCustomizingForm::SetMenuAnimationsLabel(TLabel* Label, TComboBox* ComboBox) {
  Label->SetCaption(dxBarString(dxSBAR_MENUANIMATIONS));
  const int labelRight = Label->GetLeft() + Label->GetWidth();
  if (ComboBox->GetLeft() - labelRight < 10) ComboBox->SetLeft(labelRight + 10);
}

void TdxBarCustomizingForm::FillMenuAnimations(TComboBox* ComboBox) {
  TStrings* items = ComboBox->GetItems();
  items->Clear();
  int widest = 0;
  for (int i = maNone; i <= maFade; ++i) {
    const String text = dxBarString(dxSBAR_MENUANIM1 + i);
    items->Add(text);
    widest = std::max(widest, MeasureText(text));
  }
  ComboBox->SetWidth(widest + 54);
}

// The toolbars the user may see (hidden ones left out), the first shown one
// selected; the visible categories, the first selected.
void TdxBarCustomizingForm::FillLists() {
  TdxBars* bars = FBarManager->GetBars();
  int selected = -1;
  for (int i = 0; i < bars->GetCount(); ++i) {
    TdxBar* bar = bars->GetItem(i);
    if (bar->GetHidden() && !FBarManager->GetDesigning()) continue;
    const int index = BarsListBox->GetItems()->AddObject(bar->GetCaption(), bar);
    if (selected < 0 && bar->GetVisible()) selected = index;
  }
  BarsListBox->SetItemIndex(selected);
  TStrings* categories = FBarManager->GetCategories();
  for (int i = 0; i < categories->GetCount(); ++i)
    if (FBarManager->GetDesigning() || FBarManager->GetCategoryVisible(i)) LCategories->GetItems()->Add(categories->Get(i));
  if (LCategories->GetCount() > 0) LCategories->SetItemIndex(0);
  UpdateToolbarButtons();
}

void TdxBarCustomizingForm::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.Style = WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU;
  Params.ExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
  Params.WindowClass.style = CS_OWNDC | CS_SAVEBITS;
  if (TCustomForm* form = FBarManager->GetOwnerForm()) Params.WndParent = form->GetHandle();
}

TdxBarCustomizingFormPainterClass TdxBarCustomizingForm::GetPainterClass() const {
  return GetCustomizingFormPainterClass(FBarManager);
}

// ---- Updates ----

void TdxBarCustomizingForm::UpdateStyle() {
  CommandsListBox->SetColor(FBarManager->GetEffectiveStyle() == bmsFlat ? clWindow : clBtnFace);
  CommandsListBox->Invalidate();
}

void TdxBarCustomizingForm::UpdateHelpButton() {
  BHelp->SetGlyph(FBarManager->GetHelpButtonGlyph());
  BHelp->SetVisible(FBarManager->GetShowHelpButton());
}

void TdxBarCustomizingForm::UpdateOptions() {
  const bool standard = FBarManager->GetEffectiveStyle() == bmsStandard;
  StandardOptionsPanel->SetVisible(standard);
  EnhancedOptionsPanel->SetVisible(!standard);
  CBMenusShowRecentItemsFirst->SetChecked(FBarManager->GetMenusShowRecentItemsFirst());
  CBShowFullMenusAfterDelay->SetChecked(FBarManager->GetShowFullMenusAfterDelay());
  CBShowFullMenusAfterDelay->SetEnabled(CBMenusShowRecentItemsFirst->GetChecked());
  for (TCheckBox* box : {CBLargeIcons, CBLargeIconsEx})
    box->SetChecked(FBarManager->GetLargeIcons());
  for (TCheckBox* box : {CBHint1, CBHint1Ex})
    box->SetChecked(FBarManager->GetShowHint());
  for (TCheckBox* box : {CBHint2, CBHint2Ex})
    box->SetChecked(FBarManager->GetShowShortCutInHint());
  CBHint2Ex->SetEnabled(CBHint1Ex->GetChecked());
  for (TComboBox* box : {ComboBoxMenuAnimations, ComboBoxMenuAnimationsEx})
    box->SetItemIndex(FBarManager->GetMenuAnimations());
}

// ---- Toolbars page ----

TdxBar* TdxBarCustomizingForm::SelectedBar() {
  const int index = BarsListBox->GetItemIndex();
  return index >= 0 && BarsListBox->GetCount() > 0 ? BarOfRow(BarsListBox, index) : nullptr;
}

// Only toolbars the user made may be renamed or deleted.
void TdxBarCustomizingForm::UpdateToolbarButtons() {
  TdxBar* bar = SelectedBar();
  const bool designing = FBarManager->GetDesigning();
  BBarRename->SetEnabled(bar && (designing || !bar->LoadedFromForm));
  BBarDelete->SetEnabled(BBarRename->GetEnabled() && (designing || bar->CanClose()));
  if (TdxBarDesignerHook* hook = DesignerHookOf(FBarManager))
    hook->SelectComponent(FBarManager, bar ? static_cast<TPersistent*>(bar) : FBarManager);
  BBarReset->SetEnabled(bar && bar->CanReset());
}

void TdxBarCustomizingForm::BBarNewClick() {
  String name = MakeUniqueBarName(FBarManager->GetBars(), dxBarString(dxSBAR_NEWTOOLBARNAME));
  if (!EditBarName(name, 0, 0, nullptr, FBarManager)) return;
  TdxBar* bar = FBarManager->GetBars()->Add();
  bar->SetCaption(name);
  const TRect workArea = GetWorkAreaAtPoint(POINT{GetLeft(), GetTop()});
  int left = GetLeft() - 50;
  if (left < workArea.left) left = GetLeft() + GetWidth() + 10;
  int top = GetTop();
  if (top < workArea.top) top = workArea.top + 10;
  bar->SetFloatValue(1, left);
  bar->SetFloatValue(2, top);
  bar->SetVisible(true);
  BarsListBox->SetItemIndex(BarsListBox->GetItems()->AddObject(name, bar));
  UpdateToolbarButtons();
}

void TdxBarCustomizingForm::BBarRenameClick() {
  TdxBar* bar = SelectedBar();
  if (!bar) return;
  String name = bar->GetCaption();
  if (!EditBarName(name, 0, 1, bar, FBarManager)) return;
  const int index = BarsListBox->GetItemIndex();
  bar->SetCaption(name);
  BarsListBox->GetItems()->Put(index, name);
  BarsListBox->SetItemIndex(index);
}

void TdxBarCustomizingForm::BBarDeleteClick() {
  TdxBar* bar = SelectedBar();
  if (!bar) return;
  const int index = BarsListBox->GetItemIndex();
  const String text = Format(dxBarString(dxSBAR_WANTTODELETETOOLBAR), BarsListBox->GetItems()->Get(index));
  if (Application->MessageBox(text, Application->Title, MB_OKCANCEL | MB_ICONWARNING) != IDOK) return;
  BarsListBox->GetItems()->Delete(index);
  const int count = BarsListBox->GetCount();
  if (count > 0) BarsListBox->SetItemIndex(index < count ? index : count - 1);
  bar->SetIndex(FBarManager->GetBars()->GetCount() - 1);
  UpdateToolbarButtons();
  delete bar;
}

void TdxBarCustomizingForm::BBarResetClick() {
  if (TdxBar* bar = SelectedBar()) bar->ResetWithConfirmation();
}

void TdxBarCustomizingForm::BarChanged(TdxBar* Bar) {
  const int index = BarsListBox->GetItems()->IndexOfObject(Bar);
  if (index < 0) return;
  if (BarsListBox->GetItems()->Get(index) != Bar->GetCaption()) {
    const int selected = BarsListBox->GetItemIndex();
    BarsListBox->GetItems()->Put(index, Bar->GetCaption());
    BarsListBox->SetItemIndex(selected);
  }
  UpdateToolbarButtons();
  static_cast<TCheckListBox*>(BarsListBox)->InvalidateCheck(index);
}

void TdxBarCustomizingForm::BarRemoved(TdxBar* Bar) {
  const int index = BarsListBox->GetItems()->IndexOfObject(Bar);
  if (index >= 0) BarsListBox->GetItems()->Delete(index);
}

// ---- Commands page ----

void TdxBarCustomizingForm::LCategoriesClick() {
  if (Design) Design->SyncDesignerWithManager();
  TStrings* rows = CommandsListBox->GetItems();
  rows->BeginUpdate();
  rows->Clear();
  const int selected = LCategories->GetItemIndex();
  if (selected >= 0) {
    std::vector<TdxBarItem*> items;
    FBarManager->GetCategoryCommands(FBarManager->VisibleCategoryToIndex(selected), items);
    for (TdxBarItem* item : items)
      rows->AddObject(item->GetCaption(), item);
  }
  rows->EndUpdate();
  DescriptionLabel->SetCaption("");
}

void TdxBarCustomizingForm::LCommandsClick() {
  FBarManager->SetSelectedItemControl(nullptr);
  const int index = CommandsListBox->GetItemIndex();
  TdxBarItem* item = index >= 0 && CommandsListBox->GetCount() > 0
                         ? static_cast<TdxBarItem*>(CommandsListBox->GetItems()->GetObject(index))
                         : nullptr;
  TdxBarDesignerHook* hook = DesignerHookOf(FBarManager);
  if (hook && !FSelecting) hook->SelectComponent(FBarManager, item ? static_cast<TPersistent*>(item) : FBarManager);
  DescriptionLabel->SetCaption(item ? item->GetDescription() : String());
  DispatchPaintMessages();
}

void TdxBarCustomizingForm::RefreshCommands() {
  CommandsListBox->Repaint();
  FSelecting = true;
  LCommandsClick();
  FSelecting = false;
  if (Design) Design->CalcAllCommandsColumns();
}

void TdxBarCustomizingForm::SelectItem(TdxBarItem* Item, bool Force) {
  if (!Item) return;
  FSelecting = true;
  const int category = LCategories->GetItemIndex();
  if (Force || category < 0 || FBarManager->VisibleCategoryToIndex(category) != Item->GetCategory()) {
    int row = -1;
    for (int i = 0; i < LCategories->GetCount() && row < 0; ++i)
      if (FBarManager->VisibleCategoryToIndex(i) == Item->GetCategory()) row = i;
    LCategories->SetItemIndex(row);
    LCategoriesClick();
  }
  CommandsListBox->SetItemIndex(CommandsListBox->GetItems()->IndexOfObject(Item));
  LCommandsClick();
  FSelecting = false;
}

void TdxBarCustomizingForm::ItemsChanged() {
  if (Design && Design->Deleting()) return Design->FillAllCommands();
  FSelecting = true;
  const int row = CommandsListBox->GetItemIndex();
  LCategoriesClick();
  CommandsListBox->SetItemIndex(std::min(row, CommandsListBox->GetCount() - 1));
  LCommandsClick();
  FSelecting = false;
  if (!Design) return;
  Design->FillAllCommands();
  if (PageControl->GetActivePage() == Design->TabSheet4) PageControlChange();
}

void TdxBarCustomizingForm::ItemChanged(TdxBarItem* Item) {
  const int category = LCategories->GetItemIndex();
  if (category >= 0 && FBarManager->VisibleCategoryToIndex(category) == Item->GetCategory()) LCategoriesClick();
}

// ---- Pages, activation, help and closing ----

void TdxBarCustomizingForm::PageControlChange() {
  if (Design && Design->PageChanged()) return;
  if (PageControl->GetActivePage() == TabSheet1) UpdateToolbarButtons();
}

// The class library has no help system to open at the manager's context.
void TdxBarCustomizingForm::BHelpClick() {
  if (!FBarManager->GetDesigning()) FBarManager->DoHelpButtonClick();
}

void TdxBarCustomizingForm::FormClose(TCloseAction& Action) {
  DisableOwnerForms(true);
  Action = caFree;
}

void TdxBarCustomizingForm::OwnerWindowPosChanged(const WINDOWPOS& Pos) {
  if (!HandleAllocated()) return;
  if (Pos.flags & SWP_SHOWWINDOW) ShowWindow(GetHandle(), SW_SHOW);
  if (Pos.flags & SWP_HIDEWINDOW) ShowWindow(GetHandle(), SW_HIDE);
}
