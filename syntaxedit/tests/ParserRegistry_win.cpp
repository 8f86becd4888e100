// The parser's settings stored in the registry and read back.
#include "Registry.h"
#include "SqlRulesSupport.h"
#include "SyntaxEd_keys.h"
#include "SyntaxEd_stylestring.h"

#include <gtest/gtest.h>

namespace {

const String kKey = "\\SOFTWARE\\Velmora Parser Test";

class ParserRegistry : public ::testing::Test {
protected:
  void SetUp() override {
    TRegistry().DeleteKey(kKey);
    parser = CompileRules(SqlRuleScriptText());
    parser->RegistryKey = kKey;
    parser->UseRegistry = true;
  }
  void TearDown() override { TRegistry().DeleteKey(kKey); }
  TSM_Settings& Settings() { return parser->GetSettings(); }
  // The key assignments in their stream form.
  String KeyBytes() {
    TMemoryStream stream;
    Settings().GetKeyController().SaveToStream(stream);
    return String(stream.GetMemory(), static_cast<size_t>(stream.GetSize()));
  }

  std::unique_ptr<TSyntaxMemoParser> parser;
};

} // namespace

TEST_F(ParserRegistry, RoundTripOfSettingsAndKeys) {
  const String stored = BuildStyleString(Settings());
  const String bindings = KeyBytes();
  parser->SaveToRegistry();
  TRegistry reg(KEY_READ);
  ASSERT_TRUE(reg.OpenKeyReadOnly(kKey));
  EXPECT_EQ(reg.ReadString("Highlighting - " + Settings().LanguageName), stored);
  EXPECT_EQ(reg.ReadBinaryData("Key Assignments - " + Settings().LanguageName).substr(0, 9), "\x08Halvik6:");

  Settings().GutterWidth += 7;
  Settings().FontName = "Other";
  Settings().GetKeyController().ClearAll();
  ASSERT_TRUE(parser->LoadFromRegistry());
  EXPECT_EQ(BuildStyleString(Settings()), stored);
  EXPECT_EQ(KeyBytes(), bindings);
}

TEST_F(ParserRegistry, DamagedValuesApplyNothing) {
  parser->SaveToRegistry();
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kKey, false));
    reg.WriteString("Highlighting - " + Settings().LanguageName, "Halvik6:OPT#1#");
    reg.WriteBinaryData("Key Assignments - " + Settings().LanguageName, "\x08Halvik6:\x05", 10);
  }
  const String before = BuildStyleString(Settings());
  const String bindings = KeyBytes();
  EXPECT_FALSE(parser->LoadFromRegistry());
  EXPECT_EQ(BuildStyleString(Settings()), before);
  EXPECT_EQ(KeyBytes(), bindings);
}

TEST_F(ParserRegistry, RefusedWithoutKeyOrPermission) {
  parser->SetName("SyntaxMemoParser1");
  parser->UseRegistry = false;
  try {
    parser->SaveToRegistry();
    FAIL();
  } catch (const ESyntaxMemo& e) {
    EXPECT_EQ(e.Message, "Registry interface disabled in: SyntaxMemoParser1");
  }
  parser->UseRegistry = true;
  parser->RegistryKey.clear();
  EXPECT_THROW(parser->LoadFromRegistry(), ESyntaxMemo);
}
