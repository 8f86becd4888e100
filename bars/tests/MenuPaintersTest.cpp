// The menus of the five painters drawn into memory pictures: frames, menu
// lines in every state, sub-item arrows, separators, scroll areas, the
// expand button, rarely used entries, the side strip and the drag caption.
#include "BarsTest.h"

#include "dxBarPainters.h"
#include "dxOffice11.h"
#include "dxThemeManager.h"

#include "GuiTest.h"
#include "PaintSheet.h"

#include <memory>

using namespace painttest;

namespace {

struct TLook {
  TdxBarManagerStyle Style;
  const char* Name;
};
constexpr TLook kLooks[] = {{bmsStandard, "standard"},
                            {bmsEnhanced, "enhanced"},
                            {bmsFlat, "flat"},
                            {bmsOffice11, "office11"},
                            {bmsXP, "xp"}};

// A 16 by 16 picture: a blue square on the transparent colour.
void MakeGlyph(TBitmap& glyph) {
  glyph.SetPixelFormat(pf24bit);
  glyph.SetSize(16, 16);
  HDC dc = glyph.GetCanvas()->GetHandle();
  const RECT all{0, 0, 16, 16}, square{3, 3, 13, 13};
  HBRUSH key = CreateSolidBrush(RGB(255, 0, 255)), blue = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(dc, &all, key);
  FillRect(dc, &square, blue);
  DeleteObject(key);
  DeleteObject(blue);
}

// How a test menu lies: its client area in its window (1 pixel of frame,
// the drag caption above), the row of each shown link, and its state.
struct TMenuState {
  int Selected = -1;
  int TopIndex = 0;
  int Rows = -1; // rows of room, -1: all
  bool Detachable = false;
  int BarSize = 0;
  bool Personalised = false; // the last two links are rarely used and hidden
  bool Expanded = false;     // ... and shown, the menu expanded
  int MarkState = 0;
};

class MenuPaintersTest : public BarsTest {
protected:
  void SetUp() override {
    MakeGlyph(Glyph);
    Build([this](TdxBarManager* m) {
      File = new TdxBarSubItem(m->GetOwnerForm());
      File->SetName("File");
      File->SetCaption("&File");
      TdxBarItemLinks* links = File->GetItemLinks();
      TdxBarButton* open = AddButton(m, "Open", "&Open");
      open->SetGlyph(&Glyph);
      AddLink(links, open);
      AddLink(links, AddButton(m, "Save", "&Save"));
      TdxBarButton* ruler = AddButton(m, "Ruler", "&Ruler");
      ruler->SetButtonStyle(bsChecked);
      ruler->SetDown(true);
      AddLink(links, ruler);
      TdxBarButton* print = AddButton(m, "Print", "&Print");
      print->SetEnabled(false);
      AddLink(links, print);
      auto* recent = new TdxBarSubItem(m->GetOwnerForm());
      recent->SetName("Recent");
      recent->SetCaption("Recen&t");
      AddLink(links, recent);
      AddLink(links, AddButton(m, "Exit", "E&xit"), true);
      AddLink(links, AddButton(m, "Close", "&Close"));
    });
    const COLORREF face = Sys(COLOR_BTNFACE);
    NonRecentBrush = CreateSolidBrush(RGB(std::min(GetRValue(face) + 20, 255),
                                          std::min(GetGValue(face) + 20, 255),
                                          std::min(GetBValue(face) + 20, 255)));
  }
  void TearDown() override {
    if (Menu) Menu->SubItemControl = nullptr;
    OpenerControl.reset();
    Menu.reset();
    SubItemLink.reset();
    File->GetItemLinks()->SetRecentItemCount(-1);
    DeleteObject(NonRecentBrush);
  }

  TdxBarItemControlPainterClass Painter() const { return Manager->GetPainterClass(); }
  TdxBarItemLinks* Links() const { return File->GetItemLinks(); }

