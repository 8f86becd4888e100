// The push button: glyph strips and their shared lists, the layout of glyph
// and caption, face colours, the drop-down kinds with the menu's place,
// Enter and Esc on owner-drawn buttons, hot tracking by real input, the
// action's image as glyph, and every look painted with the visual style on
// and off.
#include "cxButtons.h"

#include "PaintTest.h"

#include "ActnList.h"

#include <gtest/gtest.h>

namespace {

// A strip of square images of the given colours on a fuchsia field, each
// with a square of its colour in the middle.
std::unique_ptr<TBitmap> Strip(std::initializer_list<TColor> AColors, int ASize = 16) {
  auto strip = std::make_unique<TBitmap>();
  strip->SetPixelFormat(pf32bit);
  strip->SetSize(ASize * static_cast<int>(AColors.size()), ASize);
  TcxCanvas canvas(strip->GetCanvas());
  canvas.FillRect(TRect(0, 0, strip->GetWidth(), ASize), clFuchsia);
  int left = 0;
  for (TColor color : AColors) {
    canvas.FillRect(TRect(left + 4, 4, left + ASize - 4, ASize - 4), color);
    left += ASize;
  }
  return strip;
}

std::unique_ptr<TBitmap> PlainBitmap(int AWidth, int AHeight) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(AWidth, AHeight);
  return bitmap;
}

// The colour of a pixel of the list image.
COLORREF ImagePixel(TcxButtonGlyph* AGlyph, int AIndex, int X = 8, int Y = 8) {
  TBitmap image;
  AGlyph->GetGlyphList()->GetBitmap(AIndex, &image);
  return ColorToRGB(image.GetCanvas()->GetPixel(X, Y));
}

// The pixels of the glyph's disabled image.
std::vector<COLORREF> DisabledPixels(const TBitmap* AStrip, std::initializer_list<TPoint> APoints) {
  TcxButton button(nullptr);
  button.SetGlyph(AStrip);
  TcxButtonGlyph* glyph = button.GetButtonGlyph();
  const int index = glyph->StateImageIndex(cxbsDisabled);
  std::vector<COLORREF> pixels;
  for (TPoint p : APoints)
    pixels.push_back(ImagePixel(glyph, index, p.x, p.y));
  return pixels;
}

struct TButtonForm {
  TButtonForm() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(60, 60, 420, 260);
    form->SetColor(clBtnFace);
    form->GetFont()->SetName("Tahoma");
    edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(8, 8, 100, 21);
  }
  TcxButton* Add(int ALeft, int ATop, const char* ACaption, int AWidth = 75) {
    auto* button = new TcxButton(form.get());
    button->SetParent(form.get());
    button->SetBounds(ALeft, ATop, AWidth, 25);
    button->SetCaption(ACaption);
    return button;
  }
  void Show() {
    form->Show();
    form->Update();
    guitest::PumpFor(30);
  }
  std::unique_ptr<TForm> form;
  TEdit* edit;
};

// Records where the menu would open instead of opening it.
class TRecordingMenu : public TPopupMenu {
public:
  using TPopupMenu::TPopupMenu;
  void Popup(int X, int Y) override {
    ++popups;
    at = TPoint(X, Y);
  }
  int popups = 0;
  TPoint at;
};

// ---- Glyph strips ----

TEST(ButtonGlyph, TheStripGivesTheNumberOfImages) {
  const struct {
    int width, height, numGlyphs;
  } kCases[] = {{32, 16, 2}, {80, 16, 1}, {20, 16, 3}, {64, 16, 4}, {16, 16, 1}};
  for (const auto& c : kCases) {
    TcxButton button(nullptr);
    button.SetNumGlyphs(3);
    button.SetGlyph(PlainBitmap(c.width, c.height).get());
    EXPECT_EQ(c.numGlyphs, button.GetNumGlyphs()) << c.width << "x" << c.height;
  }
}

