// The font loader and the most-recently-used names: the list of the screen's
// fonts with their flag words, each face once, the filter, a loader held in
// its enumeration so that callbacks cleared or a stop told meanwhile can be
// watched, the flag words and filter rules as tables, the MRU collection's
// rules, the two type icons and the preview settings.
#include "cxFontNameComboBox.h"

#include "FontLoaderGate.h"
#include "GuiTest.h"

#include <gtest/gtest.h>

namespace {

unsigned FlagsOf(TStrings* AList, int AIndex) {
  return static_cast<unsigned>(reinterpret_cast<uintptr_t>(AList->GetObject(AIndex)));
}

// What a loader handed over, copied on the GUI thread, and whether it ended.
struct TLoadResult {
  bool Loaded = false;
  bool Done = false;
  std::vector<std::pair<String, unsigned>> Fonts;
};

TcxFontLoader* NewLoader(TcxFontTypes ATypes, TLoadResult& AResult) {
  auto* loader = new TcxFontLoader(ATypes);
  loader->OnFontsLoaded = [&AResult](TcxFontLoader* Sender) {
    AResult.Loaded = true;
    TStringList* found = Sender->GetFoundFonts();
    for (int i = 0; i < found->GetCount(); ++i)
      AResult.Fonts.emplace_back(found->Get(i), FlagsOf(found, i));
  };
  loader->OnLoaderDone = [&AResult](TcxFontLoader*) { AResult.Done = true; };
  return loader;
}

TLoadResult Load(TcxFontTypes ATypes) {
  TLoadResult result;
  NewLoader(ATypes, result)->Start();
  EXPECT_TRUE(guitest::PumpUntil([&] { return result.Done; }, 20000));
  return result;
}

int IndexOf(const TLoadResult& AResult, const String& AName) {
  for (size_t i = 0; i < AResult.Fonts.size(); ++i)
    if (AResult.Fonts[i].first == AName) return static_cast<int>(i);
  return -1;
}

} // namespace

TEST(FontLoader, ListsTheScreensFontsSortedEachFaceOnceWithTheirFlags) {
  const TLoadResult result = Load(cxAllFontTypes);
  ASSERT_TRUE(result.Loaded);
  ASSERT_GT(result.Fonts.size(), 3u);
  for (size_t i = 1; i < result.Fonts.size(); ++i) {
    // Sorted without regard to case, and a face reported in several
    // character sets (Arial, Tahoma...) stands there once.
    EXPECT_LT(CompareText(result.Fonts[i - 1].first, result.Fonts[i].first), 0)
        << result.Fonts[i - 1].first << " / " << result.Fonts[i].first;
  }
  const int tahoma = IndexOf(result, "Tahoma");
  ASSERT_GE(tahoma, 0);
  EXPECT_TRUE(FontTypeFlagsToSet(result.Fonts[tahoma].second).Contains(cxftTTF));
  const int marlett = IndexOf(result, "Marlett");
  ASSERT_GE(marlett, 0) << "the system has no Marlett";
  EXPECT_EQ(result.Fonts[marlett].second & cxFontFlagSymbol, cxFontFlagSymbol);
}

TEST(FontLoader, KeepsOnlyTheFontsOfItsFilter) {
  const TLoadResult all = Load(cxAllFontTypes);
  const TLoadResult trueType = Load({cxftTTF});
  ASSERT_FALSE(trueType.Fonts.empty());
  EXPECT_LE(trueType.Fonts.size(), all.Fonts.size());
  for (const auto& [name, flags] : trueType.Fonts)
    EXPECT_TRUE(flags & cxFontFlagTrueType) << name;
  const TLoadResult symbol = Load({cxftSymbol});
  EXPECT_GE(IndexOf(symbol, "Marlett"), 0);
  EXPECT_LT(IndexOf(symbol, "Tahoma"), 0);
  const TLoadResult none = Load({});
  EXPECT_TRUE(none.Loaded);
  EXPECT_TRUE(none.Fonts.empty());
}

