// The image combo box: its defaults, the items' image indices, the image
// lists followed through change links and free notification, values to
// items, the editor's image and text, list rows of one and many lines and
// the popup's width; the open list per look.
#include "DropDownTest.h"
#include "PaintTest.h"

#include "cxImageComboBox.h"

#include <gtest/gtest.h>

namespace {

using guitest::PressKey;
using guitest::PumpFor;
using guitest::TCapture;

const TColor kImageColors[] = {clRed, clLime, clBlue};

// An image list of 16x16 squares in the colours.
std::unique_ptr<TImageList> MakeImages(int ACount, int ASize = 16) {
  auto images = std::make_unique<TImageList>(nullptr);
  images->SetWidth(ASize);
  images->SetHeight(ASize);
  for (int i = 0; i < ACount; ++i) {
    TBitmap bitmap;
    bitmap.SetSize(ASize, ASize);
    bitmap.GetCanvas()->GetBrush()->SetColor(kImageColors[i % 3]);
    bitmap.GetCanvas()->FillRect(TRect(0, 0, ASize, ASize));
    images->AddMasked(&bitmap, clFuchsia);
  }
  return images;
}

TcxImageComboBoxItem* AddItem(TcxCustomImageComboBoxProperties* AProperties, const String& ADescription,
                              const Variant& AValue) {
  TcxImageComboBoxItem* item = AProperties->GetItems()->Add();
  item->SetDescription(ADescription);
  item->SetValue(AValue);
  return item;
}

TEST(ImageComboProperties, Defaults) {
  TcxImageComboBoxProperties p(nullptr);
  EXPECT_EQ(lsFixedList, p.GetDropDownListStyle());
  EXPECT_EQ(8, p.GetDropDownRows());
  EXPECT_TRUE(p.GetShowDescriptions());
  EXPECT_FALSE(p.GetMultiLineText());
  EXPECT_EQ(-1, p.GetDefaultImageIndex());
  EXPECT_EQ(iaLeft, p.GetImageAlign());
  EXPECT_EQ("", p.GetDefaultDescription());
  EXPECT_TRUE(p.GetListSelectionHighlight());
  EXPECT_EQ(nullptr, p.GetImages());
  EXPECT_EQ(nullptr, p.GetLargeImages());
  EXPECT_EQ(0, p.GetEditValueSource(true));
  EXPECT_EQ(220 + 32, p.GetCapabilities());
  p.SetShowDescriptions(false);
  EXPECT_EQ(220, p.GetCapabilities());
  Variant anything("x");
  EXPECT_TRUE(p.IsEditValueValid(anything, false));
  TcxImageComboBoxItem* item = p.GetItems()->Add();
  EXPECT_TRUE(item->GetValue().IsNull());
  EXPECT_EQ(-1, item->GetImageIndex());
}

TEST(ImageComboProperties, NewItemsTakeTheirPositionsImageWhileTheListReaches) {
  auto images = MakeImages(3);
  TcxImageComboBoxProperties p(nullptr);
  p.SetImages(images.get());
  const int expected[] = {0, 1, 2, -1, -1};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(expected[i], p.GetItems()->Add()->GetImageIndex()) << "item " << i;
}

TEST(ImageComboProperties, ImageListsAreFollowedAndForgottenWhenFreed) {
  TcxImageComboBoxProperties p(nullptr);
  int changes = 0;
  p.OnPropertiesChanged = [&](TObject*) { ++changes; };
  auto images = MakeImages(2);
  auto large = MakeImages(2, 32);
  p.SetImages(images.get());
  p.SetLargeImages(large.get());
  EXPECT_EQ(2, changes);
  p.SetImages(images.get());
  EXPECT_EQ(2, changes) << "the same list again changes nothing";
  TBitmap bitmap;
  bitmap.SetSize(16, 16);
  images->AddMasked(&bitmap, clFuchsia);
  EXPECT_EQ(3, changes) << "a change inside the list reaches the settings";
  large->Clear();
  EXPECT_EQ(4, changes);
  images.reset();
  EXPECT_EQ(nullptr, p.GetImages()) << "a freed list clears the property";
  EXPECT_EQ(large.get(), p.GetLargeImages());
  EXPECT_EQ(5, changes);
  auto other = MakeImages(1);
  p.SetLargeImages(other.get());
  large->Clear();
  EXPECT_EQ(6, changes) << "a list that was replaced no longer reports";
  large.reset();
  EXPECT_EQ(other.get(), p.GetLargeImages());
}

TEST(ImageComboProperties, ValuesFindTheirFirstItem) {
  TcxImageComboBoxProperties p(nullptr);
  p.SetDefaultDescription("none");
  AddItem(&p, "One", Variant(1));
  AddItem(&p, "Two", Variant(2));
  AddItem(&p, "Second two", Variant(2));
  AddItem(&p, "Text", Variant("t"));
  const struct {
    Variant value;
    const char* description;
  } cases[] = {{Variant(1), "One"},    {Variant(2), "Two"},  {Variant(int64_t(2)), "Two"},
               {Variant("t"), "Text"}, {Variant(3), "none"}, {Null(), "none"}};
  for (const auto& c : cases) {
    Variant display;
    p.EditValueToDisplayValue(c.value, display, false);
    EXPECT_EQ(c.description, display.AsString()) << VarToStr(c.value);
  }
  EXPECT_EQ(p.GetItems()->GetItem(1), p.FindItemByText("two"));
  EXPECT_TRUE(p.IsLookupItem("ONE"));
  p.SetShowDescriptions(false);
  EXPECT_EQ(nullptr, p.FindItemByText("two")) << "without descriptions typing finds nothing";
  EXPECT_FALSE(p.IsLookupItem("One"));
}

TEST(ImageComboProperties, AssignCopiesItemsListsAndSettings) {
  auto images = MakeImages(3);
  TcxImageComboBoxProperties source(nullptr);
  source.SetImages(images.get());
  AddItem(&source, "a", Variant(1));
  source.SetImageAlign(iaRight);
  source.SetMultiLineText(true);
  source.SetDefaultImageIndex(2);
  TcxImageComboBoxProperties target(nullptr);
  target.Assign(&source);
  EXPECT_EQ(images.get(), target.GetImages());
  ASSERT_EQ(1, target.GetItems()->GetCount());
  EXPECT_EQ(0, target.GetItems()->GetItem(0)->GetImageIndex());
  EXPECT_EQ(Variant(1), target.GetItems()->GetItem(0)->GetValue());
  EXPECT_EQ(iaRight, target.GetImageAlign());
  EXPECT_TRUE(target.GetMultiLineText());
  EXPECT_EQ(2, target.GetDefaultImageIndex());
  images.reset();
  EXPECT_EQ(nullptr, target.GetImages());
}

// ---- In a window ----

using TImageForm = TDropDownForm<TcxCustomImageComboBox>;

struct TImageCase {
  std::unique_ptr<TImageList> images = MakeImages(3);
  TImageForm f{50, 180};
  TImageCase() {
    TcxCustomImageComboBoxProperties* p = f.edit->GetActiveProperties();
    p->SetImages(images.get());
    AddItem(p, "Red item", Variant(10));
    AddItem(p, "Green item", Variant(20));
    AddItem(p, "Blue item", Variant(30));
    p->SetDefaultDescription("nothing");
  }
  TcxImageComboBoxViewInfo* Info() const {
    return static_cast<TcxImageComboBoxViewInfo*>(f.edit->GetViewInfo());
  }
  COLORREF ImageCentre(const TCapture& ACapture) const {
    const TRect& r = Info()->ImageRect;
    return ACapture.Pixel(f.edit->GetLeft() + (r.left + r.right) / 2,
                          f.edit->GetTop() + (r.top + r.bottom) / 2);
  }
};

TEST(ImageComboBox, TheEditorShowsTheItemsImageAndText) {
  TImageCase c;
  c.f.Show();
  const struct {
    Variant value;
    int imageIndex;
    const char* text;
    COLORREF pixel;
  } cases[] = {{Variant(10), 0, "Red item", RGB(255, 0, 0)},
               {Variant(20), 1, "Green item", RGB(0, 255, 0)},
               {Variant(30), 2, "Blue item", RGB(0, 0, 255)},
               {Variant(99), -1, "nothing", CLR_INVALID}};
  for (const auto& v : cases) {
    SCOPED_TRACE(v.text);
    c.f.edit->SetEditValue(v.value);
    PumpFor(20);
    EXPECT_EQ(v.imageIndex, c.Info()->ImageIndex);
    EXPECT_EQ(v.text, c.Info()->Text);
    const TCapture capture = TCapture::Paint(c.f.form->GetHandle());
    if (v.pixel != CLR_INVALID)
      EXPECT_EQ(v.pixel, c.ImageCentre(capture));
    else
      EXPECT_EQ(RGB(255, 255, 255), c.ImageCentre(capture)) << "no image: the background";
  }
  c.f.edit->GetActiveProperties()->SetDefaultImageIndex(1);
  PumpFor(20);
  EXPECT_EQ(1, c.Info()->ImageIndex) << "a value without item shows the default image";
}

TEST(ImageComboBox, ImagePlacementByAlignmentAndDescriptions) {
  TImageCase c;
  c.f.Show();
  c.f.edit->SetEditValue(Variant(20));
  PumpFor(20);
  TcxImageComboBoxViewInfo* info = c.Info();
  const TRect client = info->ClientRect;
  EXPECT_EQ(16, info->ImageRect.Width());
  EXPECT_EQ(client.left - 4, info->ImageRect.right) << "the text starts 4 pixels right of the image";
  EXPECT_EQ(client.left + 2, info->TextRect.left);
  c.f.edit->GetActiveProperties()->SetImageAlign(iaRight);
  PumpFor(20);
  EXPECT_EQ(info->ClientRect.right + 4, info->ImageRect.left);
  c.f.edit->GetActiveProperties()->SetShowDescriptions(false);
  PumpFor(20);
  EXPECT_EQ("", info->Text);
  const TRect r = info->ClientRect;
  EXPECT_EQ((r.left + r.right) / 2, (info->ImageRect.left + info->ImageRect.right) / 2)
      << "without descriptions the image is centred";
  EXPECT_EQ((r.top + r.bottom) / 2, (info->ImageRect.top + info->ImageRect.bottom) / 2);
}

TEST(ImageComboBox, ChoosingARowGivesItsValue) {
  TImageCase c;
  int changes = 0;
  int textChanges = 0;
  c.f.edit->GetActiveProperties()->OnEditValueChanged = [&](TObject*) { ++changes; };
  c.f.edit->GetActiveProperties()->OnChange = [&](TObject*) { ++textChanges; };
  c.f.Show();
  c.f.Focus();
  PressKey(VK_F4);
  ASSERT_TRUE(c.f.WaitOpen());
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  ASSERT_TRUE(c.f.WaitOpen(false));
  PumpFor(20);
  EXPECT_EQ(Variant(20), c.f.edit->GetEditValueRef());
  EXPECT_EQ(1, c.f.edit->GetItemIndex());
  EXPECT_EQ("Green item", c.Info()->Text);
  EXPECT_EQ(1, changes);
  EXPECT_EQ(1, textChanges);
  c.f.edit->SetModified(false);
  c.f.edit->GetActiveProperties()->SetDefaultDescription("another");
  PumpFor(20);
  EXPECT_EQ(1, textChanges) << "a settings change is no change of the editor";
  EXPECT_FALSE(c.f.edit->GetModified());
}

TEST(ImageComboBox, FreeingTheListLeavesTheEditorWithoutImage) {
  TImageCase c;
  c.f.Show();
  c.f.edit->SetEditValue(Variant(10));
  PumpFor(20);
  c.images.reset();
  PumpFor(20);
  EXPECT_EQ(nullptr, c.f.edit->GetActiveProperties()->GetImages());
  EXPECT_EQ(nullptr, c.Info()->Images);
  const TCapture capture = TCapture::Paint(c.f.form->GetHandle());
  EXPECT_EQ("Red item", c.Info()->Text);
}

TcxImageComboBoxListBox* ListOf(TcxCustomImageComboBox* AEdit) {
  return static_cast<TcxImageComboBoxListBox*>(AEdit->GetImageLookupData()->GetList());
}

TEST(ImageComboBox, ListRowsWrapWhenMultiLineAndThePopupKeepsTheEditorWidth) {
  const String longText = "A long description that cannot fit on one line of a narrow list";
  for (bool multiLine : {false, true}) {
    SCOPED_TRACE(multiLine);
    TImageCase c;
    TcxCustomImageComboBoxProperties* p = c.f.edit->GetActiveProperties();
    AddItem(p, longText, Variant(40));
    p->SetMultiLineText(multiLine);
    c.f.Show();
    c.f.Focus();
    PressKey(VK_F4);
    ASSERT_TRUE(c.f.WaitOpen());
    PumpFor(30);
    TcxImageComboBoxListBox* list = ListOf(c.f.edit);
    const int single = list->GetItemHeight(0);
    const int wrapped = list->GetItemHeight(3);
    TCanvas* canvas = list->GetCanvas();
    canvas->GetFont()->Assign(list->GetFont());
    EXPECT_EQ(std::max(canvas->TextHeight("Wg") + 2, 16 + 2), single);
    const int popupWidth = c.f.Popup()->GetWidth();
    RECT row;
    SendMessageA(list->GetHandle(), LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&row));
    EXPECT_EQ(wrapped, row.bottom - row.top) << "the window's row has the measured height";
    if (multiLine) {
      EXPECT_GT(wrapped, single) << "the long row wraps";
      EXPECT_EQ(0, list->GetScrollWidth()) << "wrapped rows need no horizontal bar";
      EXPECT_EQ(c.f.edit->GetWidth(), popupWidth) << "the popup takes the editor's width";
    } else {
      EXPECT_EQ(single, wrapped);
      EXPECT_GE(popupWidth, canvas->TextWidth(longText) + 16 + 8) << "the popup fits the widest row";
    }
    const TCapture popup = TCapture::Paint(c.f.Popup()->GetHandle());
    popup.SavePng(String("imagecombo-rows-") + (multiLine ? "multiline" : "single"));
    PressKey(VK_ESCAPE);
    c.f.WaitOpen(false);
  }
}

