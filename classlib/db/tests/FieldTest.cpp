#include "MemDataSet.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// One open data set holding a single row, put into insert mode, with one
// field of the given type.
struct OneField {
  TMemDataSet ds;
  TField* field = nullptr;
  OneField(TFieldType type, int size = 0) {
    ds.Columns = {{"f", type, size}};
    ds.Open();
    ds.Insert();
    field = ds.FieldByName("f");
  }
};

String ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& e) {
    return e.what();
  }
  return "no error";
}

struct TextCase {
  TFieldType type;
  int size;
  const char* input;
  const char* asString;
  TVarType valueType;
};

TEST(Fields, TextInTextOutAndTheValueType) {
  const TextCase cases[] = {
      {ftString, 5, "abcdefg", "abcde", varString}, // cut to Size
      {ftString, 5, "", "", varString},             // empty text is a value, not Null
      {ftSmallint, 0, "-32768", "-32768", varInteger},
      {ftWord, 0, "65535", "65535", varInteger},
      {ftInteger, 0, "  42", "42", varInteger},
      {ftAutoInc, 0, "7", "7", varInteger},
      {ftLargeint, 0, "-9223372036854775808", "-9223372036854775808", varInt64},
      {ftFloat, 0, "2.5e3", "2500", varDouble},
      {ftCurrency, 0, "0.1", "0.1", varDouble},
      {ftBCD, 4, "12.3456", "12.3456", varCurrency},
      {ftBCD, 4, "-0.5", "-0.5", varCurrency},
      {ftBoolean, 0, "tr", "True", varBoolean}, // a prefix of the display text
      {ftBoolean, 0, "FALSE", "False", varBoolean},
      {ftDate, 0, "2004-02-29", "2004-02-29", varDate},
      {ftTime, 0, "23:59:58", "23:59:58", varDate},
      {ftDateTime, 0, "1899-12-29 06:00:00", "1899-12-29 06:00:00", varDate},
      {ftBytes, 4, "ab", "", varString}, // checked below: padded to Size
      {ftVarBytes, 4, "ab", "ab", varString},
      {ftMemo, 0, "long text", "long text", varString},
      {ftBlob, 0, "bytes", "bytes", varString},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(FieldTypeName(c.type) + " <- " + c.input);
    OneField o(c.type, c.size);
    o.field->SetAsString(c.input);
    if (c.type == ftBytes)
      EXPECT_EQ(o.field->GetAsString(), String("ab\0\0", 4));
    else
      EXPECT_EQ(o.field->GetAsString(), c.asString);
    EXPECT_FALSE(o.field->IsNull());
    EXPECT_EQ(o.field->GetValue().VarType(), c.valueType);
    o.field->Clear();
    EXPECT_TRUE(o.field->IsNull());
    EXPECT_TRUE(o.field->GetValue().IsNull());
    EXPECT_EQ(o.field->GetAsString(), "");
  }
}

struct BadText {
  TFieldType type;
  const char* input;
  const char* message;
};

TEST(Fields, BadTextIsRefusedWithTheFieldName) {
  const BadText cases[] = {
      {ftInteger, "12x", "'12x' is not a valid integer value for field 'f'"},
      {ftLargeint, "1e3", "'1e3' is not a valid integer value for field 'f'"},
      {ftFloat, "1,5", "'1,5' is not a valid floating point value for field 'f'"},
      {ftBoolean, "yes", "'yes' is not a valid boolean value for field 'f'"},
      {ftSmallint, "40000", "40000 is not a valid value for field 'f'. The allowed range is -32768 to 32767"},
      {ftWord, "-1", "-1 is not a valid value for field 'f'. The allowed range is 0 to 65535"},
      {ftInteger, "2147483648",
       "2147483648 is not a valid value for field 'f'. The allowed range is -2147483648 to 2147483647"},
      {ftDate, "2004-02-30", "'2004-02-30' is not a valid date"},
  };
  for (const auto& c : cases) {
    OneField o(c.type);
    EXPECT_EQ(ErrorOf([&] { o.field->SetAsString(c.input); }), c.message) << c.input;
    EXPECT_TRUE(o.field->IsNull()) << "a refused value leaves nothing behind";
  }
}

