#include "IniFiles.h"

#include <algorithm>
#include <fstream>

int TCustomIniFile::ReadInteger(const String& Section, const String& Ident, int Default) {
  const String text = ReadString(Section, Ident, String());
  int64_t value = 0;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    return TryStrToInt64("$" + text.substr(2), value) ? static_cast<int>(value) : Default;
  return StrToIntDef(text, Default);
}

void TCustomIniFile::WriteInteger(const String& Section, const String& Ident, int Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const String& Section, const String& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

bool TCustomIniFile::SectionExists(const String& Section) {
  TStringList list;
  ReadSection(Section, list);
  return list.GetCount() > 0;
}

bool TCustomIniFile::ValueExists(const String& Section, const String& Ident) {
  TStringList list;
  ReadSection(Section, list);
  return list.IndexOf(Ident) >= 0;
}

TMemIniFile::TMemIniFile(const String& FileName) : TCustomIniFile(FileName) {
  LoadValues();
}

TMemIniFile::~TMemIniFile() = default;

void TMemIniFile::LoadValues() {
  Clear();
  std::ifstream file(GetFileName(), std::ios::binary);
  if (!file) return;
  TStringList list;
  String text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  list.SetText(text);
  SetStrings(list);
}

void TMemIniFile::Clear() {
  FSections.clear();
}

TMemIniFile::Section* TMemIniFile::Find(const String& name) {
  for (auto& s : FSections)
    if (SameText(s.name, name)) return &s;
  return nullptr;
}

TMemIniFile::Section& TMemIniFile::Add(const String& name) {
  FSections.push_back(Section{name, std::make_unique<TStringList>()});
  return FSections.back();
}

void TMemIniFile::SetStrings(const TStrings& List) {
  Clear();
  Section* current = nullptr;
  for (int i = 0; i < List.GetCount(); ++i) {
    const String line = Trim(List.Get(i));
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      const String name = line.substr(1, line.size() - 2);
      current = Find(name);
      if (!current) current = &Add(name);
      continue;
    }
    if (!current) continue;
    const size_t eq = line.find('=');
    if (eq == String::npos) {
      current->values->Add(line);
    } else {
      current->values->Add(Trim(line.substr(0, eq)) + "=" + Trim(line.substr(eq + 1)));
    }
  }
}

void TMemIniFile::GetStrings(TStrings& List) {
  List.Clear();
  for (auto& s : FSections) {
    List.Add("[" + s.name + "]");
    for (int i = 0; i < s.values->GetCount(); ++i)
      List.Add(s.values->Get(i));
    List.Add("");
  }
}

String TMemIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  TMemIniFile::Section* s = Find(Section);
  if (!s) return Default;
  const int index = s->values->IndexOfName(Ident);
  return index < 0 ? Default : s->values->GetValueFromIndex(index);
}

void TMemIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  TMemIniFile::Section* s = Find(Section);
  if (!s) s = &Add(Section);
  const int index = s->values->IndexOfName(Ident);
  if (index < 0)
    s->values->Add(Ident + "=" + Value);
  else
    s->values->Put(index, s->values->GetName(index) + "=" + Value);
}

void TMemIniFile::ReadSection(const String& Section, TStrings& Strings) {
  Strings.Clear();
  if (TMemIniFile::Section* s = Find(Section))
    for (int i = 0; i < s->values->GetCount(); ++i)
      Strings.Add(s->values->GetName(i));
}

void TMemIniFile::ReadSections(TStrings& Strings) {
  Strings.Clear();
  for (auto& s : FSections)
    Strings.Add(s.name);
}

void TMemIniFile::ReadSectionValues(const String& Section, TStrings& Strings) {
  Strings.Clear();
  if (TMemIniFile::Section* s = Find(Section)) Strings.Assign(*s->values);
}

void TMemIniFile::EraseSection(const String& Section) {
  FSections.erase(std::remove_if(FSections.begin(), FSections.end(),
                                 [&](const TMemIniFile::Section& s) { return SameText(s.name, Section); }),
                  FSections.end());
}

void TMemIniFile::DeleteKey(const String& Section, const String& Ident) {
  if (TMemIniFile::Section* s = Find(Section)) {
    const int index = s->values->IndexOfName(Ident);
    if (index >= 0) s->values->Delete(index);
  }
}

void TMemIniFile::UpdateFile() {
  TStringList list;
  GetStrings(list);
  list.SaveToFile(GetFileName());
}
