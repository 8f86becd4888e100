// The font-name combo box on a form, driven by real input: "Loading ..."
// until its list arrives (held by the enumeration gate where a test needs
// the loading state to last), selections by index and by name, the
// most-recently-used part, the popup's list with its icons and double line,
// and the preview pane above it.
#include "cxFontNameComboBox.h"

#include "DropDownTest.h"
#include "FontLoaderGate.h"

#include <gtest/gtest.h>

#include <thread>

using namespace guitest;

namespace {

using TFontForm = TDropDownForm<TcxFontNameComboBox>;

TcxFontNameComboBoxProperties* PropertiesOf(TcxFontNameComboBox* ACombo) {
  return ACombo->GetProperties();
}

bool WaitLoaded(TcxFontNameComboBox* ACombo) {
  return PumpUntil([ACombo] { return ACombo->GetProperties()->GetFontsLoaded(); }, 20000);
}

String ShownText(TcxFontNameComboBox* ACombo) {
  return ACombo->GetViewInfo()->Text;
}

TcxFontNameComboBoxListBox* ListOf(TcxFontNameComboBox* ACombo) {
  return static_cast<TcxFontNameComboBoxListBox*>(ACombo->GetFontLookupData()->GetList());
}

TcxCustomFontNameComboBoxViewInfo* InfoOf(TcxFontNameComboBox* ACombo) {
  return static_cast<TcxCustomFontNameComboBoxViewInfo*>(ACombo->GetViewInfo());
}

} // namespace

TEST(FontNameComboBox, ShowsLoadingUntilTheListArrivesThenTheLastFontChosenByName) {
  TEnumerationGate gate;
  TFontForm f;
  f.Show();
  gate.WaitForHeld(1);
  EXPECT_FALSE(PropertiesOf(f.edit)->GetFontsLoaded());
  EXPECT_EQ("Loading ...", ShownText(f.edit));
  EXPECT_EQ(-1, InfoOf(f.edit)->ItemIndex) << "no type icon while loading";
  f.edit->SetItemIndex(0);
  EXPECT_EQ(-1, f.edit->GetItemIndex()) << "selections by index wait for nothing: they are ignored";
  f.edit->SetFontName("Marlett");
  f.edit->SetFontName("Tahoma");
  EXPECT_EQ("Tahoma", f.edit->GetPendingFontName());
  EXPECT_EQ("Loading ...", ShownText(f.edit));
  int completed = 0;
  PropertiesOf(f.edit)->OnLoadFontComplete = [&](TObject*) { ++completed; };
  gate.Open();
  ASSERT_TRUE(WaitLoaded(f.edit));
  EXPECT_EQ(1, completed);
  EXPECT_EQ("Tahoma", f.edit->GetText());
  EXPECT_EQ("Tahoma", ShownText(f.edit));
  EXPECT_TRUE(f.edit->GetPendingFontName().empty());
  const int tahoma = PropertiesOf(f.edit)->GetItems()->IndexOf("Tahoma");
  EXPECT_EQ(tahoma, f.edit->GetItemIndex());
  EXPECT_EQ(tahoma, InfoOf(f.edit)->ItemIndex);
  EXPECT_TRUE(InfoOf(f.edit)->IsTrueType);
  // The TrueType icon stands left of the name.
  f.form->Update();
  auto capture = TCapture::Paint(f.edit->GetHandle());
  TBitmap* icon = cxFontTypeIcon(true);
  const TRect& iconRect = InfoOf(f.edit)->IconRect;
  int same = 0;
  for (int y = 0; y < 13; ++y)
    for (int x = 0; x < 13; ++x)
      same += capture.Pixel(iconRect.left + 2 + x, iconRect.top + 2 + (InfoOf(f.edit)->TextRect.Height() - 13) / 2 + y) ==
              ::GetPixel(icon->GetCanvas()->GetHandle(), x, y);
  EXPECT_GT(same, 13 * 13 / 2);
  // An empty name selects nothing, at once.
  f.edit->SetFontName("");
  EXPECT_EQ(-1, f.edit->GetItemIndex());
}

