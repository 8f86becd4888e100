// The progress bar: its setters and their ranges, the peak as high-water
// mark, values and texts, the gradient colour, and the bar painted in each
// look and fill style with the visual style on and off: half filled, the
// text over the fill inverted, segments and their gaps, the themed bar; a
// click on it leaves the focus where it was.
#include "cxProgressBar.h"

#include "PaintTest.h"

#include <gtest/gtest.h>

namespace {

struct TBarForm {
  TBarForm() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(60, 60, 420, 300);
    form->SetColor(clBtnFace);
    form->GetFont()->SetName("Tahoma");
    edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(8, 8, 100, 21);
  }
  TcxProgressBar* Add(int ALeft, int ATop, int AWidth, int AHeight, const TLook& ALook = kLooks[0]) {
    auto* bar = new TcxProgressBar(form.get());
    bar->GetStyle()->GetLookAndFeel()->SetKind(ALook.kind);
    bar->GetStyle()->GetLookAndFeel()->SetNativeStyle(ALook.native);
    bar->SetAutoSize(false);
    bar->SetBounds(ALeft, ATop, AWidth, AHeight);
    bar->SetParent(form.get());
    return bar;
  }
  guitest::TCapture Show() {
    form->Show();
    form->Update();
    guitest::PumpFor(30);
    return guitest::TCapture::Paint(form->GetHandle());
  }
  std::unique_ptr<TForm> form;
  TEdit* edit;
};

TRect InForm(TcxProgressBar* ABar, TRect R) {
  OffsetRect(&R, ABar->GetLeft(), ABar->GetTop());
  return R;
}

// ---- Settings ----

TEST(ProgressBar, SettersKeepTheRange) {
  enum Op { opMax, opMin, opPosition, opOverload };
  const struct {
    Op op;
    int value;
    int min, max, position, overload;
  } kSteps[] = {
      {opMax, 0, 0, 100, 0, 80},          // not above Min: ignored
      {opPosition, 120, 0, 100, 100, 80}, // clamped to Max
      {opMax, 8, 0, 8, 8, 8},             // the position and overload follow
      {opPosition, 20, 0, 8, 8, 8},
      {opPosition, -3, 0, 8, 0, 8},
      {opMax, 100, 0, 100, 0, 8},
      {opOverload, 150, 0, 100, 0, 100},
      {opOverload, -5, 0, 100, 0, 0},
      {opMin, 100, 100, 100, 100, 100}, // Max stays; the range is 1
      {opMin, 120, 120, 120, 120, 120}, // Max moves up
  };
  TcxProgressBar bar(nullptr);
  TcxCustomProgressBarProperties* p = bar.GetProperties();
  for (const auto& s : kSteps) {
    SCOPED_TRACE(testing::Message() << s.op << " " << s.value);
    switch (s.op) {
    case opMax:
      p->SetMax(s.value);
      break;
    case opMin:
      p->SetMin(s.value);
      break;
    case opPosition:
      bar.SetPosition(s.value);
      break;
    case opOverload:
      p->SetOverloadValue(s.value);
      break;
    }
    EXPECT_EQ(s.min, p->GetMin());
    EXPECT_EQ(s.max, p->GetMax());
    EXPECT_EQ(s.position, p->GetCurrentPosition());
    if (s.op == opPosition) {
      EXPECT_EQ(s.position, bar.GetPosition());
    }
    EXPECT_EQ(s.overload, p->GetOverloadValue());
  }
  bar.SetPosition(20);
  EXPECT_EQ(120, bar.GetPosition());
  EXPECT_EQ(Variant(120), bar.GetEditValueRef());
}

TEST(ProgressBar, WhileLoadingThePositionIsKeptAsItIs) {
  TcxProgressBar bar(nullptr);
  bar.BeginLoading();
  bar.SetPosition(300);
  bar.Loaded();
  EXPECT_EQ(300, bar.GetPosition());
}

TEST(ProgressBar, ThePeakFollowsTheHighestPositionDrawn) {
  TBarForm f;
  TcxProgressBar* bar = f.Add(8, 40, 200, 21);
  TcxCustomProgressBarProperties* p = bar->GetProperties();
  p->SetShowPeak(true);
  f.Show();
  for (int position : {40, 70, 30}) {
    bar->SetPosition(position);
    guitest::PumpFor(10);
  }
  EXPECT_EQ(70, p->GetPeakValue());
  const TRect peak = bar->GetViewInfo()->PeakRect;
  EXPECT_EQ(2, peak.Width());
  p->SetPeakValue(10);
  guitest::PumpFor(10);
  EXPECT_EQ(30, p->GetPeakValue()) << "set lower, the peak restarts from the position";
  // A peak at Max is pulled inside the bar by its size.
  p->SetPeakSize(5);
  bar->SetPosition(100);
  guitest::PumpFor(10);
  const TcxCustomProgressBarViewInfo* info = bar->GetViewInfo();
  EXPECT_EQ(info->BorderRect.right, info->PeakRect.right);
  EXPECT_EQ(5, info->PeakRect.Width());
}

