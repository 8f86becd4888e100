// The editor's window helpers and module start-up: fonts, flat scroll bars,
// transparent bitmaps, fill text, the settings' fonts and glyphs, the
// hyperlink cursor, OLE and the clipboard format of HTML.
#include "SyntaxMemo.h"

#include "Printers.h"
#include "SynParse.h"

#include "SysUtils.h"
#include "WinApi.h"

#include <commctrl.h>
#include <ole2.h>

namespace {

struct TFlatApi {
  decltype(&InitializeFlatSB) Initialize = nullptr;
  decltype(&FlatSB_GetScrollPos) GetScrollPos = nullptr;
  decltype(&FlatSB_GetScrollProp) GetScrollProp = nullptr;
  decltype(&FlatSB_SetScrollInfo) SetScrollInfo = nullptr;
  decltype(&FlatSB_SetScrollProp) SetScrollProp = nullptr;
};
TFlatApi FlatApi;
bool FlatAvailable = false;

template <typename F> void Bind(HMODULE module, F& target, const char* name) {
  target = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

bool UseFlat(bool useFlat) {
  return FlatAvailable && useFlat;
}

// The module's start-up, run once before any editor exists.
struct TModuleStart {
  String Version = String("<TSyntaxMemo>:") + SyntaxMemoVersion;
  UINT HtmlFormat = 0; // for the HTML the clipboard writer puts beside text
  bool OleStarted = false;

  TModuleStart() {
    FlatAvailable = LoadFlatScrollBarApi();
    DefaultKeyController();
    SetSettingsFontsFactory(
        []() -> std::unique_ptr<TSM_SettingsFonts> { return std::make_unique<TSM_WinFonts>(); });
    SetEditorRefresh([](TCustomSyntaxMemo* editor) { editor->SetActiveParser(editor->GetActiveParser()); });
    HtmlFormat = RegisterClipboardFormatA("HTML Format");
    OleStarted = SUCCEEDED(OleInitialize(nullptr));
  }
  ~TModuleStart() {
    if (OleStarted) OleUninitialize();
  }
};
TModuleStart& ModuleStart() {
  static TModuleStart start;
  return start;
}
// Made with the other static objects of the program, before any settings.
const TModuleStart& StartNow = ModuleStart();

// The context fonts are made for: the printer's for printer fonts, else
// the screen's (released by ReleaseReferenceDC).
HDC ReferenceDC(bool printer) {
  return printer ? Printer()->GetCanvas()->GetHandle() : GetDC(nullptr);
}

void ReleaseReferenceDC(bool printer, HDC dc) {
  if (!printer) ReleaseDC(nullptr, dc);
}

// A glyph of show-all-characters: one character of a font as tall as the
// editor font, inverted so that SRCINVERT draws it in the text's colours.
HBITMAP MakeGlyph(const TSM_Settings& settings, uint8_t charSet, const char* face, char ch) {
  HDC screen = GetDC(nullptr);
  HDC reference = ReferenceDC(settings.PrinterFonts);
  LOGFONTA lf{};
  GetObjectA(GetStockObject(ANSI_VAR_FONT), sizeof lf, &lf);
  lf.lfHeight = -MulDiv(settings.FontSize, GetDeviceCaps(reference, LOGPIXELSY), 72);
  ReleaseReferenceDC(settings.PrinterFonts, reference);
  if (face) {
    lf.lfCharSet = charSet;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
  }
  HFONT font = CreateFontIndirectA(&lf);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SIZE size{};
  const char four[4] = {ch, ch, ch, ch};
  GetTextExtentPoint32A(dc, four, 4, &size);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  const int width = size.cx / 4;
  const int height = tm.tmHeight + tm.tmExternalLeading + 11;
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width > 0 ? width : 1, height);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  RECT r{0, 0, width + 1, static_cast<LONG>(tm.tmHeight + tm.tmExternalLeading + 2)};
  SetBkColor(dc, RGB(255, 255, 255));
  SetTextColor(dc, RGB(0, 0, 0));
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, &ch, 1, nullptr);
  BitBlt(dc, 0, 0, width, height, nullptr, 0, 0, DSTINVERT);
  SelectObject(dc, oldBitmap);
  SelectObject(dc, oldFont);
  DeleteDC(dc);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

} // namespace

const char* SyntaxMemoVersionString() {
  return ModuleStart().Version.c_str();
}

