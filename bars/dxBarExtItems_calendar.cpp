// The calendar base and the date navigator of the date items.
#include "dxBarExtItems.h"

#include "DateUtils.h"
#include "dxBarCommon.h"

#include <algorithm>

namespace {

String LocaleText(LCTYPE Type) {
  char buffer[100] = {};
  GetLocaleInfoA(GetThreadLocale(), Type, buffer, sizeof(buffer));
  return buffer;
}

String MonthTitle(TDateTime Date) {
  int year, month, day;
  DecodeDate(WholeDay(Date), year, month, day);
  return LocaleText(LOCALE_SMONTHNAME1 + month - 1) + " " + IntToStr(year);
}

TDateTime MonthsAfter(TDateTime Month, int Delta) {
  int year, month, day;
  DecodeDate(WholeDay(Month), year, month, day);
  ShiftMonths(year, month, Delta);
  return EncodeDate(year, month, 1);
}

constexpr int kMonthListRows = 7;

void FillColour(HDC DC, const TRect& R, TColor Colour) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Colour));
  FillRect(DC, &R, brush);
  DeleteObject(brush);
}

} // namespace


// ---- TdxBarCustomCalendar ----

TdxBarCustomCalendar::TdxBarCustomCalendar(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle.Include(csDoubleClicks);
  FShownMonth = WholeDay(Date());
  FRangeStart = FRangeEnd = FShownMonth;
}

void TdxBarCustomCalendar::SetFrameStyle(int Value) {
  if (Value == FFrameStyle) return;
  FFrameStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

TDateTime TdxBarCustomCalendar::GetRangeStart() const {
  return FRangeEnd <= FRangeStart && FRangeEnd != NullDate ? FRangeEnd : FRangeStart;
}

TDateTime TdxBarCustomCalendar::GetRangeEnd() const {
  return FRangeEnd <= FRangeStart && FRangeEnd != NullDate ? FRangeStart : FRangeEnd;
}

void TdxBarCustomCalendar::SetShownMonth(TDateTime Value) {
  if (Value != FShownMonth) FShownMonth = Value;
}

void TdxBarCustomCalendar::SetSelection(TDateTime Value) {
  FRangeStart = Value;
  FRangeEnd = NullDate;
  SetRangeEnd(Value);
}

void TdxBarCustomCalendar::SetRangeEnd(TDateTime Value) {
  if (Value == FRangeEnd) return;
  MakeSelectionVisible();
  FRangeEnd = Value;
  MakeSelectionVisible();
  Invalidate();
}

void TdxBarCustomCalendar::CancelMode() {
  if (HandleAllocated()) SendMessageA(GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(-1, -1));
}

void TdxBarCustomCalendar::DoSelect() {
  if (OnSelect) OnSelect(this);
}

void TdxBarCustomCalendar::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
  if (GetFrameStyle() == 0) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TdxBarCustomCalendar::CreateWnd() {
  TCustomControl::CreateWnd();
  // The metrics exist before the first paint.
  SendMessageA(GetHandle(), CM_FONTCHANGED, 0, 0);
}

void TdxBarCustomCalendar::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_ERASEBKGND: Message.Result = 1; return;
  case WM_CANCELMODE:
    CancelMode();
    break;
  case WM_CAPTURECHANGED:
    // Only a capture taken by another window; a release gives it to none.
    if (HandleAllocated() && Message.LParam != 0 && reinterpret_cast<HWND>(Message.LParam) != GetHandle())
      CancelMode();
    break;
  }
  TCustomControl::WndProc(Message);
}

// ---- TdxBarDateNavigator ----

TdxBarDateNavigator::TdxBarDateNavigator(TComponent* AOwner, bool ADropDownMode)
    : TdxBarCustomCalendar(AOwner), FDropDownMode(ADropDownMode) {
  SetVisible(false);
  FShownMonth = FirstOfMonth(FShownMonth);
  SetBounds(GetLeft(), GetTop(), 20, 20);
}