TEST(FontLoader, AListWhoseCallbackWasClearedDuringTheLoadIsNeverHandedOver) {
  TEnumerationGate gate;
  TLoadResult result;
  TcxFontLoader* loader = NewLoader(cxAllFontTypes, result);
  loader->Start();
  gate.WaitForHeld(1);
  loader->OnFontsLoaded = nullptr; // the GUI thread drops the list
  gate.Open();
  ASSERT_TRUE(guitest::PumpUntil([&] { return result.Done; }, 20000));
  EXPECT_FALSE(result.Loaded);
}

TEST(FontLoader, ATerminatedLoaderStopsAtTheFirstFontAndStillReportsItsEnd) {
  TEnumerationGate gate;
  TLoadResult result;
  TcxFontLoader* loader = NewLoader(cxAllFontTypes, result);
  loader->Start();
  gate.WaitForHeld(1);
  loader->Terminate();
  gate.Open();
  ASSERT_TRUE(guitest::PumpUntil([&] { return result.Done; }, 20000));
  EXPECT_TRUE(result.Loaded);
  EXPECT_LE(result.Fonts.size(), 1u);
}

TEST(FontLoader, TwoLoadersRunAtOnceEachWithItsOwnList) {
  TEnumerationGate gate;
  TLoadResult first, second;
  NewLoader(cxAllFontTypes, first)->Start();
  NewLoader({cxftTTF}, second)->Start();
  gate.WaitForHeld(2); // both threads are inside their load together
  gate.Open();
  ASSERT_TRUE(guitest::PumpUntil([&] { return first.Done && second.Done; }, 20000));
  EXPECT_FALSE(first.Fonts.empty());
  EXPECT_FALSE(second.Fonts.empty());
  EXPECT_LE(second.Fonts.size(), first.Fonts.size());
}

TEST(FontLoader, FlagWordsAndTheFilter) {
  struct TCase {
    BYTE CharSet;
    BYTE PitchAndFamily;
    DWORD FontType;
    unsigned Flags;
    TcxFontTypes Types;
  };
  // A fixed-pitch font with a family value passes the fixed-pitch filter
  // but gets no fixed flag: the flag needs the whole byte to be 1.
  const TCase cases[] = {
      {ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, TRUETYPE_FONTTYPE, 0x4, {cxftTTF}},
      {SYMBOL_CHARSET, DEFAULT_PITCH, TRUETYPE_FONTTYPE, 0x104, {cxftTTF, cxftSymbol}},
      {ANSI_CHARSET, FIXED_PITCH, RASTER_FONTTYPE, 0x201, {cxftRaster, cxftFixed}},
      {ANSI_CHARSET, FIXED_PITCH | FF_MODERN, RASTER_FONTTYPE, 0x1, {cxftRaster}},
      {OEM_CHARSET, DEFAULT_PITCH, DEVICE_FONTTYPE, 0x2, {cxftDevice}},
  };
  for (const TCase& c : cases) {
    LOGFONTA font{};
    font.lfCharSet = c.CharSet;
    font.lfPitchAndFamily = c.PitchAndFamily;
    const unsigned flags = EnumFontTypeFlags(font, c.FontType);
    EXPECT_EQ(flags, c.Flags);
    EXPECT_TRUE(FontTypeFlagsToSet(flags) == c.Types) << flags;
    EXPECT_FALSE(FontMatchesTypes({}, font, c.FontType)) << flags;
    EXPECT_TRUE(FontMatchesTypes(cxAllFontTypes, font, c.FontType)) << flags;
  }
  LOGFONTA fixedModern{};
  fixedModern.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  EXPECT_TRUE(FontMatchesTypes({cxftFixed}, fixedModern, RASTER_FONTTYPE));
  EXPECT_FALSE(FontMatchesTypes({cxftTTF, cxftDevice, cxftSymbol}, fixedModern, RASTER_FONTTYPE));
}

