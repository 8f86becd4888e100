// Typing latency in the editor model over a highlighted 1 MB SQL dump: one
// letter at a time at several places, each keystroke timed with its rescan;
// counted per keystroke are the rows the rescan read (from the extents of the
// tokens it saw) and the rows it rewrote and flagged for drawing:
//   editor_typing_bench [keystrokes per place]   (200 by default)
// Goal: an ordinary keystroke rescans one row.

#include "EditorBench.h"
#include "SqlDump.h"
#include "SyntaxEd_rescan.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct TPlace {
  const char* Name;
  String Marker; // the keystrokes go just after the first occurrence
  int Offset;    // from the start of the marker
};

// The stretch of text the rescan read, from the extents of the tokens it saw.
struct TScanned {
  int From = 0;
  int To = -1;
};

int RowsRead(TSyntaxMemoModel& model, const TScanned& scanned) {
  int rows = 0;
  int start = 0;
  for (TRowRecord* row = model.GetFirstRow(); row && start < scanned.To; row = row->Next) {
    rows += start + row->Length > scanned.From ? 1 : 0;
    start += row->Length;
  }
  return rows;
}

int RepaintedRows(TSyntaxMemoModel& model) {
  int rows = 0;
  for (TRowRecord* row = model.GetFirstRow(); row; row = row->Next)
    rows += (row->Flags & rfRepaint) ? 1 : 0;
  return rows;
}

void ClearRepaint(TSyntaxMemoModel& model) {
  for (TRowRecord* row = model.GetFirstRow(); row; row = row->Next)
    row->Flags &= ~rfRepaint;
}

template <class T> T Median(std::vector<T> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
  int keystrokes = argc > 1 ? std::atoi(argv[1]) : 200;
  try {
    TBenchEditor editor;
    TSyntaxMemoModel& model = editor.Model;
    String text = GeneratedSqlDump(1 << 20);
    TScanned scanned;
    // Every place starts from the text as generated, so that the rows one
    // place's typing re-broke do not count at the next.
    auto load = [&] {
      TStringStream stream(text);
      model.LoadTextFromStream(stream);
      model.NotifyChange();
      model.GetRescanner().OnTokenSeen = [&](TObject*, int&, int start, int end) {
        if (start < 0) return;
        if (scanned.To < 0) scanned.From = start;
        scanned.From = std::min(scanned.From, start);
        scanned.To = std::max(scanned.To, end);
      };
    };
    load();
    std::printf("text: %.1f MB in %d rows\n", static_cast<double>(text.size()) / (1 << 20),
                model.GetRowCount());

    const TPlace places[] = {
        {"inside a statement", "CREATE TABLE `", 14},
        {"inside a string", "'code-", 3},
        {"before a block comment", ";\r/*!40101", 2},
        {"inside an INSERT row", "VALUES (", 8},
    };
    for (const TPlace& place : places) {
      load();
      size_t at = text.find(place.Marker, text.size() / 2);
      if (at == String::npos) continue;
      int caret = static_cast<int>(at) + place.Offset;
      model.SetSelection(caret, caret, true);
      model.NotifyChange();
      std::vector<double> micros;
      std::vector<int> read;
      std::vector<int> rows;
      for (int k = 0; k < keystrokes; ++k) {
        ClearRepaint(model);
        scanned = TScanned();
        char letter[2] = {static_cast<char>('a' + k % 26), 0};
        auto start = std::chrono::steady_clock::now();
        model.ReplaceSelText(letter);
        micros.push_back(SecondsSince(start) * 1e6);
        read.push_back(RowsRead(model, scanned));
        rows.push_back(RepaintedRows(model));
      }
      std::printf("%-24s rows read by the rescan: median %d, max %d; rows rewritten and redrawn: median %d, "
                  "max %d; time per keystroke: median %.1f us, max %.1f us\n",
                  place.Name, Median(read), *std::max_element(read.begin(), read.end()), Median(rows),
                  *std::max_element(rows.begin(), rows.end()), Median(micros),
                  *std::max_element(micros.begin(), micros.end()));
    }
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.Message.c_str());
    return 1;
  }
  return 0;
}