TEST(Fields, ConversionsBetweenKinds) {
  OneField s(ftString, 20);
  s.field->SetAsInteger(-12);
  EXPECT_EQ(s.field->GetAsInteger(), -12);
  EXPECT_DOUBLE_EQ(s.field->GetAsFloat(), -12.0);
  s.field->SetAsString("Yes");
  EXPECT_TRUE(s.field->GetAsBoolean());
  s.field->SetAsString("abc");
  EXPECT_THROW(s.field->GetAsInteger(), EConvertError);
  s.field->SetValue(Variant(2.5));
  EXPECT_EQ(s.field->GetAsString(), "2.5");
  s.field->SetValue(Variant::Null());
  EXPECT_TRUE(s.field->IsNull());
  EXPECT_THROW(s.field->GetAsInteger(), EConvertError); // Null text is "", not a number

  OneField i(ftInteger);
  i.field->SetAsFloat(2.5);
  EXPECT_EQ(i.field->GetAsInteger(), 2); // half to even
  EXPECT_EQ(ErrorOf([&] { i.field->GetAsBoolean(); }), "Cannot access field 'f' as type Boolean");
  EXPECT_EQ(i.field->GetAsInteger(), 2);
  i.field->Clear();
  EXPECT_EQ(i.field->GetAsInteger(), 0); // Null reads as 0

  OneField big(ftLargeint);
  big.field->SetAsLargeInt(5000000000LL);
  EXPECT_EQ(big.field->GetAsLargeInt(), 5000000000LL);
  EXPECT_EQ(big.field->GetAsString(), "5000000000");
  EXPECT_THROW(big.field->GetAsInteger(), EDatabaseError); // never a wrapped number

  OneField b(ftBoolean);
  auto* bf = static_cast<TBooleanField*>(b.field);
  bf->SetDisplayValues("Y;N");
  bf->SetAsString("n");
  EXPECT_FALSE(bf->GetAsBoolean());
  EXPECT_EQ(bf->GetAsString(), "N");

  OneField bcd(ftBCD, 4);
  bcd.field->SetAsFloat(2.5);
  EXPECT_EQ(bcd.field->GetAsLargeInt(), 2);
  bcd.field->SetAsFloat(3.5);
  EXPECT_EQ(bcd.field->GetAsLargeInt(), 4);
  EXPECT_EQ(bcd.field->GetValue().AsCurrency(), 35000);
}

TEST(Fields, DatesTravelInTheirRecordForms) {
  // Day numbers count from 0001-01-01 = 1; times in milliseconds of the day.
  OneField d(ftDate);
  d.field->SetAsDateTime(EncodeDate(1899, 12, 30));
  int32_t day = 0;
  ASSERT_TRUE(d.field->GetData(&day));
  EXPECT_EQ(day, DateDelta);
  OneField t(ftTime);
  t.field->SetAsDateTime(EncodeTime(1, 0, 0, 5));
  int32_t ms = 0;
  ASSERT_TRUE(t.field->GetData(&ms));
  EXPECT_EQ(ms, 3600005);
  OneField dt(ftDateTime);
  dt.field->SetAsDateTime(EncodeDateTime(1, 1, 2, 0, 0, 1, 0));
  double total = 0;
  ASSERT_TRUE(dt.field->GetData(&total));
  EXPECT_DOUBLE_EQ(total, 2.0 * MSecsPerDay + 1000);
  EXPECT_DOUBLE_EQ(dt.field->GetAsDateTime(), EncodeDateTime(1, 1, 2, 0, 0, 1, 0));
  static_cast<TDateTimeField*>(dt.field)->DisplayFormat = "dd.mm.yyyy";
  EXPECT_EQ(dt.field->GetAsString(), "02.01.0001");
}

TEST(Fields, BlobsAndMemosGoThroughStreamsWhole) {
  OneField m(ftMemo);
  String big(100000, 'x');
  big[99999] = 'y';
  m.field->SetAsString(big);
  EXPECT_EQ(m.field->GetAsString(), big);
  EXPECT_EQ(static_cast<TBlobField*>(m.field)->GetBlobSize(), 100000);
  EXPECT_EQ(m.field->GetValue().AsString().size(), 100000u);
  TMemoryStream out;
  static_cast<TBlobField*>(m.field)->SaveToStream(out);
  EXPECT_EQ(out.GetSize(), 100000);
  m.ds.Post();
  EXPECT_EQ(m.field->GetAsString(), big);
  EXPECT_TRUE(m.field->GetTransliterate());

  OneField b(ftBlob);
  TStringStream in(String("\0\1\2", 3));
  static_cast<TBlobField*>(b.field)->LoadFromStream(in);
  EXPECT_EQ(b.field->GetAsString(), String("\0\1\2", 3));
  EXPECT_FALSE(b.field->GetTransliterate());
  b.field->Clear();
  EXPECT_TRUE(b.field->IsNull());
}