TdxBarDateNavigator::~TdxBarDateNavigator() { StopTimer(); }

TdxBarItemControlPainterClass TdxBarDateNavigator::Painter() const {
  return Manager ? Manager->GetPainterClass() : nullptr;
}

int TdxBarDateNavigator::GetFrameStyle() const {
  const int style = TdxBarCustomCalendar::GetFrameStyle();
  return style == 1 && Manager && dxBarExtPainter::IsFlatCalendar(Manager) ? 2 : style;
}

TDateTime TdxBarDateNavigator::GetFirstShownDate() const {
  return CalendarFirstShown(FShownMonth, dxBarFirstDayOfWeek());
}

TDateTime TdxBarDateNavigator::GetLastShownDate() const {
  return CalendarLastShown(FShownMonth, dxBarFirstDayOfWeek());
}

TDateTime TdxBarDateNavigator::GetLastDate() const { return LastOfMonth(FShownMonth); }

void TdxBarDateNavigator::SetShownMonth(TDateTime Value) {
  TdxBarCustomCalendar::SetShownMonth(FirstOfMonth(Value));
}

void TdxBarDateNavigator::SetRangeEnd(TDateTime Value) {
  if (Value != FRangeEnd) FRangeStart = Value;
  TdxBarCustomCalendar::SetRangeEnd(Value);
}

void TdxBarDateNavigator::MakeSelectionVisible() {
  const TDateTime start = GetRangeStart();
  if (start == NullDate) return;
  SetShownMonth(CalendarMonthShowing(FShownMonth, start, dxBarFirstDayOfWeek()));
}

void TdxBarDateNavigator::CalcMetrics() {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
  SIZE zero{}, today{}, clear{};
  GetTextExtentPoint32A(dc, "0", 1, &zero);
  GetTextExtentPoint32A(dc, dxBarTodayText().c_str(), static_cast<int>(dxBarTodayText().size()), &today);
  GetTextExtentPoint32A(dc, dxBarClearText().c_str(), static_cast<int>(dxBarClearText().size()), &clear);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  CellWidth = 3 * zero.cx;
  SideMargin = 2 * zero.cx;
  CellHeight = zero.cy + 2;
  TitleHeight = zero.cy + 4 + (GetFrameStyle() != 0 ? 1 : 0);
  DayNamesHeight = CellHeight + 1;
  TodayWidth = today.cx + CellWidth;
  ClearWidth = clear.cx + CellWidth;
  const int points = FontPointSize(GetFont()->GetHandle());
  ButtonGap = points / 2;
  DateButtonHeight = MulDiv(points, 5, 2);
  ButtonBandHeight = points * 3 / 4 + DateButtonHeight + ButtonGap;
  int frameX = 0, frameY = 0;
  if (HandleAllocated()) {
    RECT window, client;
    GetWindowRect(GetHandle(), &window);
    ::GetClientRect(GetHandle(), &client);
    frameX = (window.right - window.left) - client.right;
    frameY = (window.bottom - window.top) - client.bottom;
  }
  int height = frameY + TitleHeight + DayNamesHeight + 6 * CellHeight + 1 + (GetFrameStyle() == 0 ? 1 : 0);
  if (FDropDownMode && (ShowTodayButton || ShowClearButton)) height += ButtonBandHeight;
  SetBounds(GetLeft(), GetTop(), frameX + 2 * SideMargin + 7 * CellWidth, height);
}

TRect TdxBarDateNavigator::GetLeftArrowRect() { return TRect(1, 1, CellWidth - 1, TitleHeight - 1); }

TRect TdxBarDateNavigator::GetRightArrowRect() {
  const int w = GetClientWidth();
  return TRect(w - CellWidth, 1, w - 1 - (GetFrameStyle() == 0 ? 1 : 0), TitleHeight - 1);
}

TRect TdxBarDateNavigator::GetTitleRect() {
  return TRect(CellWidth, 1, GetClientWidth() - CellWidth - (GetFrameStyle() == 0 ? 1 : 0), TitleHeight - 1);
}

