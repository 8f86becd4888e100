// Edit and combo items in the flat looks: the Flat painter's highlight frame
// around a hot edit, its flat combo button and two-ring list border; the
// Office 2003 colours and gradients on the same shapes; the XP painter's
// themed edit frame and combo button.
#include "dxBarPainters.h"

#include "dxBarCommon.h"
#include "dxBarEdits.h"
#include "dxOffice11.h"
#include "dxThemeManager.h"
#include "dxUxTheme.h"

#include "cxEditTextUtils.h"

namespace {

constexpr int epEditText = 1;
constexpr int cpDropDownButton = 1;

bool InMenu(const TdxBarItemControl* Control) {
  return dynamic_cast<const TdxBarSubMenuControl*>(Control->GetBarControl()) != nullptr;
}

bool IsReadOnly(const TdxBarEditControl* Control) {
  const TdxBarEdit* edit = Control->GetEdit();
  return edit && edit->ReadOnly;
}

void Fill(HDC dc, const TRect& r, HBRUSH brush) {
  if (r.left < r.right && r.top < r.bottom) FillRect(dc, &r, brush);
}

// The combo's button at the right end of R, as wide as its window asks.
TRect ComboButtonRect(const TCustomdxBarComboControl* Control, const TRect& R) {
  return TRect(R.right - Control->GetBarControl()->ComboButtonWidth, R.top, R.right, R.bottom);
}

// The caption of an edit right aligned in its box, 5 pixels before its end.
void DrawBoxCaption(const TdxBarItemControlPainter* Painter, const TdxBarEditControl* Control, HDC DC,
                    const TRect& Box, bool Highlighted, bool FlatHighlight) {
  TRect text = Box;
  text.right -= 5;
  Painter->DrawCaption(Control, DC, Control->GetCaption(), text, 2, Control->GetEnabled(), Highlighted, false,
                       false, FlatHighlight);
}

} // namespace

// ---- Flat ----

void TdxBarItemControlFlatPainter::GetComboTextColors(const TdxBarItemControl* Control, int PaintType,
                                                      bool Enabled, bool Selected, bool DroppedDown,
                                                      int& TextColorIndex, HBRUSH& Brush) const {
  GetTextColors(Control, PaintType, Enabled, Selected, DroppedDown, TextColorIndex, Brush);
  if (InMenu(Control) && !Selected) Brush = Control->GetBarControl()->GetBarBackgroundBrush();
  if (!Enabled) TextColorIndex = COLOR_BTNSHADOW;
}

void TdxBarItemControlFlatPainter::DrawComboDropDownButton(const TCustomdxBarComboControl* Control, HDC DC,
                                                           int PaintType, bool Selected, const TRect& R,
                                                           TRect& ButtonRect) const {
  TCustomdxBarControl* window = Control->GetBarControl();
  TRect button = ComboButtonRect(Control, R);
  ButtonRect = button;
  const bool enabled = Control->GetEnabled(), dropped = Control->GetDroppedDown();
  int textColor = COLOR_BTNTEXT;
  HBRUSH brush = window->BackgroundBrush;
  GetComboTextColors(Control, PaintType, enabled, Selected, dropped, textColor, brush);
  if (Selected) {
    TRect frame = button;
    InflateRect(&frame, 1, 1);
    FrameSelected(DC, frame);
    Fill(DC, button, brush);
  } else {
    HBRUSH frame = enabled ? GetSysColorBrush(COLOR_BTNHIGHLIGHT) : window->BackgroundBrush;
    FrameRect(DC, &button, frame);
    Fill(DC, TRect(button.left - 1, button.top, button.left, button.bottom), frame);
    InflateRect(&button, -1, -1);
    Fill(DC, button, brush);
    if (dropped) OffsetRect(&button, 1, 1);
  }
  // The Standard arrow, flat.
  DrawComboButtonArrow(DC, button, true, textColor);
}

void TdxBarItemControlFlatPainter::DrawDropDownListBorder(HDC DC, const TRect& R) const {
  TRect r = R;
  FrameRect(DC, &r, GetSysColorBrush(COLOR_BTNSHADOW));
  InflateRect(&r, -1, -1);
  FrameRect(DC, &r, GetSysColorBrush(COLOR_WINDOW));
}