TEST(ButtonGlyph, SettersKeepTheirRanges) {
  TcxButton button(nullptr);
  const struct { int value, numGlyphs; } kNumGlyphs[] = {{7, 4}, {0, 4}, {2, 2}};
  for (const auto& c : kNumGlyphs) {
    button.SetNumGlyphs(c.value);
    EXPECT_EQ(c.numGlyphs, button.GetNumGlyphs()) << c.value;
  }
  const struct { int value, margin; } kMargins[] = {{-2, -1}, {3, 3}, {-1, -1}, {-5, -1}};
  for (const auto& c : kMargins) {
    button.SetMargin(c.value);
    EXPECT_EQ(c.margin, button.GetMargin()) << c.value;
  }
  EXPECT_TRUE(button.GetUseSystemPaint());
  button.SetGlyph(nullptr);
  EXPECT_TRUE(button.GetUseSystemPaint()) << "no bitmap: the system may still draw";
  button.SetGlyph(Strip({clRed}).get());
  EXPECT_FALSE(button.GetUseSystemPaint());
  button.SetGlyph(nullptr);
  EXPECT_TRUE(button.GetGlyph()->GetEmpty());
  EXPECT_EQ(-1, button.GetButtonGlyph()->StateImageIndex(cxbsNormal));
}

TEST(ButtonGlyph, EachStateTakesItsImage) {
  struct Case {
    std::initializer_list<TColor> strip;
    TColor normal, pressed, disabled;
  };
  // A strip of one image has no disabled image of its own: it is embossed
  // in the button colours.
  const Case kCases[] = {{{clRed, clBlue}, clRed, clRed, clBlue},
                         {{clRed, clBlue, clLime}, clRed, clLime, clBlue},
                         {{clRed, clBlue, clLime, clYellow}, clRed, clLime, clBlue},
                         {{clRed}, clRed, clRed, clBtnFace}};
  for (const Case& c : kCases) {
    TcxButton button(nullptr);
    button.SetGlyph(Strip(c.strip).get());
    TcxButtonGlyph* glyph = button.GetButtonGlyph();
    SCOPED_TRACE(button.GetNumGlyphs());
    for (TcxButtonState state : {cxbsDefault, cxbsNormal, cxbsHot})
      EXPECT_EQ(RGBOf(c.normal), ImagePixel(glyph, glyph->StateImageIndex(state))) << state;
    EXPECT_EQ(RGBOf(c.pressed), ImagePixel(glyph, glyph->StateImageIndex(cxbsPressed)));
    EXPECT_EQ(RGBOf(c.disabled), ImagePixel(glyph, glyph->StateImageIndex(cxbsDisabled)));
  }
}

TEST(ButtonGlyph, TheDisabledImageOfAStripIsInTheSystemColours) {
  auto strip = Strip({clRed, clWhite});
  TCanvas* canvas = strip->GetCanvas();
  canvas->SetPixel(16 + 1, 1, clGray);
  canvas->SetPixel(16 + 2, 1, clOlive);
  const std::vector<COLORREF> expected = {RGBOf(clBtnHighlight), RGBOf(clBtnShadow), RGBOf(clBtnFace)};
  EXPECT_EQ(expected, DisabledPixels(strip.get(), {TPoint(8, 8), TPoint(1, 1), TPoint(2, 1)}));
}

TEST(ButtonGlyph, OneImageDisabledIsEmbossedFromItsBlackPixels) {
  // The highlight shows a pixel lower right of the shadow.
  const std::vector<COLORREF> expected = {RGBOf(clBtnShadow), RGBOf(clBtnHighlight), RGBOf(clBtnFace)};
  EXPECT_EQ(expected, DisabledPixels(Strip({clBlack}).get(), {TPoint(4, 4), TPoint(12, 12), TPoint(1, 1)}));
}

TEST(GlyphCache, ButtonsOfOneImageSizeShareAListThatGoesWithTheLast) {
  ASSERT_EQ(nullptr, GlyphCache());
  auto first = std::make_unique<TcxButton>(nullptr);
  auto second = std::make_unique<TcxButton>(nullptr);
  auto large = std::make_unique<TcxButton>(nullptr);
  first->SetGlyph(Strip({clRed}).get());
  second->SetGlyph(Strip({clBlue, clLime}).get());
  large->SetGlyph(Strip({clRed}, 24).get());
  for (TcxButton* button : {first.get(), second.get(), large.get()})
    button->GetButtonGlyph()->StateImageIndex(cxbsNormal);
  ASSERT_NE(nullptr, GlyphCache());
  EXPECT_EQ(2, GlyphCache()->GetListCount());
  TcxGlyphList* shared = first->GetButtonGlyph()->GetGlyphList();
  EXPECT_EQ(shared, second->GetButtonGlyph()->GetGlyphList());
  EXPECT_EQ(2, shared->GetImageCount());
  // A freed slot is taken by the next image.
  const int freed = first->GetButtonGlyph()->StateImageIndex(cxbsNormal);
  first->SetGlyph(Strip({clYellow}).get());
  EXPECT_EQ(freed, first->GetButtonGlyph()->StateImageIndex(cxbsNormal));
  EXPECT_EQ(RGBOf(clYellow), ImagePixel(first->GetButtonGlyph(), freed));
  EXPECT_EQ(RGBOf(clBlue),
            ImagePixel(second->GetButtonGlyph(), second->GetButtonGlyph()->StateImageIndex(cxbsNormal)));
  large.reset();
  EXPECT_EQ(1, GlyphCache()->GetListCount());
  first.reset();
  EXPECT_EQ(1, GlyphCache()->GetListCount());
  second.reset();
  EXPECT_EQ(nullptr, GlyphCache());
}