TEST(FontNameComboBox, ChangingTheFontTypesEmptiesTheRecentPartAndLoadsAgain) {
  TFontForm f;
  f.Show();
  ASSERT_TRUE(WaitLoaded(f.edit));
  TcxFontNameComboBoxProperties* properties = PropertiesOf(f.edit);
  const int all = properties->GetItems()->GetCount();
  ASSERT_EQ(3, properties->AddMRUFont("Tahoma"));
  EXPECT_EQ(all + 1, properties->GetItems()->GetCount());
  {
    TEnumerationGate gate;
    properties->SetFontTypes({cxftSymbol});
    gate.WaitForHeld(1);
    EXPECT_EQ(0, properties->GetMRUFontNames()->GetCount());
    EXPECT_EQ("Loading ...", ShownText(f.edit));
    // A change in the middle of a load stops the running load, waiting for
    // it: the gate opens while it waits.
    std::thread opener([&] { TThread::Synchronize(nullptr, [&] { gate.Open(); }); });
    properties->SetFontTypes({cxftTTF, cxftSymbol});
    opener.join();
    ASSERT_TRUE(WaitLoaded(f.edit));
  }
  TStrings* items = properties->GetItems();
  EXPECT_GE(items->IndexOf("Marlett"), 0);
  EXPECT_GE(items->IndexOf("Tahoma"), 0);
  for (int i = 0; i < items->GetCount(); ++i)
    EXPECT_TRUE(properties->GetItemFontTypes(i).Contains(cxftTTF) ||
                properties->GetItemFontTypes(i).Contains(cxftSymbol))
        << items->Get(i);
  properties->SetFontTypes({});
  ASSERT_TRUE(WaitLoaded(f.edit));
  EXPECT_EQ(0, properties->GetItems()->GetCount());
  EXPECT_EQ("", ShownText(f.edit));
}

// The combo box waits for its loader when it goes, and that loader's list is
// never applied.
TEST(FontNameComboBox, DestroyedWhileLoadingItWaitsForTheLoaderAndDropsItsList) {
  TEnumerationGate gate;
  auto f = std::make_unique<TFontForm>();
  int completed = 0;
  PropertiesOf(f->edit)->OnLoadFontComplete = [&](TObject*) { ++completed; };
  gate.WaitForHeld(1);
  // Served while the combo box waits for its loader.
  std::thread opener([&] { TThread::Synchronize(nullptr, [&] { gate.Open(); }); });
  f.reset();
  opener.join();
  PumpFor(50);
  EXPECT_EQ(0, completed);
}

// What runs while the settings wait for their loader meets them whole: the
// loader is stopped before anything is freed.
TEST(FontNameComboBox, SettingsFreedWhileLoadingStayWholeWhileTheyWaitForTheLoader) {
  TEnumerationGate gate;
  auto* properties = new TcxFontNameComboBoxProperties(nullptr);
  properties->GetFontPreview()->SetPreviewText("kept");
  properties->GetMRUFontNames()->AddMRUFontName("Tahoma");
  gate.WaitForHeld(1);
  String text;
  int recent = -1;
  std::thread reader([&] {
    TThread::Synchronize(nullptr, [&] {
      text = properties->GetFontPreview()->GetPreviewText();
      recent = properties->GetMRUFontNames()->GetCount();
      gate.Open();
    });
  });
  delete properties;
  reader.join();
  EXPECT_EQ("kept", text);
  EXPECT_EQ(1, recent);
}

// The recent part: ten kept, the eleventh drops the oldest; a move to the
// front fires once; the first entry again changes nothing.
TEST(FontNameComboBox, TheRecentPartKeepsTheLimitAndFiresItsEvents) {
  TFontForm f;
  ASSERT_TRUE(WaitLoaded(f.edit));
  TcxFontNameComboBoxProperties* properties = PropertiesOf(f.edit);
  TStrings* items = properties->GetItems();
  const int loaded = items->GetCount();
  ASSERT_GE(loaded, 12);
  int added = 0, moved = 0;
  std::vector<String> deleted;
  properties->OnAddedMRUFont = [&](TObject*) { ++added; };
  properties->OnMovedMRUFont = [&](TObject*) { ++moved; };
  properties->OnDeletedMRUFont = [&](TObject*, const String& AName) { deleted.push_back(AName); };
  std::vector<String> names;
  for (int i = 0; i < 11; ++i)
    names.push_back(items->Get(loaded - 1 - i * (loaded / 12)));
  for (int i = 0; i < 11; ++i) {
    EXPECT_EQ(3, properties->AddMRUFont(names[i])) << names[i];
    EXPECT_EQ(names[i], items->Get(0));
    EXPECT_EQ(loaded + std::min(i + 1, 10), items->GetCount());
  }
  EXPECT_EQ(11, added);
  ASSERT_EQ(1u, deleted.size());
  EXPECT_EQ(names[0], deleted[0]);
  EXPECT_EQ(10, properties->GetMRUFontNames()->GetCount());
  EXPECT_EQ(1, properties->AddMRUFont(names[10]));
  EXPECT_EQ(2, properties->AddMRUFont(names[5]));
  EXPECT_EQ(1, moved);
  EXPECT_EQ(names[5], items->Get(0));
  EXPECT_EQ(names[5], properties->GetMRUFontNames()->GetItem(0)->GetFontName());
  EXPECT_EQ(0, properties->AddMRUFont("No Such Font"));
  // A lower limit drops the surplus at once, the last first.
  deleted.clear();
  properties->SetMaxMRUFonts(8);
  EXPECT_EQ((std::vector<String>{names[1], names[2]}), deleted);
  EXPECT_EQ(loaded + 8, items->GetCount());
  EXPECT_EQ(4, properties->DeleteMRUFont(names[5]));
  EXPECT_EQ(0, properties->DeleteMRUFont(names[5]));
  properties->SetMaxMRUFonts(0);
  EXPECT_EQ(loaded, items->GetCount());
  EXPECT_EQ(1, properties->AddMRUFont(names[3]));
  EXPECT_EQ(loaded, items->GetCount());
}

