// Stored layouts: the bars, the user's link changes and the menu usage go to
// the registry or an ini file when the form goes and come back with the next
// form; damaged stores are input that never stops the form from loading.
#include "BarsTest.h"

#include "IniFiles.h"
#include "Registry.h"

#include <climits>
#include <cstdio>

namespace {

const String LayoutKey = "Software\\Velmora Layout Test";
const String FormName = "LayoutForm";

// One stored value of a fixture: a node ("" for the main one, "Bar0",
// "Bar0\ItemLink1"), its name and its data.
struct Stored {
  enum Kind { Number, Text, Bits, Bytes };
  String node, name;
  Kind kind;
  int number = 0;
  String text;
};
Stored N(const String& node, const String& name, int value) {
  return {node, name, Stored::Number, value, {}};
}
Stored T(const String& node, const String& name, const String& value) {
  return {node, name, Stored::Text, 0, value};
}
// The user-define bits: one byte in the registry, a number in an ini file.
Stored Bits(const String& node, int value) {
  return {node, "UserDefine", Stored::Bits, value, {}};
}
Stored Bytes(const String& node, const String& name, const String& value) {
  return {node, name, Stored::Bytes, 0, value};
}

// The values of a whole bar as the layout writes them.
std::vector<Stored> BarValues(const String& node, const String& caption, int dockingStyle, bool visible,
                              int linkCount) {
  std::vector<Stored> values = {T(node, "Caption", caption)};
  for (const char* name : {"DockedDockingStyle", "DockedLeft", "DockedTop", "OneOnRow", "Row", "FloatLeft",
                           "FloatTop", "FloatClientWidth", "FloatClientHeight"})
    values.push_back(N(node, name, String(name) == "DockedDockingStyle" ? dsTop : 0));
  values.push_back(N(node, "DockingStyle", dockingStyle));
  values.push_back(N(node, "Visible", visible));
  values.push_back(N(node, "ItemLinkCount", linkCount));
  return values;
}

// A small picture with a pixel of each corner in its own colour.
std::unique_ptr<TBitmap> MakeGlyph() {
  auto glyph = std::make_unique<TBitmap>();
  glyph->SetPixelFormat(pf24bit);
  glyph->SetSize(16, 15);
  glyph->GetCanvas()->GetBrush()->SetColor(clWhite);
  glyph->GetCanvas()->FillRect(TRect(0, 0, 16, 15));
  glyph->GetCanvas()->SetPixel(0, 0, clRed);
  glyph->GetCanvas()->SetPixel(15, 14, clBlue);
  return glyph;
}

class StoreTest : public BarsTest {
protected:
  void SetUp() override {
    Registry.DeleteKey("\\" + LayoutKey);
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    IniFile = String(folder) + "velmora-layout-" + IntToStr(GetCurrentProcessId()) + ".ini";
    DeleteFileA(IniFile.c_str());
  }
  void TearDown() override {
    Form.reset();
    Registry.CloseKey();
    Registry.DeleteKey("\\" + LayoutKey);
    DeleteFileA(IniFile.c_str());
  }

