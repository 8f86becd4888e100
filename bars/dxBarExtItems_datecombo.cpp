// The date combo item: its date kept as text, the drop-down calendar, the
// "Select the date" dialog, and its control's "+" and "-" keys.
#include "dxBarExtCombos.h"

#include "dxBarCommon.h"
#include "dxBarStrs.h"

#include "DateUtils.h"

#include <oleauto.h>

namespace {

enum : UINT { sOK = 65037, sCancel = 65038, sSelectTheDate = 65063 };

String FormatDate(const SYSTEMTIME& Time, const char* Format) {
  char buffer[100] = {};
  const int length = GetDateFormatA(LOCALE_USER_DEFAULT, 0, &Time, Format, buffer, sizeof(buffer));
  return length > 0 ? String(buffer) : String();
}

struct TFlagScope {
  bool& Flag;
  explicit TFlagScope(bool& AFlag) : Flag(AFlag) { Flag = true; }
  ~TFlagScope() { Flag = false; }
};

} // namespace

// The combo's calendar: its drop-down takes the bar window's font and lies
// detached on top of everything; in the dialog a double click on a day
// confirms the dialog.
class TdxBarDateComboNavigator : public TdxBarDateNavigator {
public:
  TdxBarDateComboNavigator(TComponent* AOwner, TdxBarDateCombo* ACombo, bool ADropDownMode)
      : TdxBarDateNavigator(AOwner, ADropDownMode), OwnerCombo(ACombo) {}
  TdxBarDateCombo* OwnerCombo;

protected:
  void CreateParams(TCreateParams& Params) override {
    TdxBarDateNavigator::CreateParams(Params);
    if (!GetDropDownMode()) return;
    Params.Style |= WS_CHILD;
    if (GetFrameStyle() != 2) Params.Style |= WS_DLGFRAME;
    Params.ExStyle |= WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    Params.WindowClass.style |= CS_SAVEBITS;
  }
  void CreateWnd() override {
    Manager = OwnerCombo->GetBarManager();
    TdxBarItemLink* link = OwnerCombo->GetActiveLink();
    if (TdxBarItemControl* control = link ? link->GetControl() : nullptr) {
      GetFont()->SetHandle(control->GetBarControl()->GetFontHandle());
      GetFont()->SetColor(clWindowText);
    }
    TdxBarDateNavigator::CreateWnd();
    if (!GetDropDownMode()) return;
    ::SetParent(GetHandle(), nullptr);
    TMessage focus{WM_SETFOCUS, 0, 0, 0};
    DefaultHandler(focus);
  }
  void WndProc(TMessage& Message) override {
    TdxBarDateNavigator::WndProc(Message);
    if (Message.Msg != WM_LBUTTONDBLCLK || GetDropDownMode() || !OwnerCombo->GetDialog()) return;
    const TDateTime day = DateAtPoint(static_cast<short>(LOWORD(Message.LParam)),
                                      static_cast<short>(HIWORD(Message.LParam)));
    if (day != NullDate) OwnerCombo->GetDialog()->SetModalResult(mrOk);
  }
};

// ---- TdxBarDateCombo ----

TdxBarItemClass TdxBarDateCombo::ClassInfo() { return MakeBarItemClassInfo<TdxBarDateCombo>("TdxBarDateCombo"); }

TdxBarDateCombo::TdxBarDateCombo(TComponent* AOwner) : TCustomdxBarCombo(AOwner) {
  auto glyph = std::make_unique<TBitmap>();
  glyph->LoadFromResourceName(GetModuleHandleA(nullptr), "DXBARDATECOMBO");
  SetGlyph(glyph.get());
  SetTextInternally(DateToText(Date()));
  FNavigator = new TdxBarDateComboNavigator(this, this, true);
  // Set last: a new item's text has no day name until its date is set again.
  FShowDayText = true;
}

TdxBarDateNavigator* TdxBarDateCombo::GetNavigator() const { return FNavigator; }
TdxBarDateNavigator* TdxBarDateCombo::GetDialogNavigator() const { return FDialogNavigator; }

String TdxBarDateCombo::DateToText(TDateTime Value) const {
  if (Value == NullDate) return String();
  int year = 0, month = 0, day = 0;
  DecodeDate(Value, year, month, day);
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(year);
  time.wMonth = static_cast<WORD>(month);
  time.wDay = static_cast<WORD>(day);
  // The real weekday, also on and before 30 December 1899.
  time.wDayOfWeek = static_cast<WORD>(WeekdayOf(Value));
  const String date = FormatDate(time, nullptr);
  return FShowDayText ? FormatDate(time, "ddd ") + date : date;
}