void TdxBarItemControlFlatPainter::DrawComboListItem(TCanvas* Canvas, const TRect& R, const String& Text,
                                                     bool DrawingValue) const {
  TRect r = R;
  if (DrawingValue) r.top += 2;
  Canvas->FillRect(R);
  HDC dc = Canvas->GetHandle();
  HGDIOBJ oldFont = SelectObject(dc, Canvas->GetFont()->GetHandle());
  const COLORREF oldColor = SetTextColor(dc, ColorToRGB(Canvas->GetFont()->GetColor()));
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, r.left + 2, r.top, Text.c_str(), static_cast<int>(Text.size()));
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
  SelectObject(dc, oldFont);
}

void TdxBarItemControlFlatPainter::DrawEditFrame(const TdxBarEditControl* Control, HDC DC, TRect& R,
                                                 int PaintType, bool Selected) const {
  TCustomdxBarControl* window = Control->GetBarControl();
  if (Selected)
    FrameSelected(DC, R);
  else if (PaintType == 1)
    FrameRect(DC, &R, window->BackgroundBrush);
  else if (Control->GetEnabled())
    FrameBackground(Control, DC, false, window->BackgroundBrush, R);
  else
    FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNSHADOW));
  InflateRect(&R, -1, -1);
}

void TdxBarItemControlFlatPainter::DrawEditCaption(const TdxBarEditControl* Control, HDC DC, bool Selected,
                                                   int PaintType, TRect& R) const {
  TCustomdxBarControl* window = Control->GetBarControl();
  const bool menuSelected = PaintType == 1 && Selected;
  TRect box(R.left, R.top, R.left + GetEditCaptionOffset(Control, CaptionTextWidth(window, Control->GetCaption())),
            R.bottom);
  R.left = box.right;
  TRect fill = box;
  if (menuSelected) {
    // The box reaches over the value's frame, which leaves its left side
    // to it.
    ++box.right;
    FrameSelected(DC, box);
    fill = box;
    InflateRect(&fill, -1, -1);
  }
  FillBackground(Control, DC, menuSelected || Control->NonRecent,
                 menuSelected ? window->GetSelectedBrush() : window->BackgroundBrush, fill);
  DrawBoxCaption(this, Control, DC, box, menuSelected, true);
}

void TdxBarItemControlFlatPainter::DrawEditValueText(const TdxBarEditControl* Control, HDC DC, bool,
                                                     const TRect& R) const {
  TdxBarItemControlPainter::DrawEditValueText(Control, DC, true, R);
}

