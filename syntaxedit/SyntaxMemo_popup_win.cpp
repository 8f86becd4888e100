// The code-template pop-up: an owner-drawn list of the language's templates
// that opens at the caret when the template key finds no name before it.
// Typing filters it, Return or a click chooses, Escape or leaving it closes.
#include "SyntaxMemo.h"

#include "SynParse.h"
#include "SysUtils.h"
#include "WinApi.h"

#include <algorithm>

class TTemplatePopup : public TListBox {
public:
  TTemplatePopup(TCustomSyntaxMemo& editor) : TListBox(&editor), FEditor(&editor) {}

  void Open();
  void Forget() { FEditor = nullptr; }

protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void DoExit() override;
  void Click() override;
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  void MeasureItem(int Index, int& Height) override;
  String ClassName() const override { return "TTemplatePopup"; }

private:
  TCodeTemplates& Templates() { return FEditor->GetModel().GetSettings().GetCodeTemplates(); }
  bool SelectByFilter();
  void Choose();
  HFONT BoldFont();

  TCustomSyntaxMemo* FEditor;
  String FSelectionWord;
  String FFilter;
  bool FSavedHideSelection = true;
  int FDescriptionWidth = 0;
  int FNameWidth = 0;
  std::unique_ptr<TFont> FBold;
};

HFONT TTemplatePopup::BoldFont() {
  if (!FBold) {
    FBold = std::make_unique<TFont>();
    FBold->Assign(GetFont());
    FBold->SetStyle(TFontStyles{fsBold});
  }
  return FBold->GetHandle();
}

void TTemplatePopup::Open() {
  TSyntaxMemoModel& model = FEditor->GetModel();
  TCodeTemplates& templates = Templates();
  FSelectionWord = templates.GetSelectionWord();
  FSavedHideSelection = FEditor->HideSelection;
  const int caret = model.GetCaret();
  if (!FSelectionWord.empty()) {
    model.SetSelection(caret - static_cast<int>(FSelectionWord.size()), caret, true);
    FEditor->HideSelection = false;
  }
  SetParent(FEditor);
  GetFont()->SetName("Arial");
  GetFont()->SetSize(8);
  Ctl3D = false;
  SetStyle(lbOwnerDrawVariable);
  SetVisible(false);
  GetItems()->Clear();
  HDC dc = GetDC(nullptr);
  int preselected = -1;
  FDescriptionWidth = 0;
  FNameWidth = 0;
  for (const TMacroKeywords::TMacroEntry& entry : templates.GetEntries()) {
    SIZE size{};
    HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
    GetTextExtentPoint32A(dc, entry.Description.c_str(), static_cast<int>(entry.Description.size()), &size);
    FDescriptionWidth = std::max<int>(FDescriptionWidth, size.cx);
    SelectObject(dc, BoldFont());
    GetTextExtentPoint32A(dc, entry.Name.c_str(), static_cast<int>(entry.Name.size()), &size);
    FNameWidth = std::max<int>(FNameWidth, size.cx);
    SelectObject(dc, old);
    const int index = GetItems()->Add(entry.Description + "\t" + entry.Name);
    if (preselected < 0 && !FSelectionWord.empty() &&
        LowerCase(entry.Name).find(FSelectionWord) != String::npos)
      preselected = index;
  }
  ReleaseDC(nullptr, dc);
  const TEdPoint p = model.PositionToPoint(caret);
  const int lineHeight = FEditor->GetLineHeight();
  const int height = GetHeight();
  const int width = FDescriptionWidth + FNameWidth + 48;
  int top = p.Y + lineHeight;
  if (top + height > FEditor->GetClientHeight()) top = p.Y - height;
  int left = std::max(0, p.X);
  if (left + width > FEditor->GetWidth()) left = std::max(0, FEditor->GetWidth() - width - 24);
  SetBounds(left, top, width, height);
  SetItemIndex(preselected < 0 ? 0 : preselected);
  FFilter.clear();
  BringToFront();
  SetVisible(true);
  SetFocus();
}

