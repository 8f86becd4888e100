#include "StandInsEdit.h"

#include "ComCtrls.h"

#include <commctrl.h>

#include <climits>

namespace {

// The system's up-down control, bound to the edit beside it: its arrows and
// the arrow keys step the integer in the edit's text.
class TUpDownControl : public TWinControl {
public:
  TUpDownControl(TComponent* AOwner, TEdit* buddy) : TWinControl(AOwner), FBuddy(buddy) {
    InitCommonControlsOnce();
  }

protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, UPDOWN_CLASSA);
    Params.Style |= UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
  }
  void CreateWndFinished() override {
    SendMessageA(FHandle, UDM_SETBUDDY, reinterpret_cast<WPARAM>(FBuddy->GetHandle()), 0);
    // No limits of its own, as the spin editor has none unless given.
    SendMessageA(FHandle, UDM_SETRANGE32, static_cast<WPARAM>(INT_MIN), INT_MAX);
  }
  String ClassName() const override { return "TUpDownControl"; }

private:
  TEdit* FBuddy;
};

bool TextToValue(const String& text, int& value) {
  int64_t v = 0;
  if (!TryStrToInt64(Trim(text), v) || v < INT_MIN || v > INT_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

int CALLBACK AddFontFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM data) {
  // Vertical variants of a family carry an "@" and are not names to choose.
  if (font->lfFaceName[0] == '@') return 1;
  try {
    reinterpret_cast<TStringList*>(data)->Add(font->lfFaceName);
    return 1;
  } catch (...) {
    return 0;
  }
}

// The font families of the screen, each once, sorted without regard to case.
void GetFontFamilies(TStringList& names) {
  names.SetSorted(true);
  names.Duplicates = dupIgnore;
  LOGFONTA font{};
  font.lfCharSet = DEFAULT_CHARSET;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExA(dc, &font, AddFontFamily, reinterpret_cast<LPARAM>(&names), 0);
  ReleaseDC(nullptr, dc);
}

} // namespace

TStandInSpinEdit::TStandInSpinEdit(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 121, 21);
  FEdit = new TEdit(this);
  FEdit->SetParent(this);
  FEdit->SetText("0");
  FEdit->OnExit = [this](TObject*) { Validate(); };
  FUpDown = new TUpDownControl(this, FEdit);
  FUpDown->SetParent(this);
}

void TStandInSpinEdit::SetValue(const Variant& Value) {
  FValue = Value.AsInteger();
  FEdit->SetText(IntToStr(FValue));
}

Variant TStandInSpinEdit::GetValue() const {
  int value = FValue;
  TextToValue(FEdit->GetText(), value);
  return Variant(value);
}

void TStandInSpinEdit::Validate() {
  if (!TextToValue(FEdit->GetText(), FValue)) FEdit->SetText(IntToStr(FValue));
}

void TStandInSpinEdit::SetFocus() {
  FEdit->SetFocus();
}

void TStandInSpinEdit::AlignControls(TControl*, TRect& Rect) {
  if (!FUpDown) return; // still being built
  const int buttonWidth = GetSystemMetrics(SM_CXVSCROLL);
  FEdit->SetBounds(0, 0, Rect.Width() - buttonWidth, Rect.Height());
  FUpDown->SetBounds(Rect.Width() - buttonWidth, 0, buttonWidth, Rect.Height());
}

TStrings* TStandInFontNameComboBoxProperties::GetItems() {
  return FCombo->GetItems();
}

TStandInFontNameComboBox::TStandInFontNameComboBox(TComponent* AOwner)
    : TComboBox(AOwner), FProperties(this) {
  TStringList names;
  GetFontFamilies(names);
  GetItems()->Assign(names);
}

void TStandInFontNameComboBox::SetItemIndex(int Index) {
  if (Index == GetItemIndex()) return;
  TComboBox::SetItemIndex(Index);
}