  // The form of the tests: buttons B0 to B4, a sub item "FileMenu" holding
  // B3 and B4, a placed dock "Dock1", and three bars: "Standard" (B0 B1 |B2)
  // docked at the top, "Tools" (B3) at the left, "Palette" (B4) floating.
  // The manager stores its layout in the registry or the ini file.
  void BuildForm(bool inRegistry, int extraBars = 2, TdxBarManagerStyle style = bmsEnhanced) {
    Form = std::make_unique<TForm>(nullptr);
    Form->SetName(FormName);
    Form->SetBounds(40, 40, 480, 360);
    auto* dock = new TdxBarDockControl(Form.get());
    dock->SetName("Dock1");
    dock->SetParent(Form.get());
    const String iniFile = IniFile;
    Build([=](TdxBarManager* m) {
      m->SetName("bman");
      m->SetStyle(style);
      dock->SetBarManager(m);
      for (int i = 0; i < 5; ++i)
        AddButton(m, "B" + IntToStr(i));
      auto* sub = new TdxBarSubItem(m->GetOwnerForm());
      sub->SetName("FileMenu");
      sub->SetCaption("File");
      AddLink(sub->GetItemLinks(), m->FindItemByName("B3"));
      AddLink(sub->GetItemLinks(), m->FindItemByName("B4"));
      const struct {
        const char* caption;
        const char* links;
        TdxBarDockingStyle style;
      } bars[] = {{"Standard", "012", dsTop}, {"Tools", "3", dsLeft}, {"Palette", "4", dsNone}};
      for (int i = 0; i <= extraBars; ++i) {
        TdxBar* bar = m->GetBars()->Add();
        bar->SetCaption(bars[i].caption);
        for (const char* c = bars[i].links; *c; ++c)
          AddLink(bar->GetItemLinks(), m->FindItemByName(String("B") + *c), *c == '2');
        bar->SetDockingStyle(bars[i].style);
        bar->SetFloatValue(1, 300);
        bar->SetFloatValue(2, 200);
        bar->SetVisible(true);
      }
      m->StoreInRegistry = inRegistry;
      m->RegistryPath = LayoutKey + "\\";
      m->StoreInIniFile = !inRegistry;
      m->IniFileName = iniFile;
    });
    Form->Show();
  }

  // The form goes, storing its layout.
  void CloseForm() {
    Form.reset();
    Manager = nullptr;
  }

  TdxBar* Bar(int index) const { return Manager->GetBars()->GetItem(index); }
  TdxBarItemLinks* Links(int bar) const { return Bar(bar)->GetItemLinks(); }
  TdxBarItemLinks* FileLinks() const {
    return static_cast<TCustomdxBarSubItem*>(Manager->FindItemByName("FileMenu"))->GetItemLinks();
  }
  TdxBarDockControl* Dock() const { return static_cast<TdxBarDockControl*>(Form->FindComponent("Dock1")); }

  static String Names(const TdxBarItemLinks* links) {
    String s;
    for (int i = 0; i < links->GetCount(); ++i)
      s += (i ? " " : "") + links->GetItem(i)->GetItem()->GetName();
    return s;
  }

  void WriteFixture(bool inRegistry, const std::vector<Stored>& values) {
    if (inRegistry) {
      for (const Stored& v : values) {
        ASSERT_TRUE(Registry.OpenKey("\\" + LayoutKey + (v.node.empty() ? "" : "\\" + v.node), true));
        if (v.kind == Stored::Text) Registry.WriteString(v.name, v.text);
        if (v.kind == Stored::Number) Registry.WriteInteger(v.name, v.number);
        if (v.kind == Stored::Bytes)
          Registry.WriteBinaryData(v.name, v.text.data(), static_cast<int>(v.text.size()));
        const char bits = static_cast<char>(v.number);
        if (v.kind == Stored::Bits) Registry.WriteBinaryData(v.name, &bits, 1);
      }
      Registry.CloseKey();
      return;
    }
    TMemIniFile ini(IniFile);
    for (const Stored& v : values) {
      String node = v.node;
      std::replace(node.begin(), node.end(), '\\', '.');
      const String section = FormName + ".bman." + (node.empty() ? String("Main") : node);
      if (v.kind == Stored::Text) ini.WriteString(section, v.name, v.text);
      if (v.kind == Stored::Number || v.kind == Stored::Bits) ini.WriteInteger(section, v.name, v.number);
    }
    ini.UpdateFile();
  }

  TRegistry Registry;
  String IniFile;
};

const struct StoreCase {
  const char* name;
  bool inRegistry;
} kStores[] = {{"registry", true}, {"ini file", false}};

} // namespace

