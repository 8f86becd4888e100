// Feeds damaged patterns and keystrokes to the mask engines. A regular
// expression is compiled and driven by typed characters, steps back, restarts
// and fed texts, with forced literals switched on and off; a picture mask is
// parsed, filled and validated. The compiler may refuse a pattern only with
// its own error (or the conversion error of a number beyond the integer
// range); anything else (a crash, a sanitizer report, another exception, a
// broken invariant) is a fault.
//
// Built with clang's -fsanitize=fuzzer (VELMORA_LIBFUZZER) this is a libFuzzer
// target; otherwise main() runs a bounded loop of mutated valid inputs:
//   mask_fuzz [iterations] [seed]
//
// Input: a flag byte (bit 0 picture mask, bit 1 forced literals, bit 2 case
// insensitive, bit 3 other separators), a byte giving the pattern's share of
// the rest, the pattern, then the keystrokes.

#include "cxRegExpr.h"
#include "cxStandardMask.h"

#include "Locale.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

// Pattern and keystrokes are cut here so that one input stays small work.
constexpr size_t MaxPattern = 1024;
constexpr size_t MaxKeys = 256;

[[noreturn]] void Fault(const char* what) {
  std::fprintf(stderr, "mask_fuzz: %s\n", what);
  std::abort();
}

void Check(bool condition, const char* what) {
  if (!condition) Fault(what);
}

bool CompileSafely(TcxRegExpr& regExpr, const String& pattern) {
  TStringStream source(pattern);
  try {
    regExpr.CompileFromStream(&source);
    return true;
  } catch (const EcxRegExprError& e) {
    Check(e.Errors->GetCount() > 0, "a refused pattern without an error");
    for (int i = 0; i < e.Errors->GetCount(); ++i)
      Check(!e.Errors->GetItem(i).ErrorText().empty(), "an error without a text");
  } catch (const EConvertError&) {
  }
  Check(!regExpr.IsCompiled(), "a refused pattern left compiled");
  return false;
}

// Whether every character of the part is in the whole, in order.
bool IsSubsequence(const String& part, const String& whole) {
  size_t at = 0;
  for (char c : part) {
    at = whole.find(c, at);
    if (at == String::npos) return false;
    ++at;
  }
  return true;
}

void TypeKey(TcxRegExpr& regExpr, uint8_t key, const String& keys, size_t& i) {
  switch (key) {
  case 1:
    regExpr.StepBack();
    break;
  case 2:
    regExpr.RestartAutomaton();
    break;
  case 3:
    regExpr.SetAutoInsertLiterals(!regExpr.GetAutoInsertLiterals());
    break;
  case 4: {
    const String text = keys.substr(i + 1, 8);
    i += text.size();
    Check(IsSubsequence(regExpr.FeedText(text), text), "FeedText gave characters it was not given");
    break;
  }
  default: {
    char c = static_cast<char>(key);
    const bool autoInsert = regExpr.GetAutoInsertLiterals();
    if (regExpr.AcceptChar(c) && !autoInsert) {
      // Without forced literals one step back undoes exactly one character.
      Check(regExpr.StepBack(), "an accepted character could not be stepped back over");
      char again = static_cast<char>(key);
      Check(regExpr.AcceptChar(again) && again == c, "a character stepped back over was refused");
    }
  }
  }
  regExpr.InFinalState();
  regExpr.AtStartState();
}

void DriveRegExpr(uint8_t flags, const String& pattern, const String& keys) {
  TcxRegExpr regExpr;
  int added = 0, deleted = 0;
  regExpr.OnSymbolAdd = [&](char) { ++added; };
  regExpr.OnSymbolDelete = [&] { ++deleted; };
  regExpr.CaseInsensitive = flags & 4;
  regExpr.SetAutoInsertLiterals(flags & 2);
  if (!CompileSafely(regExpr, pattern)) return;
  for (size_t i = 0; i < keys.size(); ++i)
    TypeKey(regExpr, static_cast<uint8_t>(keys[i]), keys, i);
  // A second compiler from the first one's source reads the same tree.
  TcxRegExpr copy;
  copy.CompileFromStream(regExpr.CompiledSource());
  Check(copy.DumpText() == regExpr.DumpText(), "a compile from the compiled source differs");
  while (regExpr.StepBack()) {
  }
}