// An accepted row goes to the front; the current row follows the copy there.
TEST(FontNameComboBox, AReleaseOverARowAcceptsItAndTheFontGoesToTheFront) {
  TFontForm f(50, 200);
  f.Show();
  ASSERT_TRUE(WaitLoaded(f.edit));
  f.Focus();
  TStrings* items = PropertiesOf(f.edit)->GetItems();
  f.ClickButton();
  ASSERT_TRUE(f.WaitOpen());
  TcxFontNameComboBoxListBox* list = ListOf(f.edit);
  const TRect row = list->ItemRect(2);
  const String chosen = items->Get(2);
  ClickAt(list->GetHandle(), 30, (row.top + row.bottom) / 2);
  ASSERT_TRUE(f.WaitOpen(false));
  EXPECT_EQ(chosen, f.edit->GetText());
  EXPECT_EQ(chosen, items->Get(0));
  EXPECT_EQ(0, f.edit->GetItemIndex()) << "the copy at the front";
  // The same font chosen again from the sorted part stays one entry.
  f.ClickButton();
  ASSERT_TRUE(f.WaitOpen());
  const int again = [&] {
    for (int i = 1; i < items->GetCount(); ++i)
      if (items->Get(i) == chosen) return i;
    return -1;
  }();
  ASSERT_GT(again, 0);
  list->SetTopIndex(again);
  PumpFor(20);
  const TRect againRow = list->ItemRect(again);
  ClickAt(list->GetHandle(), 30, (againRow.top + againRow.bottom) / 2);
  ASSERT_TRUE(f.WaitOpen(false));
  EXPECT_EQ(1, PropertiesOf(f.edit)->GetMRUFontNames()->GetCount());
  EXPECT_EQ(0, f.edit->GetItemIndex());
}

// ---- The popup: list and preview pane ----

namespace {

// A loaded combo box with two recent fonts, shown and focused.
void ShowLoaded(TFontForm& f) {
  f.Show();
  ASSERT_TRUE(WaitLoaded(f.edit));
  TStrings* items = PropertiesOf(f.edit)->GetItems();
  PropertiesOf(f.edit)->AddMRUFont(items->Get(items->GetCount() - 1));
  PropertiesOf(f.edit)->AddMRUFont("Tahoma");
  f.edit->SetFontName("Tahoma");
  f.Focus();
}

void HoverRow(TcxFontNameComboBox* ACombo, int AIndex) {
  TcxFontNameComboBoxListBox* list = ListOf(ACombo);
  const TRect row = list->ItemRect(AIndex);
  MouseEventAt(list->GetHandle(), 40, (row.top + row.bottom) / 2);
  MouseEventAt(list->GetHandle(), 42, (row.top + row.bottom) / 2);
  PumpUntil([&] { return list->GetItemIndex() == AIndex; }, 1000);
}

} // namespace