TEST_F(StoreTest, BarsLinkChangesAndUsageComeBackWithTheNextForm) {
  for (const StoreCase& store : kStores) {
    SCOPED_TRACE(store.name);
    BuildForm(store.inRegistry);
    Manager->SetLargeIcons(true);
    Manager->SetMenuAnimations(maFade);
    Manager->SetShowHint(false);
    Manager->SetShowShortCutInHint(true);
    Manager->SetMenusShowRecentItemsFirst(false);
    // Standard hidden, Tools docked in the placed dock, Palette floating
    // elsewhere.
    Bar(0)->SetVisible(false);
    Bar(1)->SetDockControl(Dock());
    Bar(1)->OneOnRow = true;
    Bar(2)->SetVisible(false);
    Bar(2)->SetFloatValue(1, 333);
    Bar(2)->SetFloatValue(2, 222);
    Bar(2)->SetVisible(true);
    ASSERT_EQ(Bar(1)->GetBarControl()->GetDockControl(), Dock());
    TdxBarItemLink* link = Links(0)->GetItem(0);
    link->SetUserCaption("Mine");
    link->SetUserPaintStyle(psCaptionGlyph);
    link->SetUserWidth(80);
    Links(0)->GetItem(1)->SetVisible(false);
    Links(0)->GetItem(2)->BringToTopInRecentList(true);
    FileLinks()->GetItem(1)->SetUserCaption("Quit");
    FileLinks()->GetItem(1)->BringToTopInRecentList(true);
    const int used = FileLinks()->GetItem(1)->UseCount;
    CloseForm();

    // The next form defines its bars as before and takes the stored ones.
    BuildForm(store.inRegistry);
    EXPECT_TRUE(Manager->GetLargeIcons());
    EXPECT_EQ(Manager->GetMenuAnimations(), maFade);
    EXPECT_FALSE(Manager->GetShowHint());
    EXPECT_TRUE(Manager->GetShowShortCutInHint());
    EXPECT_FALSE(Manager->GetMenusShowRecentItemsFirst());
    ASSERT_EQ(Manager->GetBars()->GetCount(), 3);
    EXPECT_FALSE(Bar(0)->GetVisible());
    EXPECT_EQ(Bar(0)->GetDockingStyle(), dsTop);
    EXPECT_TRUE(Bar(1)->GetVisible());
    EXPECT_EQ(Bar(1)->GetDockControl(), Dock()) << "found by its path on the form of that name";
    ASSERT_NE(Bar(1)->GetBarControl(), nullptr);
    EXPECT_EQ(Bar(1)->GetBarControl()->GetDockControl(), Dock());
    EXPECT_TRUE(Bar(1)->OneOnRow);
    EXPECT_EQ(Bar(2)->GetDockingStyle(), dsNone);
    EXPECT_TRUE(Bar(2)->GetVisible());
    EXPECT_EQ(Bar(2)->GetFloatValue(1), 333);
    EXPECT_EQ(Bar(2)->GetFloatValue(2), 222);

    EXPECT_EQ(Names(Links(0)), "B0 B1 B2");
    link = Links(0)->GetItem(0);
    EXPECT_EQ(link->GetCaption(), "Mine");
    EXPECT_EQ(link->GetPaintStyle(), psCaptionGlyph);
    EXPECT_EQ(link->GetUserWidth(), 80);
    EXPECT_EQ(link->GetUserDefine(), (TdxBarUserDefines{udCaption, udPaintStyle, udWidth}));
    EXPECT_FALSE(Links(0)->GetItem(1)->GetVisible());
    EXPECT_TRUE(Links(0)->GetItem(2)->GetStoredBeginGroup());
    EXPECT_EQ(Links(0)->GetItem(2)->GetRecentIndex(), 0);
    EXPECT_EQ(Names(FileLinks()), "B3 B4");
    EXPECT_EQ(FileLinks()->GetItem(1)->GetCaption(), "Quit");
    EXPECT_EQ(FileLinks()->GetItem(1)->GetRecentIndex(), 0);
    EXPECT_EQ(FileLinks()->GetItem(1)->UseCount, used);
    CloseForm();
  }
}

