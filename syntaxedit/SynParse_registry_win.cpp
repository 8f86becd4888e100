// The parser's language settings in the registry.
#include "Registry.h"
#include "SynParse.h"
#include "SyntaxEd_keys.h"
#include "SyntaxEd_streamio.h"
#include "SyntaxEd_stylestring.h"

namespace {

constexpr const char* kKeySignature = "Halvik6:";

String StyleValueName(const TSM_Settings& settings) {
  return "Highlighting - " + settings.LanguageName;
}

String KeysValueName(const TSM_Settings& settings) {
  return "Key Assignments - " + settings.LanguageName;
}

void RequireRegistry(const TSyntaxMemoParser& parser) {
  if (parser.RegistryKey.empty() || !parser.UseRegistry)
    throw ESyntaxMemo("Registry interface disabled in: " + parser.GetName());
}

// The stored key assignments into a fresh controller: none when they do not
// read whole.
std::unique_ptr<TKeyboardActionContoller> ReadKeys(const String& bytes) {
  try {
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    if (ReadShortString(stream) != kKeySignature) return nullptr;
    auto keys = std::make_unique<TKeyboardActionContoller>();
    keys->LoadFromStream(stream);
    if (stream.GetPosition() != stream.GetSize()) return nullptr;
    return keys;
  } catch (const Exception&) {
    return nullptr;
  }
}

} // namespace

void TSyntaxMemoParser::SaveToRegistry() {
  RequireRegistry(*this);
  TRegistry registry;
  if (!registry.OpenKey(RegistryKey, true)) throw ESyntaxMemo("Registry interface disabled in: " + GetName());
  TSM_Settings& settings = GetSettings();
  registry.WriteString(StyleValueName(settings), BuildStyleString(settings));
  TMemoryStream keys;
  WriteShortString(keys, kKeySignature);
  settings.GetKeyController().SaveToStream(keys);
  registry.WriteBinaryData(KeysValueName(settings), keys.GetMemory(), static_cast<int>(keys.GetSize()));
}

bool TSyntaxMemoParser::LoadFromRegistry() {
  RequireRegistry(*this);
  TRegistry registry(KEY_READ);
  if (!registry.OpenKeyReadOnly(RegistryKey)) return false;
  TSM_Settings& settings = GetSettings();
  if (auto keys = ReadKeys(registry.ReadBinaryData(KeysValueName(settings))))
    settings.GetKeyController().Assign(*keys);
  return ApplyStyleString(settings, registry.ReadString(StyleValueName(settings)));
}
