// Large buttons on a floating toolbar: sizes, the image of each state, the
// glyph layouts, the grey look and the synchronised image index.
#include "BarsTest.h"
#include "dxBarCommon.h"
#include "dxBarExtItems.h"

#include "ActnList.h"
#include "GuiTest.h"
#include "ImgList.h"

#include "Forms.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kGrey = RGB(85, 85, 85);

// A square image of one colour; its bottom-left pixel is the transparent
// colour.
std::unique_ptr<TBitmap> Square(int size, COLORREF colour) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(size, size);
  HDC dc = bitmap->GetCanvas()->GetHandle();
  RECT r{0, 0, size, size};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  SetPixel(dc, 0, size - 1, RGB(255, 0, 255));
  return bitmap;
}

void AddImages(TImageList& list, int size, std::initializer_list<COLORREF> colours) {
  list.SetWidth(size);
  list.SetHeight(size);
  for (COLORREF colour : colours) list.AddMasked(Square(size, colour).get(), clFuchsia);
}

class LargeButtonTest : public BarsTest {
protected:
  void SetUp() override {
    Build([this](TdxBarManager* m) {
      Bar = m->GetBars()->Add();
      Bar->SetCaption("Button bar");
      Button = new TdxBarLargeButton(m->GetOwnerForm());
      Button->SetName("Open");
      Button->SetCaption("&Open script");
      AddLink(Bar->GetItemLinks(), Button);
    });
    Form->SetBounds(100, 100, 600, 300);
    Form->Show();
  }
  void TearDown() override {
    Leave();
    delete Window;
    Window = nullptr;
  }

  TdxBarControl* ShowFloating(int width = 300, int height = 120) {
    delete Window;
    return Window = ShowFloatingWindow(Bar, 120, 120, width, height);
  }