TRect TdxBarDateNavigator::GetTodayButtonRect() {
  if (!FDropDownMode || !ShowTodayButton) return TRect();
  const int top = GetClientHeight() + ButtonGap - ButtonBandHeight, w = GetClientWidth();
  const int left = ShowClearButton ? (w - TodayWidth - ClearWidth) / 3 : (w - TodayWidth) / 2;
  return TRect(left, top, left + TodayWidth, top + DateButtonHeight);
}

TRect TdxBarDateNavigator::GetClearButtonRect() {
  if (!FDropDownMode || !ShowClearButton) return TRect();
  const int top = GetClientHeight() + ButtonGap - ButtonBandHeight, w = GetClientWidth();
  const int left = ShowTodayButton ? w - (w - TodayWidth - ClearWidth) / 3 - ClearWidth : (w - ClearWidth) / 2;
  return TRect(left, top, left + ClearWidth, top + DateButtonHeight);
}

TDateTime TdxBarDateNavigator::DateAtPoint(int X, int Y) {
  const int top = GetMonthTop() + DayNamesHeight;
  if (X < SideMargin || X >= GetClientWidth() - SideMargin || Y < top || Y >= top + 6 * CellHeight) return NullDate;
  const int column = (X - SideMargin) / CellWidth, row = (Y - top) / CellHeight;
  if (column > 6) return NullDate;
  return CalendarDateAt(FShownMonth, dxBarFirstDayOfWeek(), row, column);
}

void TdxBarDateNavigator::CreateWnd() {
  TdxBarCustomCalendar::CreateWnd();
  CalcMetrics();
}

void TdxBarDateNavigator::StopTimer() {
  if (FTimer && HandleAllocated()) KillTimer(GetHandle(), FTimer);
  FTimer = 0;
}

void TdxBarDateNavigator::CancelMode() {
  TdxBarCustomCalendar::CancelMode();
  StopTimer();
  FMonthScroller.reset();
  FTodayActive = FTodayPressed = FClearActive = FClearPressed = false;
}

void TdxBarDateNavigator::MoveMonth(int Delta) {
  SetShownMonth(MonthsAfter(FShownMonth, Delta));
  Invalidate();
}

void TdxBarDateNavigator::OpenMonthScroller() {
  FMonthScroller = std::make_unique<TAMonthListBox>(nullptr, this);
  // The shown month is the fourth of the seven rows.
  FMonthScroller->FirstRowMonth = MonthsAfter(FShownMonth, -3);
  FMonthScroller->GetFont()->Assign(GetFont());
  FMonthScroller->HandleNeeded();
  FMonthScroller->Perform(CM_FONTCHANGED, 0, 0);
  const TRect title = GetTitleRect();
  POINT centre{(title.left + title.right) / 2, (title.top + title.bottom) / 2};
  ::ClientToScreen(GetHandle(), &centre);
  const int w = FMonthScroller->GetWidth(), h = FMonthScroller->GetHeight();
  SetWindowPos(FMonthScroller->GetHandle(), HWND_TOPMOST, centre.x - w / 2, centre.y - h / 2, w, h,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TdxBarDateNavigator::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case CM_FONTCHANGED:
    TdxBarCustomCalendar::WndProc(Message);
    CalcMetrics();
    return;
  case WM_TIMER:
    if (Message.WParam == ArrowTimerId && FTimer) {
      POINT p;
      GetCursorPos(&p);
      ::ScreenToClient(GetHandle(), &p);
      const TRect arrow = FTimerDelta < 0 ? GetLeftArrowRect() : GetRightArrowRect();
      if (arrow.Contains(p)) MoveMonth(FTimerDelta);
      return;
    }
    break;
  case WM_NCCALCSIZE:
    if (GetFrameStyle() != 0) {
      auto* r = reinterpret_cast<RECT*>(Message.LParam);
      InflateRect(r, -1, -1);
      Message.Result = 0;
      return;
    }
    break;
  case WM_NCPAINT:
    if (GetFrameStyle() != 0) {
      HDC dc = GetWindowDC(GetHandle());
      RECT r;
      GetWindowRect(GetHandle(), &r);
      OffsetRect(&r, -r.left, -r.top);
      if (Flat())
        FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
      else
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
      ReleaseDC(GetHandle(), dc);
      Message.Result = 0;
      return;
    }
    break;
  case WM_DESTROY:
    StopTimer();
    break;
  case WM_GETDLGCODE:
    Message.Result = DLGC_WANTARROWS | (FDropDownMode ? DLGC_WANTALLKEYS : 0);
    return;
  }
  TdxBarCustomCalendar::WndProc(Message);
}

