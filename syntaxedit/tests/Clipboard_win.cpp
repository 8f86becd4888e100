// The editor and the Windows clipboard: text and RTF out, text and HTML in,
// the RTF read back by the system's rich edit control.
#include "Clipbrd.h"
#include "EditorWindowFixture.h"
#include "SyntaxMemo.h"

#include <gtest/gtest.h>

#include <memory>

#include <richedit.h>

namespace {

using guitest::PumpFor;
using guitest::PumpUntil;

class EditorClipboard : public EditorWindowTest {
protected:
  void SetUp() override {
    EditorWindowTest::SetUp();
    Clipboard()->Clear();
  }

  UINT Rtf() { return RegisterClipboardFormatName("Rich Text Format"); }
  UINT Html() { return RegisterClipboardFormatName("HTML Format"); }
  // Only HTML on the clipboard.
  void OfferHtml(const String& html) {
    Clipboard()->Clear();
    Clipboard()->SetBuffer(Html(), html.c_str(), html.size() + 1);
  }
};

const String kClipHtml = "Version:0.9\r\nStartHTML:00000097\r\nEndHTML:00000170\r\n"
                         "StartFragment:00000131\r\nEndFragment:00000152\r\n"
                         "<html><body>\r\n<!--StartFragment-->a &lt; b<!--EndFragment-->\r\n</body></html>";

} // namespace

TEST_F(EditorClipboard, CopyPutsTextAndRtfThatReadsBack) {
  SetText("select a<b\r\n{x}");
  Memo->GetModel().SetSelection(7, 13, true);
  Memo->Perform(WM_COPY, 0, 0);
  EXPECT_EQ(Clipboard()->GetBuffer(CF_TEXT), String("a<b\r\n{x", 8));
  const String rtf = Clipboard()->GetBuffer(Rtf());
  ASSERT_EQ(rtf.rfind("{\\rtf1 ", 0), 0u) << rtf;
  EXPECT_NE(rtf.find("a<b\\line \r\n\\{x\r\n}}"), String::npos) << rtf;

  // The system's rich edit control reads the RTF as the selected text.
  ASSERT_TRUE(LoadLibraryA("riched20.dll"));
  HWND rich = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | ES_MULTILINE, 0, 0, 200, 100,
                              Form->GetHandle(), nullptr, nullptr, nullptr);
  ASSERT_TRUE(rich);
  SETTEXTEX how{ST_DEFAULT, CP_ACP};
  SendMessageA(rich, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(rtf.c_str()));
  char read[64] = {};
  GETTEXTEX get{sizeof(read), GT_USECRLF, CP_ACP, nullptr, nullptr};
  SendMessageA(rich, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(read));
  // The line break inside the paragraph reads as one character, which the
  // control chooses.
  const String back = read;
  ASSERT_EQ(back.size(), 6u) << back;
  EXPECT_EQ(back.substr(0, 3), "a<b");
  EXPECT_EQ(back.substr(4), "{x");
  DestroyWindow(rich);
}

TEST_F(EditorClipboard, NoCopyFormatsOnlyEmptyTheClipboard) {
  SetText("abc");
  Clipboard()->SetAsText("old");
  Memo->ClipCopyFormats = 0;
  Memo->SelectAll();
  Memo->Perform(WM_COPY, 0, 0);
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_FALSE(Clipboard()->HasFormat(Rtf()));
}

TEST_F(EditorClipboard, CutAndPasteRoundTripAndUndoInOneStep) {
  SetText("one two three");
  Memo->GetModel().SetSelection(4, 8, true);
  Memo->Perform(WM_CUT, 0, 0);
  EXPECT_EQ(Text(), "one three");
  EXPECT_EQ(Clipboard()->GetAsText(), "two ");
  Memo->GetModel().SetSelection(9, 9, true);
  Memo->Perform(WM_PASTE, 0, 0);
  EXPECT_EQ(Text(), "one threetwo ");
  Memo->GetModel().Undo();
  EXPECT_EQ(Text(), "one three");
  Memo->GetModel().Undo();
  EXPECT_EQ(Text(), "one two three");
}

TEST_F(EditorClipboard, ReadOnlyCutsAndPastesNothingButCopies) {
  SetText("keep");
  Memo->SetReadOnly(true);
  Memo->SelectAll();
  Memo->Perform(WM_CUT, 0, 0);
  EXPECT_EQ(Text(), "keep");
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
  Memo->Perform(WM_COPY, 0, 0);
  EXPECT_EQ(Clipboard()->GetAsText(), "keep");
  Clipboard()->SetAsText("new");
  Memo->Perform(WM_PASTE, 0, 0);
  EXPECT_EQ(Text(), "keep");
}

TEST_F(EditorClipboard, PasteOfHtmlAsTheDropHandlerWants) {
  struct Case {
    const char* name;
    std::function<void(TSourceTypes&)> handler;
    String want;
  } cases[] = {
      {"untouched", nullptr,
       "x" +
           [] {
             String full = kClipHtml;
             for (size_t at = full.find("\r\n"); at != String::npos; at = full.find("\r\n", at))
               full.erase(at + 1, 1);
             return full;
           }()},
      {"fragment",
       [](TSourceTypes& t) {
         t.reset(stText);
         t.set(stExtractHTML);
       },
       "xa &lt; b"},
      {"markup", [](TSourceTypes& t) { t.set(stFullHTML); },
       "x<html><body>\r<!--StartFragment-->a &lt; b"
       "<!--EndFragment-->\r</body></html>"},
      {"refused", [](TSourceTypes& t) { t.reset(stHTML); }, "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetText("x");
    Memo->GetModel().SetSelection(1, 1, true);
    TSourceTypes seen;
    Memo->OnDataDrop = [&](TObject* sender, TSourceTypes& types) {
      EXPECT_EQ(sender, Memo);
      seen = types;
      if (c.handler) c.handler(types);
    };
    OfferHtml(kClipHtml);
    Memo->Perform(WM_PASTE, 0, 0);
    EXPECT_EQ(Text(), c.want);
    EXPECT_TRUE(seen.test(stHTML) && seen.test(stPaste) && !seen.test(stText));
  }
}