void DriveStandardMask(const String& mask, const String& keys) {
  TcxStandardMask standard;
  standard.ParseMask(mask);
  const size_t count = static_cast<size_t>(standard.GetCount());
  Check(standard.BlankTemplate().size() == count, "a template not one character per position");
  for (bool keepConverted : {true, false}) {
    String text = keys;
    standard.FillMaskPositions(text, keepConverted);
    Check(text.size() == count, "a filled text not one character per position");
    String blank = standard.BlankTemplate();
    standard.IsTextValid(blank);
    standard.IsTextValid(text);
    standard.ExtractEditValue(text);
    Check(text.size() <= count, "a value longer than the mask");
  }
  String raw = keys;
  standard.IsTextValid(raw);
  standard.ExtractEditValue(raw);
}

void FuzzOne(const uint8_t* data, size_t size) {
  if (size < 2) return;
  const uint8_t flags = data[0];
  const size_t rest = size - 2;
  const size_t patternSize = std::min(rest * data[1] / 255, MaxPattern);
  const String pattern(reinterpret_cast<const char*>(data + 2), patternSize);
  const String keys(reinterpret_cast<const char*>(data + 2 + patternSize),
                    std::min(rest - patternSize, MaxKeys));
  const TFormatSettings saved = FormatSettings;
  if (flags & 8) {
    FormatSettings.DateSeparator = '-';
    FormatSettings.TimeSeparator = '.';
  }
  try {
    if (flags & 1)
      DriveStandardMask(pattern, keys);
    else
      DriveRegExpr(flags, pattern, keys);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mask_fuzz: %s\n", e.what());
    Fault("an unexpected exception");
  }
  FormatSettings = saved;
}

} // namespace

#ifdef VELMORA_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzOne(data, size);
  return 0;
}
#else

namespace {

std::vector<uint8_t> Input(uint8_t flags, const String& pattern, const String& keys) {
  const size_t rest = pattern.size() + keys.size();
  std::vector<uint8_t> data{flags, static_cast<uint8_t>(rest ? (pattern.size() * 255 + rest - 1) / rest : 0)};
  data.insert(data.end(), pattern.begin(), pattern.end());
  data.insert(data.end(), keys.begin(), keys.end());
  return data;
}

// Valid inputs to start from: masks of the kinds the editors use, typed at.
std::vector<std::vector<uint8_t>> Seeds() {
  const String typing = String("12:34\x01\x01"
                               "ab") +
                        '\x04' + "x9-Z" + '\x03' +
                        "5\x01\x02"
                        "(12)";
  std::vector<std::vector<uint8_t>> seeds;
  for (const char* pattern :
       {"\\d\\d:\\d\\d", "'('\\d{3}') '\\d{3}-\\d{4}", "[A-Z]{2,}[0-9]*", "(a?){2,}b", "(ab|a[^b]c)+\\1?",
        "\\w+@\\w+(\\.\\w+){1,3}", "[a - z\\x41-\\x5A]'it''s'.", "((a)b\\2){0,4}|x*y+z?", "(\\d/)+\\s\\S"})
    for (uint8_t flags : {0, 2, 6, 10})
      seeds.push_back(Input(flags, pattern, typing));
  for (const char* mask :
       {"!999-99;0;_", "(000) 000-0000;1;*", ">LL<ll<>aA#9", "00/00/0000 90:00", "\\L\\\\c;1"})
    seeds.push_back(Input(1, mask, "12ab-+ _*Xyz/:"));
  return seeds;
}

} // namespace

int main(int argc, char** argv) {
  long iterations = argc > 1 ? std::atol(argv[1]) : 200000;
  unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1;
  std::mt19937 rng(seed);
  const std::vector<std::vector<uint8_t>> seeds = Seeds();
  const String special = "()[]{}*+?|.\\/:'^-,0123456789dDwWsSx ";
  for (long i = 0; i < iterations; ++i) {
    std::vector<uint8_t> data = seeds[rng() % seeds.size()];
    for (int k = 1 + static_cast<int>(rng() % 6); k > 0; --k) {
      const size_t at = 2 + rng() % (data.size() - 2);
      switch (rng() % 5) {
      case 0:
        data[at] = static_cast<uint8_t>(special[rng() % special.size()]);
        break; // a pattern character
      case 1:
        data.insert(data.begin() + static_cast<long>(at),
                    static_cast<uint8_t>(special[rng() % special.size()]));
        break;
      case 2:
        if (data.size() > 3) data.erase(data.begin() + static_cast<long>(at));
        break;
      case 3:
        data[at] = static_cast<uint8_t>(rng());
        break;
      default:
        data[rng() % 2] = static_cast<uint8_t>(rng()); // flags or the split
      }
    }
    FuzzOne(data.data(), data.size());
  }
  std::printf("mask_fuzz: %ld inputs, no fault\n", iterations);
  return 0;
}
#endif