void TdxBarDateNavigator::PaintButton(HDC DC, const TRect& R, const String& Text, bool Pressed) {
  TRect r = R;
  if (Pressed) {
    DrawFrameControl(DC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
  } else {
    auto line = [&](int x1, int y1, int x2, int y2, int colour) {
      HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(colour));
      HGDIOBJ old = SelectObject(DC, pen);
      MoveToEx(DC, x1, y1, nullptr);
      LineTo(DC, x2, y2);
      SelectObject(DC, old);
      DeleteObject(pen);
    };
    FillColour(DC, r, clBtnFace);
    line(r.left, r.bottom - 1, r.right - 1, r.bottom - 1, COLOR_BTNTEXT);
    line(r.right - 1, r.top, r.right - 1, r.bottom, COLOR_BTNTEXT);
    line(r.left, r.top, r.right - 1, r.top, COLOR_BTNFACE);
    line(r.left, r.top, r.left, r.bottom - 1, COLOR_BTNFACE);
    line(r.left + 1, r.bottom - 2, r.right - 2, r.bottom - 2, COLOR_BTNSHADOW);
    line(r.right - 2, r.top + 1, r.right - 2, r.bottom - 1, COLOR_BTNSHADOW);
    line(r.left + 1, r.top + 1, r.right - 2, r.top + 1, COLOR_BTNHIGHLIGHT);
    line(r.left + 1, r.top + 1, r.left + 1, r.bottom - 2, COLOR_BTNHIGHLIGHT);
    SetPixel(DC, r.right - 2, r.top + 1, GetSysColor(COLOR_BTNFACE));
  }
  InflateRect(&r, -2, -2);
  const int offset = Pressed ? 1 : 0;
  SIZE size{};
  GetTextExtentPoint32A(DC, Text.c_str(), static_cast<int>(Text.size()), &size);
  SetTextColor(DC, GetSysColor(COLOR_BTNTEXT));
  SetBkColor(DC, GetSysColor(COLOR_BTNFACE));
  const int old = SetBkMode(DC, TRANSPARENT);
  ExtTextOutA(DC, r.left + (r.Width() - size.cx) / 2 + offset, r.top + (r.Height() - size.cy) / 2 + offset,
              ETO_CLIPPED, &r, Text.c_str(), static_cast<UINT>(Text.size()), nullptr);
  SetBkMode(DC, old);
}