  // A menu window of File's links laid out for the state; answers the size
  // of the whole window.
  SIZE MakeMenu(TdxBarManagerStyle style, const TMenuState& state) {
    Manager->SetStyle(style);
    File->SetBarSize(state.BarSize);
    File->Detachable = state.Detachable;
    Links()->SetRecentItemCount(-1);
    for (int i = 0; i < Links()->GetCount(); ++i) Links()->GetItem(i)->SetMostRecentlyUsed(true);
    if (state.Personalised) {
      Links()->GetItem(5)->SetMostRecentlyUsed(false);
      Links()->GetItem(6)->SetMostRecentlyUsed(false);
      Links()->SetRecentItemCount(state.Expanded ? -1 : 5);
    }
    if (Menu) Menu->SubItemControl = nullptr;
    OpenerControl.reset();
    Menu.reset();
    Menu = std::make_unique<TdxBarSubMenuControl>(Manager);
    Menu->ParentWindow = Form->GetHandle();
    Menu->SetItemLinks(Links());
    Menu->CreateControls();
    if (state.Detachable) {
      // Opened from a control of the detachable sub item.
      SubItemLink = std::make_unique<TdxBarItemLinks>(Manager, nullptr);
      TdxBarItemLink* link = SubItemLink->Add();
      link->SetItem(File);
      OpenerControl = std::make_unique<TdxBarSubItemControl>(link, Menu.get());
      Menu->SubItemControl = OpenerControl.get();
    }
    Menu->CalcMetrics();
    Menu->NonRecentBrush = NonRecentBrush;
    Menu->TopIndex = state.TopIndex;
    Menu->SetMarkState(state.MarkState);
    // Measure, then lay out in the window of that size.
    const int extent = Layout(state, true);
    SIZE size = Painter()->CalcMenuSize(Menu.get(), 150, extent);
    if (state.Rows >= 0) size.cy = RowHeight() * state.Rows + 4 + (state.Detachable ? CaptionHeight() : 0);
    Menu->SetBounds(0, 0, size.cx - 2, size.cy - 2 - CaptionHeight());
    Layout(state, false);
    Menu->GetCanvas()->SetHandle(nullptr);
    return size;
  }

  int CaptionHeight() const { return Menu->IsDetachable() ? Menu->GetDetachCaptionHeight() : 0; }
  int RowHeight() const {
    int h = Menu->TextHeight;
    Painter()->AdjustMenuItemHeight(h);
    return h;
  }

  // The window's layout: rows from TopIndex down, separators before
  // groups, a line before runs of rarely used entries; answers the bottom
  // of the last row.
  int Layout(const TMenuState& state, bool measuring) {
    int limit = 0;
    TRect area;
    Painter()->CalcMenuClientRect(Menu.get(), measuring, limit, area);
    Links()->ClearItemRects();
    int y = area.top;
    bool previousNonRecent = false;
    for (int i = std::max(Menu->TopIndex, 0); i < Links()->GetShownCount(); ++i) {
      TdxBarItemLink* link = Links()->GetShownLink(i);
      TdxBarItemControl* control = link->GetControl();
      control->NonRecent = state.Expanded && link->GetRecentIndex() >= 5;
      control->NonRecentRun = control->NonRecent != previousNonRecent && i > 0;
      previousNonRecent = control->NonRecent;
      if (control->NonRecentRun && Painter()->HasNonRecentGroupLine()) ++y;
      if (link->GetBeginGroup() && i > Menu->TopIndex) y += Menu->GetSeparatorSize();
      const int bottom = y + RowHeight();
      if (bottom > limit) break;
      link->ItemRect = TRect(area.left, y, measuring ? area.left + 150 : area.right, bottom);
      y = bottom;
    }
    return y;
  }