TEST(ImageComboBox, TheListDrawsTheLargeImagesWhenSet) {
  TImageCase c;
  auto large = MakeImages(3, 32);
  c.f.edit->GetActiveProperties()->SetLargeImages(large.get());
  c.f.Show();
  c.f.Focus();
  c.f.edit->SetEditValue(Variant(10));
  PressKey(VK_F4);
  ASSERT_TRUE(c.f.WaitOpen());
  PumpFor(30);
  TcxImageComboBoxListBox* list = ListOf(c.f.edit);
  RECT row;
  SendMessageA(list->GetHandle(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
  EXPECT_EQ(32 + 2, row.bottom - row.top);
  const TCapture popup = TCapture::Paint(c.f.Popup()->GetHandle());
  const TPoint origin = c.f.Popup()->ScreenToClient(list->ClientToScreen(TPoint(0, 0)));
  EXPECT_EQ(RGB(0, 255, 0), popup.Pixel(origin.x + row.left + 1 + 30, origin.y + row.top + 17))
      << "a 32-pixel image";
  EXPECT_GE(c.f.Popup()->GetWidth(), 32 + 8) << "the widest row counts the large images";
  EXPECT_EQ(16, c.Info()->ImageRect.Width()) << "the editor keeps the small images";
  PressKey(VK_ESCAPE);
  c.f.WaitOpen(false);
}

TEST(ImageComboBox, TypingADescriptionChoosesItsItem) {
  TImageCase c;
  c.f.edit->GetActiveProperties()->ImmediateDropDown = false;
  c.f.Show();
  c.f.Focus();
  guitest::TypeText("b");
  PumpFor(50);
  EXPECT_FALSE(c.f.edit->HasPopupWindow());
  EXPECT_EQ(2, c.f.edit->GetItemIndex());
  EXPECT_EQ("Blue item", c.Info()->Text);
  PressKey(VK_TAB);
  ASSERT_TRUE(guitest::PumpUntil([&] { return !c.f.edit->IsFocused(); }, 2000));
  EXPECT_EQ(Variant(30), c.f.edit->GetEditValueRef()) << "leaving takes the item's value";
}

// ---- The open list per look ----

void ShowOpenList(const TLook& ALook, const String& ASuffix) {
  TImageCase c;
  c.f.edit->GetStyle()->GetLookAndFeel()->SetKind(ALook.kind);
  c.f.edit->GetStyle()->GetLookAndFeel()->SetNativeStyle(ALook.native);
  c.f.Show();
  c.f.Focus();
  c.f.edit->SetEditValue(Variant(30));
  PressKey(VK_F4);
  ASSERT_TRUE(c.f.WaitOpen());
  PumpFor(50);
  TCapture::Paint(c.f.form->GetHandle()).SavePng(String("imagecombo-") + ALook.name + ASuffix);
  const TCapture popup = TCapture::Paint(c.f.Popup()->GetHandle());
  popup.SavePng(String("imagecombo-open-") + ALook.name + ASuffix);
  TcxImageComboBoxListBox* list = ListOf(c.f.edit);
  const TPoint origin = c.f.Popup()->ScreenToClient(list->ClientToScreen(TPoint(0, 0)));
  for (int row = 0; row < 3; ++row) {
    RECT item;
    SendMessageA(list->GetHandle(), LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
    const int y = origin.y + (item.top + item.bottom) / 2;
    EXPECT_EQ(ColorToRGB(kImageColors[row]), popup.Pixel(origin.x + item.left + 1 + 8, y)) << "row " << row;
  }
  PressKey(VK_ESCAPE);
  c.f.WaitOpen(false);
}

TEST(ImageComboGallery, OpenListPerLookWithTheStyleOn) {
  for (const TLook& look : kLooks) {
    SCOPED_TRACE(look.name);
    ShowOpenList(look, "-style-on");
  }
}

TEST(ImageComboGalleryStyleOff, OpenListPerLookWithTheStyleOff) {
  for (const TLook& look : kLooks) {
    SCOPED_TRACE(look.name);
    ShowOpenList(look, "-style-off");
  }
}

} // namespace