// ---- Layout ----

TEST(ButtonLayout, GlyphAndCaptionArePlacedByLayoutMarginAndSpacing) {
  TcxButton button(nullptr);
  button.SetGlyph(Strip({clRed}).get());
  TBitmap surface;
  surface.SetSize(10, 10);
  TCanvas* canvas = surface.GetCanvas();
  canvas->GetFont()->SetName("Tahoma");
  const String caption = "Sync";
  const SIZE text = canvas->TextExtent(caption);
  const int W = 75, H = 25;
  const int cy = (H - text.cy + 1) / 2;
  const struct {
    TButtonLayout layout;
    int margin, spacing;
    String caption;
    TPoint glyph, textAt;
  } kCases[] = {
      {blGlyphLeft, -1, 4, caption, {(W - 20 - text.cx + 1) / 2, 5}, {(W - 20 - text.cx + 1) / 2 + 20, cy}},
      {blGlyphRight,
       -1,
       4,
       caption,
       {W - (W - 20 - text.cx + 1) / 2 - 16, 5},
       {W - (W - 20 - text.cx + 1) / 2 - 20 - text.cx, cy}},
      {blGlyphLeft, 2, -1, caption, {2, 5}, {2 + 16 + (W - 2 - 16 - text.cx) / 2, cy}},
      {blGlyphLeft, -1, -1, caption, {(W - 16 - text.cx) / 3, 5}, {(W - 16 - text.cx) / 3 * 2 + 16, cy}},
      {blGlyphTop, 3, 2, caption, {(W - 16 + 1) / 2, 3}, {(W - text.cx + 1) / 2, 3 + 16 + 2}},
      {blGlyphBottom,
       3,
       2,
       caption,
       {(W - 16 + 1) / 2, H - 3 - 16},
       {(W - text.cx + 1) / 2, H - 3 - 16 - 2 - text.cy}},
      // Without caption there is no spacing: the glyph alone is centred.
      {blGlyphLeft, -1, 4, "", {(W - 16 + 1) / 2, 5}, {(W - 16 + 1) / 2 + 16, (H + 1) / 2}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.layout << " " << c.margin << " " << c.spacing << " '" << c.caption
                                    << "'");
    TPoint glyph;
    TRect textBounds;
    button.GetButtonGlyph()->CalcLayout(TRect(10, 20, 10 + W, 20 + H), TPoint(1, 1), c.caption, c.layout,
                                        c.margin, c.spacing, glyph, textBounds, 0, canvas);
    EXPECT_EQ(c.glyph.x + 11, glyph.x);
    EXPECT_EQ(c.glyph.y + 21, glyph.y);
    EXPECT_EQ(c.textAt.x + 11, textBounds.left);
    EXPECT_EQ(c.textAt.y + 21, textBounds.top);
  }
}

// ---- Colours ----

TEST(ButtonColors, AssignedColoursFollowTheSetters) {
  TcxButton button(nullptr);
  TcxButtonColors* colors = button.GetColors();
  colors->SetAssignedColors(TcxButtonAssignedColors{cxbsHot, cxbsNormal});
  EXPECT_TRUE(colors->GetAssignedColors().Empty()) << "only a designer edits the set";
  colors->SetColor(cxbsHot, clRed);
  colors->SetColor(cxbsPressed, clBlue);
  EXPECT_EQ((TcxButtonAssignedColors{cxbsHot, cxbsPressed}), colors->GetAssignedColors());
  colors->SetColor(cxbsHot, clNone);
  EXPECT_EQ(clDefault, colors->GetColor(cxbsHot));
  EXPECT_EQ(TcxButtonAssignedColors{cxbsPressed}, colors->GetAssignedColors());
  TcxButton other(nullptr);
  other.SetColors(colors);
  EXPECT_EQ(clBlue, other.GetColors()->GetColor(cxbsPressed));
  EXPECT_EQ(TcxButtonAssignedColors{cxbsPressed}, other.GetColors()->GetAssignedColors());
}