TEST_F(StoreTest, AGlyphSurvivesTheRegistryButNotTheIniFile) {
  for (const StoreCase& store : kStores) {
    SCOPED_TRACE(store.name);
    BuildForm(store.inRegistry);
    Links(0)->GetItem(0)->SetUserGlyph(MakeGlyph().get());
    CloseForm();
    BuildForm(store.inRegistry);
    TdxBarItemLink* link = Links(0)->GetItem(0);
    EXPECT_TRUE(link->GetUserDefine().Contains(udGlyph));
    TBitmap* glyph = link->GetUserGlyph();
    if (store.inRegistry) {
      ASSERT_EQ(glyph->GetWidth(), 16);
      ASSERT_EQ(glyph->GetHeight(), 15);
      EXPECT_EQ(glyph->GetCanvas()->GetPixel(0, 0), clRed);
      EXPECT_EQ(glyph->GetCanvas()->GetPixel(15, 14), clBlue);
      EXPECT_EQ(glyph->GetCanvas()->GetPixel(7, 7), clWhite);
    } else {
      EXPECT_TRUE(glyph->GetEmpty());
    }
    CloseForm();
  }
  // The empty glyph an ini file leaves goes to the registry as none, and
  // the link's other changes with it.
  Registry.DeleteKey("\\" + LayoutKey);
  BuildForm(true);
  Links(0)->GetItem(0)->SetUserDefine(TdxBarUserDefines{udGlyph});
  Links(0)->GetItem(0)->SetUserWidth(77);
  CloseForm();
  BuildForm(true);
  TdxBarItemLink* link = Links(0)->GetItem(0);
  EXPECT_EQ(link->GetUserDefine(), (TdxBarUserDefines{udGlyph, udWidth}));
  EXPECT_TRUE(link->GetUserGlyph()->GetEmpty());
  EXPECT_EQ(link->GetUserWidth(), 77);
}

TEST_F(StoreTest, TheStandardStyleNeitherWritesNorReadsTheUsage) {
  for (const StoreCase& store : kStores) {
    SCOPED_TRACE(store.name);
    WriteFixture(store.inRegistry, {N("", "MenusShowRecentItemsFirst", 0),
                                    N("", "ShowFullMenusAfterDelay", 0), N("", "ShowHint", 0)});
    WriteFixture(store.inRegistry,
                 {N("SubItem_FileMenu", "ItemLinkCount", 2),
                  T("SubItem_FileMenu\\ItemLink0", "ItemName", "B3"),
                  N("SubItem_FileMenu\\ItemLink0", "BeginGroup", 0), Bits("SubItem_FileMenu\\ItemLink0", 0),
                  N("SubItem_FileMenu\\ItemLink0", "UseCount", 7),
                  N("SubItem_FileMenu\\ItemLink0", "RecentIndex", 1)});
    BuildForm(store.inRegistry, 2, bmsStandard);
    EXPECT_TRUE(Manager->GetMenusShowRecentItemsFirst()) << "not read";
    EXPECT_TRUE(Manager->GetShowFullMenusAfterDelay()) << "not read";
    EXPECT_FALSE(Manager->GetShowHint()) << "read";
    EXPECT_EQ(Names(FileLinks()), "B3");
    EXPECT_NE(FileLinks()->GetItem(0)->UseCount, 7);
    Manager->SetShowFullMenusAfterDelay(false);
    Registry.DeleteKey("\\" + LayoutKey);
    DeleteFileA(IniFile.c_str());
    CloseForm();

    if (store.inRegistry) {
      ASSERT_TRUE(Registry.OpenKeyReadOnly("\\" + LayoutKey));
      EXPECT_FALSE(Registry.ValueExists("ShowFullMenusAfterDelay"));
      ASSERT_TRUE(Registry.OpenKeyReadOnly("\\" + LayoutKey + "\\Bar0\\ItemLink0"));
      EXPECT_TRUE(Registry.ValueExists("Visible"));
      EXPECT_FALSE(Registry.ValueExists("UseCount"));
      EXPECT_FALSE(Registry.ValueExists("RecentIndex"));
      Registry.CloseKey();
    } else {
      TMemIniFile ini(IniFile);
      EXPECT_FALSE(ini.ValueExists(FormName + ".bman.Main", "ShowFullMenusAfterDelay"));
      EXPECT_TRUE(ini.ValueExists(FormName + ".bman.Bar0.ItemLink0", "Visible"));
      EXPECT_FALSE(ini.ValueExists(FormName + ".bman.Bar0.ItemLink0", "UseCount"));
      EXPECT_FALSE(ini.ValueExists(FormName + ".bman.Bar0.ItemLink0", "RecentIndex"));
    }
  }
}