HFONT CreateEditorFont(const String& face, int size, uint8_t style, bool printer, uint8_t charSet) {
  HDC reference = ReferenceDC(printer);
  LOGFONTA lf{};
  lf.lfHeight = -MulDiv(size, GetDeviceCaps(reference, LOGPIXELSY), 72);
  ReleaseReferenceDC(printer, reference);
  lf.lfWeight = (style & fsBoldBit) ? FW_BOLD : 0;
  lf.lfItalic = (style & fsItalicBit) ? 1 : 0;
  lf.lfUnderline = (style & fsUnderlineBit) ? 1 : 0;
  lf.lfStrikeOut = (style & fsStrikeOutBit) ? 1 : 0;
  lf.lfCharSet = charSet;
  lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  return CreateFontIndirectA(&lf);
}

bool LoadFlatScrollBarApi() {
  HMODULE module = GetModuleHandleA("ComCtl32.dll");
  if (!module || !GetProcAddress(module, "InitializeFlatSB")) return false;
  Bind(module, FlatApi.Initialize, "InitializeFlatSB");
  Bind(module, FlatApi.GetScrollPos, "FlatSB_GetScrollPos");
  Bind(module, FlatApi.GetScrollProp, "FlatSB_GetScrollProp");
  Bind(module, FlatApi.SetScrollInfo, "FlatSB_SetScrollInfo");
  Bind(module, FlatApi.SetScrollProp, "FlatSB_SetScrollProp");
  return FlatApi.GetScrollPos && FlatApi.GetScrollProp && FlatApi.SetScrollInfo && FlatApi.SetScrollProp;
}

bool FlatScrollBarsAvailable() {
  return FlatAvailable;
}

void InitializeFlatScrollBars(HWND wnd, int mode) {
  FlatApi.Initialize(wnd);
  FlatApi.SetScrollProp(wnd, WSB_PROP_HSTYLE, mode, FALSE);
  FlatApi.SetScrollProp(wnd, WSB_PROP_VSTYLE, mode, FALSE);
}

int FlatScrollProp(HWND wnd, int index) {
  INT value = 0;
  FlatApi.GetScrollProp(wnd, index, &value);
  return value;
}

int SMSetScrollInfo(HWND wnd, int bar, const SCROLLINFO& info, bool redraw, bool useFlat) {
  SCROLLINFO copy = info;
  if (UseFlat(useFlat)) return FlatApi.SetScrollInfo(wnd, bar, &copy, redraw);
  return SetScrollInfo(wnd, bar, &copy, redraw);
}

int SMGetScrollPos(HWND wnd, int bar, bool useFlat) {
  if (UseFlat(useFlat)) return FlatApi.GetScrollPos(wnd, bar);
  return GetScrollPos(wnd, bar);
}

