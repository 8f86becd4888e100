// The extended items' module and the static and progress items on a
// floating toolbar in the Standard and Enhanced looks.
#include "BarsTest.h"
#include "dxBarCommon.h"
#include "dxBarExtItems.h"

#include "GuiTest.h"

#include "Forms.h"

namespace {

class ExtItemsTest : public BarsTest {
protected:
  void SetUp() override {
    Build([this](TdxBarManager* m) {
      Bar = m->GetBars()->Add();
      Bar->SetCaption("Status");
      Static = new TdxBarStatic(m->GetOwnerForm());
      Static->SetName("Static");
      Static->SetCaption("Ready");
      Progress = new TdxBarProgressItem(m->GetOwnerForm());
      Progress->SetName("Progress");
      Progress->SetCaption("Copying");
      AddLink(Bar->GetItemLinks(), Static);
      AddLink(Bar->GetItemLinks(), Progress);
    });
    Form->SetBounds(100, 100, 600, 300);
    Form->Show();
  }

  void TearDown() override { MovePointerOff(Window); }

  TdxBarControl* ShowFloating(int width = 480, int height = 60) {
    return Window = ShowFloatingWindow(Bar, 120, 150, width, height);
  }

  TdxBarStaticControl* StaticControl() const {
    return dynamic_cast<TdxBarStaticControl*>(Bar->GetItemLinks()->GetItem(0)->GetControl());
  }
  TdxBarProgressControl* ProgressControl() const {
    return dynamic_cast<TdxBarProgressControl*>(Bar->GetItemLinks()->GetItem(1)->GetControl());
  }
  int TextWidth(const String& text) const { return TextSizeIn(Window, text).cx; }

  TdxBar* Bar = nullptr;
  TdxBarStatic* Static = nullptr;
  TdxBarProgressItem* Progress = nullptr;
  TdxBarControl* Window = nullptr;
};

std::vector<String> RegisteredNames() {
  std::vector<String> names;
  for (int i = 0; i < GetRegisteredItemClassCount(); ++i) names.push_back(GetRegisteredItemClass(i)->Name);
  return names;
}

// Sets the user's first day of the week for a scope (0 Monday … 6 Sunday,
// as the locale counts) and restores it.
class TFirstDayScope {
public:
  explicit TFirstDayScope(const char* value) {
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, FSaved, sizeof(FSaved));
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, value);
  }
  ~TFirstDayScope() { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, FSaved); }

private:
  char FSaved[8] = {};
};

} // namespace

TEST(ExtItemsModule, RegistersItsClassesAfterTheBaseOnesAndRemovesThemInReverse) {
  TBarsLibrary library;
  const std::vector<String> before = RegisteredNames();
  // One class a line, in the registration order.
  const std::vector<String> extended{
      "TdxBarStatic",           //
      "TdxBarLargeButton",      //
      "TdxBarColorCombo",       //
      "TdxBarFontNameCombo",    //
      "TdxBarDateCombo",        //
      "TdxBarTreeViewCombo",    //
      "TdxBarImageCombo",       //
      "TdxBarToolbarsListItem", //
      "TdxBarSpinEdit",         //
      "TdxBarControlContainerItem", //
      "TdxBarProgressItem",     //
      "TdxBarMRUListItem",      //
      "TdxBarInPlaceSubItem",   //
  };
  const auto count = static_cast<std::ptrdiff_t>(extended.size());
  ASSERT_GE(before.size(), extended.size());
  EXPECT_EQ(std::vector<String>(before.end() - count, before.end()), extended);

  // The navigator's button texts come from the library's strings.
  EXPECT_EQ(dxBarTodayText(), "Today");
  EXPECT_EQ(dxBarClearText(), "Clear");

  EndExtItemsModule();
  EXPECT_EQ(RegisteredNames(), std::vector<String>(before.begin(), before.end() - count));
  EXPECT_EQ(dxBarTodayText(), "");
  StartExtItemsModule();
  EXPECT_EQ(RegisteredNames(), before) << "started again, the same order";
  EXPECT_EQ(dxBarClearText(), "Clear");
}