TEST_F(StoreTest, StoredBarsBeyondTheFormsOwnAreCreated) {
  for (const StoreCase& store : kStores) {
    SCOPED_TRACE(store.name);
    BuildForm(store.inRegistry);
    CloseForm();
    BuildForm(store.inRegistry, 0);
    ASSERT_EQ(Manager->GetBars()->GetCount(), 3);
    EXPECT_EQ(Bar(1)->GetCaption(), "Tools");
    EXPECT_EQ(Bar(1)->GetDockingStyle(), dsLeft);
    EXPECT_EQ(Names(Links(1)), "B3");
    EXPECT_EQ(Bar(2)->GetCaption(), "Palette");
    EXPECT_EQ(Bar(2)->GetDockingStyle(), dsNone);
    EXPECT_TRUE(Bar(2)->GetVisible());
    CloseForm();
  }
}

TEST_F(StoreTest, SavingLeavesOtherSettingsAndOtherManagersAlone) {
  // Subkeys of the layout key that are not the layout's own are settings of
  // the program; the layout's own from an earlier run go.
  ASSERT_TRUE(Registry.OpenKey("\\" + LayoutKey + "\\Settings\\Deeper", true));
  Registry.WriteString("Font", "Tahoma");
  for (const char* key : {"Barcode", "Bar12\\ItemLink0", "SubItem_Gone", "Bar0\\ItemLink9"})
    ASSERT_TRUE(Registry.OpenKey("\\" + LayoutKey + "\\" + key, true));
  Registry.CloseKey();
  // Another manager's sections of the same ini file stay too.
  WriteFixture(false, {N("Bar7", "Row", 0)});
  {
    TMemIniFile ini(IniFile);
    ini.WriteString("OtherForm.bman.Main", "BarCount", "1");
    ini.WriteString("LayoutForm.bman2.Main", "BarCount", "1");
    ini.UpdateFile();
  }
  for (const StoreCase& store : kStores) {
    BuildForm(store.inRegistry);
    CloseForm();
  }

  EXPECT_TRUE(Registry.KeyExists("\\" + LayoutKey + "\\Settings\\Deeper"));
  EXPECT_TRUE(Registry.KeyExists("\\" + LayoutKey + "\\Barcode"));
  ASSERT_TRUE(Registry.OpenKeyReadOnly("\\" + LayoutKey + "\\Settings\\Deeper"));
  EXPECT_EQ(Registry.ReadString("Font"), "Tahoma");
  for (const char* gone : {"Bar12", "SubItem_Gone", "Bar0\\ItemLink9"})
    EXPECT_FALSE(Registry.KeyExists("\\" + LayoutKey + "\\" + gone)) << gone;
  for (const char* written : {"Bar0\\ItemLink2", "Bar2", "SubItem_FileMenu\\ItemLink1"})
    EXPECT_TRUE(Registry.KeyExists("\\" + LayoutKey + "\\" + written)) << written;
  Registry.CloseKey();

  TMemIniFile ini(IniFile);
  EXPECT_EQ(ini.ReadString("OtherForm.bman.Main", "BarCount", ""), "1");
  EXPECT_EQ(ini.ReadString("LayoutForm.bman2.Main", "BarCount", ""), "1");
  EXPECT_FALSE(ini.SectionExists(FormName + ".bman.Bar7"));
  EXPECT_EQ(ini.ReadString(FormName + ".bman.Main", "BarCount", ""), "3");
}

TEST_F(StoreTest, DockControlsAreFoundByTheirPaths) {
  BuildForm(true);
  auto* holder = new TComponent(Form.get());
  holder->SetName("Holder");
  auto* inner = new TdxBarDockControl(holder);
  inner->SetName("Inner");
  EXPECT_EQ(Manager->GetDockControlPath(Dock()), "LayoutForm.Dock1");
  EXPECT_EQ(Manager->GetDockControlPath(inner), "LayoutForm.Holder.Inner");
  const struct {
    const char* path;
    TdxBarDockControl* dock;
  } cases[] = {
      {"LayoutForm.Dock1", Dock()},
      {"layoutform.dock1", Dock()},
      {"Dock1", Dock()},
      {"LayoutForm.Holder.Inner", inner},
      {"", nullptr},
      {"Other.Dock1", nullptr},
      {"LayoutForm.Missing", nullptr},
      {"LayoutForm..Dock1", nullptr},
      {"LayoutForm.Dock1.", nullptr},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Manager->FindDockControlByPath(c.path), c.dock) << c.path;
  EXPECT_THROW(Manager->FindDockControlByPath("LayoutForm.B0"), EInvalidCast);
  EXPECT_THROW(Manager->FindDockControlByPath("LayoutForm.Holder"), EInvalidCast);
}