void TdxBarDateNavigator::Paint() {
  HDC dc = GetCanvas()->GetHandle();
  HGDIOBJ oldFont = SelectObject(dc, GetFont()->GetHandle());
  const int w = GetClientWidth(), h = GetClientHeight(), style = GetFrameStyle();
  const int firstDay = dxBarFirstDayOfWeek();
  HRGN background = CreateRectRgn(0, 0, w, h);
  auto done = [&](const TRect& R) { SubtractRectFromRegion(background, R); };
  HRGN saved = nullptr;
  bool existed = false;
  SaveDCClipRegion(dc, saved, existed);

  // The header with its arrows and title.
  TRect header(0, 0, w, TitleHeight);
  done(header);
  HPEN textPen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT));
  HGDIOBJ oldPen = SelectObject(dc, textPen);
  if (style == 0) {
    MoveToEx(dc, header.left, header.bottom, nullptr);
    LineTo(dc, header.right, header.bottom);
    MoveToEx(dc, header.right - 1, header.top, nullptr);
    LineTo(dc, header.right - 1, header.bottom);
    header.right -= 1;
    done(TRect(0, TitleHeight, w, TitleHeight + 1));
  }
  if (style == 2) {
    FillColour(dc, TRect(header.left, header.bottom - 1, header.right, header.bottom), clBtnShadow);
    header.bottom -= 1;
  } else {
    DrawEdge(dc, &header, BDR_RAISEDINNER, BF_RECT);
    InflateRect(&header, -1, -1);
  }
  int a = header.Height() / 2;
  if (a % 2 == 0) ++a;
  const int centre = header.top + header.Height() / 2;
  HBRUSH textBrush = CreateSolidBrush(GetSysColor(COLOR_BTNTEXT));
  HGDIOBJ oldBrush = SelectObject(dc, textBrush);
  FillColour(dc, header, clBtnFace);
  auto triangle = [&](int baseX, int tipX) {
    POINT points[3] = {{baseX, centre - a / 2}, {baseX, centre + a / 2}, {tipX, centre}};
    Polygon(dc, points, 3);
    // The triangle as drawn, outline included, leaves the clip region.
    const int inward = tipX < baseX ? 1 : 0;
    POINT outline[3] = {{baseX + 1 - inward, centre - a / 2 - 1}, {baseX + 1 - inward, centre + a / 2 + 1},
                        {tipX + (tipX < baseX ? -1 : 1), centre}};
    HRGN region = CreatePolygonRgn(outline, 3, WINDING);
    ExtSelectClipRgn(dc, region, RGN_DIFF);
    DeleteObject(region);
  };
  const int leftBase = header.left + SideMargin - 2, rightBase = header.right - SideMargin + 1;
  triangle(leftBase, leftBase - a / 2);
  triangle(rightBase, rightBase + a / 2);
  SelectObject(dc, oldBrush);
  DeleteObject(textBrush);
  const TColor headerColour = dxBarExtPainter::GetCalendarHeaderColor(Painter());
  FillColour(dc, header, headerColour);
  const String title = MonthTitle(FShownMonth);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  RECT titleRect = header;
  DrawTextA(dc, title.c_str(), static_cast<int>(title.size()), &titleRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, oldPen);
  DeleteObject(textPen);
  RestoreDCClipRegion(dc, saved, existed);

  // The day names.
  const int monthTop = GetMonthTop();
  const TRect names(0, monthTop, w, monthTop + DayNamesHeight);
  FillColour(dc, TRect(0, names.top, 8, names.bottom - 2), clWindow);
  FillColour(dc, TRect(w - 8, names.top, w, names.bottom - 2), clWindow);
  FillColour(dc, TRect(SideMargin, names.bottom - 2, w - SideMargin, names.bottom - 1), clBtnShadow);
  FillColour(dc, TRect(0, names.bottom - 1, w, names.bottom), clWindow);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  SetBkMode(dc, OPAQUE);
  for (int column = 0; column < 7; ++column) {
    const int weekday = (firstDay + column) % 7;
    const String name = LocaleText(LOCALE_SABBREVDAYNAME1 + (weekday + 6) % 7);
    const int chars = !name.empty() && IsDBCSLeadByte(static_cast<BYTE>(name[0])) ? 2 : 1;
    RECT cell{SideMargin + column * CellWidth, names.top, SideMargin + (column + 1) * CellWidth - 3,
              names.bottom - 2};
    RECT fill{SideMargin + column * CellWidth, names.top, SideMargin + (column + 1) * CellWidth, names.bottom - 2};
    FillColour(dc, fill, clWindow);
    DrawTextA(dc, name.c_str(), std::min<int>(chars, static_cast<int>(name.size())), &cell,
              DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  }
  FillColour(dc, TRect(8, names.top, SideMargin, names.bottom - 2), clWindow);
  FillColour(dc, TRect(w - SideMargin, names.top, w - 8, names.bottom - 2), clWindow);
  done(names);

  // The days.
  const TDateTime today = WholeDay(Date()), start = GetRangeStart(), end = GetRangeEnd();
  int shownYear, shownMonth, shownDay;
  DecodeDate(FShownMonth, shownYear, shownMonth, shownDay);
  const TColor flatSelection = Manager ? Manager->GetFlatSelectionColor() : clHighlight;
  for (int row = 0; row < 6; ++row)
    for (int column = 0; column < 7; ++column) {
      const TDateTime day = CalendarDateAt(FShownMonth, firstDay, row, column);
      TRect cell(SideMargin + column * CellWidth, names.bottom + row * CellHeight,
                 SideMargin + (column + 1) * CellWidth, names.bottom + (row + 1) * CellHeight);
      done(cell);
      if (day == today) {
        HBRUSH maroon = CreateSolidBrush(RGB(128, 0, 0));
        FrameRect(dc, &cell, maroon);
        DeleteObject(maroon);
        InflateRect(&cell, -1, -1);
      }
      const bool selected = start != NullDate && day >= WholeDay(start) && day <= WholeDay(end == NullDate ? start : end);
      int y, m, d;
      DecodeDate(day, y, m, d);
      TColor back = clWindow;
      int text = m == shownMonth ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT;
      if (selected) {
        back = style == 2 ? flatSelection : style == 0 ? clHighlight : clBtnFace;
        text = style == 2 ? COLOR_WINDOWTEXT : COLOR_HIGHLIGHTTEXT;
      }
      SetTextColor(dc, GetSysColor(text));
      SetBkColor(dc, ColorToRGB(back));
      const String number = IntToStr(d);
      RECT textRect = cell;
      textRect.right -= 3;
      FillColour(dc, cell, back);
      DrawTextA(dc, number.c_str(), static_cast<int>(number.size()), &textRect, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    }

  // The buttons of the drop-down form.
  if (FDropDownMode && (ShowTodayButton || ShowClearButton)) {
    const int lineY = h - ButtonBandHeight - 1;
    FillColour(dc, TRect(SideMargin, lineY, w - SideMargin, lineY + 1), clBtnShadow);
    done(TRect(SideMargin, lineY, w - SideMargin, lineY + 1));
    if (ShowTodayButton) {
      PaintButton(dc, GetTodayButtonRect(), dxBarTodayText(), FTodayActive && FTodayPressed);
      done(GetTodayButtonRect());
    }
    if (ShowClearButton) {
      PaintButton(dc, GetClearButtonRect(), dxBarClearText(), FClearActive && FClearPressed);
      done(GetClearButtonRect());
    }
  }
  HBRUSH window = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
  FillRgn(dc, background, window);
  DeleteObject(window);
  DeleteObject(background);
  SelectObject(dc, oldFont);
}

void TdxBarDateNavigator::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TdxBarCustomCalendar::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const POINT p{X, Y};
  if (FDropDownMode && (ShowTodayButton || ShowClearButton) && Y >= GetClientHeight() - ButtonBandHeight) {
    if (ShowTodayButton && GetTodayButtonRect().Contains(p)) FTodayActive = FTodayPressed = true;
    if (ShowClearButton && GetClearButtonRect().Contains(p)) FClearActive = FClearPressed = true;
    if (FTodayActive || FClearActive) {
      SetCapture(GetHandle());
      Invalidate();
    }
    return;
  }
  if (!Shift.Contains(ssDouble)) {
    FPressDate = GetRangeStart();
    const TDateTime date = DateAtPoint(X, Y);
    if (date != NullDate) SetSelection(date);
  }
  if (GetTitleRect().Contains(p) && !GetLeftArrowRect().Contains(p) && !GetRightArrowRect().Contains(p)) {
    OpenMonthScroller();
    return;
  }
  if (GetLeftArrowRect().Contains(p) || GetRightArrowRect().Contains(p)) {
    FTimerDelta = GetLeftArrowRect().Contains(p) ? -1 : 1;
    MoveMonth(FTimerDelta);
    FTimer = SetTimer(GetHandle(), ArrowTimerId, ArrowTimerPeriod, nullptr);
  }
}