void TTemplatePopup::MeasureItem(int, int& Height) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, BoldFont());
  SIZE size{};
  GetTextExtentPoint32A(dc, "Wy", 2, &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  Height = size.cy + 2;
}

void TTemplatePopup::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  TCanvas* canvas = GetCanvas();
  HDC dc = canvas->GetHandle();
  const bool selected = State.Contains(odSelected);
  SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &Rect, "", 0, nullptr);
  const String text = GetItems()->Get(Index);
  const size_t tab = text.find('\t');
  const String description = text.substr(0, tab);
  const String name = tab == String::npos ? String() : text.substr(tab + 1);
  HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
  TextOutA(dc, Rect.left + 2, Rect.top + 1, description.c_str(), static_cast<int>(description.size()));
  SelectObject(dc, BoldFont());
  TextOutA(dc, Rect.left + FDescriptionWidth + 24, Rect.top + 1, name.c_str(), static_cast<int>(name.size()));
  SelectObject(dc, old);
}

void TTemplatePopup::KeyDown(WORD& Key, TShiftState Shift) {
  TListBox::KeyDown(Key, Shift);
  if (!FEditor) return;
  if (Key == VK_RETURN) {
    Key = 0;
    Choose();
  } else if (Key == VK_ESCAPE) {
    Key = 0;
    FEditor->SetFocus();
  }
}

bool TTemplatePopup::SelectByFilter() {
  const String filter = LowerCase(FFilter);
  for (int i = 0; i < GetCount(); ++i) {
    const String text = GetItems()->Get(i);
    const size_t tab = text.find('\t');
    const String name = LowerCase(tab == String::npos ? text : text.substr(tab + 1));
    if (name.compare(0, filter.size(), filter) == 0) {
      SetItemIndex(i);
      return true;
    }
  }
  return false;
}

void TTemplatePopup::KeyPress(char& Key) {
  TListBox::KeyPress(Key);
  if (!FEditor || Key == 0 || static_cast<unsigned char>(Key) < 32) return;
  FFilter += Key;
  if (SelectByFilter()) {
    Key = 0;
    return;
  }
  const bool single = FFilter.size() == 1;
  FFilter = single ? String() : String(1, Key);
  if (!single && SelectByFilter()) Key = 0;
  if (!single && Key != 0) FFilter.clear();
}

void TTemplatePopup::Click() {
  TListBox::Click();
  if (FEditor) Choose();
}

void TTemplatePopup::DoExit() {
  TListBox::DoExit();
  SetVisible(false);
  if (!FEditor) return;
  FEditor->HideSelection = FSavedHideSelection;
  TSyntaxMemoModel& model = FEditor->GetModel();
  const int end = std::max(model.GetAnchor(), model.GetCaret());
  model.SetSelection(end, end, true);
}

void TTemplatePopup::Choose() {
  const int index = GetItemIndex();
  TCodeTemplates& templates = Templates();
  if (index >= 0 && templates.OnFire) {
    const String text = GetItems()->Get(index);
    const size_t tab = text.find('\t');
    const String name = tab == String::npos ? text : text.substr(tab + 1);
    String expansion;
    templates.FindTemplate(name, expansion);
    TSyntaxMemoModel& model = FEditor->GetModel();
    if (LowerCase(name).find(FSelectionWord) == String::npos) {
      const int end = std::max(model.GetAnchor(), model.GetCaret());
      model.SetSelection(end, end, false);
    }
    FEditor->HideSelection = FSavedHideSelection;
    templates.OnFire(&templates, String(), expansion);
  }
  FEditor->SetFocus();
}

TCustomListBox* TCustomSyntaxMemo::GetTemplatePopup() const {
  return FPopup;
}

void TCustomSyntaxMemo::ShowTemplatePopup() {
  CloseTemplatePopup();
  FPopup = new TTemplatePopup(*this);
  FPopup->Open();
}

void TCustomSyntaxMemo::CloseTemplatePopup() {
  if (!FPopup) return;
  TTemplatePopup* popup = FPopup;
  FPopup = nullptr;
  popup->Forget();
  delete popup;
}