  // The whole window into a sheet: the frame, then the client area as the
  // window paints it.
  void Paint(TSheet& sheet, const SIZE& size, const TMenuState& state) {
    HDC dc = sheet.DC();
    const TdxBarItemControlPainterClass painter = Painter();
    painter->DrawMenuFrame(Menu.get(), dc, TRect(0, 0, size.cx, size.cy));
    POINT old{};
    SetViewportOrgEx(dc, 1, 1 + CaptionHeight(), &old);
    Menu->GetCanvas()->SetHandle(dc);
    const TRect client = Menu->GetClientRect();
    HBRUSH brush = Menu->GetToolbarBrush();
    painter->DrawMenuBorder(Menu.get(), dc, brush, client);
    const int n = std::max(Menu->GetFittingCount(), 1);
    painter->DrawMenuContent(Menu.get(), dc, n, brush);
    const int first = Menu->TopIndex + (Menu->CanScrollUp() ? 1 : 0);
    const int last = Menu->TopIndex + n - 1 - (Menu->CanScrollDown() ? 1 : 0);
    for (int i = first; i <= last; ++i) PaintRow(dc, i, i == state.Selected, i == last);
    if (Menu->GetBarSize() > 0)
      FillRectWithColor(dc, TRect(1, 1, 1 + Menu->GetBarSize(), client.bottom - 1), clNavy);
    Menu->GetCanvas()->SetHandle(nullptr);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
  }

  void PaintRow(HDC dc, int index, bool selected, bool last) {
    TdxBarItemLink* link = Links()->GetShownLink(index);
    TdxBarItemControl* control = link->GetControl();
    const TdxBarItemControlPainterClass painter = Painter();
    control->LineEnd = last;
    Menu->BackgroundBrush = Menu->GetToolbarBrush();
    if (!painter->DrawsNonRecentItself() && control->NonRecent)
      Menu->BackgroundBrush = NonRecentBrush;
    else
      painter->GetMenuItemBrush(Menu.get(), Menu->BackgroundBrush);
    Menu->DrawingNonRecent = control->NonRecent;
    const TRect r = link->ItemRect;
    if (link->GetBeginGroup() && index > Menu->TopIndex)
      painter->DrawMenuSeparator(Menu.get(), control, false, r, dc);
    painter->DrawNonRecentBand(Menu.get(), control, 0, index, r, dc);
    if (auto* sub = dynamic_cast<TdxBarSubItemControl*>(control))
      painter->DrawSubItem(sub, dc, r, selected, false, 1);
    else
      painter->DrawMenuItem(control, dc, r, static_cast<TdxBarButtonControl*>(control)->GetDown(), true,
                            selected);
    Menu->DrawingNonRecent = false;
  }

  // The rectangle of a shown link in the sheet.
  TRect RowInSheet(int index) const {
    TRect r = Links()->GetShownLink(index)->ItemRect;
    OffsetRect(&r, 1, 1 + CaptionHeight());
    return r;
  }

  bool HasPixel(const TSheet& sheet, const TRect& r, COLORREF colour) const {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (sheet.At(x, y) == colour) return true;
    return false;
  }

  TBitmap Glyph;
  TdxBarSubItem* File = nullptr;
  HBRUSH NonRecentBrush = nullptr;
  std::unique_ptr<TdxBarSubMenuControl> Menu;
  std::unique_ptr<TdxBarSubItemControl> OpenerControl;
  std::unique_ptr<TdxBarItemLinks> SubItemLink;
};

} // namespace

// ---- Metrics ----