TEST(ExtItemsModule, FirstDayOfTheWeekFromTheLocale) {
  TBarsLibrary library;
  struct Case {
    const char* LocaleValue;
    int FirstDay;
  } cases[] = {{"6", 0}, {"0", 1}, {"2", 3}, {"5", 6}};
  for (const Case& c : cases) {
    {
      TFirstDayScope scope(c.LocaleValue);
      EndExtItemsModule();
      StartExtItemsModule();
    }
    EXPECT_EQ(dxBarFirstDayOfWeek(), c.FirstDay) << "locale value " << c.LocaleValue;
  }
  EndExtItemsModule();
  StartExtItemsModule();
}

TEST_F(ExtItemsTest, NegativeSizesAndIndentsAreStoredAsZero) {
  struct Case {
    const char* Name;
    void (TdxBarStatic::*Set)(int);
    int (TdxBarStatic::*Get)() const;
  } cases[] = {{"Width", &TdxBarStatic::SetWidth, &TdxBarStatic::GetWidth},
               {"Height", &TdxBarStatic::SetHeight, &TdxBarStatic::GetHeight},
               {"LeftIndent", &TdxBarStatic::SetLeftIndent, &TdxBarStatic::GetLeftIndent},
               {"RightIndent", &TdxBarStatic::SetRightIndent, &TdxBarStatic::GetRightIndent}};
  for (const Case& c : cases) {
    (Static->*c.Set)(12);
    EXPECT_EQ((Static->*c.Get)(), 12) << c.Name;
    (Static->*c.Set)(-5);
    EXPECT_EQ((Static->*c.Get)(), 0) << c.Name;
  }
}

TEST_F(ExtItemsTest, ProgressRangeKeepsThePositionInside) {
  EXPECT_EQ(Progress->GetBorderStyle(), sbsLowered);
  struct Case {
    const char* Step;
    std::function<void()> Apply;
    int Min, Max, Position;
  } cases[] = {
      {"position 50", [&] { Progress->SetPosition(50); }, 0, 100, 50},
      {"position beyond", [&] { Progress->SetPosition(500); }, 0, 100, 100},
      {"position below", [&] { Progress->SetPosition(-3); }, 0, 100, 0},
      {"min above max", [&] { Progress->SetMin(150); }, 150, 150, 150},
      {"max up", [&] { Progress->SetMax(300); }, 150, 300, 150},
      {"max below min", [&] { Progress->SetMax(20); }, 20, 20, 20},
      {"min down", [&] { Progress->SetMin(-10); }, -10, 20, 20},
      {"max inside", [&] { Progress->SetMax(5); }, -10, 5, 5},
  };
  for (const Case& c : cases) {
    c.Apply();
    EXPECT_EQ(Progress->GetMin(), c.Min) << c.Step;
    EXPECT_EQ(Progress->GetMax(), c.Max) << c.Step;
    EXPECT_EQ(Progress->GetPosition(), c.Position) << c.Step;
  }
}

