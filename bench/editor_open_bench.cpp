// Opens a generated SQL dump in the editor model and highlights it whole, as
// the script window does after loading a file, against reading the same file
// into memory in the same run:
//   editor_open_bench [megabytes]   (50 by default; goal: under 2 s)

#include "EditorBench.h"
#include "SqlDump.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
  size_t megabytes = argc > 1 ? static_cast<size_t>(std::atoi(argv[1])) : 50;
  String path = (std::filesystem::temp_directory_path() / "velmora-editor-open-bench.sql").string();
  try {
    {
      String text = GeneratedSqlDump(megabytes << 20);
      std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    auto start = std::chrono::steady_clock::now();
    String memory;
    {
      TFileStream file(path, fmOpenRead | fmShareDenyNone);
      memory.resize(static_cast<size_t>(file.GetSize()));
      file.Read(memory.data(), static_cast<int64_t>(memory.size()));
    }
    double floor = SecondsSince(start);

    TBenchEditor editor;
    start = std::chrono::steady_clock::now();
    editor.Model.LoadTextFile(path);
    editor.Model.NotifyChange();
    double open = SecondsSince(start);

    int untokenised = 0;
    for (TRowRecord* row = editor.Model.GetFirstRow(); row; row = row->Next)
      untokenised += row->Tokens ? 0 : 1;
    double mb = static_cast<double>(memory.size()) / (1 << 20);
    std::printf("text: %.1f MB in %d rows, %d rows without token bytes\n", mb, editor.Model.GetRowCount(),
                untokenised);
    std::printf("reading the file into memory: %.3f s\n", floor);
    std::printf("LoadTextFile and full highlight: %.3f s (%.1f MB/s)\n", open, mb / open);
    std::printf("ratio: %.1f\n", open / floor);
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.Message.c_str());
    std::filesystem::remove(path);
    return 1;
  }
  std::filesystem::remove(path);
  return 0;
}
