// The track bar without windows: settings and values, the layout chain
// (band, track, thumb, selection), tick marks found by their pixels, wide
// ranges, the thumb of each type, and a gallery of every orientation,
// thumb, tick type and side in each look with the style on and off.
#include "cxTrackBar.h"

#include "PaintTest.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>

namespace {

// Properties, style and view info of one track bar painted on a surface.
struct TPaintedTrackBar {
  explicit TPaintedTrackBar(const TLook& ALook = kLooks[0]) {
    style.SetBorderStyle(cbsNone);
    style.GetLookAndFeel()->SetKind(ALook.kind);
    style.GetLookAndFeel()->SetNativeStyle(ALook.native);
    owned = props.CreateViewInfo();
    info = static_cast<TcxCustomTrackBarViewInfo*>(owned.get());
  }
  void Calculate(TcxCanvas* ACanvas, const TRect& R, int APosition, bool AEnabled = true) {
    std::unique_ptr<TcxCustomEditViewData> data = props.CreateViewData(&style, false);
    data->Enabled = AEnabled;
    info->Position = APosition;
    data->Calculate(ACanvas, R, TPoint(-1, -1), 0, TShiftState(), info, false);
  }
  void Paint(TcxCanvas* ACanvas, const TRect& R, int APosition, bool AEnabled = true) {
    Calculate(ACanvas, R, APosition, AEnabled);
    info->Paint(ACanvas);
  }
  // A rectangle of the bar's own bitmap where the surface shows it.
  TRect OnSurface(TRect R) const {
    OffsetRect(&R, info->ClientArea.left, info->ClientArea.top);
    return R;
  }
  // The centre of a tick mark of the value along the track, on the surface.
  int TickAt(int64_t AValue) const {
    return info->ValueToPixel(AValue) + info->ThumbLength / 2 +
           (info->Settings.Orientation == tboHorizontal ? info->ClientArea.left : info->ClientArea.top);
  }
  TcxTrackBarProperties props{nullptr};
  TcxCustomEditStyle style{nullptr, false};
  std::unique_ptr<TcxCustomEditViewInfo> owned;
  TcxCustomTrackBarViewInfo* info;
};

// The columns of a row that hold the colour, left to right.
std::vector<int> ColumnsOf(const TDrawSurface& ASurface, int AY, int AFrom, int ATo, TColor AColor) {
  std::vector<int> columns;
  for (int x = AFrom; x < ATo; ++x)
    if (ASurface.Pixel(x, AY) == RGBOf(AColor)) columns.push_back(x);
  return columns;
}

// The length of the run of the colour going down from a point.
int RunDown(const TDrawSurface& ASurface, int AX, int AY, TColor AColor) {
  int n = 0;
  while (ASurface.Pixel(AX, AY + n) == RGBOf(AColor))
    ++n;
  return n;
}

// ---- Settings and values ----

TEST(TrackBar, SettersKeepTheirRanges) {
  TcxTrackBarProperties p(nullptr);
  p.SetMax(0); // not above Min
  EXPECT_EQ(10, p.GetMax());
  p.SetMin(20); // Max follows
  EXPECT_EQ(20, p.GetMin());
  EXPECT_EQ(20, p.GetMax());
  p.SetBorderWidth(-4);
  p.SetFrequency(-2);
  EXPECT_EQ(0, p.GetBorderWidth());
  EXPECT_EQ(0, p.GetFrequency());
  EXPECT_EQ(0x45, p.GetCapabilities());
  TcxRegisteredClasses* registry = EditPropertiesRegistry();
  const int index = registry->IndexOf(typeid(TcxTrackBarProperties));
  ASSERT_GE(index, 0);
  EXPECT_EQ("TrackBar|Represents a TrackBar", registry->GetDescription(index));
}

TEST(TrackBar, EditValuesBecomePositionsWithinTheRange) {
  TcxTrackBarProperties p(nullptr);
  p.SetMin(2);
  const struct {
    Variant value;
    int position; // unclamped
    String text;  // clamped
  } kCases[] = {{Variant(7), 7, "7"},   {Variant(25), 25, "10"}, {Variant("8"), 8, "8"}, {Variant("x8"), 2, "2"},
                {Variant(2.5), 2, "2"}, {Null(), 2, "2"},        {Variant(-3), -3, "2"}};
  for (const auto& c : kCases) {
    EXPECT_EQ(c.position, p.ValueToPosition(c.value)) << c.value.AsString();
    String text;
    p.EditValueToDisplayText(c.value, false, text);
    EXPECT_EQ(c.text, text) << c.value.AsString();
  }
  EXPECT_EQ(10, p.ClampPosition(static_cast<int64_t>(INT_MAX) + 5));
  EXPECT_EQ(2, p.ClampPosition(static_cast<int64_t>(INT_MIN) - 5));
}

// ---- Layout ----

// The thumb band follows the room left by the tick sides, between 10 and
// 21 pixels; the track is half of it with AutoSize.
TEST(TrackBar, TheThumbBandStaysWithinItsLimits) {
  const struct {
    int height;
    TcxTrackBarTickMarks marks;
    int band;
  } kCases[] = {{8, cxtmBottomRight, 10}, {20, cxtmBottomRight, 14}, {60, cxtmBottomRight, 21},
                {20, cxtmBoth, 10},        {27, cxtmBoth, 17},         {60, cxtmBoth, 21}};
  TDrawSurface surface(220, 80);
  for (const auto& c : kCases) {
    TPaintedTrackBar bar;
    bar.props.SetTickMarks(c.marks);
    bar.Calculate(surface.Canvas(), TRect(0, 0, 196, c.height + 4), 0); // the content offset: 2 a side
    ASSERT_EQ(c.height, bar.info->ClientAreaAtOrigin.Height());
    EXPECT_EQ(c.band, bar.info->ChannelRect.Height()) << c.height << " " << c.marks;
    EXPECT_EQ(c.band / 2, bar.info->TrackRect.Height()) << c.height;
    EXPECT_EQ(7, bar.info->ChannelRect.left);
    EXPECT_EQ(bar.info->ClientAreaAtOrigin.right - 7, bar.info->ChannelRect.right);
  }
}

TEST(TrackBar, ThumbSizesByAutoSizeFixedAndCustom) {
  TDrawSurface surface(220, 80);
  {
    TPaintedTrackBar bar; // band 21, track 10
    bar.Calculate(surface.Canvas(), TRect(0, 0, 196, 60), 5);
    EXPECT_EQ(10, bar.info->ThumbLength);
    EXPECT_EQ(19, bar.info->ThumbExtent);
  }
  {
    TPaintedTrackBar bar; // band 17, track 8 in a vertical bar: 7 wide
    bar.props.SetOrientation(tboVertical);
    bar.props.SetTrackSize(0);
    bar.props.SetTickMarks(cxtmBoth);
    bar.Calculate(surface.Canvas(), TRect(0, 0, 31, 150), 5);
    EXPECT_EQ(8, bar.info->ThumbLength);
    bar.Calculate(surface.Canvas(), TRect(0, 0, 29, 150), 5); // band 15: track 7, made even downward
    EXPECT_EQ(6, bar.info->ThumbLength);
    EXPECT_EQ(11, bar.info->ThumbExtent);
  }
  {
    TPaintedTrackBar bar;
    bar.props.SetAutoSize(false);
    bar.Calculate(surface.Canvas(), TRect(0, 0, 196, 60), 5);
    EXPECT_EQ(7, bar.info->ThumbLength);
    EXPECT_EQ(11, bar.info->ThumbExtent);
    EXPECT_EQ(6, bar.info->ThumbRect.Width()); // 2 * (7 div 2)
  }
  {
    TPaintedTrackBar bar;
    bar.props.SetThumbType(cxttCustom);
    bar.props.OnGetThumbRect = [](TObject*, TRect& R) { R = TRect(0, 0, 9, 30); };
    bar.Calculate(surface.Canvas(), TRect(0, 0, 196, 60), 5);
    EXPECT_EQ(9, bar.info->ThumbLength);
    EXPECT_EQ(30, bar.info->ThumbExtent);
    EXPECT_EQ(30, bar.info->ChannelRect.Height()); // the band grows to the thumb
  }
}

// The thumb's start for a value and the copies the mouse handling uses.
TEST(TrackBar, TheThumbAndSelectionLieOnTheTrack) {
  TDrawSurface surface(220, 80);
  TPaintedTrackBar bar;
  bar.props.SetSelectionStart(-5);
  bar.props.SetSelectionEnd(4);
  bar.Calculate(surface.Canvas(), TRect(0, 0, 196, 60), 10);
  const TcxCustomTrackBarViewInfo& i = *bar.info;
  const double scale = (i.TrackRect.Width() - i.ThumbLength) / 10.0;
  EXPECT_DOUBLE_EQ(scale, i.Scale);
  EXPECT_EQ(i.TrackRect.left + static_cast<int>(10 * scale), i.ThumbRect.left);
  EXPECT_EQ(i.TrackRect.right, i.ThumbRect.right);
  EXPECT_EQ(bar.OnSurface(i.ThumbRect), bar.props.ThumbRect);
  EXPECT_EQ(bar.OnSurface(i.TrackRect), bar.props.TrackRect);
  EXPECT_DOUBLE_EQ(scale, bar.props.Scale);
  EXPECT_TRUE(i.HasSelection); // the start raised to Min
  EXPECT_EQ(i.TrackRect.left + i.ThumbLength / 2, i.SelectionRect.left);
  EXPECT_EQ(i.ValueToPixel(4) + i.ThumbLength / 2 + 1, i.SelectionRect.right);
  EXPECT_EQ(i.TrackRect.top + 2, i.SelectionRect.top);
  EXPECT_EQ(i.TrackRect.bottom - 1, i.SelectionRect.bottom);
}

// ---- Ticks ----

// Ticks at Min, Max and each multiple of Frequency, the end ones half as
// long again, found by their pixels below the thumb.
TEST(TrackBar, TicksStandAtTheMultiplesOfTheFrequencyAndTheEnds) {
  const struct {
    int frequency;
    std::vector<int> values;
  } kCases[] = {{1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}, {3, {0, 3, 6, 9, 10}}, {0, {0, 10}}};
  for (const auto& c : kCases) {
    TDrawSurface surface(220, 60, clRed);
    TPaintedTrackBar bar;
    bar.props.SetFrequency(c.frequency);
    bar.Paint(surface.Canvas(), TRect(0, 0, 196, 50), 4);
    const int y = bar.OnSurface(bar.info->ThumbRect).bottom + 2;
    std::vector<int> expected;
    for (int v : c.values)
      expected.push_back(bar.TickAt(v));
    EXPECT_EQ(expected, ColumnsOf(surface, y, 0, 196, clWindowText)) << c.frequency;
    EXPECT_EQ(4, RunDown(surface, expected.front(), y, clWindowText));
    EXPECT_EQ(4, RunDown(surface, expected.back(), y, clWindowText));
    if (expected.size() > 2) {
      EXPECT_EQ(3, RunDown(surface, expected[1], y, clWindowText));
    }
  }
}

// Min to Max spans the whole integer range: the range counts in 64 bits,
// the marks are at most one per pixel and the loop ends at Max.
TEST(TrackBar, TheWidestRangeDrawsOneMarkPerPixelAtMost) {
  TDrawSurface surface(220, 60, clRed);
  TPaintedTrackBar bar;
  bar.props.SetMin(INT_MIN);
  bar.props.SetMax(INT_MAX);
  const auto start = std::chrono::steady_clock::now();
  bar.Paint(surface.Canvas(), TRect(0, 0, 196, 50), INT_MAX);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  const TcxCustomTrackBarViewInfo& i = *bar.info;
  EXPECT_GT(i.Scale, 0);
  EXPECT_EQ(i.TrackRect.right, i.ThumbRect.right); // Max at the far end
  const int y = bar.OnSurface(i.ThumbRect).bottom + 2;
  const int first = bar.TickAt(INT_MIN);
  const int last = bar.TickAt(INT_MAX);
  const std::vector<int> columns = ColumnsOf(surface, y, 0, 196, clWindowText);
  ASSERT_FALSE(columns.empty());
  EXPECT_EQ(first, columns.front());
  EXPECT_EQ(last, columns.back());
  EXPECT_EQ(4, RunDown(surface, first, y, clWindowText));
  EXPECT_EQ(4, RunDown(surface, last, y, clWindowText));
  // Every pixel between holds a mark: each stands for some multiple of 1.
  EXPECT_EQ(static_cast<size_t>(last - first + 1), columns.size());
}

// A range wider than the track still puts a number at the position.
TEST(TrackBar, ValueNumbersShowTheEndsAndThePosition) {
  TDrawSurface surface(420, 70, clRed);
  TPaintedTrackBar bar;
  bar.props.SetMax(1000);
  bar.props.SetTickType(tbttValueNumber);
  bar.Paint(surface.Canvas(), TRect(0, 0, 400, 60), 500);
  const int numbersTop = bar.OnSurface(bar.info->ThumbRect).bottom + 1;
  const int height = surface.Canvas()->TextHeight("0");
  auto inkAt = [&](int AValue) {
    const int x = bar.TickAt(AValue);
    // Below the tick lines' rows.
    return surface.Count(TRect(x - 12, numbersTop + 4, x + 12, numbersTop + height), clWindowText);
  };
  EXPECT_GT(inkAt(0), 3);
  EXPECT_GT(inkAt(500), 3);
  EXPECT_GT(inkAt(1000), 3);
  EXPECT_EQ(0, inkAt(250)) << "a line there, no number";
}

// ---- Thumbs ----

// The pointed thumb's outline by look: the body in the thumb colour, the
// point below (or right of) it, drawn in the outline's dark colour.
TEST(TrackBar, PointedThumbsShowTheirOutlines) {
  for (TcxTrackBarOrientation orientation : {tboHorizontal, tboVertical}) {
    TDrawSurface surface(220, 220, clRed);
    TPaintedTrackBar bar;
    bar.props.SetOrientation(orientation);
    bar.props.SetThumbColor(clLime);
    bar.Paint(surface.Canvas(), orientation == tboHorizontal ? TRect(0, 0, 196, 60) : TRect(0, 0, 60, 196), 5);
    const TRect t = bar.OnSurface(bar.info->ThumbRect);
    const int h = bar.info->ThumbLength / 2;
    EXPECT_EQ(RGBOf(clLime), surface.Pixel((t.left + t.right) / 2, (t.top + t.bottom) / 2)) << orientation;
    if (orientation == tboHorizontal) {
      EXPECT_EQ(RGBOf(clWindow), surface.Pixel(t.left, t.top));
      EXPECT_EQ(RGBOf(clWindowText), surface.Pixel(t.left + h, t.bottom)); // the point
      EXPECT_EQ(RGBOf(clWindowText), surface.Pixel(t.right, t.top + 2));
      EXPECT_EQ(RGBOf(clBtnShadow), surface.Pixel(t.right - 1, t.top + 2));
    } else {
      EXPECT_EQ(RGBOf(clWindow), surface.Pixel(t.left, t.top));
      EXPECT_EQ(RGBOf(clWindow), surface.Pixel(t.right, t.top + h)); // the point, lit above
      EXPECT_EQ(RGBOf(clWindowText), surface.Pixel(t.right - 1, t.bottom - h + 2)); // and dark below
      EXPECT_EQ(RGBOf(clWindowText), surface.Pixel(t.left + 2, t.bottom + 1));
    }
  }
}

TEST(TrackBar, ThumbTypesAndStates) {
  TDrawSurface surface(220, 60, clRed);
  TPaintedTrackBar bar;
  bar.props.SetTickMarks(cxtmBoth);
  bar.props.SetThumbColor(clLime);
  bar.props.SetThumbHighlightColor(clYellow);
  const struct {
    int mouseState;
    bool enabled;
    TColor colour;
  } kStates[] = {{0, true, clLime}, {tbmsOverThumb, true, clYellow}, {tbmsPressed, true, clYellow},
                 {0, false, clBtnShadow}};
  for (const auto& s : kStates) {
    bar.props.MouseState = s.mouseState;
    bar.Paint(surface.Canvas(), TRect(0, 0, 196, 50), 5, s.enabled);
    const TRect t = bar.OnSurface(bar.info->ThumbRect);
    EXPECT_EQ(RGBOf(s.colour), surface.Pixel((t.left + t.right) / 2, (t.top + t.bottom) / 2)) << s.mouseState;
  }
  bar.props.MouseState = 0;
  int drawn = 0;
  TRect drawnRect;
  bar.props.SetThumbType(cxttCustom);
  bar.props.OnDrawThumb = [&](TObject* Sender, TcxCanvas*, const TRect& R) {
    EXPECT_EQ(&bar.props, Sender);
    drawnRect = R;
    ++drawn;
  };
  bar.Paint(surface.Canvas(), TRect(0, 0, 196, 50), 5);
  EXPECT_EQ(1, drawn);
  EXPECT_EQ(bar.info->ThumbRect, drawnRect);
  // Without the handler the band stays and the thumb's place looks as
  // with no thumb.
  auto pixels = [&] {
    std::vector<COLORREF> result;
    const TRect t = bar.OnSurface(bar.info->ThumbRect);
    for (int y = t.top; y <= t.bottom; ++y)
      for (int x = t.left; x <= t.right; ++x)
        result.push_back(surface.Pixel(x, y));
    return result;
  };
  bar.props.OnDrawThumb = nullptr;
  bar.Paint(surface.Canvas(), TRect(0, 0, 196, 50), 5);
  const std::vector<COLORREF> custom = pixels();
  bar.props.SetThumbType(cxttNone);
  bar.Paint(surface.Canvas(), TRect(0, 0, 196, 50), 5);
  EXPECT_FALSE(IsRectEmpty(&bar.info->ThumbRect));
  EXPECT_EQ(pixels(), custom);
}

// In place a transparent bar keeps what the canvas held under it.
TEST(TrackBar, ATransparentBarInPlaceKeepsWhatLiesBehind) {
  TDrawSurface surface(220, 60, clRed);
  TcxTrackBarProperties props(nullptr);
  TcxCustomEditStyle style(nullptr, false);
  auto owned = props.CreateViewInfo();
  auto* info = static_cast<TcxCustomTrackBarViewInfo*>(owned.get());
  std::unique_ptr<TcxCustomEditViewData> data = props.CreateViewData(&style, true);
  data->Calculate(surface.Canvas(), TRect(0, 0, 196, 50), TPoint(-1, -1), 0, TShiftState(), info, false);
  info->Transparent = true;
  info->Paint(surface.Canvas());
  EXPECT_EQ(RGBOf(clRed), surface.Pixel(2, 2));
  info->Transparent = false;
  info->Paint(surface.Canvas());
  EXPECT_NE(RGBOf(clRed), surface.Pixel(2, 2));
}

// ---- Gallery ----

void DrawGallery(const TLook& ALook, const String& ASuffix) {
  TDrawSurface surface(900, 760, clBtnFace);
  TGalleryGrid grid(900, 8);
  for (TcxTrackBarOrientation orientation : {tboHorizontal, tboVertical}) {
    for (TcxTrackBarThumbType thumb : {cxttRegular, cxttNone, cxttCustom})
      for (TcxTrackBarTickType tick : {tbttTicks, tbttNumbers, tbttValueNumber})
        for (TcxTrackBarTickMarks marks : {cxtmBottomRight, cxtmTopLeft, cxtmBoth}) {
          if (thumb != cxttRegular && marks != cxtmBoth) continue;
          TPaintedTrackBar bar(ALook);
          bar.props.SetOrientation(orientation);
          bar.props.SetThumbType(thumb);
          bar.props.SetTickType(tick);
          bar.props.SetTickMarks(marks);
          bar.props.SetFrequency(2);
          bar.props.SetSelectionStart(2);
          bar.props.SetSelectionEnd(6);
          bar.props.SetTextOrientation(tick == tbttNumbers && marks == cxtmBoth ? tbtoVertical : tbtoHorizontal);
          bar.props.OnDrawThumb = [](TObject*, TcxCanvas* ACanvas, const TRect& R) {
            ACanvas->FillRect(R, clMaroon);
          };
          const TRect r = orientation == tboHorizontal ? grid.Next(140, 56) : grid.Next(64, 150);
          bar.Paint(surface.Canvas(), r, 5, !(tick == tbttNumbers && marks == cxtmTopLeft));
        }
    grid.NewRow();
  }
  EXPECT_FALSE(surface.SavePng(String("trackbar-gallery-") + ALook.name + ASuffix).empty());
}

TEST(TrackBar, GalleryWithTheStyleOn) {
  for (const TLook& look : kLooks)
    DrawGallery(look, "-style-on");
}

TEST(TrackBarStyleOff, GalleryWithTheStyleOff) {
  for (const TLook& look : kLooks)
    DrawGallery(look, "-style-off");
}

} // namespace
