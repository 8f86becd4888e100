// Feeds damaged data to the editor's stream readers: the binary routines and
// every stored form built on them (character groups, keyword lists,
// templates, auto-replace, key bindings, language settings). A reader may
// refuse data with an Exception; anything else (a crash, a sanitizer report,
// another exception) is a fault. What a reader accepted must write and read
// back.
//
// Built with clang's -fsanitize=fuzzer (VELMORA_LIBFUZZER) this is a libFuzzer
// target; otherwise main() runs a bounded loop of mutated valid streams:
//   editor_streams_fuzz [iterations] [seed]

#include "SyntaxEd_chargroups.h"
#include "SyntaxEd_keys.h"
#include "SyntaxEd_keywords.h"
#include "SyntaxEd_settings.h"
#include "SyntaxEd_streamio.h"
#include "SyntaxEd_templates.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <vector>

namespace {

using TMaker = std::function<std::unique_ptr<TSM_Base>()>;

struct Reader {
  const char* name;
  TMaker make;
};

const std::vector<Reader>& Readers() {
  static const std::vector<Reader> readers = {
      {"char group", [] { return std::make_unique<TSM_CharGroup>(); }},
      {"group manager", [] { return std::make_unique<TSM_CharGroupManager>(); }},
      {"word list", [] { return std::make_unique<TSyntaxKeywords>(); }},
      {"templates", [] { return std::make_unique<TCodeTemplates>(); }},
      {"auto-replace", [] { return std::make_unique<TAutoReplace>(); }},
      {"key controller", [] { return std::make_unique<TKeyboardActionContoller>(); }},
      {"settings", [] { return std::make_unique<TSM_Settings>(); }},
  };
  return readers;
}

[[noreturn]] void Fault(const char* reader, const char* what) {
  std::fprintf(stderr, "%s: %s\n", reader, what);
  std::abort();
}

void ReadPrimitives(const uint8_t* data, size_t size) {
  TStringStream in(String(reinterpret_cast<const char*>(data), size));
  try {
    while (in.GetPosition() < in.GetSize()) {
      switch (ReadByte(in) % 6) {
      case 0:
        ReadWord(in);
        break;
      case 1:
        ReadInt(in);
        break;
      case 2:
        ReadShortString(in);
        break;
      case 3:
        ReadLongString(in);
        break;
      case 4:
        ReadCharSet(in);
        break;
      default:
        ReadByte(in);
        break;
      }
    }
  } catch (const Exception&) {
  }
}

// One reader over the data; when it accepts, its own stream form must read back.
void ReadOne(const Reader& reader, const String& data) {
  std::unique_ptr<TSM_Base> object = reader.make();
  TStringStream in(data);
  try {
    object->LoadFromStream(in);
  } catch (const Exception&) {
    return;
  } catch (...) {
    Fault(reader.name, "an exception that is no Exception");
  }
  try {
    TMemoryStream out;
    object->SaveToStream(out);
    out.SetPosition(0);
    reader.make()->LoadFromStream(out);
    if (out.GetPosition() != out.GetSize()) Fault(reader.name, "what it wrote reads back shorter");
  } catch (const Exception& e) {
    Fault(reader.name, e.Message.c_str());
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReadPrimitives(data, size);
  if (size == 0) return 0;
  const auto& readers = Readers();
  ReadOne(readers[data[0] % readers.size()], String(reinterpret_cast<const char*>(data) + 1, size - 1));
  return 0;
}

#ifndef VELMORA_LIBFUZZER

namespace {

// Valid streams of each reader, with some content, to be damaged.
std::vector<String> Seeds() {
  TSM_Settings settings;
  settings.LanguageName = "SQL";
  TStateSet states;
  states.set(0);
  settings.AddKeywordTable(states, "[^_A-Za-z0-9]", 0, {{"select", 6}, {"from", 6}});
  settings.GetCodeTemplates().AddTemplate("sel", "select", "select |\r\nfrom");
  settings.GetAutoReplace().AddReplacement("teh", "the");
  TSM_StyleRecord style;
  style.Defined = 1;
  style.Hotspot = true;
  settings.SetStyle(4, style);
  settings.SetTokenStyle(6, 4);
  settings.SetEditableStyle(1, {"Keywords", 4});

  TSM_CharGroup group;
  int pos = 1;
  ParseCharGroup("[^a-z]", pos, group);
  TSM_CharGroupManager groups;
  groups.Intern(group);
  groups.Intern(TSM_CharGroup());
  TSyntaxKeywords words;
  words.AddWord("begin", 0, 6, states, group);
  words.AddWord("--", 0, 12, states, TSM_CharGroup());

  std::vector<String> seeds;
  const TSM_Base* objects[] = {&group,
                               &groups,
                               &words,
                               &settings.GetCodeTemplates(),
                               &settings.GetAutoReplace(),
                               &settings.GetKeyController(),
                               &settings};
  for (const TSM_Base* object : objects) {
    TMemoryStream s;
    object->SaveToStream(s);
    seeds.emplace_back(s.GetMemory(), static_cast<size_t>(s.GetSize()));
  }
  return seeds;
}

String Mutate(String data, std::mt19937& rng) {
  const int edits = 1 + static_cast<int>(rng() % 8);
  for (int i = 0; i < edits; ++i) {
    const size_t at = data.empty() ? 0 : rng() % data.size();
    switch (rng() % 5) {
    case 0: // flip a byte
      if (!data.empty()) data[at] = static_cast<char>(rng());
      break;
    case 1: // a length or count turned huge or negative
      if (data.size() >= at + 4)
        for (int b = 0; b < 4; ++b)
          data[at + static_cast<size_t>(b)] = static_cast<char>(b == 3 ? 0x80 | rng() : rng());
      break;
    case 2: // cut short
      data.resize(at);
      break;
    case 3: // bytes dropped from the middle
      data.erase(at, rng() % 16);
      break;
    default: // bytes inserted
      data.insert(at, String(rng() % 16, static_cast<char>(rng())));
      break;
    }
  }
  return data;
}

} // namespace

int main(int argc, char** argv) {
  const long iterations = argc > 1 ? std::atol(argv[1]) : 20000;
  std::mt19937 rng(argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1u);
  const std::vector<String> seeds = Seeds();
  for (long i = 0; i < iterations; ++i) {
    const size_t which = rng() % seeds.size();
    const String damaged = Mutate(seeds[which], rng);
    String input(1, static_cast<char>(which));
    input += damaged;
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
  }
  std::printf("%ld damaged streams read without a fault\n", iterations);
  return 0;
}

#endif
