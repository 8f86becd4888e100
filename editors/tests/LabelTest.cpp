// The label: depth offsets and sizes, text formats, the caption mirrored by
// the edit value and following the name, auto-size rectangles, the depth
// copies and faces by their pixels, turned text, the accelerator and the
// click by real input, and a gallery of effects and styles.
#include "cxLabel.h"

#include "cxExtEditUtils.h"

#include "PaintTest.h"

#include <gtest/gtest.h>

namespace {

// A form with an edit and a label under it, on a yellow field with black
// text so that faces and copies tell apart.
struct TLabelForm {
  explicit TLabelForm(const String& ACaption = "Label", const TLook& ALook = kLooks[0]) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(80, 80, 360, 220);
    form->SetColor(clBtnFace);
    edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 10, 120, 21);
    label = new TcxLabel(form.get());
    label->GetStyle()->GetLookAndFeel()->SetKind(ALook.kind);
    label->GetStyle()->GetLookAndFeel()->SetNativeStyle(ALook.native);
    label->SetAutoSize(false);
    label->GetStyle()->SetColor(clYellow);
    label->GetStyle()->GetFont()->SetName("Tahoma");
    label->GetStyle()->GetFont()->SetColor(clBlack);
    label->SetBounds(10, 50, 200, 60);
    label->SetCaption(ACaption);
    label->SetParent(form.get());
    label->OnClick = [this](TObject*) { ++clicks; };
    form->Show();
    form->Update();
    guitest::PumpFor(20);
  }
  guitest::TCapture Capture() {
    label->Invalidate();
    form->Update();
    return guitest::TCapture::Paint(form->GetHandle());
  }
  // The bounds of a colour within the label, in label coordinates.
  TRect BoundsOf(const guitest::TCapture& ACapture, TColor AColor) const {
    const COLORREF rgb = ColorToRGB(AColor);
    TRect box(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (int y = 0; y < label->GetHeight(); ++y)
      for (int x = 0; x < label->GetWidth(); ++x) {
        if (ACapture.Pixel(label->GetLeft() + x, label->GetTop() + y) != rgb) continue;
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
    return box.left < box.right ? box : TRect();
  }
  std::unique_ptr<TForm> form;
  TEdit* edit;
  TcxLabel* label;
  int clicks = 0;
};

// The first installed font without outlines, or empty.
String RasterFontName() {
  for (const char* name : {"MS Sans Serif", "Small Fonts", "Fixedsys", "Terminal", "Courier", "System"}) {
    TBitmap probe;
    probe.GetCanvas()->GetFont()->SetName(name);
    TEXTMETRICA tm{};
    GetTextMetricsA(probe.GetCanvas()->GetHandle(), &tm);
    if (!(tm.tmPitchAndFamily & TMPF_TRUETYPE)) return name;
  }
  return String();
}

// ---- Settings ----

TEST(Label, DepthOffsetsAndSizesFollowTheOrientation) {
  const struct {
    TcxLabelOrientation orientation;
    int dx, dy, w, h;
  } kCases[] = {
      {cxoLeft, 4, 0, 4, 0},      {cxoRight, -4, 0, 4, 0},        {cxoTop, 0, 4, 0, 4},
      {cxoBottom, 0, -4, 0, 4},   {cxoLeftTop, 4, 4, 4, 4},       {cxoLeftBottom, 4, -4, 4, 4},
      {cxoRightTop, -4, 4, 4, 4}, {cxoRightBottom, -4, -4, 4, 4},
  };
  TcxLabelProperties props(nullptr);
  props.SetDepth(4);
  for (const auto& c : kCases) {
    props.SetOrientation(c.orientation);
    int dx = 0, dy = 0, w = 0, h = 0;
    props.GetDepthOffset(dx, dy);
    props.GetDepthSize(w, h);
    EXPECT_EQ(TRect(c.dx, c.dy, c.w, c.h), TRect(dx, dy, w, h)) << c.orientation;
  }
}

TEST(Label, TheTextFormatFollowsAlignmentWrapAngleAndEllipsis) {
  const struct {
    TAlignment horz;
    TcxEditVertAlignment vert;
    bool wordWrap, ellipsis, autoSize;
    int angle;
    int format;
  } kCases[] = {
      {taLeftJustify, taTopJustify, false, false, false, 0, DT_LEFT | DT_TOP},
      {taRightJustify, taBottomJustify, false, false, false, 0, DT_RIGHT | DT_BOTTOM},
      {taCenter, taVCenter, true, false, false, 0, DT_CENTER | DT_VCENTER | DT_WORDBREAK},
      {taLeftJustify, taTopJustify, true, false, false, 360, DT_LEFT | DT_TOP | DT_WORDBREAK},
      {taLeftJustify, taTopJustify, true, false, false, 90, DT_LEFT | DT_TOP},
      {taLeftJustify, taTopJustify, false, true, false, 0, DT_LEFT | DT_TOP | DT_END_ELLIPSIS},
      {taLeftJustify, taTopJustify, false, true, true, 0, DT_LEFT | DT_TOP},
  };
  for (const auto& c : kCases) {
    TcxLabel label(nullptr);
    label.SetAutoSize(c.autoSize);
    TcxCustomLabelProperties* props = label.GetProperties();
    props->GetAlignment()->SetHorz(c.horz);
    props->GetAlignment()->SetVert(c.vert);
    props->SetWordWrap(c.wordWrap);
    props->SetShowEndEllipsis(c.ellipsis);
    props->SetAngle(c.angle);
    std::unique_ptr<TcxCustomEditViewData> data = label.CreateViewData();
    EXPECT_EQ(c.format, static_cast<TcxCustomLabelViewData*>(data.get())->GetDrawTextFormat())
        << c.horz << " " << c.wordWrap << " " << c.angle << " " << c.ellipsis;
  }
}

TEST(Label, AssignCopiesAllButTheEllipsis) {
  TcxLabelProperties source(nullptr);
  source.SetLabelEffect(cxleCool);
  source.SetLabelStyle(cxlsLowered);
  source.SetDepth(5);
  source.SetAngle(45);
  source.SetWordWrap(true);
  source.SetShowEndEllipsis(true);
  source.GetGlyph()->SetSize(4, 4);
  TcxLabelProperties target(nullptr);
  target.Assign(&source);
  EXPECT_EQ(cxleCool, target.GetLabelEffect());
  EXPECT_EQ(cxlsLowered, target.GetLabelStyle());
  EXPECT_EQ(5, target.GetDepth());
  EXPECT_EQ(45, target.GetAngle());
  EXPECT_TRUE(target.GetWordWrap());
  EXPECT_FALSE(target.GetShowEndEllipsis());
  EXPECT_EQ(4, target.GetGlyph()->GetWidth());
  EXPECT_EQ(0x45, target.GetCapabilities());
}

TEST(Label, TheCaptionMirrorsTheEditValueAndFollowsTheNameUntilSet) {
  TcxLabel label(nullptr);
  label.SetName("first");
  EXPECT_EQ("first", label.GetCaption());
  EXPECT_FALSE(label.IsCaptionSet());
  label.SetName("second");
  EXPECT_EQ("second", label.GetCaption());
  label.SetCaption("Mine");
  EXPECT_EQ(Variant("Mine"), label.GetEditValueRef());
  label.SetName("third");
  EXPECT_EQ("Mine", label.GetCaption());
  label.SetCaption("MINE");
  EXPECT_EQ("Mine", label.GetCaption()) << "another letter case changes nothing";
  label.SetEditValue(Variant(42));
  EXPECT_EQ("42", label.GetCaption());
  label.SetEditValue(Null());
  EXPECT_EQ("", label.GetCaption());
  String text;
  label.GetProperties()->EditValueToDisplayText(Variant(7), false, text);
  EXPECT_EQ("7", text);
}

TEST(Label, TheKindIsRegistered) {
  TcxRegisteredClasses* registry = EditPropertiesRegistry();
  const int index = registry->IndexOf(typeid(TcxLabelProperties));
  ASSERT_GE(index, 0);
  EXPECT_EQ("Label|Represents a Label", registry->GetDescription(index));
}

// ---- Auto size ----

TEST(Label, AutoSizeRectanglesFitTheCaptionItsDepthAndItsAlignment) {
  TLabelForm f("Auto sized");
  TcxLabel* label = f.label;
  TcxCanvas* canvas = label->GetcxCanvas();
  canvas->SetFont(label->GetStyle()->GetFont());
  const int tw = canvas->TextWidth("Auto sized"), th = canvas->TextHeight("Auto sized");
  const TRect parent = f.form->GetClientRect();
  label->GetProperties()->SetDepth(3);
  const struct {
    bool autoSize;
    TAlign align;
    TcxLabelOrientation orientation;
    TRect expected;
  } kCases[] = {
      {false, alNone, cxoRightBottom, TRect(0, 0, 300, 40)},
      {true, alNone, cxoRightBottom, TRect(0, 0, tw + 3 + 8, th + 3 + 4)},
      {true, alNone, cxoRight, TRect(0, 0, tw + 3 + 8, th + 4)},
      {true, alTop, cxoBottom, TRect(0, 0, parent.Width(), th + 3 + 4)},
      {true, alLeft, cxoRight, TRect(0, 0, tw + 3 + 8, parent.Height())},
      {true, alClient, cxoRight, TRect(0, 0, parent.Width(), parent.Height())},
  };
  for (const auto& c : kCases) {
    label->SetAutoSize(c.autoSize);
    label->GetProperties()->SetOrientation(c.orientation);
    label->SetAlign(c.align);
    EXPECT_EQ(c.expected, label->CalculateAutoSizeRect(300, 40)) << c.autoSize << " " << c.align;
    label->SetAlign(alNone);
  }
  label->SetCaption("  ");
  EXPECT_EQ(TRect(0, 0, 0, canvas->TextHeight("1")), label->CalculateAutoSizeRect(300, 40));
}

TEST(Label, ATurnedCaptionSizesByItsAngle) {
  TLabelForm f("Turned");
  TcxLabel* label = f.label;
  TcxCanvas* canvas = label->GetcxCanvas();
  canvas->SetFont(label->GetStyle()->GetFont());
  const int tw = canvas->TextWidth("Turned"), th = canvas->TextHeight("Turned"), w = canvas->TextWidth("w");
  label->SetAutoSize(true);
  label->GetProperties()->SetAngle(90);
  EXPECT_EQ(TRect(0, 0, th + 8, tw + w + 4), label->CalculateAutoSizeRect(300, 40));
  label->GetProperties()->SetAngle(180);
  EXPECT_EQ(TRect(0, 0, tw + w + 8, th + 4), label->CalculateAutoSizeRect(300, 40));
}

// ---- Pixels ----

TEST(LabelPaint, ExtrudeDrawsCopiesAtThreeTwoAndOneThenTheFace) {
  TLabelForm f("I");
  f.label->GetProperties()->SetDepth(3);
  f.label->GetProperties()->SetLabelEffect(cxleExtrude);
  f.label->GetProperties()->SetShadowedColor(clRed);
  const auto capture = f.Capture();
  const TRect face = f.BoundsOf(capture, clBlack);
  const TRect copies = f.BoundsOf(capture, clRed);
  ASSERT_FALSE(IsRectEmpty(&face));
  EXPECT_EQ(TRect(face.left + 1, face.top + 1, face.right + 3, face.bottom + 3), copies);
  f.label->GetProperties()->SetLabelEffect(cxleCool);
  const TRect cool = f.BoundsOf(f.Capture(), clRed);
  EXPECT_EQ(TRect(face.left + 3, face.top + 3, face.right + 3, face.bottom + 3), cool) << "one copy";
}

TEST(LabelPaint, RaisedAddsAShadowFromTwelvePoints) {
  for (int size : {8, 12}) {
    TLabelForm f("Raised");
    f.label->GetStyle()->GetFont()->SetSize(size);
    f.label->GetProperties()->SetLabelStyle(cxlsRaised);
    const auto capture = f.Capture();
    const TRect face = f.BoundsOf(capture, clBlack);
    const TRect highlight = f.BoundsOf(capture, clBtnHighlight);
    ASSERT_FALSE(IsRectEmpty(&face)) << size;
    EXPECT_EQ(face.left - 1, highlight.left) << size;
    const TRect shadow = f.BoundsOf(capture, clBtnShadow);
    EXPECT_EQ(size >= 12, !IsRectEmpty(&shadow)) << size;
  }
}

TEST(LabelPaint, UnwrappedTextStartsOnePixelInsideByItsAlignment) {
  TLabelForm f("Edge");
  const struct {
    TAlignment horz;
    int edge; // distance of the text from its side
  } kCases[] = {{taLeftJustify, 1}, {taRightJustify, 1}};
  for (const auto& c : kCases) {
    f.label->GetProperties()->GetAlignment()->SetHorz(c.horz);
    const TRect face = f.BoundsOf(f.Capture(), clBlack);
    const TRect area = f.label->GetViewInfo()->TextArea;
    TcxCanvas* canvas = f.label->GetcxCanvas();
    canvas->SetFont(f.label->GetStyle()->GetFont());
    // Glyph cells are wider than their ink: compare the text's cell.
    const int cell = canvas->TextWidth("Edge");
    if (c.horz == taLeftJustify)
      EXPECT_GE(face.left, area.left + c.edge);
    else
      EXPECT_LE(face.right, area.right - c.edge);
    EXPECT_LE(face.Width(), cell);
  }
}

// The test prefix holds no raster font; where one is installed, the same
// label draws straight in it.
TEST(LabelPaint, NinetyDegreesTurnsTrueTypeText) {
  TLabelForm f("Turned text");
  f.label->SetBounds(10, 40, 120, 120);
  f.label->GetProperties()->SetAngle(90);
  const TRect turned = f.BoundsOf(f.Capture(), clBlack);
  EXPECT_GT(turned.Height(), turned.Width() * 2) << "runs upward";
  const String raster = RasterFontName();
  if (raster.empty()) return;
  f.label->GetStyle()->GetFont()->SetName(raster);
  const TRect straight = f.BoundsOf(f.Capture(), clBlack);
  EXPECT_GT(straight.Width(), straight.Height() * 2) << "a raster font stays straight";
}

TEST(LabelPaint, TheConfirmationsQuestionWrapsFromTheTopLeft) {
  TLabelForm f("Sync SQL script is generated. You can run it immediately, or you can inspect it first.");
  f.label->GetProperties()->SetWordWrap(true);
  const auto capture = f.Capture();
  const TRect face = f.BoundsOf(capture, clBlack);
  const int line = f.label->GetcxCanvas()->TextHeight("Wg");
  EXPECT_LT(face.left, 4);
  EXPECT_LT(face.top, line / 2);
  EXPECT_GT(face.Height(), line) << "more than one line";
  EXPECT_LE(face.right, f.label->GetWidth());
}

// ---- Input ----

TEST(LabelInput, TheAcceleratorFocusesTheFocusControlOrOnlyBeeps) {
  for (bool withControl : {true, false}) {
    TLabelForm f("&Name");
    auto* target = new TEdit(f.form.get());
    target->SetParent(f.form.get());
    target->SetBounds(10, 140, 120, 21);
    if (withControl) f.label->SetFocusControl(target);
    f.edit->SetFocus();
    guitest::PumpFor(20);
    guitest::PressKey('N', guitest::kAlt);
    guitest::PumpFor(100);
    EXPECT_EQ(withControl, target->Focused());
    EXPECT_EQ(!withControl, f.edit->Focused());
    EXPECT_EQ(1, f.label->Perform(CM_DIALOGCHAR, 'N', 0)) << "the accelerator is the label's";
  }
}

TEST(LabelInput, AReleaseInsideClicksAndTheLabelTakesNoFocus) {
  TLabelForm f;
  f.edit->SetFocus();
  guitest::ClickControl(f.label);
  EXPECT_TRUE(guitest::PumpUntil([&] { return f.clicks == 1; }));
  guitest::PumpFor(50);
  EXPECT_EQ(1, f.clicks);
  EXPECT_TRUE(f.edit->Focused());
}

TEST(Label, AFreedFocusControlIsForgotten) {
  TLabelForm f;
  auto* target = new TEdit(f.form.get());
  f.label->SetFocusControl(target);
  f.label->SetFocusControl(f.label);
  EXPECT_EQ(target, f.label->GetFocusControl()) << "never the label itself";
  delete target;
  EXPECT_EQ(nullptr, f.label->GetFocusControl());
}

// ---- Gallery ----

void PaintGallery(const char* suffix) {
  for (const TLook& look : kLooks) {
    TForm form(nullptr);
    form.SetBounds(40, 40, 640, 420);
    form.SetColor(clBtnFace);
    TGalleryGrid grid(640, 6);
    auto add = [&](const String& caption, int w, int h) {
      auto* label = new TcxLabel(&form);
      label->GetStyle()->GetLookAndFeel()->SetKind(look.kind);
      label->GetStyle()->GetLookAndFeel()->SetNativeStyle(look.native);
      label->SetAutoSize(false);
      label->GetStyle()->GetFont()->SetName("Tahoma");
      label->GetStyle()->GetFont()->SetSize(14);
      label->SetBoundsRect(grid.Next(w, h));
      label->SetCaption(caption);
      label->SetParent(&form);
      return label;
    };
    for (TcxLabelEffect effect : {cxleNormal, cxleFun, cxleExtrude, cxleCool})
      for (TcxLabelStyle style : {cxlsNormal, cxlsRaised, cxlsLowered, cxlsOutLine}) {
        TcxLabel* label = add("Effect", 140, 34);
        label->GetProperties()->SetLabelEffect(effect);
        label->GetProperties()->SetLabelStyle(style);
        label->GetProperties()->SetDepth(4);
        label->GetProperties()->SetShadowedColor(clGray);
      }
    grid.NewRow();
    for (const String& font : {String("Tahoma"), RasterFontName()}) {
      if (font.empty()) continue;
      TcxLabel* label = add("Turned", 60, 80);
      label->GetStyle()->GetFont()->SetName(font);
      label->GetProperties()->SetAngle(90);
    }
    TcxLabel* bordered = add("Bordered and ellipsis that is cut", 140, 30);
    bordered->GetStyle()->SetBorderStyle(cbsSingle);
    bordered->GetProperties()->SetShowEndEllipsis(true);
    TcxLabel* glyph = add("Glyph", 140, 40);
    glyph->GetStyle()->GetFont()->SetSize(24);
    glyph->GetStyle()->GetFont()->SetStyle(TFontStyles{fsBold});
    glyph->GetProperties()->GetGlyph()->SetSize(4, 4);
    TcxCanvas stripes(glyph->GetProperties()->GetGlyph()->GetCanvas());
    stripes.FillRect(TRect(0, 0, 4, 2), clRed);
    stripes.FillRect(TRect(0, 2, 4, 4), clBlue);
    glyph->GetProperties()->Changed();
    form.Show();
    form.Update();
    guitest::PumpFor(50);
    guitest::TCapture::Paint(form.GetHandle()).SavePng(String("label-") + look.name + suffix);
  }
}

TEST(LabelPaint, EveryLookWithTheStyleOn) {
  PaintGallery("-style-on");
}

TEST(LabelPaintStyleOff, EveryLookWithTheStyleOff) {
  PaintGallery("-style-off");
}

} // namespace