// ---- The window and the action ----

TEST(Button, TheSystemDrawsAPlainButtonAndTheButtonItselfAnyOther) {
  TButtonForm f;
  TcxButton* plain = f.Add(8, 40, "Plain");
  plain->GetLookAndFeel()->SetKind(lfStandard);
  TcxButton* glyph = f.Add(90, 40, "Glyph");
  glyph->SetGlyph(Strip({clRed}).get());
  TcxButton* dropDown = f.Add(172, 40, "Menu");
  dropDown->GetLookAndFeel()->SetKind(lfStandard);
  dropDown->SetKind(cxbkDropDown);
  f.Show();
  auto ownerDrawn = [](TcxButton* b) { return (GetWindowLongA(b->GetHandle(), GWL_STYLE) & 0xF) == 0xB; };
  EXPECT_TRUE(plain->UsesSystemPaint());
  EXPECT_FALSE(ownerDrawn(plain));
  EXPECT_TRUE(ownerDrawn(glyph));
  EXPECT_TRUE(ownerDrawn(dropDown));
  plain->SetKind(cxbkDropDownButton);
  EXPECT_TRUE(ownerDrawn(plain)) << "the window was made again";
}

TEST(Button, TheActionsImageBecomesAnEmptyGlyph) {
  TButtonForm f;
  auto* images = new TImageList(f.form.get());
  images->AddMasked(Strip({clRed, clBlue}).get(), clFuchsia);
  auto* actions = new TActionList(f.form.get());
  actions->Images = images;
  auto* action = new TAction(f.form.get());
  action->SetActionList(actions);
  action->SetCaption("Run");
  action->SetImageIndex(1);
  TcxButton* button = f.Add(8, 40, "");
  button->SetAction(action);
  EXPECT_EQ("Run", button->GetCaption());
  ASSERT_EQ(16, button->GetGlyph()->GetWidth());
  EXPECT_EQ(RGBOf(clBlue), RGBOf(button->GetGlyph()->GetCanvas()->GetPixel(8, 8)));
  EXPECT_EQ(RGBOf(clFuchsia), RGBOf(button->GetGlyph()->GetCanvas()->GetPixel(0, 15)));
  EXPECT_FALSE(button->GetUseSystemPaint());
  // A glyph of its own stays.
  TcxButton* own = f.Add(90, 40, "");
  own->SetGlyph(Strip({clLime}).get());
  own->SetAction(action);
  EXPECT_EQ(RGBOf(clLime), RGBOf(own->GetGlyph()->GetCanvas()->GetPixel(8, 8)));
}

// ---- Drop-down ----

TEST(ButtonDropDown, ThePressOnTheArrowPartOpensTheMenu) {
  TButtonForm f;
  TcxButton* button = f.Add(8, 40, "Menu");
  button->SetKind(cxbkDropDownButton);
  auto* menu = new TRecordingMenu(f.form.get());
  menu->GetItems()->Add(new TMenuItem(menu));
  button->SetDropDownMenu(menu);
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  f.Show();
  guitest::ClickAt(button->GetHandle(), 59, 12);
  ASSERT_TRUE(guitest::PumpUntil([&] { return clicks == 1; }));
  EXPECT_EQ(0, menu->popups);
  guitest::ClickAt(button->GetHandle(), 60, 12);
  ASSERT_TRUE(guitest::PumpUntil([&] { return menu->popups == 1; }));
  TPoint corner = button->ClientToScreen(TPoint(0, button->GetHeight()));
  EXPECT_EQ(corner.x, menu->at.x);
  EXPECT_EQ(corner.y, menu->at.y);
  guitest::PumpUntil([&] { return !button->IsMenuVisible(); });
  EXPECT_FALSE(button->IsMenuVisible()) << "closed up once the menu returned";
}

