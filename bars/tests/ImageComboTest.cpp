// The image combo item: entries with image indices, their drawing in the
// value area, the control's height, the image list's lifetime and the
// "Select item" dialog.
#include "BarsTest.h"
#include "dxBarExtCombos.h"

#include "GuiTest.h"

#include "Forms.h"
#include "ImgList.h"
#include "StdCtrls.h"

namespace {

class ImageComboTest : public EditingBarsTest {
protected:
  void SetUp() override {
    Images = new TImageList(Form.get());
    Images->SetWidth(16);
    Images->SetHeight(16);
    for (TColor colour : {clRed, clBlue, clLime}) {
      TBitmap picture;
      picture.SetWidth(16);
      picture.SetHeight(16);
      picture.GetCanvas()->GetBrush()->SetColor(colour);
      picture.GetCanvas()->FillRect(TRect(0, 0, 16, 16));
      Images->AddMasked(&picture, clFuchsia);
    }
    Build([this](TdxBarManager* m) {
      TdxBar* bar = m->GetBars()->Add();
      Combo = new TdxBarImageCombo(m->GetOwnerForm());
      Combo->SetName("Pictures");
      Combo->SetCategory(0);
      Combo->SetWidth(150);
      for (const char* name : {"Red", "Blue", "Green", "Plain"})
        Combo->GetItems()->Add(name);
      AddLink(bar->GetItemLinks(), Combo);
    });
    Combo->SetImages(Images);
    for (int i = 0; i < 3; ++i)
      Combo->SetImageIndexes(i, i);
    ShowDocked(420, 220);
  }

  TdxBarImageComboControl* Control() const {
    return dynamic_cast<TdxBarImageComboControl*>(Bar->GetItemLinks()->GetItem(0)->GetControl());
  }
  guitest::TCapture Shot() {
    Window->Repaint();
    guitest::PumpFor(20);
    return guitest::TCapture::Paint(Window->GetHandle());
  }
  // The leftmost column of the value area that holds a text pixel.
  static int FirstTextColumn(const guitest::TCapture& shot, const TRect& r) {
    for (int x = r.left; x < r.right; ++x)
      if (shot.CountPixels(TRect(x, r.top + 2, x + 1, r.bottom - 2), GetSysColor(COLOR_WINDOWTEXT)) > 0) return x;
    return -1;
  }

  TdxBarImageCombo* Combo = nullptr;
  TImageList* Images = nullptr;
};

} // namespace

TEST_F(ImageComboTest, EntriesKeepTheirImageIndices) {
  EXPECT_EQ(Combo->GetImageIndexes(1), 1);
  EXPECT_EQ(Combo->GetImageIndexes(3), -1) << "an entry without an index";
  EXPECT_EQ(Combo->GetItems()->GetObject(1), reinterpret_cast<void*>(2)) << "kept as index + 1";
  Combo->GetItems()->Add("Added");
  EXPECT_EQ(Combo->GetImageIndexes(4), -1);
  EXPECT_FALSE(Combo->GetShowEditor());
}

TEST_F(ImageComboTest, TheValueShowsTheEntrysImageAndTextAfterIt) {
  const TRect r = Bar->GetItemLinks()->GetItem(0)->ItemRect;
  Combo->SetItemIndex(1);
  guitest::TCapture blue = Shot();
  blue.SavePng("bars_imagecombo_blue");
  EXPECT_GT(blue.CountPixels(r, RGB(0, 0, 255)), 200) << "the blue image";
  const int withImage = FirstTextColumn(blue, TRect(r.left + 20, r.top, r.right - 20, r.bottom));

  // An entry without an image: no image, its text at the left edge.
  Combo->SetItemIndex(3);
  guitest::TCapture plain = Shot();
  plain.SavePng("bars_imagecombo_plain");
  EXPECT_EQ(plain.CountPixels(r, RGB(0, 0, 255)), 0);
  const int without = FirstTextColumn(plain, TRect(r.left + 3, r.top, r.right - 20, r.bottom));
  ASSERT_GT(withImage, 0);
  ASSERT_GT(without, 0);
  EXPECT_LE(without + 14, withImage) << "the text moves left by the image's width";

  // Without the text, only the image.
  Combo->SetShowText(false);
  Combo->SetItemIndex(2);
  guitest::TCapture green = Shot();
  EXPECT_GT(green.CountPixels(r, RGB(0, 255, 0)), 200);
  EXPECT_EQ(green.CountPixels(TRect(r.left, r.top, r.right - 20, r.bottom), GetSysColor(COLOR_WINDOWTEXT)), 0);
}

TEST_F(ImageComboTest, TheControlGrowsWithItsImagesAndForgetsAFreedList) {
  const int small = Control()->GetHeight();
  auto* large = new TImageList(Form.get());
  large->SetWidth(32);
  large->SetHeight(32);
  Combo->SetImages(large);
  guitest::PumpFor(20);
  EXPECT_GE(Control()->GetHeight(), 38);
  EXPECT_GT(Control()->GetHeight(), small);
  delete large;
  EXPECT_EQ(Combo->GetImages(), nullptr);
}

TEST_F(ImageComboTest, TheSelectItemDialogChoosesAnEntry) {
  Combo->SetItemIndex(0);
  int startIndex = -2;
  String caption;
  guitest::AnswerNextModal([&](HWND dialog) {
    caption = Combo->GetDialog()->GetCaption();
    startIndex = Combo->GetDialogList()->GetItemIndex();
    guitest::PumpFor(30);
    guitest::TCapture::Paint(dialog).SavePng("bars_imagecombo_dialog");
    Combo->GetDialogList()->SetItemIndex(2);
    Combo->GetDialog()->SetModalResult(mrOk);
  });
  Combo->DirectClick();
  guitest::PumpUntil([] { return !guitest::AnswerPending(); });
  EXPECT_EQ(caption, "Select item");
  EXPECT_EQ(startIndex, 0);
  EXPECT_EQ(Combo->GetItemIndex(), 2);

  // A double click on a row confirms it.
  guitest::AnswerNextModal([&](HWND) {
    TCustomListBox* list = Combo->GetDialogList();
    const TRect row = list->ItemRect(1);
    guitest::DoubleClickAt(list->GetHandle(), row.left + 5, (row.top + row.bottom) / 2);
  });
  Combo->DirectClick();
  guitest::PumpUntil([] { return !guitest::AnswerPending(); });
  guitest::PumpFor(30);
  EXPECT_EQ(Combo->GetItemIndex(), 1);
}