void TdxBarItemControlFlatPainter::SetEditMargins(const TdxBarEditControl* Control, HWND Wnd) const {
  const TRect edit = Control->GetEditRect();
  RECT r{2, 2, edit.Width() - 2, edit.Height() - 2};
  SendMessageA(Wnd, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TdxBarItemControlFlatPainter::SelectEditText(HWND Wnd, bool Notify) const {
  if (Notify) SendMessageA(Wnd, WM_COMMAND, MAKEWPARAM(0, EN_CHANGE), reinterpret_cast<LPARAM>(Wnd));
  TdxBarItemControlPainter::SelectEditText(Wnd, Notify);
}

// ---- Office 2003 ----

void TdxBarItemControlOffice11Painter::GetComboTextColors(const TdxBarItemControl* Control, int PaintType,
                                                          bool Enabled, bool Selected, bool DroppedDown,
                                                          int& TextColorIndex, HBRUSH& Brush) const {
  GetTextColors(Control, PaintType, Enabled, Selected, DroppedDown, TextColorIndex, Brush);
  if (!Enabled) return;
  TCustomdxBarControl* window = Control->GetBarControl();
  if (Selected)
    Brush = window->GetSelectedBrush();
  else if (DroppedDown)
    Brush = window->GetCheckedSelectedBrush();
}

void TdxBarItemControlOffice11Painter::DrawComboDropDownButton(const TCustomdxBarComboControl* Control, HDC DC,
                                                               int PaintType, bool Selected, const TRect& R,
                                                               TRect& ButtonRect) const {
  TCustomdxBarControl* window = Control->GetBarControl();
  TRect button = ComboButtonRect(Control, R);
  ButtonRect = button;
  const bool enabled = Control->GetEnabled(), dropped = Control->GetDroppedDown();
  int textColor = static_cast<int>(Office11Colors.TextColor);
  HBRUSH brush = window->BackgroundBrush;
  GetComboTextColors(Control, PaintType, enabled, Selected, dropped, textColor, brush);
  if (Selected) {
    TRect frame = button;
    InflateRect(&frame, 1, 1);
    FrameRectWithBorderBrush(DC, frame);
    const TColor from = dropped ? Office11Colors.DownButtonDark : Office11Colors.HotButtonLight;
    const TColor to = dropped ? Office11Colors.DownButtonLight : Office11Colors.HotButtonDark;
    FillGradient(DC, button, from, false, to);
    InflateRect(&button, -1, -1);
  } else {
    HBRUSH frame = enabled ? GetSysColorBrush(COLOR_WINDOW) : brush;
    FrameRect(DC, &button, frame);
    Fill(DC, TRect(button.left - 1, button.top, button.left, button.bottom), frame);
    InflateRect(&button, -1, -1);
    if (enabled && PaintType == 1)
      Fill(DC, button, Office11Brushes.ToolbarFaceBrush);
    else
      FillBackground(Control, DC, !enabled, brush, button);
    if (dropped) OffsetRect(&button, 1, 1);
  }
  DrawComboButtonArrow(DC, button, true, textColor);
}

void TdxBarItemControlOffice11Painter::DrawDropDownListBorder(HDC DC, const TRect& R) const {
  TRect r = R;
  FrameRect(DC, &r, Office11Brushes.BarFrameBrush);
  InflateRect(&r, -1, -1);
  FrameRect(DC, &r, Office11Brushes.MenuBackgroundBrush);
}

int TdxBarItemControlOffice11Painter::GetEditCaptionOffset(const TdxBarEditControl* Control,
                                                           int CaptionWidth) const {
  int offset = TdxBarItemControlFlatPainter::GetEditCaptionOffset(Control, CaptionWidth);
  if (auto* menu = dynamic_cast<const TdxBarSubMenuControl*>(Control->GetBarControl()))
    offset += menu->GetGlyphColumnWidth() + 1;
  return offset;
}

void TdxBarItemControlOffice11Painter::DrawEditFrame(const TdxBarEditControl* Control, HDC DC, TRect& R,
                                                     int PaintType, bool Selected) const {
  if (Selected)
    FrameRectWithBorderBrush(DC, R);
  else if (!Control->GetEnabled())
    FrameRectWithColor(DC, R, Office11Colors.DisabledText);
  else if (PaintType == 1)
    FrameRect(DC, &R, Office11Brushes.ToolbarFaceBrush);
  else
    FrameBackground(Control, DC, false, Control->GetBarControl()->BackgroundBrush, R);
  InflateRect(&R, -1, -1);
}

void TdxBarItemControlOffice11Painter::DrawEditCaption(const TdxBarEditControl* Control, HDC DC, bool Selected,
                                                       int PaintType, TRect& R) const {
  TCustomdxBarControl* window = Control->GetBarControl();
  const bool menuSelected = PaintType == 1 && Selected;
  TRect box(R.left, R.top, R.left + GetEditCaptionOffset(Control, CaptionTextWidth(window, Control->GetCaption())),
            R.bottom);
  R.left = box.right;
  if (menuSelected) {
    TRect frame = box;
    InflateRect(&frame, 1, 1);
    FrameRectWithBorderBrush(DC, frame);
    FillBackground(Control, DC, true, window->GetSelectedBrush(), box);
  } else {
    FillBackground(Control, DC, false, window->BackgroundBrush, box);
  }
  DrawBoxCaption(this, Control, DC, box, menuSelected, false);
}

// ---- XP ----

void TdxBarItemControlXPPainter::DrawComboDropDownButton(const TCustomdxBarComboControl* Control, HDC DC, int,
                                                         bool Selected, const TRect& R, TRect& ButtonRect) const {
  ButtonRect = ComboButtonRect(Control, R);
  const int state = !Control->GetEnabled()     ? 4
                    : Control->GetDroppedDown() ? 3
                    : Selected                  ? 2
                                                : 1;
  dxUxTheme::DrawThemeBackground(OpenThemeHandle(totComboBox), DC, cpDropDownButton, state, &ButtonRect, nullptr);
}

void TdxBarItemControlXPPainter::DrawDropDownListBorder(HDC DC, const TRect& R) const {
  TdxBarItemControlFlatPainter::Instance()->DrawDropDownListBorder(DC, R);
}

void TdxBarItemControlXPPainter::DrawComboListItem(TCanvas* Canvas, const TRect& R, const String& Text,
                                                   bool DrawingValue) const {
  TdxBarItemControlFlatPainter::Instance()->DrawComboListItem(Canvas, R, Text, DrawingValue);
}

DWORD TdxBarItemControlXPPainter::GetEditStyle() const {
  return TdxBarItemControlFlatPainter::Instance()->GetEditStyle();
}

void TdxBarItemControlXPPainter::SetEditMargins(const TdxBarEditControl* Control, HWND Wnd) const {
  TdxBarItemControlFlatPainter::Instance()->SetEditMargins(Control, Wnd);
}

void TdxBarItemControlXPPainter::SelectEditText(HWND Wnd, bool Notify) const {
  TdxBarItemControlFlatPainter::Instance()->SelectEditText(Wnd, Notify);
}

void TdxBarItemControlXPPainter::DrawEditFrame(const TdxBarEditControl* Control, HDC DC, TRect& R, int PaintType,
                                               bool Selected) const {
  const bool enabled = Control->GetEnabled();
  const int state = GetEditThemeState(enabled, IsReadOnly(Control));
  HTHEME theme = OpenThemeHandle(totEdit);
  const TRect bounds = R;
  RECT content = bounds;
  if (FAILED(dxUxTheme::GetThemeBackgroundContentRect(theme, DC, epEditText, state, &bounds, &content))) {
    content = bounds;
    InflateRect(&content, -1, -1);
  }
  HRGN saved = IntersectClipRectSaving(DC, bounds);
  ExcludeClipRect(DC, content.left, content.top, content.right, content.bottom);
  if (Selected || !enabled || PaintType == 1)
    dxUxTheme::DrawThemeBackground(theme, DC, epEditText, state, &bounds, nullptr);
  else
    FillBackground(Control, DC, Control->NonRecent, Control->GetBarControl()->BackgroundBrush, bounds);
  RestoreClipRegion(DC, saved);
  R = TRect(content.left, content.top, content.right, content.bottom);
}

void TdxBarItemControlXPPainter::DrawEditCaption(const TdxBarEditControl* Control, HDC DC, bool Selected,
                                                 int PaintType, TRect& R) const {
  TCustomdxBarControl* window = Control->GetBarControl();
  const bool menuSelected = PaintType == 1 && Selected;
  const TRect box(R.left, R.top,
                  R.left + GetEditCaptionOffset(Control, CaptionTextWidth(window, Control->GetCaption())), R.bottom);
  R.left = box.right;
  FillBackground(Control, DC, menuSelected || Control->NonRecent,
                 menuSelected ? window->GetSelectedBrush() : window->BackgroundBrush, box);
  DrawBoxCaption(this, Control, DC, box, menuSelected, false);
}

void TdxBarItemControlXPPainter::DrawEditValueText(const TdxBarEditControl* Control, HDC DC, bool,
                                                   const TRect& R) const {
  HTHEME theme = OpenThemeHandle(totEdit);
  const int state = GetEditThemeState(Control->GetEnabled(), IsReadOnly(Control));
  const TColor background = state == etsDisabled ? GetEditThemeFillColor(theme, state) : clWindow;
  DrawEditValueWithColors(Control, DC, R, GetEditThemeTextColor(theme, state), background);
}