void TdxBarDateNavigator::MouseMove(TShiftState Shift, int X, int Y) {
  TdxBarCustomCalendar::MouseMove(Shift, X, Y);
  if (FTimer) return;
  const POINT p{X, Y};
  if (FMonthScroller) {
    POINT q = p;
    ::ClientToScreen(GetHandle(), &q);
    ::ScreenToClient(FMonthScroller->GetHandle(), &q);
    FMonthScroller->TrackPointer(q.x, q.y);
    return;
  }
  if (FTodayActive || FClearActive) {
    const bool on = (FTodayActive ? GetTodayButtonRect() : GetClearButtonRect()).Contains(p);
    bool& pressed = FTodayActive ? FTodayPressed : FClearPressed;
    if (on != pressed) {
      pressed = on;
      Invalidate();
    }
    return;
  }
  if (Shift.Contains(ssLeft) && GetCapture() == GetHandle()) {
    const TRect client(0, 0, GetClientWidth(), GetClientHeight());
    const TDateTime date = DateAtPoint(X, Y);
    if (date != NullDate)
      SetSelection(date);
    else if (!client.Contains(p) && FPressDate != NullDate)
      SetSelection(FPressDate);
  }
}

void TdxBarDateNavigator::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TdxBarCustomCalendar::MouseUp(Button, Shift, X, Y);
  if (FTimer) {
    StopTimer();
    return;
  }
  const POINT p{X, Y};
  if (FMonthScroller) {
    const TDateTime chosen = FMonthScroller->GetChosenMonth();
    FMonthScroller.reset();
    // The chosen month stays shown: restoring the pressed date would move
    // the view back to the selection's month.
    if (chosen != NullDate) {
      SetShownMonth(chosen);
      Invalidate();
    }
    return;
  }
  if (FTodayActive || FClearActive) {
    const bool today = FTodayActive, pressed = FTodayActive ? FTodayPressed : FClearPressed;
    FTodayActive = FTodayPressed = FClearActive = FClearPressed = false;
    if (GetCapture() == GetHandle()) ReleaseCapture();
    Invalidate();
    if (!pressed) return;
    SetSelection(today ? TDateTime(WholeDay(Date())) : NullDate);
    DoSelect();
    return;
  }
  const TRect client(0, 0, GetClientWidth(), GetClientHeight());
  if (client.Contains(p) && DateAtPoint(X, Y) != NullDate)
    DoSelect();
  else if (FPressDate != NullDate && !(X == -1 && Y == -1))
    SetSelection(FPressDate);
}