TEST_F(MenuPaintersTest, MenuMetricsOfEachPainter) {
  const struct {
    TdxBarManagerStyle style;
    int separator, border, bottomMargin, inset, textOffsetExtra, rowExtra, captionExtra, glyphSize;
  } cases[] = {
      {bmsStandard, 10, 3, 2, 2, 1, 0, 3, 19},
      {bmsEnhanced, 10, 3, 2, 2, 1, 0, 3, 19},
      {bmsFlat, 5, 2, 2, 1, 3, 1, 1, 20},
      {bmsOffice11, 5, 2, 2, 1, 3, 1, 5, 20},
      {bmsXP, -1, 1, 1, 1, 1, 0, 1, 19},
  };
  for (const auto& c : cases) {
    MakeMenu(c.style, TMenuState{});
    const TdxBarItemControlPainterClass p = Painter();
    const String name = String("style ") + std::to_string(c.style);
    // The window's row: "0" in its font plus 6, grown by the flat looks.
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, Menu->GetFontHandle());
    SIZE zeroSize{};
    GetTextExtentPoint32A(screen, "0", 1, &zeroSize);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    const int zero = zeroSize.cy;
    EXPECT_EQ(Menu->TextHeight, zero + 6 + c.rowExtra) << name;
    EXPECT_EQ(Menu->ArrowWidth, Menu->TextHeight / 4 * 3 + 1) << name;
    EXPECT_EQ(Menu->MenuGlyphSize, c.glyphSize) << name;
    if (c.separator > 0) {
      EXPECT_EQ(p->GetMenuSeparatorSize(), c.separator) << name;
    } else {
      EXPECT_GT(p->GetMenuSeparatorSize(), 0) << name << ": the style's separator height";
    }
    EXPECT_EQ(p->GetMenuBorderSize(), c.border) << name;
    EXPECT_EQ(p->GetMenuBottomMargin(), c.bottomMargin) << name;
    EXPECT_EQ(Menu->GetSeparatorSize(), p->GetMenuSeparatorSize()) << name;
    EXPECT_EQ(p->GetMenuTextOffset(Links()->GetShownLink(0)->GetControl()), Menu->TextHeight + c.textOffsetExtra)
        << name;
    EXPECT_EQ(p->GetDetachCaptionHeight(Menu.get()), Menu->GetDetachTextHeight() + c.captionExtra) << name;
    EXPECT_EQ(Menu->GetDetachTextHeight() % 2, 1) << name << ": made odd";
    int limit = 0;
    TRect r;
    p->CalcMenuClientRect(Menu.get(), false, limit, r);
    const TRect client = Menu->GetClientRect();
    EXPECT_EQ(r, TRect(c.inset, c.inset, client.right - c.inset, limit)) << name;
    EXPECT_EQ(limit, client.bottom - c.inset) << name;
    p->CalcMenuClientRect(Menu.get(), true, limit, r);
    EXPECT_EQ(limit, INT_MAX) << name << ": unlimited while measuring";
    // The frame and borders around the entries.
    const SIZE size = p->CalcMenuSize(Menu.get(), 150, 60);
    EXPECT_EQ(size.cx, 150 + 2 * (c.inset + 1)) << name;
    EXPECT_EQ(size.cy, 60 + c.inset + 2) << name;
    EXPECT_EQ(p->CalcMenuSize(Menu.get(), 150, 2).cy, 2 + Menu->TextHeight + c.inset + 2)
        << name << ": an extent below 3 gets a row";
  }
}

TEST_F(MenuPaintersTest, EmptyMenusAre100PixelsWideAndSideStripsWidenMenus) {
  for (const TLook& look : kLooks) {
    MakeMenu(look.Style, TMenuState{});
    const SIZE plain = Painter()->CalcMenuSize(Menu.get(), 150, 60);
    MakeMenu(look.Style, TMenuState{.BarSize = 20});
    EXPECT_EQ(Painter()->CalcMenuSize(Menu.get(), 150, 60).cx, plain.cx + 20) << look.Name;
    int limit = 0;
    TRect r;
    Painter()->CalcMenuClientRect(Menu.get(), false, limit, r);
    EXPECT_EQ(r.left, 20 + (look.Style == bmsStandard || look.Style == bmsEnhanced ? 2 : 1)) << look.Name;
    TdxBarItemLinks none(Manager, nullptr);
    TdxBarSubMenuControl empty(Manager);
    empty.SetItemLinks(&none);
    EXPECT_EQ(Painter()->CalcMenuSize(&empty, 0, 2).cx, 100) << look.Name;
    empty.SetItemLinks(nullptr);
  }
}