TEST_F(ExtItemsTest, StaticAndProgressMetrics) {
  ShowFloating();
  const int row = Window->TextHeight, bw = Manager->GetButtonWidth();
  TdxBarStaticControl* label = StaticControl();
  TdxBarProgressControl* progress = ProgressControl();
  ASSERT_NE(label, nullptr) << "the registry makes a static control";
  ASSERT_NE(progress, nullptr);

  // A caption without an image: the text, half a row, the border.
  EXPECT_EQ(label->GetWidth(), TextWidth("Ready") + row / 2);
  EXPECT_EQ(label->GetHeight(), row - 3);
  Static->SetBorderStyle(sbsBump);
  Static->SetLeftIndent(3);
  Static->SetRightIndent(5);
  EXPECT_EQ(label->GetWidth(), TextWidth("Ready") + row / 2 + 3 + 5 + 4);
  EXPECT_EQ(label->GetHeight(), row - 3 + 4);
  Static->SetWidth(70);
  Static->SetHeight(30);
  EXPECT_EQ(label->GetWidth(), 70);
  EXPECT_EQ(label->GetHeight(), 30);

  // Neither image nor caption: a static keeps a button's width, a progress
  // item has its bar instead.
  Static->SetWidth(0);
  Static->SetLeftIndent(0);
  Static->SetRightIndent(0);
  Static->SetBorderStyle(sbsNone);
  Static->SetShowCaption(false);
  EXPECT_EQ(label->GetWidth(), bw);
  Progress->SetShowCaption(false);
  EXPECT_EQ(progress->GetWidth(), 2 + 154) << "the lowered border and the bar";
  Progress->SetShowCaption(true);
  EXPECT_EQ(progress->GetWidth(), TextWidth("Copying") + row / 2 + 2 + 152);
  EXPECT_EQ(progress->GetHeight(), std::max(row - 3 + 2, 12 + 2 + 2));
}