TEST(FontNameComboBoxPopup, ThePaneAboveTheListFollowsTheHighlightedFont) {
  TFontForm f(50, 220);
  ShowLoaded(f);
  TStrings* items = PropertiesOf(f.edit)->GetItems();
  f.ClickButton();
  ASSERT_TRUE(f.WaitOpen());
  TFontPreviewPanel* pane = f.edit->GetFontLookupData()->GetPreviewPanel();
  ASSERT_TRUE(pane);
  TcxFontNameComboBoxListBox* list = ListOf(f.edit);
  EXPECT_TRUE(pane->IsShowing());
  EXPECT_EQ(38, pane->GetHeight());
  EXPECT_EQ(pane->GetTop() + 38, list->GetTop());
  EXPECT_EQ(pane->GetWidth(), list->GetWidth());
  // The font's name, in that font.
  EXPECT_EQ("Tahoma", pane->GetText());
  EXPECT_EQ("Tahoma", pane->GetFontName());
  const int withPane = f.Popup()->GetHeight();
  const int row = 5;
  HoverRow(f.edit, row);
  EXPECT_EQ(items->Get(row), pane->GetText());
  EXPECT_EQ(items->Get(row), pane->GetFontName());
  auto capture = TCapture::Paint(f.Popup()->GetHandle());
  capture.SavePng("fontnamecombobox-popup");
  // The double line under the last recent row: rows 0 and 1 are recent.
  const TRect last = list->ItemRect(1);
  const int x = list->GetLeft() + last.left + 60;
  const int y0 = list->GetTop() + last.top;
  const int h = last.Height();
  EXPECT_EQ(RGB(0, 0, 0), capture.Pixel(x, y0 + h - 3));
  EXPECT_EQ(RGB(0, 0, 0), capture.Pixel(x, y0 + h - 1));
  EXPECT_NE(RGB(0, 0, 0), capture.Pixel(x, y0 + h - 2));
  EXPECT_EQ(list->ItemRect(2).Height() + 3, h);
  EXPECT_EQ(list->ItemRect(2).Height(), list->ItemRect(0).Height());
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(f.WaitOpen(false));

  // Without the pane the popup is 38 pixels lower and a pane shown before
  // is hidden.
  PropertiesOf(f.edit)->GetFontPreview()->SetVisible(false);
  f.ClickButton();
  ASSERT_TRUE(f.WaitOpen());
  EXPECT_EQ(withPane - 38, f.Popup()->GetHeight());
  EXPECT_FALSE(pane->IsShowing());
  EXPECT_EQ(0, ListOf(f.edit)->GetTop() - f.Popup()->GetViewInfo()->ClientRect.top);
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(f.WaitOpen(false));

  // The alphabet stays while only the font follows the highlight.
  PropertiesOf(f.edit)->GetFontPreview()->SetVisible(true);
  PropertiesOf(f.edit)->GetFontPreview()->SetPreviewType(cxfpFullAlphabet);
  f.ClickButton();
  ASSERT_TRUE(f.WaitOpen());
  const String alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz 1234567890";
  EXPECT_EQ(alphabet, pane->GetText());
  HoverRow(f.edit, 4);
  EXPECT_EQ(alphabet, pane->GetText());
  EXPECT_EQ(items->Get(4), pane->GetFontName());
  TCapture::Paint(f.Popup()->GetHandle()).SavePng("fontnamecombobox-popup-alphabet");
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(f.WaitOpen(false));
}

TEST(FontNameComboBoxPopup, RowsAreSeventeenPixelsUpToAThirteenPixelFontAndTheFontsHeightAbove) {
  TFontForm f(50, 220);
  f.Show();
  ASSERT_TRUE(WaitLoaded(f.edit));
  TScreenCanvas canvas;
  canvas.GetFont()->SetName("Tahoma");
  bool sawSmall = false, sawLarge = false;
  for (int size = 7; size <= 12; ++size) {
    canvas.GetFont()->SetSize(size);
    const int text = canvas.TextHeight("Wg");
    SCOPED_TRACE(size);
    f.edit->GetStyle()->GetFont()->SetName("Tahoma");
    f.edit->GetStyle()->GetFont()->SetSize(size);
    f.ClickButton();
    ASSERT_TRUE(f.WaitOpen());
    EXPECT_EQ(text <= 13 ? 17 : text, ListOf(f.edit)->ItemRect(3).Height()) << text;
    (text <= 13 ? sawSmall : sawLarge) = true;
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(f.WaitOpen(false));
  }
  EXPECT_TRUE(sawSmall && sawLarge);
}

