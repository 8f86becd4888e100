// Settings files: TMemIniFile keeps the whole file in memory.
#pragma once

#include "Classes.h"

#include <memory>
#include <vector>

class TCustomIniFile {
public:
  explicit TCustomIniFile(String FileName) : FFileName(std::move(FileName)) {}
  virtual ~TCustomIniFile() = default;
  const String& GetFileName() const { return FFileName; }
  virtual String ReadString(const String& Section, const String& Ident, const String& Default) = 0;
  virtual void WriteString(const String& Section, const String& Ident, const String& Value) = 0;
  virtual void ReadSection(const String& Section, TStrings& Strings) = 0;
  virtual void ReadSections(TStrings& Strings) = 0;
  virtual void ReadSectionValues(const String& Section, TStrings& Strings) = 0;
  virtual void EraseSection(const String& Section) = 0;
  virtual void DeleteKey(const String& Section, const String& Ident) = 0;
  virtual void UpdateFile() = 0;
  // Integers read as decimal or $hex; anything else gives the default.
  int ReadInteger(const String& Section, const String& Ident, int Default);
  void WriteInteger(const String& Section, const String& Ident, int Value);
  bool ReadBool(const String& Section, const String& Ident, bool Default);
  void WriteBool(const String& Section, const String& Ident, bool Value);
  bool SectionExists(const String& Section);
  bool ValueExists(const String& Section, const String& Ident);

private:
  String FFileName;
};

// Sections and keys are found regardless of letter case; UpdateFile writes
// the file back.
class TMemIniFile : public TCustomIniFile {
public:
  explicit TMemIniFile(const String& FileName);
  ~TMemIniFile() override;
  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void ReadSection(const String& Section, TStrings& Strings) override;
  void ReadSections(TStrings& Strings) override;
  void ReadSectionValues(const String& Section, TStrings& Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  void UpdateFile() override;
  void Clear();
  void GetStrings(TStrings& List);
  void SetStrings(const TStrings& List);

private:
  struct Section {
    String name;
    std::unique_ptr<TStringList> values;
  };
  Section* Find(const String& name);
  Section& Add(const String& name);
  void LoadValues();
  std::vector<Section> FSections;
};