TEST(ButtonDropDown, NearTheScreensBottomTheMenuOpensAbove) {
  TButtonForm f;
  const int screen = GetSystemMetrics(SM_CYSCREEN);
  f.form->SetBounds(60, screen - 90, 300, 80);
  TcxButton* button = f.Add(8, 8, "Menu");
  button->SetKind(cxbkDropDown);
  auto* menu = new TRecordingMenu(f.form.get());
  for (int i = 0; i < 4; ++i)
    menu->GetItems()->Add(new TMenuItem(menu));
  button->SetDropDownMenu(menu);
  f.Show();
  // The pointer may not reach the desktop's bottom on the test display.
  button->DropDown();
  ASSERT_TRUE(guitest::PumpUntil([&] { return menu->popups == 1; }));
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  const int height = metrics.iBorderWidth * 2 + 4 * GetSystemMetrics(SM_CYMENU);
  const TPoint top = button->ClientToScreen(TPoint(0, 0));
  EXPECT_EQ(top.y - height - 2, menu->at.y);
}

TEST(ButtonDropDown, WithoutAMenuTheDropDownKindOpensNothing) {
  TButtonForm f;
  TcxButton* button = f.Add(8, 40, "Menu");
  button->SetKind(cxbkDropDown);
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  f.Show();
  guitest::ClickAt(button->GetHandle(), 10, 10);
  guitest::PumpFor(50);
  EXPECT_EQ(0, clicks) << "the drop-down kind runs no click";
  EXPECT_FALSE(button->IsMenuVisible());
}

// ---- Keys and hot tracking ----

TEST(ButtonInput, EnterAndEscapeClickOwnerDrawnButtons) {
  TButtonForm f;
  TcxButton* ok = f.Add(8, 40, "OK");
  ok->SetGlyph(Strip({clLime}).get());
  ok->SetDefault(true);
  TcxButton* cancel = f.Add(90, 40, "Cancel");
  cancel->SetGlyph(Strip({clRed}).get());
  cancel->Cancel = true;
  int oks = 0, cancels = 0;
  ok->OnClick = [&](TObject*) { ++oks; };
  cancel->OnClick = [&](TObject*) { ++cancels; };
  f.Show();
  f.edit->SetFocus();
  guitest::PressKey(VK_RETURN);
  ASSERT_TRUE(guitest::PumpUntil([&] { return oks == 1; }));
  guitest::PressKey(VK_ESCAPE);
  ASSERT_TRUE(guitest::PumpUntil([&] { return cancels == 1; }));
  EXPECT_EQ(1, oks);
}

TEST(ButtonInput, ModalResultClosesTheModalForm) {
  TButtonForm f;
  TcxButton* ok = f.Add(8, 40, "OK");
  ok->SetGlyph(Strip({clLime}).get());
  ok->ModalResult = mrOk;
  guitest::AnswerNextForm([&](TCustomForm*) { guitest::ClickAt(ok->GetHandle(), 10, 10); });
  EXPECT_EQ(mrOk, f.form->ShowModal());
}

TEST(ButtonInput, HotTrackingFollowsTheMouse) {
  TButtonForm f;
  TcxButton* hot = f.Add(8, 40, "Hot");
  hot->GetLookAndFeel()->SetKind(lfUltraFlat);
  hot->SetGlyph(Strip({clRed}).get());
  TcxButton* standard = f.Add(90, 40, "Standard");
  standard->GetLookAndFeel()->SetKind(lfStandard);
  standard->SetGlyph(Strip({clRed}).get());
  f.Show();
  guitest::MouseEventAt(hot->GetHandle(), 20, 12);
  ASSERT_TRUE(guitest::PumpUntil([&] { return hot->IsHot(); }));
  guitest::MouseEventAt(standard->GetHandle(), 20, 12);
  ASSERT_TRUE(guitest::PumpUntil([&] { return !hot->IsHot(); })) << "the tracking saw the mouse leave";
  guitest::PumpFor(50);
  EXPECT_FALSE(standard->IsHot()) << "the standard painter tracks nothing";
  guitest::MouseEventAt(hot->GetHandle(), 20, 12);
  ASSERT_TRUE(guitest::PumpUntil([&] { return hot->IsHot(); }));
  hot->SetEnabled(false);
  EXPECT_FALSE(hot->IsHot());
}

// ---- Painting ----