TEST(ProgressBar, ValuesAndTexts) {
  TcxProgressBarProperties p(nullptr);
  const struct {
    Variant value;
    int position;
    const char* percent;
  } kCases[] = {{Variant(42), 42, "42 %"},   {Variant("17"), 17, "17 %"}, {Variant("x"), 0, "0 %"},
                {Variant("-"), 0, "0 %"},    {Null(), 0, "0 %"},          {Variant(2.5), 0, "0 %"},
                {Variant(250), 250, "250 %"}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.percent);
    Variant display;
    p.EditValueToDisplayValue(c.value, display, false);
    EXPECT_EQ(Variant(c.position), display);
    EXPECT_EQ(c.position, p.GetCurrentPosition());
    String text;
    p.EditValueToDisplayText(c.value, false, text);
    EXPECT_EQ(c.percent, text);
  }
  p.SetShowTextStyle(cxtsPosition);
  String text;
  p.EditValueToDisplayText(Variant(42), false, text);
  EXPECT_EQ("42", text);
}

TEST(ProgressBar, TheKindIsRegistered) {
  TcxRegisteredClasses* registry = EditPropertiesRegistry();
  const int index = registry->IndexOf(typeid(TcxProgressBarProperties));
  ASSERT_GE(index, 0);
  EXPECT_EQ("ProgressBar|Represents a ProgressBar", registry->GetDescription(index));
}

TEST(ProgressBar, GradientChannelsStayWithinTheirBytes) {
  const struct {
    TColor from, to;
    int a, b;
    COLORREF expected;
  } kCases[] = {
      {RGB(0, 0, 0), RGB(200, 100, 50), 1, 2, RGB(100, 50, 25)},
      {RGB(0, 0, 0), RGB(200, 100, 50), 3, 2, RGB(255, 150, 75)},  // past the end: red saturates
      {RGB(200, 100, 50), RGB(0, 0, 0), 3, 2, RGB(0, 0, 0)},       // below zero
      {RGB(10, 20, 30), RGB(20, 40, 60), 5, 0, RGB(60, 120, 180)}, // b = 0 counts as 1
      {clNavy, clWhite, 0, 10, RGBOf(clNavy)},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(c.expected, ColorToRGB(GetGradientColor(c.from, c.to, c.a, c.b))) << c.a << "/" << c.b;
}

// ---- Painting ----

TEST(ProgressBarPaint, HalfFillsHalfAndInvertsTheTextOverTheFill) {
  TBarForm f;
  TcxProgressBar* bar = f.Add(8, 40, 297, 21);
  bar->SetPosition(50);
  const guitest::TCapture capture = f.Show();
  const TcxCustomProgressBarViewInfo* info = bar->GetViewInfo();
  const TRect inner = info->BorderRect;
  const TRect progress = InForm(bar, info->ProgressRect);
  EXPECT_EQ(inner.Width() / 2, progress.Width());
  const int row = progress.top + 1;
  const TRect rowRect =
      InForm(bar, TRect(inner.left, row - bar->GetTop(), inner.right, row - bar->GetTop() + 1));
  EXPECT_EQ(progress.Width(), capture.CountPixels(rowRect, RGBOf(clNavy))) << "the top row is free of text";
  // The text's pixels over the fill are the inverse of the fill.
  const COLORREF inverse = RGBOf(clNavy) ^ 0xFFFFFF;
  const TRect left = TRect(progress.left, progress.top, progress.right, progress.bottom);
  const TRect right = TRect(progress.right, progress.top, InForm(bar, inner).right, progress.bottom);
  EXPECT_GT(capture.CountPixels(left, inverse), 5);
  EXPECT_EQ(0, capture.CountPixels(right, inverse));
  EXPECT_GT(capture.CountPixels(right, RGBOf(clWindowText)), 5);
  capture.SavePng("progressbar-half");
}

TEST(ProgressBarPaint, SegmentsAreTwoThirdsOfTheHeightWithTwoPixelGaps) {
  TBarForm f;
  // 21 pixels inside the border.
  TcxProgressBar* bar = f.Add(8, 40, 200, 25);
  bar->GetProperties()->SetBarStyle(cxbsLEDs);
  bar->GetProperties()->SetShowText(false);
  bar->SetPosition(100);
  const guitest::TCapture capture = f.Show();
  const TcxCustomProgressBarViewInfo* info = bar->GetViewInfo();
  ASSERT_EQ(21, info->BarRect.Height());
  const int y = bar->GetTop() + 12;
  std::vector<int> runs, gaps;
  int run = 0, gap = 0;
  for (int x = bar->GetLeft() + info->ProgressRect.left; x < bar->GetLeft() + info->ProgressRect.right; ++x) {
    if (capture.Pixel(x, y) == RGBOf(clNavy)) {
      if (gap) gaps.push_back(gap);
      gap = 0;
      ++run;
    } else {
      if (run) runs.push_back(run);
      run = 0;
      ++gap;
    }
  }
  if (run) runs.push_back(run);
  ASSERT_GE(runs.size(), 10u);
  for (size_t i = 0; i + 1 < runs.size(); ++i)
    EXPECT_EQ(14, runs[i]) << i;
  for (size_t i = 1; i < gaps.size(); ++i)
    EXPECT_EQ(2, gaps[i]) << i;
  EXPECT_EQ(RGBOf(clNavy), capture.Pixel(bar->GetLeft() + info->ProgressRect.right - 1, y))
      << "full: the rest is filled";
}

TEST(ProgressBarPaint, TheThemedBarDiffersFromTheClassicOne) {
  if (!ThemesAvailable()) GTEST_SKIP() << "no visual style";
  TBarForm f;
  TcxProgressBar* classic = f.Add(8, 40, 200, 21, kLooks[0]);
  TcxProgressBar* native = f.Add(8, 80, 200, 21, kLooks[3]);
  for (TcxProgressBar* bar : {classic, native}) {
    bar->GetProperties()->SetShowText(false);
    bar->SetPosition(60);
  }
  const guitest::TCapture capture = f.Show();
  EXPECT_TRUE(native->GetViewInfo()->NativeStyle);
  EXPECT_FALSE(classic->GetViewInfo()->NativeStyle);
  int differ = 0;
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 200; ++x)
      differ += capture.Pixel(8 + x, 40 + y) != capture.Pixel(8 + x, 80 + y);
  EXPECT_GT(differ, 200);
  EXPECT_EQ(0, capture.CountPixels(InForm(native, native->GetViewInfo()->BarRect), RGBOf(clNavy)))
      << "the theme's colours, not the begin colour";
}