  TdxBarLargeButtonControl* Control() const {
    return dynamic_cast<TdxBarLargeButtonControl*>(Bar->GetItemLinks()->GetItem(0)->GetControl());
  }
  TRect ItemRect() const { return Bar->GetItemLinks()->GetItem(0)->ItemRect; }
  SIZE Text(const String& text) const { return TextSizeIn(Window, text); }
  // The bounding box of the pixels of a colour within the item.
  TRect Find(const guitest::TCapture& picture, COLORREF colour) const {
    const TRect item = ItemRect();
    TRect box(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (int y = item.top; y < item.bottom; ++y)
      for (int x = item.left; x < item.right; ++x)
        if (picture.Pixel(x, y) == colour) {
          box.left = std::min<int>(box.left, x);
          box.top = std::min<int>(box.top, y);
          box.right = std::max<int>(box.right, x + 1);
          box.bottom = std::max<int>(box.bottom, y + 1);
        }
    return box;
  }
  // Paints a 32-pixel glyph with a long caption in each layout in the
  // window Show answers; checks the glyph's place in the item (the caption
  // runs down a rotated bar, so the glyph stands across from it) and that
  // the caption lies on the side away from the glyph only.
  void CheckGlyphLayouts(bool rotated, const std::function<TdxBarControl*()>& Show) {
    AddImages(Large, 32, {kRed});
    Manager->SetLargeImages(&Large);
    Button->SetLargeImageIndex(0);
    Button->SetAutoGrayScale(false);
    Button->SetCaption("A rather long caption");
    const char* names[] = {"left", "right", "top", "bottom"};
    for (TdxBarGlyphLayout layout : {glTop, glBottom, glLeft, glRight}) {
      const char* name = names[layout];
      Button->SetGlyphLayout(layout);
      TdxBarControl* window = Show();
      guitest::TCapture picture = guitest::TCapture::Paint(window->GetHandle());
      picture.SavePng(String("bars_large_layout_") + (rotated ? "rotated_" : "") + name);
      const TRect glyph = Find(picture, kRed);
      TRect r = ItemRect();
      InflateRect(&r, -1, -1);
      ASSERT_EQ(glyph.Width(), 32) << name;
      const int acrossX = r.left + (r.Width() - 32) / 2, acrossY = r.top + (r.Height() - 32) / 2;
      // Where the glyph's top-left corner lies, and the caption's side: 0
      // above the glyph, 1 below, 2 before, 3 after.
      TPoint at;
      int side;
      switch (layout) {
      case glTop:
        at = rotated ? TPoint(r.right - 2 - 32, acrossY) : TPoint(acrossX, r.top + 2);
        side = rotated ? 2 : 1;
        break;
      case glBottom:
        at = rotated ? TPoint(r.left + 2, acrossY) : TPoint(acrossX, r.bottom - 2 - 32);
        side = rotated ? 3 : 0;
        break;
      case glLeft:
        at = rotated ? TPoint(acrossX, r.top + 4) : TPoint(r.left + 4, acrossY);
        side = rotated ? 1 : 3;
        break;
      default:
        at = rotated ? TPoint(acrossX, r.bottom - 4 - 32) : TPoint(r.right - 4 - 32, acrossY);
        side = rotated ? 0 : 2;
        break;
      }
      EXPECT_EQ(glyph.left, at.x) << name;
      EXPECT_EQ(glyph.top, at.y) << name;
      const RECT sides[] = {{r.left, r.top, r.right, glyph.top},
                            {r.left, glyph.bottom, r.right, r.bottom},
                            {r.left, r.top, glyph.left, r.bottom},
                            {glyph.right, r.top, r.right, r.bottom}};
      const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
      EXPECT_GT(picture.CountPixels(sides[side], ink), 0) << name;
      EXPECT_EQ(picture.CountPixels(sides[side ^ 1], ink), 0) << name;
    }
  }
  void Leave() { MovePointerOff(Window); }
  void Hover() {
    const TRect r = ItemRect();
    guitest::MouseEventAt(Window->GetHandle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ASSERT_TRUE(guitest::PumpUntil([&] { return Control()->IsSelected(); }));
  }

  TdxBar* Bar = nullptr;
  TdxBarLargeButton* Button = nullptr;
  TdxBarControl* Window = nullptr;
  TImageList Large{nullptr}, Hot{nullptr};
};

} // namespace

TEST_F(LargeButtonTest, SizesFromImageCaptionAndLayout) {
  ShowFloating();
  ASSERT_NE(Control(), nullptr) << "the registry makes a large-button control";
  const SIZE qq = Text("Qq"), caption = Text("Open script");
  struct Case {
    const char* Name;
    std::function<void()> Apply;
    int Width, Height;
  } cases[] = {
      {"no image, glTop", [] {}, std::max(30, int(caption.cx) + 16), 26 + int(qq.cy) + 1},
      {"no image, glLeft", [&] { Button->SetGlyphLayout(glLeft); }, 30 + int(caption.cx) + 6,
       std::max(26, int(qq.cy) + 6)},
      {"no image, no caption", [&] { Button->SetShowCaption(false); }, 30, 26},
      {"32 x 32 image, no caption",
       [&] {
         AddImages(Large, 32, {kRed});
         Manager->SetLargeImages(&Large);
         Button->SetLargeImageIndex(0);
       },
       42, 38},
      {"32 x 32 image, glTop",
       [&] {
         Button->SetShowCaption(true);
         Button->SetGlyphLayout(glTop);
       },
       std::max(42, int(caption.cx) + 16), 38 + int(qq.cy) + 1},
      {"glBottom", [&] { Button->SetGlyphLayout(glBottom); }, std::max(42, int(caption.cx) + 16),
       38 + int(qq.cy) + 1},
      {"glRight", [&] { Button->SetGlyphLayout(glRight); }, 42 + int(caption.cx) + 6,
       std::max(38, int(qq.cy) + 6)},
      {"a list without the index still sizes", [&] { Button->SetLargeImageIndex(5); }, 42 + int(caption.cx) + 6,
       std::max(38, int(qq.cy) + 6)},
      {"drop-down part",
       [&] {
         Button->SetLargeImageIndex(0);
         Button->SetButtonStyle(bsDropDown);
       },
       42 + int(caption.cx) + 6 + Manager->GetLargeButtonArrowWidth(), std::max(38, int(qq.cy) + 6)},
      {"fixed size",
       [&] {
         Button->SetButtonStyle(bsDefault);
         Button->SetWidth(90);
         Button->SetHeight(70);
       },
       90, 70},
      {"negative sizes ignored",
       [&] {
         Button->SetWidth(-4);
         Button->SetHeight(-1);
       },
       90, 70},
  };
  for (const Case& c : cases) {
    c.Apply();
    EXPECT_EQ(Control()->GetWidth(), c.Width) << c.Name;
    EXPECT_EQ(Control()->GetHeight(), c.Height) << c.Name;
  }
  EXPECT_EQ(Button->GetWidth(), 90);
  EXPECT_EQ(Button->GetHeight(), 70);
}

TEST_F(LargeButtonTest, LoweredAddsThePaintersBorders) {
  Manager->SetStyle(bmsStandard);
  ShowFloating();
  const int width = Control()->GetWidth(), height = Control()->GetHeight();
  Button->SetLowered(true);
  const int border = Manager->GetPainterClass()->GetButtonBorderWidth();
  EXPECT_EQ(border, 1);
  EXPECT_EQ(Control()->GetWidth(), width + 2 * border);
  EXPECT_EQ(Control()->GetHeight(), height + 2 * border);
}

// Grey until the mouse is over the button, then in colour; a hot image only
// while hot.
TEST_F(LargeButtonTest, GreyUntilHotAndTheHotImageOnlyWhileHot) {
  AddImages(Large, 32, {kRed});
  Manager->SetLargeImages(&Large);
  Button->SetLargeImageIndex(0);
  for (TdxBarManagerStyle style : {bmsStandard, bmsEnhanced}) {
    Manager->SetStyle(style);
    ShowFloating();
    guitest::TCapture cold = guitest::TCapture::Paint(Window->GetHandle());
    EXPECT_EQ(Find(cold, kRed).left, INT_MAX) << "no colour while not hot, style " << style;
    EXPECT_EQ(Find(cold, kGrey).Width(), 32) << "the grey glyph, style " << style;
    cold.SavePng(style == bmsStandard ? "bars_large_grey_standard" : "bars_large_grey_enhanced");
    Hover();
    guitest::TCapture hot = guitest::TCapture::Paint(Window->GetHandle());
    EXPECT_EQ(Find(hot, kRed).Width(), 32) << "in colour while hot, style " << style;
    EXPECT_EQ(Find(hot, kGrey).left, INT_MAX);
    hot.SavePng(style == bmsStandard ? "bars_large_hot_standard" : "bars_large_hot_enhanced");
    Leave();
  }
  ShowFloating();

  Button->SetAutoGrayScale(false);
  guitest::TCapture plain = guitest::TCapture::Paint(Window->GetHandle());
  EXPECT_EQ(Find(plain, kRed).Width(), 32) << "without AutoGrayScale in colour";

  AddImages(Hot, 32, {kGreen});
  Manager->SetHotImages(&Hot);
  Button->SetHotImageIndex(0);
  guitest::TCapture cold = guitest::TCapture::Paint(Window->GetHandle());
  EXPECT_EQ(Find(cold, kGreen).left, INT_MAX) << "the hot image waits for the mouse";
  Hover();
  guitest::TCapture hot = guitest::TCapture::Paint(Window->GetHandle());
  EXPECT_EQ(Find(hot, kGreen).Width(), 32);
  EXPECT_EQ(Find(hot, kRed).left, INT_MAX);

  // A disabled button is not grey-scaled by the flag (it has its own look).
  Button->SetEnabled(false);
  EXPECT_FALSE(Control()->HasStateImageList());
}

TEST_F(LargeButtonTest, GlyphLayoutsOnAHorizontalBar) {
  CheckGlyphLayouts(false, [this] { return ShowFloating(400, 120); });
}

TEST_F(LargeButtonTest, GlyphLayoutsOnARotatedBar) {
  Bar->SetDockingStyle(dsLeft);
  Bar->SetVisible(true);
  TdxBarControl* window = Bar->GetBarControl();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(window->ShowsRotatedCaptions());
  CheckGlyphLayouts(true, [window] {
    guitest::PumpFor(50);
    return window;
  });
  Bar->SetVisible(false);
}

TEST_F(LargeButtonTest, ADropDownButtonDrawsItsArrowPart) {
  AddImages(Large, 32, {kRed});
  Manager->SetLargeImages(&Large);
  Button->SetLargeImageIndex(0);
  Button->SetShowCaption(false);
  Button->SetAutoGrayScale(false);
  const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
  for (TdxBarButtonStyle style : {bsDefault, bsDropDown}) {
    Button->SetButtonStyle(style);
    ShowFloating();
    guitest::TCapture picture = guitest::TCapture::Paint(Window->GetHandle());
    const TRect item = ItemRect();
    // The part right of the glyph box, as wide as the manager's large arrow.
    const RECT part{item.right - Manager->GetLargeButtonArrowWidth(), item.top, item.right, item.bottom};
    if (style == bsDropDown) {
      picture.SavePng("bars_large_dropdown");
      EXPECT_GT(picture.CountPixels(part, ink), 0) << "the arrow";
      EXPECT_EQ(Find(picture, kRed).right, item.left + 1 + 4 + 32) << "the glyph keeps its place";
    } else {
      EXPECT_EQ(picture.CountPixels(part, ink), 0);
    }
  }
}

TEST_F(LargeButtonTest, ActionImageIndexLandsInLargeImageIndex) {
  TAction action(Form.get());
  action.SetCaption("Help");
  action.SetImageIndex(2);
  Button->SetAction(&action);
  EXPECT_EQ(Button->GetLargeImageIndex(), 2);
  EXPECT_EQ(Button->GetImageIndex(), 2) << "ImageIndex follows while synchronised";
  action.SetImageIndex(3);
  EXPECT_EQ(Button->GetLargeImageIndex(), 3);
  EXPECT_EQ(Button->GetImageIndex(), 3);

  Button->SetImageIndex(7);
  EXPECT_FALSE(Button->GetSyncImageIndex()) << "an explicit ImageIndex ends the synchronisation";
  Button->SetLargeImageIndex(4);
  EXPECT_EQ(Button->GetImageIndex(), 7);
  Button->SetSyncImageIndex(true);
  EXPECT_EQ(Button->GetImageIndex(), 4) << "synchronised again at once";
  EXPECT_TRUE(Button->HasLargeImage());
  EXPECT_FALSE(Button->HasHotImage());
}

TEST(LargeButtonForm, AFormStoringOnlyImageIndexGivesTheLargeIndex) {
  TBarsLibrary library;
  TForm form(nullptr);
  TdxBarLargeButton* button = nullptr;
  CreateBarManager(&form, [&](TdxBarManager* m) {
    button = new TdxBarLargeButton(m->GetOwnerForm());
    button->SetName("Large");
    button->SetImageIndex(3);
  });
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->GetLargeImageIndex(), 3);
  EXPECT_EQ(button->GetImageIndex(), 3);
  EXPECT_TRUE(button->GetSyncImageIndex());
}

TEST_F(LargeButtonTest, WithoutCaptionNoAcceleratorOnAToolbarButInAMenu) {
  auto* sub = new TdxBarSubItem(Form.get());
  TdxBarItemLink* menuLink = AddLink(sub->GetItemLinks(), Button);
  TdxBarItemLink* barLink = Bar->GetItemLinks()->GetItem(0);
  Button->SetPaintStyle(psCaptionGlyph);
  EXPECT_TRUE(Button->AcceptsAccelerator(barLink));
  Button->SetShowCaption(false);
  EXPECT_FALSE(Button->AcceptsAccelerator(barLink));
  EXPECT_TRUE(Button->AcceptsAccelerator(menuLink));
  delete sub;
}

TEST_F(LargeButtonTest, AClickRunsTheAction) {
  TAction action(Form.get());
  int runs = 0;
  action.OnExecute = [&](TObject*) { ++runs; };
  Button->SetAction(&action);
  ShowFloating();
  const TRect r = ItemRect();
  guitest::ClickAt(Window->GetHandle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ASSERT_TRUE(guitest::PumpUntil([&] { return runs == 1; }));
  guitest::PumpFor(50);
  EXPECT_EQ(runs, 1);
}