TDateTime TdxBarDateCombo::TextToDate(const String& Text) {
  String text = Text;
  if (const size_t blank = text.find(' '); blank != String::npos) text.erase(0, blank + 1);
  for (char& c : text)
    if (c == '.') c = ' ';
  if (text.empty()) return NullDate;
  std::wstring wide(text.size() + 1, L'\0');
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  if (length <= 0) return NullDate;
  DATE date = 0;
  if (FAILED(VarDateFromStr(wide.data(), LOCALE_USER_DEFAULT, 0, &date))) return NullDate;
  return date;
}

TDateTime TdxBarDateCombo::ClampDate(TDateTime Value) const {
  if (FMinDate == 0 && FMaxDate == 0) return Value;
  if (Value < FMinDate) return FMinDate;
  if (Value > FMaxDate) return FMaxDate;
  return Value;
}

void TdxBarDateCombo::SetTextInternally(const String& Value) {
  TFlagScope scope(FInternal);
  SetText(Value);
}

void TdxBarDateCombo::SetText(const String& Value) {
  const String text = DateToText(ClampDate(TextToDate(Value)));
  TCustomdxBarCombo::SetText(text);
  if (!FInternal) FDateOnStart = bdsCustom;
}

void TdxBarDateCombo::SetDate(TDateTime Value) { SetText(DateToText(ClampDate(Value))); }

void TdxBarDateCombo::SetMinDate(TDateTime Value) {
  Value = std::min(Value, FMaxDate);
  if (Value == FMinDate) return;
  FMinDate = Value;
  const TDateTime date = GetDate();
  if (ClampDate(date) != date) SetDate(date);
}

void TdxBarDateCombo::SetMaxDate(TDateTime Value) {
  Value = std::max(Value, FMinDate);
  if (Value == FMaxDate) return;
  FMaxDate = Value;
  const TDateTime date = GetDate();
  if (ClampDate(date) != date) SetDate(date);
}

void TdxBarDateCombo::SetShowDayText(bool Value) {
  if (Value == FShowDayText) return;
  const TDateTime date = GetDate();
  FShowDayText = Value;
  SetTextInternally(DateToText(date));
}

void TdxBarDateCombo::SetDateOnStart(TdxBarDateOnStart Value) {
  if (Value == FDateOnStart) return;
  FDateOnStart = Value;
  if (!IsLoading()) ApplyDateOnStart();
}

void TdxBarDateCombo::ApplyDateOnStart() {
  TFlagScope scope(FInternal);
  switch (FDateOnStart) {
  case bdsToday: SetDate(Date()); break;
  case bdsNullDate: SetDate(NullDate); break;
  case bdsCustom: SetDate(GetDate()); break;
  }
}

void TdxBarDateCombo::Loaded() {
  ApplyDateOnStart();
  TCustomdxBarCombo::Loaded();
}

bool TdxBarDateCombo::CheckKeyForDropDownWindow(WORD Key, TShiftState Shift) {
  return Key == VK_RETURN || TCustomdxBarCombo::CheckKeyForDropDownWindow(Key, Shift);
}

HWND TdxBarDateCombo::GetDropDownWindow() {
  if (HWND window = TCustomdxBarCombo::GetDropDownWindow()) return window;
  // The window is made only while the drop-down has its parent.
  if (!FNavigator->HandleAllocated() && !FNavigator->GetParent()) return nullptr;
  return FNavigator->GetHandle();
}

void TdxBarDateCombo::DoDropDown(int X, int Y) {
  TDateTime date = TextToDate(GetCurText());
  if (date == NullDate) date = Date();
  FNavigator->SetShownMonth(date);
  FNavigator->SetSelection(date);
  FNavigator->OnSelect = [this](TObject*) { AcceptDropDown(); };
  FNavigator->ShowTodayButton = ShowTodayButton;
  FNavigator->ShowClearButton = ShowClearButton;
  TdxBarManager* manager = GetBarManager();
  FNavigator->SetParent(manager ? manager->GetOwnerForm() : nullptr);
  TCustomdxBarCombo::DoDropDown(X, Y);
}

void TdxBarDateCombo::AcceptDropDown() {
  const TDateTime date = FNavigator->GetRangeStart();
  if (TdxBarItemLink* link = GetActiveLink()) {
    link->GetSourceLink()->MarkAsRecentlyUsed(true);
    if (TdxBarManager* manager = GetBarManager()) manager->DeactivateAll();
  }
  SetDate(date);
}