// Empty when the rectangle shows no red.
TRect RedBounds(const guitest::TCapture& ACapture, const TRect& R) {
  TRect box(R.right, R.bottom, R.left, R.top);
  for (int y = R.top; y < R.bottom; ++y)
    for (int x = R.left; x < R.right; ++x) {
      if (ACapture.Pixel(x, y) != RGBOf(clRed)) continue;
      box.left = std::min<LONG>(box.left, x);
      box.top = std::min<LONG>(box.top, y);
      box.right = std::max<LONG>(box.right, x + 1);
      box.bottom = std::max<LONG>(box.bottom, y + 1);
    }
  return box.left < box.right ? box : TRect();
}

enum TShownState { ssNormal, ssDefault, ssFocused, ssPressed, ssDisabled };

void PaintLooks(const char* ASuffix) {
  for (const TLook& look : kLooks) {
    SCOPED_TRACE(look.name);
    TButtonForm f;
    f.form->SetBounds(40, 40, 560, 200);
    struct Shown {
      TcxButton* button;
      TShownState state;
    };
    std::vector<Shown> shown;
    for (int kind = cxbkStandard; kind <= cxbkDropDownButton; ++kind)
      for (int state = ssNormal; state <= ssDisabled; ++state) {
        TcxButton* b = f.Add(8 + state * 104, 40 + kind * 40, "State", 96);
        b->GetLookAndFeel()->SetKind(look.kind);
        b->GetLookAndFeel()->SetNativeStyle(look.native);
        b->SetKind(static_cast<TcxButtonKind>(kind));
        b->SetGlyph(Strip({clRed, clGray}).get());
        b->SetEnabled(state != ssDisabled);
        b->SetDefault(state == ssDefault);
        shown.push_back({b, static_cast<TShownState>(state)});
      }
    f.Show();
    for (const Shown& s : shown) {
      if (s.state == ssPressed) SendMessageA(s.button->GetHandle(), BM_SETSTATE, TRUE, 0);
      if (s.state == ssFocused) s.button->SetFocus();
    }
    guitest::PumpFor(50);
    const guitest::TCapture capture = guitest::TCapture::Paint(f.form->GetHandle());
    capture.SavePng(String("button-") + look.name + ASuffix);
    TcxCustomLookAndFeelPainterClass painter = shown[0].button->GetPainterClass();
    const int shift = painter->GetButtonPressedShift();
    for (int kind = 0; kind < 3; ++kind) {
      const Shown& normal = shown[static_cast<size_t>(kind * 5)];
      const Shown& pressed = shown[static_cast<size_t>(kind * 5 + ssPressed)];
      const TRect normalRect = normal.button->GetBoundsRect();
      const TRect pressedRect = pressed.button->GetBoundsRect();
      const TRect a = RedBounds(capture, normalRect);
      const TRect b = RedBounds(capture, pressedRect);
      ASSERT_EQ(8, a.Width()) << kind;
      // The drop-down kind shows the open menu as pressed, not the press.
      const int expected = kind == cxbkDropDown ? 0 : shift;
      EXPECT_EQ(a.left - normalRect.left + expected, b.left - pressedRect.left) << kind;
      EXPECT_EQ(a.top - normalRect.top + expected, b.top - pressedRect.top) << kind;
      const Shown& disabled = shown[static_cast<size_t>(kind * 5 + ssDisabled)];
      const TRect grey = RedBounds(capture, disabled.button->GetBoundsRect());
      EXPECT_TRUE(IsRectEmpty(&grey)) << "the strip's grey image";
    }
  }
}

TEST(ButtonPaint, EveryLookWithTheStyleOn) {
  PaintLooks("-style-on");
}

TEST(ButtonPaintStyleOff, EveryLookWithTheStyleOff) {
  PaintLooks("-style-off");
}

TEST(ButtonPaint, TheFaceTakesTheStatesColourAndTheDrawParameters) {
  TButtonForm f;
  TcxButton* button = f.Add(8, 40, "Face");
  button->GetLookAndFeel()->SetKind(lfFlat);
  button->GetColors()->SetColor(cxbsNormal, clYellow);
  TcxButtonState seen = cxbsDisabled;
  button->OnGetDrawParams = [&](TcxCustomButton*, TcxButtonState AState, TColor& AColor, TFont*) {
    seen = AState;
    if (AState == cxbsNormal) AColor = clAqua;
  };
  f.Show();
  const guitest::TCapture capture = guitest::TCapture::Paint(f.form->GetHandle());
  EXPECT_EQ(cxbsNormal, seen);
  EXPECT_EQ(RGBOf(clAqua), capture.Pixel(button->GetLeft() + 4, button->GetTop() + 4));
}

} // namespace