TEST(ProgressBarInput, AClickLeavesTheFocusWhereItWas) {
  TBarForm f;
  TcxProgressBar* bar = f.Add(8, 40, 200, 21);
  f.Show();
  f.edit->SetFocus();
  guitest::ClickAt(bar->GetHandle(), 50, 10);
  guitest::PumpFor(50);
  EXPECT_TRUE(f.edit->Focused());
  EXPECT_FALSE(bar->CanFocus());
}

void PaintLooks(const char* ASuffix) {
  for (const TLook& look : kLooks) {
    SCOPED_TRACE(look.name);
    TBarForm f;
    f.form->SetBounds(20, 20, 620, 420);
    int top = 8;
    for (int style = cxbsSolid; style <= cxbsBitmapLEDs; ++style) {
      TcxProgressBar* bar = f.Add(8, top, 300, 21, look);
      TcxCustomProgressBarProperties* p = bar->GetProperties();
      p->SetBarStyle(static_cast<TcxProgressBarBarStyle>(style));
      p->SetShowOverload(true);
      p->SetShowPeak(true);
      p->SetPeakValue(95);
      p->SetBarBevelOuter(style % 2 ? cxbvRaised : cxbvLowered);
      TBitmap picture;
      picture.SetSize(6, 6);
      picture.GetCanvas()->GetBrush()->SetColor(clGreen);
      picture.GetCanvas()->FillRect(TRect(0, 0, 6, 6));
      picture.GetCanvas()->GetBrush()->SetColor(clYellow);
      picture.GetCanvas()->FillRect(TRect(1, 1, 4, 4));
      p->SetForegroundImage(&picture);
      bar->SetPosition(90);
      TcxProgressBar* vertical = f.Add(320 + style * 44, 8, 36, 200, look);
      vertical->GetProperties()->SetBarStyle(static_cast<TcxProgressBarBarStyle>(style));
      vertical->GetProperties()->SetOrientation(cxorVertical);
      vertical->GetProperties()->SetTextOrientation(cxorVertical);
      vertical->GetProperties()->SetShowOverload(true);
      vertical->GetProperties()->SetForegroundImage(&picture);
      vertical->SetPosition(85);
      top += 30;
    }
    TcxProgressBar* position = f.Add(8, top, 300, 21, look);
    position->GetProperties()->SetShowTextStyle(cxtsPosition);
    position->GetProperties()->SetSolidTextColor(true);
    position->SetPosition(33);
    f.Show().SavePng(String("progressbar-") + look.name + ASuffix);
  }
}

TEST(ProgressBarPaint, EveryLookWithTheStyleOn) {
  PaintLooks("-style-on");
}

TEST(ProgressBarPaintStyleOff, EveryLookWithTheStyleOff) {
  PaintLooks("-style-off");
}

} // namespace