bool SMScrollBarShown(HWND wnd, int bar, bool useFlat) {
  const LONG_PTR style =
      UseFlat(useFlat) ? FlatScrollProp(wnd, WSB_PROP_WINSTYLE) : GetWindowLongPtrA(wnd, GWL_STYLE);
  return (style & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

void DrawTransparentBitmap(HDC dc, int x, int y, TColor transparent, HBITMAP bitmap) {
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  const int w = info.bmWidth;
  const int h = info.bmHeight;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ oldSource = SelectObject(source, bitmap);
  HDC copy = CreateCompatibleDC(dc);
  HDC mask = CreateCompatibleDC(dc);
  HDC inverse = CreateCompatibleDC(dc);
  HDC work = CreateCompatibleDC(dc);
  HBITMAP maskBitmap = CreateBitmap(w, h, 1, 1, nullptr);
  HBITMAP inverseBitmap = CreateBitmap(w, h, 1, 1, nullptr);
  HBITMAP workBitmap = CreateCompatibleBitmap(dc, w, h);
  HBITMAP copyBitmap = CreateCompatibleBitmap(dc, w, h);
  HGDIOBJ oldMask = SelectObject(mask, maskBitmap);
  HGDIOBJ oldInverse = SelectObject(inverse, inverseBitmap);
  HGDIOBJ oldWork = SelectObject(work, workBitmap);
  HGDIOBJ oldCopy = SelectObject(copy, copyBitmap);
  SetMapMode(source, GetMapMode(dc));
  SetMapMode(copy, GetMapMode(dc));
  BitBlt(copy, 0, 0, w, h, source, 0, 0, SRCCOPY);
  const COLORREF oldBack = SetBkColor(copy, ColorToRGB(transparent) | 0x02000000);
  BitBlt(mask, 0, 0, w, h, copy, 0, 0, SRCCOPY);
  SetBkColor(copy, oldBack);
  BitBlt(inverse, 0, 0, w, h, mask, 0, 0, NOTSRCCOPY);
  BitBlt(work, 0, 0, w, h, dc, x, y, SRCCOPY);
  StretchBlt(work, 0, 0, w, h, mask, 0, 0, w, h, SRCAND);
  BitBlt(copy, 0, 0, w, h, inverse, 0, 0, SRCAND);
  StretchBlt(work, 0, 0, w, h, copy, 0, 0, w, h, SRCPAINT);
  BitBlt(dc, x, y, w, h, work, 0, 0, SRCCOPY);
  SelectObject(copy, oldCopy);
  SelectObject(work, oldWork);
  SelectObject(inverse, oldInverse);
  SelectObject(mask, oldMask);
  SelectObject(source, oldSource);
  for (HBITMAP b : {maskBitmap, inverseBitmap, workBitmap, copyBitmap})
    DeleteObject(b);
  for (HDC d : {copy, mask, inverse, work, source})
    DeleteDC(d);
}

String MakeFillText(TCustomSyntaxMemo& editor, int fromColumn, int toColumn, bool keep) {
  TSyntaxMemoModel& model = editor.GetModel();
  String fill;
  int column = fromColumn;
  if (model.HasOption(smoUseTAB) && model.HasOption(smoSmartFill)) {
    for (int next = model.NextTabStop(column); next <= toColumn && next > column;
         next = model.NextTabStop(column)) {
      fill += '\t';
      column = next;
    }
  }
  if (toColumn > column) fill.append(static_cast<size_t>(toColumn - column), ' ');
  if (keep) return fill;
  model.ReplaceSelText(fill.c_str(), true);
  return String();
}

// --- Settings fonts ----------------------------------------------------------

TSM_WinFonts::TSM_WinFonts() = default;

TSM_WinFonts::~TSM_WinFonts() {
  for (HFONT& font : FFonts) {
    if (font) DeleteObject(font);
    font = nullptr;
  }
  FreeGlyphs();
}

void TSM_WinFonts::FreeGlyphs() {
  for (HBITMAP& glyph : FGlyphs) {
    if (glyph) DeleteObject(glyph);
    glyph = nullptr;
  }
}

void TSM_WinFonts::CreateStyleFonts(TSM_Settings& settings) {
  for (int n = 0; n < 256; ++n) {
    const TSM_StyleRecord style = settings.GetStyle(static_cast<uint8_t>(n));
    if (!style.Defined) continue;
    if (FFonts[n]) DeleteObject(FFonts[n]);
    FFonts[n] = CreateEditorFont(settings.FontName, settings.FontSize, style.FontStyle, settings.PrinterFonts,
                                 settings.FontCharSet);
  }
  FreeGlyphs();
  if (!(settings.Options & SyntaxMemoOptionBit(smoShowAllChars))) return;
  FGlyphs[0] = MakeGlyph(settings, 0, nullptr, static_cast<char>(182));
  FGlyphs[1] = MakeGlyph(settings, SYMBOL_CHARSET, "Symbol", static_cast<char>(174));
  FGlyphs[2] = MakeGlyph(settings, SYMBOL_CHARSET, "Symbol", static_cast<char>(191));
}

void TSM_WinFonts::FreeStyleFonts(TSM_Settings&) {
  for (HFONT& font : FFonts) {
    if (font) DeleteObject(font);
    font = nullptr;
  }
}

TFont& TSM_WinFonts::GutterFont(const TSM_Settings& settings) {
  if (!FGutterFont) FGutterFont = std::make_unique<TFont>();
  // Set only what differs: every change makes the font's handle again.
  const TSM_FontSpec& spec = settings.GutterFont;
  TFont& font = *FGutterFont;
  if (font.GetName() != spec.Name) font.SetName(spec.Name);
  if (font.GetSize() != spec.Size) font.SetSize(spec.Size);
  if (font.GetColor() != spec.Color) font.SetColor(spec.Color);
  if (font.GetStyle().Bits() != spec.Style) font.SetStyle(TFontStyles::FromBits(spec.Style));
  return font;
}

TSM_WinFonts* WinFonts(const TSM_Settings& settings) {
  return static_cast<TSM_WinFonts*>(settings.GetFonts());
}

void LoadHyperlinkCursor() {
  static const bool loaded = [] {
    HCURSOR cursor = LoadCursorA(GetModuleHandleA(nullptr), "SEM_HYPERHAND");
    if (cursor && Screen) Screen->SetCursors(crSyntaxMemoHyperlink, cursor);
    return cursor != nullptr && Screen != nullptr;
  }();
  (void)loaded;
}