TEST_F(MenuPaintersTest, FlatMenuMetricsAddToTheBase) {
  MakeMenu(bmsFlat, TMenuState{});
  const TdxBarItemControlPainterClass flat = Painter();
  int h = 10, w = 10;
  flat->AdjustMenuItemHeight(h);
  flat->AdjustMenuItemWidth(w);
  EXPECT_EQ(h, 12);
  EXPECT_EQ(w, 19);
  EXPECT_EQ(flat->GetExpandArrowSize(12), 4);
  EXPECT_EQ(flat->GetMenuCaptionExtraWidth(), 9);
  TRect r(0, 0, 20, 20);
  flat->CalcDetachCaptionRect(r);
  EXPECT_EQ(r, TRect(2, 2, 18, 18));
  auto* sub = static_cast<TdxBarSubItemControl*>(Links()->GetShownLink(4)->GetControl());
  const TdxBarItemControlPainterClass base = TdxBarItemControlPainter::Instance();
  EXPECT_EQ(flat->GetSubItemHeight(sub), base->GetSubItemHeight(sub) + 2);
  EXPECT_EQ(flat->GetSubItemWidth(sub), base->GetSubItemWidth(sub) + 9);
  EXPECT_EQ(BrushColor(flat->GetMenuBrush(Menu.get())), Sys(COLOR_WINDOW));
  HBRUSH brush = nullptr;
  flat->GetMenuItemBrush(Menu.get(), brush);
  EXPECT_EQ(brush, flat->GetMenuBrush(Menu.get())) << "ordinary entries stand on the menu colour";
  HBRUSH kept = GetSysColorBrush(COLOR_BTNFACE);
  TdxBarItemControlPainter::Instance()->GetMenuItemBrush(Menu.get(), kept);
  EXPECT_EQ(kept, GetSysColorBrush(COLOR_BTNFACE)) << "the base keeps the window's brush";
}

// ---- Whole menus ----

TEST_F(MenuPaintersTest, MenusOfEveryPainterInEachItemState) {
  for (const TLook& look : kLooks) {
    for (int selected : {1, 4}) {
      TMenuState state;
      state.Selected = selected;
      const SIZE size = MakeMenu(look.Style, state);
      TSheet sheet(size.cx, size.cy);
      const int before = GdiObjects();
      Paint(sheet, size, state);
      EXPECT_EQ(GdiObjects(), before) << look.Name << ": every drawing object is freed";
      const String name = String(look.Name) + " selected " + std::to_string(selected);
      EXPECT_FALSE(HasPixel(sheet, TRect(0, 0, size.cx, size.cy), kRed)) << name << ": every pixel is painted";
      // The checked entry shows a check mark in its glyph column.
      const TRect ruler = RowInSheet(2);
      EXPECT_TRUE(HasPixel(sheet, TRect(ruler.left, ruler.top, ruler.left + ruler.Height(), ruler.bottom),
                           RGB(0, 0, 0)))
          << name << ": the check mark";
      // The sub item's arrow at the right.
      const TRect recent = RowInSheet(4);
      const COLORREF arrow = look.Style == bmsOffice11                          ? Rgb(Office11Colors.TextColor)
                             : selected == 4 && look.Style != bmsFlat ? Sys(COLOR_HIGHLIGHTTEXT)
                                                                               : Sys(COLOR_BTNTEXT);
      EXPECT_TRUE(HasPixel(sheet, TRect(recent.right - Menu->TextHeight, recent.top, recent.right, recent.bottom),
                           arrow))
          << name << ": the sub item's arrow";
      // The selected entry's text area.
      const TRect row = RowInSheet(selected);
      EXPECT_EQ(sheet.At(row.right - 3, row.top + row.Height() / 2), BrushColor(Menu->GetSelectedBrush()))
          << name << ": the selected entry";
      sheet.Capture.SavePng("bars_menu_" + String(look.Name) + (selected == 1 ? "" : "_subitem"));
    }
  }
}