TEST(MRUFontNames, FindAddInsertAndMoveFollowTheirRules) {
  int changes = 0;
  TcxMRUFontNameItems items(nullptr, [&] { ++changes; });
  auto names = [&] {
    String all;
    for (int i = 0; i < items.GetCount(); ++i)
      all += items[i]->GetFontName() + ";";
    return all;
  };
  EXPECT_TRUE(items.AddMRUFontName("Arial"));
  EXPECT_TRUE(items.AddMRUFontName("Tahoma"));
  EXPECT_TRUE(items.InsertMRUFontName(0, "Courier New"));
  EXPECT_GT(changes, 0);
  EXPECT_FALSE(items.AddMRUFontName(""));
  EXPECT_FALSE(items.InsertMRUFontName(0, "Arial"));
  EXPECT_EQ(names(), "Courier New;Arial;Tahoma;");
  // Names compare exactly: another case is another name.
  EXPECT_EQ(items.FindFontName("Tahoma"), items[2]);
  EXPECT_EQ(items.FindFontName("tahoma"), nullptr);
  changes = 0;
  items.Move(2, 0);
  EXPECT_EQ(names(), "Tahoma;Courier New;Arial;");
  EXPECT_GT(changes, 0);
  items.Move(1, 1);
  EXPECT_EQ(names(), "Tahoma;Courier New;Arial;");
  changes = 0;
  items[0]->SetFontName("Tahoma");
  EXPECT_EQ(changes, 0);
  items[0]->SetFontName("Verdana");
  EXPECT_EQ(changes, 1);
}

TEST(FontTypeIcons, AreThirteenPixelsSquareTransparentAndTellTheKindsApart) {
  for (bool trueType : {true, false}) {
    TBitmap* icon = cxFontTypeIcon(trueType);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->GetWidth(), 13);
    EXPECT_EQ(icon->GetHeight(), 13);
    EXPECT_TRUE(icon->GetTransparent());
  }
  int differing = 0;
  for (int y = 0; y < 13; ++y)
    for (int x = 0; x < 13; ++x)
      differing += ::GetPixel(cxFontTypeIcon(true)->GetCanvas()->GetHandle(), x, y) !=
                   ::GetPixel(cxFontTypeIcon(false)->GetCanvas()->GetHandle(), x, y);
  EXPECT_GT(differing, 20);
}

TEST(FontPreviewSettings, ChangesInsideAnUpdateEndInOneNotificationAndAssignCopiesAllButTheClickHandler) {
  TcxFontPreview source(nullptr), target(nullptr);
  EXPECT_TRUE(source.GetVisible());
  EXPECT_EQ(source.GetPreviewType(), cxfpFontName);
  EXPECT_EQ(source.GetAlignment(), taCenter);
  EXPECT_EQ(source.GetColor(), clWindow);
  int changes = 0;
  target.OnChanged = [&] { ++changes; };
  target.SetColor(clWindow); // unchanged
  EXPECT_EQ(changes, 0);
  target.SetWordWrap(true);
  EXPECT_EQ(changes, 1);
  source.SetFontStyle({fsBold, fsItalic});
  source.SetPreviewType(cxfpCustom);
  source.SetPreviewText("Sample");
  source.SetAlignment(taRightJustify);
  source.SetShowEndEllipsis(false);
  source.SetColor(clInfoBk);
  source.SetShowButtons(false);
  source.SetVisible(false);
  source.OnButtonClick = [](TObject*, TcxFontButtonType) {};
  changes = 0;
  target.Assign(&source);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(target.GetFontStyle() == source.GetFontStyle());
  EXPECT_EQ(target.GetPreviewType(), cxfpCustom);
  EXPECT_EQ(target.GetPreviewText(), "Sample");
  EXPECT_EQ(target.GetAlignment(), taRightJustify);
  EXPECT_FALSE(target.GetShowEndEllipsis());
  EXPECT_EQ(target.GetColor(), clInfoBk);
  EXPECT_FALSE(target.GetWordWrap());
  EXPECT_FALSE(target.GetShowButtons());
  EXPECT_FALSE(target.GetVisible());
  EXPECT_FALSE(target.OnButtonClick);
  changes = 0;
  target.BeginUpdate();
  target.EndUpdate();
  EXPECT_EQ(changes, 0);
}
