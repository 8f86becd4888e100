#include "SyntaxEd_keys.h"
#include "SyntaxEd_streamio.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

namespace {

constexpr TShortCut kCtrlK = scCtrl | 'K';

TEST(ShortCuts, TextFormsBothWays) {
  struct Case {
    TShortCut code;
    const char* text;
  };
  const Case cases[] = {
      {scCtrl | 'J', "Ctrl+J"},
      {scShift | 0x72, "Shift+F3"},
      {scCtrl | scShift | 'Z', "Shift+Ctrl+Z"},
      {scAlt | 0x2E, "Alt+Del"},
      {0x08, "BkSp"},
      {0x0D, "Enter"},
      {0x22, "PgDn"},
      {scCtrl | 0x63, "Ctrl+3"},
      {0x87, "F24"},
      {scShift | scCtrl | scAlt | '0', "Shift+Ctrl+Alt+0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShortCutName(c.code), c.text);
    // Numeric-pad digits read back as the main digits.
    const TShortCut expected = (c.code & 0xFF) == 0x63 ? (c.code & 0xFF00) | '3' : c.code;
    EXPECT_EQ(ParseShortCutName(c.text), expected) << c.text;
  }
  EXPECT_EQ(ParseShortCutName("ctrl+shift+z"), scCtrl | scShift | 'Z');
  EXPECT_EQ(ShortCutName(0), "");
  EXPECT_EQ(ParseShortCutName(""), 0);
  EXPECT_EQ(ParseShortCutName("Ctrl+"), 0);
  EXPECT_EQ(ParseShortCutName("Ctrl+Nothing"), 0);
}

TEST(ShortCuts, KeysWithoutFixedNameAskTheSystem) {
  SetKeyNameFunc([](TShortCut sc) { return (sc & 0xFF) == 0xBA ? String(";") : String(); });
  EXPECT_EQ(ShortCutName(scCtrl | 0xBA), "Ctrl+;");
  EXPECT_EQ(ParseShortCutName("Ctrl+;"), scCtrl | 0xBA);
  EXPECT_EQ(ShortCutName(scCtrl | 0xBB), "") << "a key the system cannot name has no text";
  SetKeyNameFunc(nullptr);
}

TEST(ShortCuts, ShortCutAndKeyAreInverse) {
  EXPECT_EQ(MakeShortCut('K', ksCtrl), kCtrlK);
  EXPECT_EQ(MakeShortCut(0x141, ksCtrl), 0) << "a key beyond the low byte has no shortcut";
  uint16_t key;
  TKeyShift shift;
  SplitShortCut(scAlt | scShift | 'Q', key, shift);
  EXPECT_EQ(key, 'Q');
  EXPECT_EQ(shift, ksAlt | ksShift);
}

class KeyStoreTest : public ::testing::Test {
protected:
  KeyStoreTest() {
    const char* names[] = {"zero", "one", "two", "three"};
    for (int i = 0; i < 4; ++i)
      c.SetCommandName(i, names[i]);
  }
  // Feeds key presses and lists what became of each: the action done, -1 for
  // a swallowed first key, -2 for a key that passed.
  std::vector<int> Press(std::initializer_list<TShortCut> keys) {
    std::vector<int> results;
    int fired = -1;
    c.OnAction = [&](TKeyboardActionContoller*, int& action) { fired = action; };
    for (TShortCut sc : keys) {
      uint16_t key;
      TKeyShift shift;
      SplitShortCut(sc, key, shift);
      bool handled = false;
      fired = -1;
      c.HandleKey(key, shift, handled);
      if (!handled) {
        EXPECT_EQ(key, sc & 0xFF) << "an unhandled key passes on unchanged";
        results.push_back(-2);
      } else {
        EXPECT_EQ(key, 0) << "a handled key is swallowed";
        results.push_back(fired);
      }
    }
    return results;
  }
  void ExpectAmbiguous(TShortCut first, TShortCut second, int action, const char* message) {
    try {
      c.AddBinding(first, second, action);
      ADD_FAILURE() << "no error for " << message;
    } catch (const EAmbigiousKeyPair& e) {
      EXPECT_EQ(e.Message, message);
    }
  }
  TKeyboardActionContoller c;
};

TEST_F(KeyStoreTest, ConflictingBindingsAreRefused) {
  c.AddBinding(kCtrlK, 'B', 1);
  // The second key's modifiers do not count, so Ctrl+K, Ctrl+B is Ctrl+K, B.
  ExpectAmbiguous(kCtrlK, scCtrl | 'B', 2, "Duplicate key sequence definition for\r\n\"two\" and \"one\"");
  ExpectAmbiguous(kCtrlK, 0, 3, "Duplicate key sequence definition for\r\n\"three\" and \"one\"");
  c.AddBinding(scCtrl | 'Q', 0, 0);
  ExpectAmbiguous(scCtrl | 'Q', 'B', 2, "Duplicate key sequence definition for\r\n\"two\" and \"zero\"");
  ExpectAmbiguous(scCtrl | 'Q', 0, 3, "Duplicate key sequence definition for\r\n\"three\" and \"zero\"");
  c.AddBinding(kCtrlK, 'C', 2);
  EXPECT_EQ(c.GetKeyStore().CountBindings(), 3);
}

TEST_F(KeyStoreTest, KeyPressesRunBindingsAndSequences) {
  c.AddBinding(kCtrlK, 'B', 1);
  c.AddBinding(0x24, 0, 2);
  c.AddBinding(scShift | 0x24, 0, 3);
  EXPECT_EQ(Press({kCtrlK, scCtrl | 'B'}), (std::vector<int>{-1, 1}));
  EXPECT_EQ(Press({kCtrlK, 'X', 'B'}), (std::vector<int>{-1, -2, -2}))
      << "an unbound second key ends the sequence";
  EXPECT_EQ(Press({'B', 0x24, scShift | 0x24, scCtrl | 0x24}), (std::vector<int>{-2, 2, 3, -2}));
}

TEST_F(KeyStoreTest, FindKeysListsEveryBindingOfAnAction) {
  c.AddBinding(scCtrl | 'A', 0, 1);
  c.AddBinding(kCtrlK, 'A', 1);
  c.AddBinding(kCtrlK, 'B', 2);
  c.AddBinding(0x70, 0, 1);
  std::set<std::pair<TShortCut, TShortCut>> found;
  TShortCut first, second;
  for (bool ok = c.FindFirstKeys(1, first, second); ok; ok = c.FindNextKeys(1, first, second))
    found.insert({first, second});
  EXPECT_EQ(found, (std::set<std::pair<TShortCut, TShortCut>>{{scCtrl | 'A', 0}, {kCtrlK, 'A'}, {0x70, 0}}));
  EXPECT_FALSE(c.FindFirstKeys(3, first, second));
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 0);
}

TEST_F(KeyStoreTest, CommandNamesKeepTheLastNameOfAnAction) {
  EXPECT_EQ(c.CommandName(7), "");
  c.SetCommandName(7, "first");
  c.SetCommandName(7, "second");
  EXPECT_EQ(c.CommandName(7), "second");
  TMemoryStream s;
  c.SaveToStream(s);
  s.SetPosition(0);
  EXPECT_EQ(ReadInt(s), 5) << "the replaced name is gone";
}

// Every key and two-key sequence the default map knows, plus some it does not.
std::vector<std::vector<TShortCut>> ProbeSequences() {
  std::vector<std::vector<TShortCut>> probes;
  const TShortCut mods[] = {0, scShift, scCtrl, scCtrl | scShift, scAlt};
  for (TShortCut m : mods)
    for (TShortCut k : std::initializer_list<TShortCut>{0x08, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28,
                                                        0x2D, 0x2E, 'X', 'C', 'V', 'Y', 'Z'})
      probes.push_back({static_cast<TShortCut>(m | k)});
  for (TShortCut first : {kCtrlK, static_cast<TShortCut>(scCtrl | 'Q')})
    for (TShortCut second : std::initializer_list<TShortCut>{'0', '5', '9', 'I', 'U', 'P', 'B'}) {
      probes.push_back({first, second});
      probes.push_back({first, static_cast<TShortCut>(scCtrl | second)});
    }
  return probes;
}

std::vector<int> PressAll(TKeyboardActionContoller& controller,
                          const std::vector<std::vector<TShortCut>>& probes) {
  std::vector<int> results;
  int fired = -1;
  controller.OnAction = [&](TKeyboardActionContoller*, int& action) { fired = action; };
  for (const auto& probe : probes)
    for (TShortCut sc : probe) {
      uint16_t key;
      TKeyShift shift;
      SplitShortCut(sc, key, shift);
      bool handled;
      fired = -1;
      controller.HandleKey(key, shift, handled);
      results.push_back(handled ? fired : -2);
    }
  return results;
}

TEST(DefaultKeyMap, BindsTheEditorCommands) {
  TKeyboardActionContoller c;
  c.Assign(DefaultKeyController());
  EXPECT_EQ(c.CommandName(0), "Cursor left");
  EXPECT_EQ(c.CommandName(47), "Scroll display down one line");
  EXPECT_EQ(c.GetKeyStore().CountBindings(), 48);
  const std::vector<std::vector<TShortCut>> probes = {{kCtrlK, '3'},       {kCtrlK, scCtrl | '3'},
                                                      {scCtrl | 'Q', '9'}, {scCtrl | scShift | 'Z'},
                                                      {scCtrl | 0x08},     {0x25}};
  EXPECT_EQ(PressAll(c, probes), (std::vector<int>{-1, 23, -1, 23, -1, 39, 42, 43, 0}));
}

TEST(DefaultKeyMap, SameKeysGiveSameActionsAfterAStreamRoundTrip) {
  TMemoryStream s;
  DefaultKeyController().SaveToStream(s);
  s.SetPosition(0);
  TKeyboardActionContoller copy;
  copy.LoadFromStream(s);
  EXPECT_EQ(s.GetPosition(), s.GetSize());
  TKeyboardActionContoller original;
  original.Assign(DefaultKeyController());
  const auto probes = ProbeSequences();
  EXPECT_EQ(PressAll(copy, probes), PressAll(original, probes));
  for (int n = 0; n < 48; ++n)
    EXPECT_EQ(copy.CommandName(n), original.CommandName(n));
  TMemoryStream again;
  copy.SaveToStream(again);
  EXPECT_TRUE(String(again.GetMemory(), again.GetSize()) == String(s.GetMemory(), s.GetSize()));
}

TEST(DefaultKeyMap, AssignRefusesOtherClasses) {
  TKeyboardActionContoller c;
  try {
    c.Assign(TSM_Base());
    ADD_FAILURE() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Cannot assign a TSM_Base to a TKeyboardActionContoller");
  }
}

TEST(KeyScan, UsLayoutTypesPunctuationWithItsShiftState) {
  const std::pair<char, int16_t> cases[] = {{'a', 'A'},   {'A', 0x141}, {'7', '7'},  {';', 0xBA},
                                            {':', 0x1BA}, {'(', 0x139}, {']', 0xDD}, {' ', 0x20},
                                            {'=', 0xBB},  {'\x80', -1}};
  for (const auto& [ch, code] : cases)
    EXPECT_EQ(UsLayoutVkKeyScan(ch), code) << ch;
}

TEST(KeyNames, TableLookup) {
  uint16_t vk = 0;
  EXPECT_TRUE(FindKeyName("pagedown", vk));
  EXPECT_EQ(vk, 34);
  EXPECT_TRUE(FindKeyName("f10", vk));
  EXPECT_EQ(vk, 121);
  EXPECT_TRUE(FindKeyName("backspace", vk));
  EXPECT_EQ(vk, 8);
  EXPECT_TRUE(FindKeyName("up", vk));
  EXPECT_EQ(vk, 38);
  EXPECT_FALSE(FindKeyName("foo", vk));
  EXPECT_FALSE(FindKeyName("Tab", vk)) << "names are looked up in lower case";
}

} // namespace