TEST_F(MenuPaintersTest, PersonalisedScrolledStripedAndDetachableMenus) {
  struct TCase {
    const char* name;
    TMenuState state;
  };
  const TCase cases[] = {
      {"collapsed", TMenuState{.Personalised = true, .MarkState = 1}},
      {"scrolled", TMenuState{.Selected = 3, .TopIndex = 1, .Rows = 4}},
      {"strip", TMenuState{.BarSize = 20}},
      {"detachable", TMenuState{.Detachable = true}},
  };
  for (const TLook& look : kLooks) {
    for (const TCase& c : cases) {
      // The Standard look has no personalised menus.
      if (look.Style == bmsStandard && c.state.Personalised) continue;
      const String name = String(look.Name) + " " + c.name;
      const SIZE size = MakeMenu(look.Style, c.state);
      TSheet sheet(size.cx, size.cy);
      const int before = GdiObjects();
      Paint(sheet, size, c.state);
      EXPECT_EQ(GdiObjects(), before) << name;
      HRGN clip = CreateRectRgn(0, 0, 0, 0);
      EXPECT_EQ(GetClipRgn(sheet.DC(), clip), 0) << name << ": the clip region is given back";
      DeleteObject(clip);
      EXPECT_FALSE(HasPixel(sheet, TRect(0, 0, size.cx, size.cy), kRed)) << name << ": every pixel is painted";
      const COLORREF text = Sys(COLOR_BTNTEXT);
      if (c.state.Personalised && !c.state.Expanded) {
        ASSERT_TRUE(Menu->MarkVisible()) << name;
        TRect button = Menu->GetExpandButtonRect();
        OffsetRect(&button, 1, 1);
        if (look.Style == bmsOffice11) {
          const COLORREF fill = sheet.At(button.left + 2, button.top + 1);
          bool picture = false;
          for (int x = button.left; x < button.right; ++x) picture |= sheet.At(x, button.top + 4) != fill;
          EXPECT_TRUE(picture) << name << ": the expand picture";
        } else {
          EXPECT_TRUE(HasPixel(sheet, button, text)) << name << ": the expand chevrons";
        }
        if (look.Style == bmsFlat) {
          EXPECT_EQ(sheet.At(button.left + button.Width() / 2, button.top), Sys(COLOR_HIGHLIGHT))
              << name << ": a hot expand button is framed";
        }
      }
      if (c.state.Expanded && (look.Style == bmsStandard || look.Style == bmsEnhanced)) {
        const TRect exit = RowInSheet(5);
        EXPECT_EQ(sheet.At(exit.left - 1, exit.top + 2), BrushColor(NonRecentBrush))
            << name << ": the band beside a rarely used entry";
      }
      if (c.state.TopIndex > 0) {
        ASSERT_TRUE(Menu->CanScrollUp() && Menu->CanScrollDown()) << name;
        EXPECT_TRUE(HasPixel(sheet, RowInSheet(1), text)) << name << ": the up arrow";
        const TRect down = RowInSheet(Menu->TopIndex + Menu->GetFittingCount() - 1);
        EXPECT_TRUE(HasPixel(sheet, TRect(down.left, down.top, down.right, size.cy - 2), text))
            << name << ": the down arrow";
      }
      if (c.state.Detachable) {
        ASSERT_TRUE(Menu->IsDetachable()) << name;
        EXPECT_GT(Links()->GetShownLink(0)->ItemRect.bottom, 0) << name;
      }
      sheet.Capture.SavePng("bars_menu_" + String(look.Name) + "_" + c.name);
    }
  }
}