void TdxBarDateCombo::DoCloseUp() {
  if (FNavigator->HandleAllocated() && IsWindowVisible(FNavigator->GetHandle())) {
    if (GetCapture() == FNavigator->GetHandle()) ReleaseCapture();
    FNavigator->CancelMode();
  }
  TCustomdxBarCombo::DoCloseUp();
  FNavigator->SetParent(nullptr);
}

void TdxBarDateCombo::DoClick() {
  TCustomdxBarCombo::DoClick();
  if (!OnClick && !ReadOnly) RunDialog();
}

void TdxBarDateCombo::RunDialog() {
  TdxBarManager* manager = GetBarManager();
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBorderStyle(bsDialog);
  form->SetCaption(dxBarString(sSelectTheDate));
  if (manager) form->GetFont()->Assign(manager->GetFont());
  form->Position = poScreenCenter;
  auto* edit = new TEdit(form.get());
  edit->SetParent(form.get());
  auto* navigator = new TdxBarDateComboNavigator(form.get(), this, false);
  navigator->SetFrameStyle(0);
  navigator->SetParent(form.get());
  navigator->SetVisible(true);
  navigator->HandleNeeded();
  auto addButton = [&](const String& caption) {
    auto* button = new TButton(form.get());
    button->SetParent(form.get());
    button->SetCaption(caption);
    return button;
  };
  TButton* ok = addButton(dxBarString(sOK));
  ok->SetDefault(true);
  ok->ModalResult = mrOk;
  TButton* cancel = addButton(dxBarString(sCancel));
  cancel->Cancel = true;
  cancel->ModalResult = mrCancel;
  TButton* today = ShowTodayButton ? addButton(dxBarTodayText()) : nullptr;
  TButton* clear = ShowClearButton ? addButton(dxBarClearText()) : nullptr;

  navigator->OnSelect = [this, edit, navigator](TObject*) {
    edit->SetText(DateToText(navigator->GetRangeStart()));
  };
  edit->OnChange = [edit, navigator](TObject*) {
    const String text = edit->GetText();
    const TDateTime date = TextToDate(text);
    if (date != NullDate || text.empty()) navigator->SetSelection(date);
  };
  auto choose = [this, edit, navigator](TDateTime date) {
    navigator->SetSelection(date);
    edit->SetText(DateToText(navigator->GetRangeStart()));
  };
  if (today) today->OnClick = [choose](TObject*) { choose(Date()); };
  if (clear) clear->OnClick = [choose](TObject*) { choose(NullDate); };

  // The layout from the calendar's metrics.
  const int bw = MulDiv(navigator->TodayWidth, 3, 2), bh = MulDiv(navigator->DateButtonHeight, 7, 6);
  const int e = navigator->DateButtonHeight / 4;
  const int editHeight = edit->GetHeight();
  const int clientWidth = navigator->GetWidth() + bw + 3 * e;
  const int clientHeight = 3 * e + editHeight + navigator->GetHeight();
  form->SetClientWidth(clientWidth);
  form->SetClientHeight(clientHeight);
  edit->SetBounds(e, e, navigator->GetWidth(), editHeight);
  navigator->SetBounds(e, e + editHeight + e, navigator->GetWidth(), navigator->GetHeight());
  const int buttonsLeft = e + navigator->GetWidth() + e;
  ok->SetBounds(buttonsLeft, e, bw, bh);
  cancel->SetBounds(buttonsLeft, e + bh + e, bw, bh);
  if (today) today->SetBounds(buttonsLeft, clientHeight - 2 * e - 2 * bh, bw, bh);
  if (clear) clear->SetBounds(buttonsLeft, clientHeight - e - bh, bw, bh);

  edit->SetText(GetText());
  FDialog = form.get();
  FDialogEdit = edit;
  FDialogNavigator = navigator;
  struct TForget {
    TdxBarDateCombo* Combo;
    ~TForget() {
      Combo->FDialog = nullptr;
      Combo->FDialogEdit = nullptr;
      Combo->FDialogNavigator = nullptr;
    }
  } forget{this};
  if (form->ShowModal() == mrOk) SetDate(TextToDate(edit->GetText()));
}

// ---- TdxBarDateComboControl ----

void TdxBarDateComboControl::WndProc(TMessage& Message) {
  if (Message.Msg == WM_CHAR && (Message.WParam == '+' || Message.WParam == '-')) {
    auto* combo = dynamic_cast<TdxBarDateCombo*>(GetItem());
    const TDateTime date = combo ? TdxBarDateCombo::TextToDate(GetText()) : NullDate;
    if (date != NullDate) SetText(combo->DateToText(date + (Message.WParam == '+' ? 1 : -1)));
    return;
  }
  TCustomdxBarComboControl::WndProc(Message);
}