TEST(FontNameComboBoxPopup, ButtonBTwiceTurnsBoldOnAndOff) {
  TFontForm f(50, 220);
  ShowLoaded(f);
  TcxFontPreview* preview = PropertiesOf(f.edit)->GetFontPreview();
  std::vector<TcxFontButtonType> clicked;
  preview->OnButtonClick = [&](TObject*, TcxFontButtonType AType) { clicked.push_back(AType); };
  f.ClickButton();
  ASSERT_TRUE(f.WaitOpen());
  TFontPreviewPanel* pane = f.edit->GetFontLookupData()->GetPreviewPanel();
  TcxFontPanelButton* bold = pane->GetButton(cxfbtBold);
  ASSERT_TRUE(bold->IsShowing());
  // The buttons end 1 pixel from the right edge, 1 pixel apart.
  TcxFontPanelButton* strike = pane->GetButton(cxfbtStrikeOut);
  EXPECT_EQ(pane->GetWidth() - 1, strike->GetLeft() + strike->GetWidth());
  EXPECT_EQ(pane->GetButton(cxfbtItalic)->GetLeft() - 1, bold->GetLeft() + bold->GetWidth());
  const int normalSize = (pane->Invalidate(), PumpFor(30), pane->GetFittedSize());
  ClickAt(bold->GetHandle(), bold->GetWidth() / 2, bold->GetHeight() / 2);
  ASSERT_TRUE(PumpUntil([&] { return clicked.size() == 1; }, 2000));
  EXPECT_TRUE(preview->GetFontStyle() == TFontStyles{fsBold});
  EXPECT_NE(clDefault, bold->GetColors()->GetColor(cxbsNormal));
  TCapture::Paint(f.Popup()->GetHandle()).SavePng("fontnamecombobox-popup-bold");
  ASSERT_TRUE(f.edit->HasPopupWindow());
  ClickAt(bold->GetHandle(), bold->GetWidth() / 2, bold->GetHeight() / 2);
  ASSERT_TRUE(PumpUntil([&] { return clicked.size() == 2; }, 2000));
  PumpFor(100);
  EXPECT_EQ((std::vector<TcxFontButtonType>{cxfbtBold, cxfbtBold}), clicked) << "each press handled once";
  EXPECT_TRUE(preview->GetFontStyle() == TFontStyles());
  EXPECT_EQ(clDefault, bold->GetColors()->GetColor(cxbsNormal));
  EXPECT_GE(normalSize, 8);
  PressKey(VK_ESCAPE);
}

// The sample grows to the largest size that fits, stays at 8 when even that
// does not fit, and a font whose measure stops growing ends the growth.
TEST(FontPreviewPane, FitsTheSampleToThePane) {
  TForm form(nullptr);
  form.SetBounds(60, 60, 400, 200);
  auto* pane = new TFontPreviewPanel(&form);
  pane->SetParent(&form);
  pane->SetShowButtons(false);
  pane->SetBounds(0, 0, 300, 38);
  form.Show();
  struct TCase {
    const char* font;
    const char* text;
    int width;
  };
  for (const TCase& c : {TCase{"Tahoma", "Ab", 300}, TCase{"Tahoma", "A sample much too long for the pane", 60},
                         TCase{"System", "Ab", 300}, TCase{"", "Ab", 300}}) {
    SCOPED_TRACE(String(c.font) + " " + c.text);
    pane->SetWidth(c.width);
    pane->SetFontName(c.font);
    pane->SetText(c.text);
    TRect r = pane->GetClientRect();
    InflateRect(&r, -2, -2);
    pane->FitPreviewFont(r);
    const int size = pane->GetFittedSize();
    EXPECT_GE(size, 8);
    EXPECT_LE(size, r.Height() + 1);
    TCanvas* canvas = pane->GetCanvas();
    auto measure = [&](int ASize) {
      canvas->GetFont()->SetSize(ASize);
      RECT m{r.left, r.top, r.right - 1, r.top + 1};
      DrawTextA(canvas->GetHandle(), c.text, -1, &m, DT_CALCRECT | DT_NOPREFIX | DT_CENTER | DT_VCENTER |
                                                         DT_END_ELLIPSIS);
      return SIZE{m.right - m.left, m.bottom - m.top};
    };
    const SIZE fitted = measure(size);
    if (size > 8) {
      EXPECT_LE(fitted.cy, r.Height());
      EXPECT_LE(fitted.cx, r.Width());
    }
    const SIZE larger = measure(size + 1);
    auto extent = [&](int ASize) {
      canvas->GetFont()->SetSize(ASize);
      SIZE e{0, 0};
      GetTextExtentPoint32A(canvas->GetHandle(), c.text, static_cast<int>(strlen(c.text)), &e);
      return e;
    };
    const SIZE smaller = extent(size - 1);
    const SIZE same = extent(size);
    // One size more no longer fits, or the growth ended at a size whose
    // extent was no larger than the one before.
    EXPECT_TRUE(larger.cy > r.Height() || larger.cx > r.Width() ||
                (smaller.cx == same.cx && smaller.cy == same.cy))
        << size << " fitted " << fitted.cx << "x" << fitted.cy << " larger " << larger.cx << "x" << larger.cy << " smaller " << smaller.cx << "x" << smaller.cy << " r " << r.Width() << "x" << r.Height();
  }
}