void TdxBarDateNavigator::KeyDown(WORD& Key, TShiftState Shift) {
  TdxBarCustomCalendar::KeyDown(Key, Shift);
  if (!FDropDownMode) return;
  const bool ctrl = Shift.Contains(ssCtrl);
  TdxCalendarMove move;
  switch (Key) {
  case VK_RETURN:
    if (!FMonthScroller) DoSelect();
    return;
  case VK_PRIOR: move = cmPrevMonth; break;
  case VK_NEXT: move = cmNextMonth; break;
  case VK_END: move = ctrl ? cmMonthEnd : cmWeekEnd; break;
  case VK_HOME: move = ctrl ? cmMonthStart : cmWeekStart; break;
  case VK_LEFT: move = cmPrevDay; break;
  case VK_RIGHT: move = cmNextDay; break;
  case VK_UP: move = cmPrevWeek; break;
  case VK_DOWN: move = cmNextWeek; break;
  default: return;
  }
  const TDateTime from = GetRangeStart() == NullDate ? WholeDay(Date()) : GetRangeStart();
  SetSelection(CalendarMove(from, move, dxBarFirstDayOfWeek()));
}

// ---- TAMonthListBox ----

TAMonthListBox::TAMonthListBox(TComponent* AOwner, TdxBarDateNavigator* ANavigator)
    : TCustomControl(AOwner), FNavigator(ANavigator) {
  SetVisible(false);
}