TEST_F(ExtItemsTest, ProgressBarDrawnAtTheFarEndByPainter) {
  Progress->SetColor(clRed);
  Progress->SetPosition(50);
  Progress->SetSmooth(true);
  for (TdxBarManagerStyle style : {bmsStandard, bmsEnhanced}) {
    Manager->SetStyle(style);
    ShowFloating();
    const TRect link = Bar->GetItemLinks()->GetItem(1)->ItemRect;
    const TRect bar = ProgressControl()->GetProgressBarRect();
    EXPECT_EQ(bar.Width(), 150);
    EXPECT_EQ(bar.right, link.right - 1 - 2) << "border and two pixels before the end";
    EXPECT_EQ((link.Height() - bar.Height()) % 2, 0) << "centred exactly across the row";
    guitest::TCapture picture = guitest::TCapture::Paint(Window->GetHandle());
    const int y = (bar.top + bar.bottom) / 2;
    EXPECT_EQ(picture.Pixel(bar.left + 2, y), RGB(255, 0, 0)) << "style " << style;
    EXPECT_EQ(picture.Pixel(bar.left + 74, y), RGB(255, 0, 0));
    EXPECT_NE(picture.Pixel(bar.left + 76, y), RGB(255, 0, 0)) << "half the range, half the bar";
    EXPECT_EQ(picture.Pixel(link.left, link.top), GetSysColor(COLOR_BTNSHADOW)) << "the lowered border";
    EXPECT_EQ(picture.Pixel(link.right - 1, link.bottom - 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    picture.SavePng(style == bmsStandard ? "bars_progress_standard" : "bars_progress_enhanced");
    delete Window;
    Window = nullptr;
  }
}

TEST_F(ExtItemsTest, ProgressBlocksAreSeparatedByGaps) {
  Progress->SetColor(clBlue);
  Progress->SetPosition(100);
  ShowFloating();
  const TRect bar = ProgressControl()->GetProgressBarRect();
  guitest::TCapture picture = guitest::TCapture::Paint(Window->GetHandle());
  const int y = (bar.top + bar.bottom) / 2, block = bar.Height() * 2 / 3;
  for (int x = bar.left; x < bar.left + block; ++x) EXPECT_EQ(picture.Pixel(x, y), RGB(0, 0, 255)) << x;
  EXPECT_NE(picture.Pixel(bar.left + block, y), RGB(0, 0, 255)) << "a gap after each block";
  EXPECT_NE(picture.Pixel(bar.left + block + 1, y), RGB(0, 0, 255));
  EXPECT_EQ(picture.Pixel(bar.left + block + 2, y), RGB(0, 0, 255)) << "the next block";
}

TEST_F(ExtItemsTest, APositionChangeInvalidatesOnlyTheBar) {
  ShowFloating();
  UpdateWindow(Window->GetHandle());
  ValidateRect(Window->GetHandle(), nullptr);
  Progress->SetPosition(Progress->GetPosition());
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(Window->GetHandle(), &update, FALSE)) << "no change, no redraw";
  Progress->SetPosition(30);
  ASSERT_TRUE(GetUpdateRect(Window->GetHandle(), &update, FALSE));
  EXPECT_EQ(TRect(update), ProgressControl()->GetProgressBarRect());
  ValidateRect(Window->GetHandle(), nullptr);
  Progress->SetSmooth(true);
  ASSERT_TRUE(GetUpdateRect(Window->GetHandle(), &update, FALSE));
  EXPECT_EQ(TRect(update), ProgressControl()->GetProgressBarRect());
}

TEST_F(ExtItemsTest, ProgressPaintRestoresTheClipRegion) {
  ShowFloating();
  HDC dc = Window->GetCanvas()->GetHandle();
  const TRect link = Bar->GetItemLinks()->GetItem(1)->ItemRect;
  struct Case {
    const char* Name;
    bool WithRegion;
  } cases[] = {{"a clip region", true}, {"no clip region", false}};
  for (const Case& c : cases) {
    if (c.WithRegion)
      IntersectClipRect(dc, link.left, link.top, link.right, link.bottom);
    else
      SelectClipRgn(dc, nullptr);
    ProgressControl()->Paint(link, 0);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const int got = GetClipRgn(dc, region);
    EXPECT_EQ(got, c.WithRegion ? 1 : 0) << c.Name;
    if (c.WithRegion) {
      RECT box{};
      GetRgnBox(region, &box);
      EXPECT_EQ(TRect(box), link) << c.Name;
    }
    DeleteObject(region);
  }
  SelectClipRgn(dc, nullptr);
}

TEST_F(ExtItemsTest, StaticTextAlignedWithItsIndentAndNoClick) {
  Static->SetAlignment(taLeftJustify);
  Static->SetWidth(120);
  Static->SetBorderStyle(sbsRaised);
  Static->SetLeftIndent(10);
  ShowFloating();
  const TRect link = Bar->GetItemLinks()->GetItem(0)->ItemRect;
  guitest::TCapture picture = guitest::TCapture::Paint(Window->GetHandle());
  picture.SavePng("bars_static_left");
  const TRect box(link.left + 10, link.top, link.right, link.bottom);
  EXPECT_EQ(picture.Pixel(box.left, box.top), GetSysColor(COLOR_BTNHIGHLIGHT)) << "raised border after the indent";
  // The text starts a quarter row after the border.
  const int textStart = box.left + 1 + Window->TextHeight / 4;
  auto darkIn = [&](int from, int to) {
    RECT r{from, box.top + 1, to, box.bottom - 1};
    return picture.CountPixels(r, GetSysColor(COLOR_BTNTEXT));
  };
  EXPECT_EQ(darkIn(box.left + 1, textStart), 0);
  EXPECT_GT(darkIn(textStart, textStart + 6), 0);
  EXPECT_EQ(darkIn(textStart + TextWidth("Ready") + 1, box.right - 1), 0);

  int clicks = 0;
  Static->OnClick = [&](TObject*) { ++clicks; };
  const TPoint p((link.left + link.right) / 2, (link.top + link.bottom) / 2);
  guitest::ClickAt(Window->GetHandle(), p.x, p.y);
  guitest::PumpFor(100);
  EXPECT_EQ(clicks, 0) << "a static answers no click";
  EXPECT_FALSE(Static->AcceptsAccelerator(Bar->GetItemLinks()->GetItem(0)));
  Static->SetAllowClick(true);
  guitest::ClickAt(Window->GetHandle(), p.x, p.y);
  ASSERT_TRUE(guitest::PumpUntil([&] { return clicks == 1; }));
}
