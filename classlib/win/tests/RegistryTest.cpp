// The registry: what each read makes of each stored type (the settings of
// the program rest on wrong types raising), and keys opened by path.
#include "Registry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const String TestKey = "\\SOFTWARE\\Velmora Registry Test";

class Registry : public ::testing::Test {
protected:
  TRegistry Reg;
  void SetUp() override { Reg.DeleteKey(TestKey); }
  void TearDown() override {
    Reg.CloseKey();
    Reg.DeleteKey(TestKey);
  }
};

TEST_F(Registry, EachReadRaisesOnAValueOfAnotherType) {
  struct Case {
    const char* name;
    DWORD type;
    std::vector<BYTE> data;
    TRegDataType dataType;
    const char* text; // what ReadString gives, nullptr when it raises
    bool isInteger;   // ReadInteger gives -2 instead of raising
  };
  const Case cases[] = {
      {"Text", REG_SZ, {'T', 'a', 'h', 'o', 'm', 'a', 0}, rdString, "Tahoma", false},
      {"Empty", REG_SZ, {0}, rdString, "", false},
      {"Unterminated", REG_SZ, {'a', 'b'}, rdString, "ab", false},
      {"Expand", REG_EXPAND_SZ, {'%', 'T', 'E', 'M', 'P', '%', 0}, rdExpandString, "%TEMP%", false},
      {"Dword", REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}, rdInteger, nullptr, true},
      {"LongDword", REG_DWORD, {1, 0, 0, 0, 0, 0, 0, 0}, rdInteger, nullptr, false},
      {"Binary", REG_BINARY, {1, 0, 0, 0}, rdBinary, nullptr, false},
      {"Qword", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, rdUnknown, nullptr, false},
      {"Multi", REG_MULTI_SZ, {'a', 0, 0}, rdUnknown, nullptr, false},
  };
  ASSERT_TRUE(Reg.OpenKey(TestKey, true));
  for (const Case& c : cases)
    ASSERT_EQ(RegSetValueExA(Reg.GetCurrentKey(), c.name, 0, c.type, c.data.data(),
                             static_cast<DWORD>(c.data.size())),
              ERROR_SUCCESS);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(Reg.ValueExists(c.name));
    EXPECT_EQ(Reg.GetDataType(c.name), c.dataType);
    if (c.text)
      EXPECT_EQ(Reg.ReadString(c.name), c.text);
    else
      EXPECT_THROW(Reg.ReadString(c.name), ERegistryException);
    if (c.isInteger)
      EXPECT_EQ(Reg.ReadInteger(c.name), -2);
    else
      EXPECT_THROW(Reg.ReadInteger(c.name), ERegistryException);
  }
  // A missing value is an empty string but no integer.
  EXPECT_FALSE(Reg.ValueExists("Missing"));
  EXPECT_EQ(Reg.ReadString("Missing"), "");
  EXPECT_THROW(Reg.ReadBool("Missing"), ERegistryException);
}

TEST_F(Registry, BinaryValuesKeepEveryByte) {
  ASSERT_TRUE(Reg.OpenKey(TestKey, true));
  const String bytes("\x08Halvik6:\0\xFF", 11);
  Reg.WriteBinaryData("Keys", bytes.data(), static_cast<int>(bytes.size()));
  EXPECT_EQ(Reg.GetDataType("Keys"), rdBinary);
  EXPECT_EQ(Reg.ReadBinaryData("Keys"), bytes);
  EXPECT_EQ(Reg.ReadBinaryData("Missing"), "");
  Reg.WriteString("Text", "x");
  EXPECT_THROW(Reg.ReadBinaryData("Text"), ERegistryException);
}

TEST_F(Registry, KeysOpenByPathFromTheRootOrTheOpenKey) {
  EXPECT_FALSE(Reg.OpenKey(TestKey, false));
  EXPECT_FALSE(Reg.KeyExists(TestKey));
  ASSERT_TRUE(Reg.OpenKey(TestKey + "\\A", true));
  ASSERT_TRUE(Reg.OpenKey("B", true));
  EXPECT_EQ(Reg.GetCurrentPath(), "SOFTWARE\\Velmora Registry Test\\A\\B");
  Reg.WriteBool("On", true);
  // A key that cannot be opened leaves the open one open.
  EXPECT_FALSE(Reg.OpenKey("Missing", false));
  EXPECT_TRUE(Reg.ReadBool("On"));
  EXPECT_TRUE(Reg.KeyExists(TestKey + "\\A\\B"));

  ASSERT_TRUE(Reg.OpenKeyReadOnly(TestKey + "\\A\\B"));
  EXPECT_TRUE(Reg.ReadBool("On"));
  EXPECT_THROW(Reg.WriteInteger("On", 0), ERegistryException);
  Reg.CloseKey();
  // Deleting a key takes its subkeys with it.
  EXPECT_TRUE(Reg.DeleteKey(TestKey));
  EXPECT_FALSE(Reg.KeyExists(TestKey + "\\A"));
  EXPECT_FALSE(Reg.DeleteKey(TestKey));
}

TEST_F(Registry, SubkeysAreListedByName) {
  TStringList names;
  Reg.GetKeyNames(names);
  EXPECT_EQ(names.GetCount(), 0); // no open key
  ASSERT_TRUE(Reg.OpenKey(TestKey + "\\Bar0\\Deeper", true));
  ASSERT_TRUE(Reg.OpenKey(TestKey + "\\Other", true));
  ASSERT_TRUE(Reg.OpenKey(TestKey, false));
  Reg.WriteString("Value", "not a key");
  Reg.GetKeyNames(names);
  names.Sort();
  EXPECT_EQ(names.GetText(), "Bar0\r\nOther\r\n");
  ASSERT_TRUE(Reg.OpenKey(TestKey + "\\Other", false));
  Reg.GetKeyNames(names);
  EXPECT_EQ(names.GetCount(), 0);
}

} // namespace
