// synrulec SCRIPT OUTPUT: compiles a highlighting rule script into the
// stored form of a parser's language, as a form keeps it for a parser.
#include "SynParse.h"

#include <cstdio>

namespace {

// The lexer ends lines at CR; a script checked out with bare LF line ends
// must still count its lines.
String WithCrLf(const String& text) {
  String out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

String Directory(const String& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == String::npos ? String(".") : path.substr(0, slash);
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: synrulec SCRIPT OUTPUT\n");
    return 2;
  }
  try {
    TMemoryStream raw;
    raw.LoadFromFile(argv[1]);
    TStringStream script(WithCrLf(String(raw.GetMemory(), static_cast<size_t>(raw.GetSize()))));
    TSyntaxMemoParser parser(nullptr);
    parser.SetName("SyntaxMemoParser1");
    parser.CompileScript(script, Directory(argv[1]));
    TMemoryStream out;
    parser.WriteParserData(out);
    out.SaveToFile(argv[2]);
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s: %s\n", argv[1], e.Message.c_str());
    std::remove(argv[2]);
    return 1;
  }
  return 0;
}