TEST(Fields, TextPassesThroughTheDataSetTranslation) {
  TMemDataSet ds;
  ds.ShiftedText = true;
  ds.Columns = {{"s", ftString, 10}};
  ds.AddRow({String("abc")});
  ds.Open();
  EXPECT_EQ(ds.Rows[0][0]->substr(0, 3), "bcd"); // stored form differs
  EXPECT_EQ(ds.FieldByName("s")->GetAsString(), "abc");
  ds.Edit();
  ds.FieldByName("s")->SetAsString("xyz");
  ds.Post();
  EXPECT_EQ(ds.Rows[0][0]->substr(0, 3), "yz{");
  EXPECT_EQ(ds.FieldByName("s")->GetAsString(), "xyz");
  static_cast<TStringField*>(ds.FieldByName("s"))->SetTransliterate(false);
  EXPECT_EQ(ds.FieldByName("s")->GetAsString(), "yz{");
}

TEST(Fields, ValidateSeesTheNewValueAndCanRefuse) {
  OneField o(ftInteger);
  std::vector<int> seen;
  o.field->OnValidate = [&](TField* f) {
    seen.push_back(f->GetAsInteger());
    if (f->GetAsInteger() < 0) throw EDatabaseError("negative");
  };
  o.field->SetAsInteger(5);
  EXPECT_THROW(o.field->SetAsInteger(-1), EDatabaseError);
  EXPECT_EQ(seen, (std::vector<int>{5, -1}));
  EXPECT_EQ(o.field->GetAsInteger(), 5);
}

TEST(Fields, TextEventsAndDuplicateNames) {
  OneField o(ftInteger);
  o.field->OnGetText = [](TField* f, String& text, bool display) {
    text = (display ? "#" : "") + f->GetAsString();
  };
  o.field->SetText("12");
  EXPECT_EQ(o.field->GetDisplayText(), "#12");
  EXPECT_EQ(o.field->GetText(), "12");

  TMemDataSet ds;
  ds.Columns = {{"a", ftInteger}, {"A", ftInteger}};
  EXPECT_THROW(ds.Open(), EDatabaseError); // names are compared without case
  EXPECT_FALSE(ds.GetActive());
}

TEST(Fields, FieldDefsMakeTheFieldOfTheirType) {
  const std::pair<TFieldType, TFieldType> cases[] = {
      {ftString, ftString},     {ftFixedChar, ftFixedChar}, {ftWideString, ftString},
      {ftSmallint, ftSmallint}, {ftWord, ftWord},           {ftAutoInc, ftAutoInc},
      {ftLargeint, ftLargeint}, {ftCurrency, ftCurrency},   {ftTimeStamp, ftDateTime},
      {ftGraphic, ftGraphic},   {ftFmtMemo, ftFmtMemo},     {ftFMTBcd, ftBCD},
  };
  for (auto [defType, fieldType] : cases) {
    TMemDataSet ds;
    TFieldDef* def = ds.GetFieldDefs().AddFieldDef();
    def->SetName("x");
    def->SetDataType(defType);
    def->SetSize(8);
    def->Attributes = faRequired | faReadonly;
    TField* f = def->CreateField(&ds, &ds);
    EXPECT_EQ(f->GetDataType(), fieldType) << FieldTypeName(defType);
    EXPECT_TRUE(f->Required);
    EXPECT_TRUE(f->ReadOnly);
    EXPECT_EQ(ds.FindField("X"), f);
  }
  TMemDataSet ds;
  TFieldDef* def = ds.GetFieldDefs().AddFieldDef();
  def->SetName("u");
  EXPECT_THROW(def->CreateField(&ds, &ds), EDatabaseError);
}

} // namespace