TEST_F(MenuPaintersTest, ScrollButtonTrianglesStandWhereTheMenuSays) {
  MakeMenu(bmsStandard, TMenuState{.TopIndex = 1, .Rows = 4});
  const TRect client = Menu->GetClientRect();
  const int h = Menu->TextHeight, c = h / 3 - 1, f = (h - c) / 2, w = h / 3 - 2;
  const int x = client.Width() / 2, y = f + c - 1;
  TSheet sheet(client.right, client.bottom, RGB(255, 255, 255));
  const TRect area = Links()->GetShownLink(1)->ItemRect;
  Painter()->DrawMenuScrollButton(Menu.get(), sheet.DC(), true, area);
  EXPECT_EQ(sheet.At(x, y), Sys(COLOR_BTNTEXT)) << "the base row";
  EXPECT_EQ(sheet.At(x - w, y), Sys(COLOR_BTNTEXT));
  EXPECT_EQ(sheet.At(x, y - w), Sys(COLOR_BTNTEXT)) << "the apex above";
  // The following fill spares the triangle and a pixel around it.
  FillRect(sheet.DC(), &area, GetSysColorBrush(COLOR_BTNFACE));
  for (const POINT corner : {POINT{x, y}, POINT{x - w, y}, POINT{x + w, y}, POINT{x, y - w}})
    EXPECT_EQ(sheet.At(corner.x, corner.y), Sys(COLOR_BTNTEXT)) << corner.x << "," << corner.y;
  EXPECT_EQ(sheet.At(area.left + 1, area.top + 1), Sys(COLOR_BTNFACE));
}

TEST_F(MenuPaintersTest, ExpandChevronsAreTwoStackedRuns) {
  MakeMenu(bmsStandard, TMenuState{});
  Menu->ExpandButtonHeight = 16;
  const int n = Painter()->GetExpandArrowSize(16);
  ASSERT_EQ(n, 5);
  TSheet sheet(40, 16, RGB(255, 255, 255));
  Painter()->DrawMenuExpandArrows(Menu.get(), sheet.DC(), TRect(0, 0, 40, 16));
  const int x = (40 - n - 1) / 2, y0 = (16 - 2 * n) / 2;
  const COLORREF text = Sys(COLOR_BTNTEXT);
  // Row i starts at (x, y0 + i), the lower chevron n div 2 further down.
  for (int i = 0; i < n; ++i) {
    const int y = y0 + i + (i >= n / 2 ? n / 2 : 0);
    EXPECT_EQ(sheet.At(x, y), text) << i;
    EXPECT_EQ(sheet.At(x + n / 2, y + n / 2), text) << i << ": the point";
  }
  EXPECT_EQ(sheet.At(x - 1, y0), RGB(255, 255, 255));
}

TEST_F(MenuPaintersTest, Office11SideColumnRunsItsGradientThroughEntriesAndSeparators) {
  const SIZE size = MakeMenu(bmsOffice11, TMenuState{});
  TSheet sheet(size.cx, size.cy);
  Paint(sheet, size, TMenuState{});
  sheet.Capture.SavePng("bars_menu_office11_side_column");
  const int column = Menu->GetGlyphColumnWidth();
  const TRect save = RowInSheet(1), exit = RowInSheet(5);
  const int y = (save.top + save.bottom) / 2;
  // Sheet x = client x + 1; the column spans client 0 to column.
  const TRect gradient(0, 0, column, 1);
  for (int x : {1, column / 2, column - 1}) {
    const COLORREF expected =
        Rgb(GradientColorAt(gradient, x, Office11Colors.ToolbarLight, true, Office11Colors.ToolbarDark));
    const COLORREF got = sheet.At(x + 1, y);
    EXPECT_LE(std::abs(GetRValue(got) - GetRValue(expected)) + std::abs(GetGValue(got) - GetGValue(expected)) +
                  std::abs(GetBValue(got) - GetBValue(expected)),
              12)
        << "column x " << x;
    EXPECT_EQ(sheet.At(x + 1, exit.top - 3), got) << "the separator band keeps the column at x " << x;
  }
  EXPECT_EQ(sheet.At(column / 2 + 1, RowInSheet(0).top), sheet.At(column / 2 + 1, y))
      << "the entry with an image keeps the column around its glyph";
  EXPECT_EQ(sheet.At(save.right - 3, y), Rgb(Office11Colors.MenuBackground)) << "the text area";
  EXPECT_EQ(sheet.At(1, y), Rgb(Office11Colors.ToolbarLight)) << "the border's left column";
}
