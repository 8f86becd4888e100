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