TAMonthListBox::~TAMonthListBox() { StopTimer(); }

void TAMonthListBox::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOPMOST;
  Params.WindowClass.style |= CS_SAVEBITS;
  Params.WndParent = FNavigator && FNavigator->HandleAllocated() ? FNavigator->GetHandle() : nullptr;
}

void TAMonthListBox::CalcSize() {
  FLineHeight = std::max(1, FNavigator->TitleHeight - 2);
  SetBounds(GetLeft(), GetTop(), 2 * GetSystemMetrics(SM_CXBORDER) + 6 * FNavigator->CellWidth,
            2 * GetSystemMetrics(SM_CYBORDER) + kMonthListRows * FLineHeight);
}

TDateTime TAMonthListBox::GetChosenMonth() const {
  return FHotRow < 0 || FirstRowMonth == NullDate ? NullDate : MonthsAfter(FirstRowMonth, FHotRow);
}

void TAMonthListBox::StopTimer() {
  if (FTimerId && HandleAllocated()) KillTimer(GetHandle(), FTimerId);
  FTimerId = 0;
}

void TAMonthListBox::InvalidateRow(int Row) {
  if (Row < 0 || !HandleAllocated()) return;
  RECT r{0, Row * FLineHeight, GetClientWidth(), (Row + 1) * FLineHeight};
  InvalidateRect(GetHandle(), &r, FALSE);
}

void TAMonthListBox::SetHotRow(int Value) {
  if (Value == FHotRow) return;
  InvalidateRow(FHotRow);
  FHotRow = Value;
  InvalidateRow(FHotRow);
}

void TAMonthListBox::TrackPointer(int X, int Y) {
  const int height = GetClientHeight();
  if (X >= 0 && X < GetClientWidth() && Y >= 0 && Y < height) {
    StopTimer();
    SetHotRow(std::min(kMonthListRows - 1, Y / std::max(1, FLineHeight)));
    return;
  }
  SetHotRow(-1);
  // Beside the list, level with it: no scrolling.
  if (Y >= 0 && Y < height) return;
  const int step = MonthListScrollStep(Y < 0 ? Y : Y + 1 - height);
  const UINT_PTR id = static_cast<UINT_PTR>(MonthListTimerId(step));
  if (id == FTimerId || !HandleAllocated()) return;
  StopTimer();
  FTimerId = SetTimer(GetHandle(), id, static_cast<UINT>(MonthListTimerPeriod(step)), nullptr);
}

void TAMonthListBox::Paint() {
  HDC dc = GetCanvas()->GetHandle();
  HGDIOBJ oldFont = SelectObject(dc, GetFont()->GetHandle());
  const int width = GetClientWidth();
  for (int row = 0; row < kMonthListRows; ++row) {
    RECT r{0, row * FLineHeight, width, (row + 1) * FLineHeight};
    const bool hot = row == FHotRow;
    SetTextColor(dc, ColorToRGB(hot ? clWindow : clWindowText));
    SetBkColor(dc, ColorToRGB(hot ? clWindowText : clWindow));
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    if (FirstRowMonth == NullDate) continue;
    const String text = MonthTitle(MonthsAfter(FirstRowMonth, row));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  SelectObject(dc, oldFont);
}

void TAMonthListBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_ERASEBKGND: Message.Result = 1; return;
  case CM_FONTCHANGED:
    TCustomControl::WndProc(Message);
    CalcSize();
    return;
  case WM_TIMER:
    if (Message.WParam == FTimerId && FTimerId) {
      FirstRowMonth = MonthsAfter(FirstRowMonth, MonthListTimerDirection(static_cast<int>(FTimerId)));
      Invalidate();
      return;
    }
    break;
  case WM_DESTROY: StopTimer(); break;
  }
  TCustomControl::WndProc(Message);
}