// Damaged stores load what can be read and drop the rest; none stops the
// form from loading or reads for long.
TEST_F(StoreTest, DamagedStoresAreReadAsFarAsTheyMakeSense) {
  const String brokenGlyph = [] {
    // A header that claims a picture of 40000 × 40000 pixels over 4 bytes.
    String bmp(58, '\0');
    const auto put = [&](size_t at, uint32_t value) {
      for (int k = 0; k < 4; ++k)
        bmp[at + k] = static_cast<char>(value >> (8 * k));
    };
    bmp[0] = 'B', bmp[1] = 'M';
    put(2, 58), put(10, 54), put(14, 40), put(18, 40000), put(22, 40000), put(26, 1 | 32 << 16);
    return bmp;
  }();
  const std::vector<Stored> aLink = {N("Bar0", "ItemLinkCount", 1), T("Bar0\\ItemLink0", "ItemName", "B1"),
                                     N("Bar0\\ItemLink0", "BeginGroup", 1)};
  auto with = [](std::vector<Stored> a, const std::vector<Stored>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  struct Case {
    const char* name;
    bool registryOnly;
    std::vector<Stored> values;
    std::function<void()> check;
  };
  const std::vector<Case> cases = {
      {"huge counts", false,
       with(with(BarValues("Bar0", "Huge", dsTop, true, INT_MAX), aLink),
            {N("", "BarCount", INT_MAX), N("Bar0", "ItemLinkCount", INT_MAX)}),
       [this] {
         EXPECT_EQ(Manager->GetBars()->GetCount(), 3);
         EXPECT_EQ(Bar(0)->GetCaption(), "Huge");
         EXPECT_EQ(Names(Links(0)), "B1");
       }},
      {"gap in the numbering", false,
       with(with(BarValues("Bar0", "First", dsTop, true, 0), BarValues("Bar7", "Far", dsBottom, true, 0)),
            {N("", "BarCount", 9)}),
       [this] {
         ASSERT_EQ(Manager->GetBars()->GetCount(), 4) << "one bar added for the one stored beyond";
         EXPECT_EQ(Bar(0)->GetCaption(), "First");
         EXPECT_EQ(Bar(3)->GetCaption(), "Far");
         EXPECT_EQ(Bar(3)->GetDockingStyle(), dsBottom);
         EXPECT_FALSE(Bar(1)->GetVisible()) << "bars not stored are hidden";
       }},
      {"docking style out of range", false,
       with(BarValues("Bar0", "Read", dsTop, false, 0), {N("", "BarCount", 1), N("Bar0", "DockingStyle", 7)}),
       [this] {
         EXPECT_EQ(Bar(0)->GetCaption(), "Read") << "values before the bad one are read";
         EXPECT_EQ(Bar(0)->GetDockingStyle(), dsTop);
         EXPECT_TRUE(Bar(0)->GetVisible()) << "a bar with a bad value is shown";
       }},
      {"docked docking style out of range", false,
       with(BarValues("Bar0", "Read", dsLeft, false, 0),
            {N("", "BarCount", 1), N("Bar0", "DockedDockingStyle", -1), N("Bar0", "Row", 5)}),
       [this] {
         EXPECT_EQ(Bar(0)->GetRow(), 0) << "values after the bad one are not";
         EXPECT_EQ(Bar(0)->GetDockingStyle(), dsTop);
         EXPECT_TRUE(Bar(0)->GetVisible());
       }},
      {"a dock path naming a button", false,
       with(BarValues("Bar0", "Read", dsLeft, false, 0),
            {N("", "BarCount", 1), T("Bar0", "DockControl", "LayoutForm.B0")}),
       [this] {
         EXPECT_EQ(Bar(0)->GetDockingStyle(), dsTop);
         EXPECT_TRUE(Bar(0)->GetVisible());
       }},
      {"menu animation out of range",
       false,
       {N("", "MenuAnimations", 5), N("", "ShowHint", 0)},
       [this] {
         EXPECT_EQ(Manager->GetMenuAnimations(), maNone);
         EXPECT_FALSE(Manager->GetShowHint()) << "the other options are read";
       }},
      {"paint style out of range", false,
       with(with(BarValues("Bar0", "Standard", dsTop, true, 1), aLink),
            {N("", "BarCount", 1), Bits("Bar0\\ItemLink0", 1 | 4 | 8),
             T("Bar0\\ItemLink0", "UserCaption", "Kept"), N("Bar0\\ItemLink0", "UserPaintStyle", 4),
             N("Bar0\\ItemLink0", "UserWidth", 90)}),
       [this] {
         ASSERT_EQ(Names(Links(0)), "B1");
         TdxBarItemLink* link = Links(0)->GetItem(0);
         EXPECT_EQ(link->GetCaption(), "Kept");
         EXPECT_TRUE(link->GetStoredBeginGroup());
         EXPECT_EQ(link->GetUserPaintStyle(), psStandard);
         EXPECT_NE(link->GetUserWidth(), 90);
       }},
      {"user-define bits beyond the four", false,
       with(with(BarValues("Bar0", "Standard", dsTop, true, 1), aLink),
            {N("", "BarCount", 1), Bits("Bar0\\ItemLink0", 0x31), T("Bar0\\ItemLink0", "UserCaption", "No")}),
       [this] {
         ASSERT_EQ(Names(Links(0)), "B1");
         EXPECT_TRUE(Links(0)->GetItem(0)->GetUserDefine().Empty());
         EXPECT_EQ(Links(0)->GetItem(0)->GetCaption(), "B1");
       }},
      {"links naming no item or their own menu",
       false,
       {N("SubItem_FileMenu", "ItemLinkCount", 3), T("SubItem_FileMenu\\ItemLink0", "ItemName", "Gone"),
        T("SubItem_FileMenu\\ItemLink1", "ItemName", "FileMenu"),
        N("SubItem_FileMenu\\ItemLink1", "BeginGroup", 0), Bits("SubItem_FileMenu\\ItemLink1", 0),
        T("SubItem_FileMenu\\ItemLink2", "ItemName", "b4"), N("SubItem_FileMenu\\ItemLink2", "BeginGroup", 0),
        Bits("SubItem_FileMenu\\ItemLink2", 0)},
       [this] { EXPECT_EQ(Names(FileLinks()), "B4"); }},
      {"a broken glyph", true,
       with(with(BarValues("Bar0", "Standard", dsTop, true, 1), aLink),
            {N("", "BarCount", 1), Bits("Bar0\\ItemLink0", 2 | 8),
             Bytes("Bar0\\ItemLink0", "UserGlyph", brokenGlyph), N("Bar0\\ItemLink0", "UserWidth", 90)}),
       [this] {
         ASSERT_EQ(Names(Links(0)), "B1");
         TdxBarItemLink* link = Links(0)->GetItem(0);
         EXPECT_TRUE(link->GetUserGlyph()->GetEmpty());
         EXPECT_NE(link->GetUserWidth(), 90);
       }},
      {"values of the wrong type", true,
       with(
           BarValues("Bar0", "Standard", dsLeft, false, 0),
           {N("", "BarCount", 1), N("Bar0", "Caption", 3), T("", "LargeIcons", "yes"), N("", "ShowHint", 0)}),
       [this] {
         EXPECT_EQ(Bar(0)->GetDockingStyle(), dsTop);
         EXPECT_TRUE(Bar(0)->GetVisible());
         EXPECT_FALSE(Manager->GetLargeIcons());
         EXPECT_FALSE(Manager->GetShowHint());
       }},
  };
  for (const Case& c : cases)
    for (const StoreCase& store : kStores) {
      if (c.registryOnly && !store.inRegistry) continue;
      SCOPED_TRACE(String(c.name) + " in the " + store.name);
      WriteFixture(store.inRegistry, c.values);
      ASSERT_NO_THROW(BuildForm(store.inRegistry));
      c.check();
      Form.reset();
      Manager = nullptr;
      Registry.DeleteKey("\\" + LayoutKey);
      DeleteFileA(IniFile.c_str());
    }
}
