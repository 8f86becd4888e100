// The editor control: construction and lifetime, the window, its properties
// and the window procedure that carries the editor's message protocol.
#include "SyntaxMemo.h"

#include "Clipbrd.h"
#include "Printers.h"
#include "SynParse.h"
#include "SysUtils.h"
#include "WinApi.h"

#include <algorithm>

#include <commctrl.h>
#include <shellapi.h>

HBITMAP LoadResourceBitmap(const char* name) {
  auto bitmap = static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) throw EResNotFound(Format("Resource %s not found", name));
  return bitmap;
}

namespace {

constexpr int kGutterImageWidth = 15;
constexpr int kGutterImageHeight = 16;
// The rich edit control's question whether the clipboard can be pasted.
constexpr UINT EM_CANPASTE = WM_USER + 50;

// Measures with the editor's fonts on a memory context of the screen, or
// on the printer while a job prints.
class TGdiMeasurer : public TTextMeasurer {
public:
  explicit TGdiMeasurer(TCustomSyntaxMemo& editor)
      : FEditor(editor), FScreenDC(CreateCompatibleDC(nullptr)) {}
  ~TGdiMeasurer() override { DeleteDC(FScreenDC); }

  TEditorFontMetrics GetMetrics() override {
    TEditorFontMetrics m;
    if (!FEditor.GetParent()) return m;
    const HDC dc = DC();
    TFont* font = FEditor.GetFont();
    LOGFONTA lf{};
    GetObjectA(font->GetHandle(), sizeof lf, &lf);
    if (FEditor.GetPrinting()) lf.lfHeight = -MulDiv(font->GetSize(), GetDeviceCaps(dc, LOGPIXELSY), 72);
    HFONT plain = CreateFontIndirectA(&lf);
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    HFONT boldItalic = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, boldItalic);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    m.ExternalLeading = tm.tmExternalLeading + 1;
    m.FontHeight = tm.tmHeight > 0 ? tm.tmHeight : 17;
    m.AveCharWidth = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 7;
    m.FixedPitch = Width(dc, "i") == Width(dc, "W");
    SelectObject(dc, plain);
    DeleteObject(boldItalic);
    if (m.FixedPitch) {
      m.FixedCharWidth = Width(dc, "W");
      GetTextMetricsA(dc, &tm);
      m.AveCharWidth = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 7;
    }
    SelectObject(dc, old);
    DeleteObject(plain);
    return m;
  }

  int TextWidth(const char* text, int count, uint8_t style) override {
    const HDC dc = DC();
    HFONT font = StyleFont(style);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text, count, &size);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    return size.cx + tm.tmOverhang;
  }

private:
  HDC DC() const { return FEditor.GetPrinting() ? Printer()->GetCanvas()->GetHandle() : FScreenDC; }
  static int Width(HDC dc, const char* s) {
    SIZE size{};
    GetTextExtentPoint32A(dc, s, 1, &size);
    return size.cx;
  }
  HFONT StyleFont(uint8_t style) {
    const TSM_Settings& settings = FEditor.GetModel().GetSettings();
    TSM_WinFonts* fonts = WinFonts(settings);
    HFONT font = fonts && (settings.Options & SyntaxMemoOptionBit(smoSyntaxHighlight))
                     ? fonts->StyleFont(style)
                     : nullptr;
    if (!font && fonts) font = fonts->StyleFont(0);
    return font ? font : FEditor.GetFont()->GetHandle();
  }

  TCustomSyntaxMemo& FEditor;
  HDC FScreenDC;
};

int FlatMode(TFlatScrollStyle style) {
  switch (style) {
  case fssEncarta:
    return FSB_ENCARTA_MODE;
  case fssFLAT:
    return FSB_FLAT_MODE;
  default:
    return FSB_REGULAR_MODE;
  }
}

} // namespace

// --- Construction and lifetime -----------------------------------------------

TCustomSyntaxMemo::TCustomSyntaxMemo(TComponent* AOwner)
    : TCustomControl(AOwner), FModel(std::make_unique<TSyntaxMemoModel>(this)), OnChange(FModel->OnChange) {
  LoadHyperlinkCursor();
  FModel->Sender = this;
  ControlStyle =
      TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks, csReplicatable};
  FCaretControl = std::make_unique<TSM_CaretControl>(this);
  FMeasurer = std::make_unique<TGdiMeasurer>(*this);
  FModel->SetMeasurer(FMeasurer.get());
  FModel->SetHost(this);
  FGutterStrip.reset(LoadResourceBitmap("SEM_GUTTER"));
  HDC screen = GetDC(nullptr);
  FScratchImage.reset(CreateCompatibleBitmap(screen, kGutterImageWidth, kGutterImageHeight));
  ReleaseDC(nullptr, screen);
  FWrappedGlyph.reset(LoadResourceBitmap("SEM_WRAPPED"));
  FLines = std::make_unique<TSyntaxMemoStrings>(*FModel);
  FLines->OnUpdateEnded = [this] {
    Perform(CM_SHOWINGCHANGED, 0, 0);
    Refresh();
  };
  SetTabStop(true);
  FModel->ClearUndo();
  FDoubleClickTime = GetDoubleClickTime();
  FLastClickTick = GetTickCount();
  for (int key : {8, 33, 34, 35, 36, 37, 38, 39, 40})
    FNavigationKeys[key] = true;
  GetFont()->SetName("Courier New");
  GetFont()->SetSize(10);
  SetBounds(0, 0, 185, 89);
}

TCustomSyntaxMemo::~TCustomSyntaxMemo() {
  SetDestroying();
  CloseTemplatePopup();
  FreeDropTarget();
  if (HandleAllocated()) DestroyHandle();
  FModel->ClearUndo();
  FModel->SetHost(nullptr);
  if (FAttachedSettings) FAttachedSettings->DetachEditor(this);
  for (int slot = 1; slot <= TSyntaxMemoModel::ParserSlots; ++slot)
    if (GetParser(slot)) GetParser(slot)->RemoveEditor(this);
  FModel.reset();
  FLines.reset();
  FScratchImage.reset();
  FWrappedGlyph.reset();
  FCaretControl.reset();
}

void TCustomSyntaxMemo::CreateParams(TCreateParams& Params) {
  FCreatingWindow = true;
  TCustomControl::CreateParams(Params);
  if (FBorderStyle == bsSingle) Params.Style |= WS_BORDER;
  Params.Style |= 0x000F;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  Params.Caption.clear();
  if (Ctl3D && FBorderStyle == bsSingle) {
    Params.Style &= ~WS_BORDER;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
  }
}

void TCustomSyntaxMemo::CreateWnd() {
  TCustomControl::CreateWnd();
  if (FlatScrollBarsAvailable() && FFlatScrollBars)
    InitializeFlatScrollBars(FHandle, FlatMode(FFlatScrollBarStyle));
  FDropWindow = FHandle;
  RegisterDropTarget();
  DragAcceptFiles(FHandle, FModel->HasOption(smoProcessDroppedFiles));
  FCreatingWindow = true;
  if (FFirstCreation) {
    FFirstCreation = false;
    FModel->ComputeMetrics();
    FModel->GetSettings().RefreshFonts();
  }
  FCreatingWindow = false;
}

void TCustomSyntaxMemo::Loaded() {
  TCustomControl::Loaded();
  FModel->LayoutChanged = true;
  Perform(WM_PAINT, 0, 0);
  FModel->SetModified(false);
  Invalidate();
}

void TCustomSyntaxMemo::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove || !FModel) return;
  for (int slot = 1; slot <= TSyntaxMemoModel::ParserSlots; ++slot)
    if (GetParser(slot) == AComponent) FModel->AttachParser(slot, nullptr);
}

HBITMAP TCustomSyntaxMemo::GutterImage(int k) {
  HDC target = CreateCompatibleDC(nullptr);
  HDC source = CreateCompatibleDC(nullptr);
  HGDIOBJ oldTarget = SelectObject(target, FScratchImage.get());
  HGDIOBJ oldSource = SelectObject(source, FGutterStrip.get());
  BitBlt(target, 0, 0, kGutterImageWidth, kGutterImageHeight, source, k * kGutterImageWidth, 0, SRCCOPY);
  SelectObject(source, oldSource);
  SelectObject(target, oldTarget);
  DeleteDC(source);
  DeleteDC(target);
  return FScratchImage.get();
}

// --- Properties ----------------------------------------------------------------

void TCustomSyntaxMemo::SetBorderStyle(TBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  RecreateWnd();
}

void TCustomSyntaxMemo::SetScrollBars(TScrollStyle value) {
  if (value == FScrollBars) return;
  FScrollBars = value;
  RecreateWnd();
}

void TCustomSyntaxMemo::SetFlatScrollBars(bool value) {
  if (!FlatScrollBarsAvailable() || value == FFlatScrollBars) return;
  FFlatScrollBars = value;
  RecreateWnd();
}

void TCustomSyntaxMemo::SetFlatScrollBarStyle(TFlatScrollStyle value) {
  if (!FlatScrollBarsAvailable() || value == FFlatScrollBarStyle) return;
  FFlatScrollBarStyle = value;
  if (FFlatScrollBars) RecreateWnd();
}

void TCustomSyntaxMemo::SetReadOnly(bool value) {
  FModel->ReadOnly = value;
  if (FReadOnlyColouring) Invalidate();
}

void TCustomSyntaxMemo::SetShowFocusLine(bool value) {
  FModel->ShowFocusLine = value;
  Invalidate();
}

void TCustomSyntaxMemo::SetOptions(uint32_t options) {
  Perform(SM_OPTIONS, 1, static_cast<LPARAM>(options));
  UpdateScrollBars();
}

namespace {
// Settings setters: a changed value, then the settings applied again.
template <typename T> bool Store(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}
} // namespace

void TCustomSyntaxMemo::SetGutterColor(TColor value) {
  if (!Store(FModel->GetSettings().GutterColor, value)) return;
  FModel->LayoutChanged = true;
  Perform(SM_APPLYSETTINGS, 0, 0);
}

void TCustomSyntaxMemo::SetMarginColor(TColor value) {
  if (Store(FModel->GetSettings().MarginColor, value)) Perform(SM_APPLYSETTINGS, 0, 0);
}

void TCustomSyntaxMemo::SetRightMargin(int value) {
  if (!Store(FModel->GetSettings().RightMargin, value)) return;
  FModel->LayoutChanged = true;
  Perform(SM_APPLYSETTINGS, 0, 0);
}

void TCustomSyntaxMemo::SetSelTextColor(TColor value) {
  if (Store(FModel->GetSettings().SelTextColor, value)) Perform(SM_APPLYSETTINGS, 0, 0);
}

void TCustomSyntaxMemo::SetSelTextBack(TColor value) {
  if (Store(FModel->GetSettings().SelTextBack, value)) Perform(SM_APPLYSETTINGS, 0, 0);
}

void TCustomSyntaxMemo::Setdef_TextColor(TColor value) {
  TSM_StyleRecord style = FModel->GetSettings().GetStyle(0);
  if (style.Foreground == value) return;
  style.Foreground = value;
  FModel->GetSettings().SetStyle(0, style);
  FModel->AddChangeFlags(cfSettings);
  Perform(SM_APPLYSETTINGS, 0, 0);
}

void TCustomSyntaxMemo::Setdef_BackColor(TColor value) {
  TSM_StyleRecord style = FModel->GetSettings().GetStyle(0);
  if (style.Background == value && !style.SysBackground) return;
  style.Background = value;
  style.SysBackground = false;
  FModel->GetSettings().SetStyle(0, style);
  Perform(SM_APPLYSETTINGS, 0, 0);
}

TFont* TCustomSyntaxMemo::GetGutterFont() {
  TSM_WinFonts* fonts = WinFonts(FModel->GetSettings());
  return fonts ? &fonts->GutterFont(FModel->GetSettings()) : nullptr;
}

void TCustomSyntaxMemo::SetGutterFont(const TFont* value) {
  TSM_FontSpec& spec = FModel->GetSettings().GutterFont;
  spec.Name = value->GetName();
  spec.Size = value->GetSize();
  spec.Color = value->GetColor();
  spec.Style = static_cast<uint8_t>(value->GetStyle().Bits());
  Invalidate();
}

// --- Selection accessors --------------------------------------------------------

int TCustomSyntaxMemo::GetSelStart() {
  return FModel->GetSelStart();
}

void TCustomSyntaxMemo::SetSelStart(int value) {
  FModel->SetSelStart(value);
}

int TCustomSyntaxMemo::GetSelLength() {
  return FModel->GetSelLength();
}

void TCustomSyntaxMemo::SetSelLength(int value) {
  FModel->SetSelLength(value);
}

String TCustomSyntaxMemo::GetSelText() {
  return FModel->GetSelText();
}

int TCustomSyntaxMemo::GetSelTextBuf(char* buffer, int size) {
  return FModel->GetSelTextBuf(buffer, size);
}

void TCustomSyntaxMemo::SetSelText(const String& text) {
  Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomSyntaxMemo::ReplaceSelText(const String& text) {
  Perform(SM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomSyntaxMemo::SelectAll() {
  FModel->SetSelection(-1, 0, true);
}

void TCustomSyntaxMemo::Clear() {
  FModel->Clear();
}

String TCustomSyntaxMemo::GetTextBuf() const {
  return FModel->GetText(FModel->StyleWriteFlags());
}

void TCustomSyntaxMemo::SetTextBuf(const String& value) {
  FModel->SetWindowText(value.c_str());
}

void TCustomSyntaxMemo::ExecuteCommand(int command, int argument, bool extend) {
  FModel->ExecuteCommand(command, argument, extend);
}

// --- Layout --------------------------------------------------------------------

int TCustomSyntaxMemo::UsableClientWidth() {
  return UsableClientWidth(GetClientWidth());
}

int TCustomSyntaxMemo::UsableClientHeight() {
  return UsableClientHeight(GetClientHeight());
}

int TCustomSyntaxMemo::UsableClientWidth(int clientWidth) {
  if (!HandleAllocated() || !FFlatScrollBars || !FlatScrollBarsAvailable()) return clientWidth;
  if (!SMScrollBarShown(FHandle, SB_VERT, true)) return GetWidth();
  return GetWidth() - FlatScrollProp(FHandle, WSB_PROP_CXVSCROLL);
}

int TCustomSyntaxMemo::UsableClientHeight(int clientHeight) {
  if (!HandleAllocated() || !FFlatScrollBars || !FlatScrollBarsAvailable()) return clientHeight;
  if (!SMScrollBarShown(FHandle, SB_HORZ, true)) return GetHeight();
  return GetHeight() - FlatScrollProp(FHandle, WSB_PROP_CYHSCROLL);
}

bool TCustomSyntaxMemo::RefreshParserEditors(TSyntaxMemoParser& parser) {
  // A copy: applying settings may attach or detach editors.
  const std::vector<TCustomSyntaxMemo*> editors = parser.GetEditors();
  for (TCustomSyntaxMemo* editor : editors)
    editor->Perform(SM_APPLYSETTINGS, 0, 0);
  if (std::find(editors.begin(), editors.end(), this) == editors.end()) Perform(SM_APPLYSETTINGS, 0, 0);
  return true;
}

void TCustomSyntaxMemo::UpdateScrollBars() {
  if (!CanPaint() || FCreatingWindow) return;
  const bool visible = GetVisible();
  const bool horzAllowed = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  const TScrollValues h = FModel->HorzScrollValues(visible, horzAllowed);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, h.Min, h.Max, static_cast<UINT>(h.Page), h.Pos, h.TrackPos};
  SMSetScrollInfo(FHandle, SB_HORZ, info, true, FFlatScrollBars);
  if (FScrollBars != ssVertical && FScrollBars != ssBoth) return;
  const TScrollValues v = FModel->VertScrollValues(visible);
  info = SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, v.Min, v.Max, static_cast<UINT>(v.Page), v.Pos, v.TrackPos};
  SMSetScrollInfo(FHandle, SB_VERT, info, true, FFlatScrollBars);
}

bool TCustomSyntaxMemo::CanPaint() {
  if (!HandleAllocated() || !FModel || FModel->GetUpdateLock() || !FModel->GetRedraw() || !GetParent() ||
      FPrinting)
    return false;
  return GetVisible() && !IsLoading() && !IsReading() && !IsDestroying();
}

void TCustomSyntaxMemo::Invalidate() {
  if (FModel) FModel->MetricsDirty = true;
  TCustomControl::Invalidate();
}

void TCustomSyntaxMemo::Beep() {
  MessageBeep(0xFFFFFFFF);
}

void TCustomSyntaxMemo::ProcessMessages() {
  Application->ProcessMessages();
}

void TCustomSyntaxMemo::RedrawChanged(bool on) {
  if (!on) return;
  FModel->MetricsDirty = true;
  Paint();
  UpdateScrollBars();
}

void TCustomSyntaxMemo::FontFromSettings(const TSM_Settings& settings) {
  if (FFontChanging) return;
  TFont* font = GetFont();
  if (font->GetName() == settings.FontName && font->GetSize() == settings.FontSize) return;
  FFontFromSettings = true;
  try {
    font->SetName(settings.FontName);
    font->SetSize(settings.FontSize);
    font->SetCharset(settings.FontCharSet);
  } catch (...) {
    FFontFromSettings = false;
    throw;
  }
  FFontFromSettings = false;
}

void TCustomSyntaxMemo::BuildNavigationKeySet() {
  FNavigationKeys.fill(false);
  TKeyboardActionContoller& keys = FModel->GetSettings().GetKeyController();
  for (int command : {0, 1, 4, 5, 2, 3, 6, 7, 8, 9, 10, 11, 16}) {
    TShortCut first = 0;
    TShortCut second = 0;
    for (bool found = keys.FindFirstKeys(command, first, second); found;
         found = keys.FindNextKeys(command, first, second))
      FNavigationKeys[first & 0xFF] = true;
  }
}

// --- Window procedure ------------------------------------------------------------

void TCustomSyntaxMemo::SetSelectionMessage(TMessage& Message) {
  auto* pair = reinterpret_cast<int*>(Message.LParam);
  if (!(Message.WParam & 1)) {
    pair[0] = FModel->GetAnchor();
    pair[1] = FModel->GetCaret();
    return;
  }
  FModel->SetSelection(pair[0], pair[1], !(Message.WParam & 2));
}

namespace {
// Writes the selection into a memory stream with the writer's flags.
std::unique_ptr<TMemoryStream> SelectionBytes(TSyntaxMemoModel& model, int flags) {
  auto stream = std::make_unique<TMemoryStream>();
  model.WriteSelection(*stream, flags);
  return stream;
}

std::pair<int, int> LineRange(LPARAM pair) {
  if (!pair) return {-1, -1};
  const int* lines = reinterpret_cast<const int*>(pair);
  return {lines[0], lines[1]};
}
} // namespace

bool TCustomSyntaxMemo::PrivateMessage(TMessage& Message) {
  const bool repaint = !(Message.WParam & 2);
  const bool set = Message.WParam & 1;
  switch (Message.Msg) {
  case SM_SELECTION:
    SetSelectionMessage(Message);
    return true;
  case SM_OPTIONS:
    if (!set) {
      Message.Result = FModel->GetOptions();
      return true;
    }
    FModel->SetOptions(static_cast<uint32_t>(Message.LParam), repaint);
    if (FDropWindow) DragAcceptFiles(FDropWindow, FModel->HasOption(smoProcessDroppedFiles));
    return true;
  case SM_REPLACESEL:
    FModel->ReplaceSelText(reinterpret_cast<const char*>(Message.LParam), repaint);
    return true;
  case SM_UPDATELOCK:
    if (set)
      FModel->SetUpdateLock(Message.LParam != 0, repaint);
    else
      Message.Result = FModel->GetUpdateLock() ? 1 : 0;
    return true;
  case SM_INSERTSTREAM:
    FModel->InsertStreamText(*reinterpret_cast<TStream*>(Message.LParam), repaint);
    return true;
  case SM_WRITESEL:
    FModel->WriteSelection(*reinterpret_cast<TStream*>(Message.LParam), static_cast<int>(Message.WParam));
    return true;
  case SM_MODIFIED:
    if (set)
      FModel->SetModified(Message.LParam != 0);
    else
      Message.Result = FModel->GetModified() ? 1 : 0;
    return true;
  case SM_TOPLINE:
    if (set)
      ScrollTo(FModel->GetLeftColumn(), static_cast<int>(Message.LParam), false, repaint);
    else
      Message.Result = FModel->GetTopLine();
    return true;
  case SM_LEFTCOLUMN:
    if (set)
      ScrollTo(static_cast<int>(Message.LParam), FModel->GetTopLine(), false, repaint);
    else
      Message.Result = FModel->GetLeftColumn();
    return true;
  case SM_FIND:
    Message.Result = Find(static_cast<int>(Message.WParam),
                          Message.LParam ? reinterpret_cast<const char*>(Message.LParam) : "");
    return true;
  case SM_REPLACE:
    ShowReplaceDialog(static_cast<int>(Message.WParam));
    return true;
  case SM_SELTEXT: {
    auto stream = SelectionBytes(*FModel, static_cast<int>(Message.WParam));
    if (Message.LParam) {
      char* buffer = reinterpret_cast<char*>(Message.LParam);
      memcpy(buffer, stream->GetMemory(), static_cast<size_t>(stream->GetSize()));
      buffer[stream->GetSize()] = 0;
    }
    Message.Result = static_cast<LRESULT>(stream->GetSize());
    return true;
  }
  case SM_CANREDO:
    Message.Result = FModel->CanRedo() ? 1 : 0;
    return true;
  case SM_REDO:
    FModel->Redo();
    Paint();
    return true;
  case SM_BLOCKINDENT:
    FModel->BlockIndent(static_cast<int>(Message.WParam),
                        (Message.LParam & 1) && FModel->HasOption(smoUseTAB));
    return true;
  case SM_BLOCKUNINDENT:
    FModel->BlockUnindent(static_cast<int>(Message.WParam));
    return true;
  case SM_APPLYSETTINGS:
    FModel->ApplySettingsMessage();
    return true;
  case SM_PUTTOKENS: {
    const auto [first, last] = LineRange(static_cast<LPARAM>(Message.WParam));
    FModel->PutTokenBytes(reinterpret_cast<const uint8_t*>(Message.LParam), first, last);
    return true;
  }
  case SM_GETTOKENS: {
    const auto [first, last] = LineRange(static_cast<LPARAM>(Message.WParam));
    FModel->GetTokenBytes(reinterpret_cast<uint8_t*>(Message.LParam), first, last);
    return true;
  }
  case SM_UNDOSTACK:
    if (set) {
      FModel->SetUndoStack(std::unique_ptr<TUndoStack>(reinterpret_cast<TUndoStack*>(Message.LParam)));
      NotifyChange();
    } else {
      Message.Result = reinterpret_cast<LRESULT>(FModel->GetUndoStack());
    }
    return true;
  case SM_TEXTSTORE:
    if (Message.WParam == 0) {
      *reinterpret_cast<TTextStore**>(Message.LParam) = &FModel->GetStore();
    } else if (Message.LParam) {
      FModel->ShareStore(reinterpret_cast<TTextStore*>(Message.LParam));
      Invalidate();
    }
    return true;
  case SM_FIRSTCHANGEDROW:
    if (set) FModel->SetFirstChangedRow(reinterpret_cast<TRowRecord*>(Message.LParam));
    Message.Result = 0;
    return true;
  case SM_VERSION:
    Message.Result = reinterpret_cast<LRESULT>(SyntaxMemoVersionString());
    return true;
  }
  return false;
}

bool TCustomSyntaxMemo::EditMessage(TMessage& Message) {
  const WPARAM w = Message.WParam;
  const LPARAM l = Message.LParam;
  switch (Message.Msg) {
  case EM_GETSEL:
    if (w) *reinterpret_cast<DWORD*>(w) = static_cast<DWORD>(FModel->GetAnchor());
    if (l) *reinterpret_cast<DWORD*>(l) = static_cast<DWORD>(FModel->GetCaret());
    return true;
  case EM_SETSEL: {
    const bool all = w == 0 && static_cast<int>(l) == -1;
    FModel->SetSelection(all ? -1 : static_cast<int>(w), static_cast<int>(l), true);
    return true;
  }
  case EM_LINESCROLL:
    ScrollTo(FModel->GetLeftColumn() + static_cast<int>(w), FModel->GetTopLine() + static_cast<int>(l), false,
             true);
    return true;
  case EM_SCROLLCARET:
    FModel->SetSelection(FModel->GetAnchor(), FModel->GetCaret(), true);
    return true;
  case EM_GETMODIFY:
    Message.Result = FModel->GetModified() ? 1 : 0;
    return true;
  case EM_GETLINECOUNT:
    Message.Result = FModel->GetLineCount();
    return true;
  case EM_LINEINDEX:
    Message.Result = FModel->LineIndex(static_cast<int>(w));
    return true;
  case EM_LINELENGTH:
    Message.Result = FModel->LineLength(static_cast<int>(w));
    return true;
  case EM_REPLACESEL:
    FModel->ReplaceSelText(reinterpret_cast<const char*>(l), true);
    return true;
  case EM_GETLINE: {
    char* buffer = reinterpret_cast<char*>(l);
    const int capacity = *reinterpret_cast<const WORD*>(buffer);
    const String text = FModel->GetRowText(static_cast<int>(w), capacity);
    if (text.empty())
      buffer[0] = 0;
    else
      memcpy(buffer, text.data(), text.size());
    Message.Result = static_cast<LRESULT>(text.size());
    return true;
  }
  case EM_CANUNDO:
    Message.Result = FModel->CanUndo() ? 1 : 0;
    return true;
  case EM_UNDO:
  case WM_UNDO:
    FModel->Undo();
    Paint();
    return true;
  case EM_LINEFROMCHAR:
    Message.Result = FModel->LineFromChar(static_cast<int>(w));
    return true;
  case EM_EMPTYUNDOBUFFER:
    FModel->ClearUndo();
    return true;
  case EM_GETFIRSTVISIBLELINE:
    Message.Result = FModel->GetTopLine();
    return true;
  case EM_POSFROMCHAR: {
    const TEdPoint p = FModel->PositionToPoint(static_cast<int>(l));
    // A caller that hands no point gets nothing written, not a crash.
    if (auto* point = reinterpret_cast<POINT*>(w)) {
      point->x = p.X;
      point->y = p.Y;
    }
    return true;
  }
  case EM_CHARFROMPOS: {
    Message.Result = -1;
    const auto* point = reinterpret_cast<const POINT*>(l);
    if (point && point->x >= TextLeftEdge() && point->x <= FModel->GetClientWidth() &&
        point->y <= FModel->GetClientHeight())
      Message.Result = FModel->PointToPosition(point->x, point->y);
    return true;
  }
  case EM_CANPASTE:
    Message.Result = (w == 0 || w == 1) && IsClipboardFormatAvailable(CF_TEXT) ? 1 : 0;
    return true;
  }
  return false;
}

void TCustomSyntaxMemo::WMSize(TMessage& Message) {
  if (IsLoading() || IsDestroying() || !HandleAllocated()) {
    FModel->SetClientSize(LOWORD(Message.LParam), HIWORD(Message.LParam));
    return TCustomControl::WndProc(Message);
  }
  TCustomControl::WndProc(Message);
  FModel->ControlWidth = GetWidth();
  FModel->ScrollBarWidth = GetSystemMetrics(SM_CXVSCROLL);
  FModel->SetClientSize(LOWORD(Message.LParam), HIWORD(Message.LParam));
  Message.Result = 0;
}

void TCustomSyntaxMemo::WMScroll(TMessage& Message, bool vertical) {
  const int bar = vertical ? SB_VERT : SB_HORZ;
  const bool shown = HandleAllocated() && SMScrollBarShown(FHandle, bar, FFlatScrollBars);
  const int code = LOWORD(Message.WParam);
  const int thumb = HIWORD(Message.WParam);
  const int page = vertical ? FModel->GetClientHeight() / std::max(1, GetLineHeight())
                            : FModel->GetClientWidth() / std::max(1, FModel->GetMetrics().AveCharWidth);
  int value = vertical ? FModel->GetTopLine() : FModel->GetLeftColumn();
  switch (code) {
  case SB_LINEUP:
    --value;
    break;
  case SB_LINEDOWN:
    ++value;
    break;
  case SB_PAGEUP:
    value -= page;
    break;
  case SB_PAGEDOWN:
    value += page;
    break;
  case SB_THUMBTRACK:
    value = vertical ? thumb * FModel->GetScrollDivisor() : thumb;
    break;
  case SB_TOP:
    value = 0;
    break;
  case SB_BOTTOM:
    value = vertical ? FModel->GetRowCount() - 1 : FModel->GetLongestRow();
    break;
  default:
    return;
  }
  if (vertical)
    ScrollTo(FModel->GetLeftColumn(), value, false, true);
  else
    ScrollTo(value, FModel->GetTopLine(), false, true);
  if (HandleAllocated() && SMScrollBarShown(FHandle, bar, FFlatScrollBars) == shown) Invalidate();
}

void TCustomSyntaxMemo::WMGetText(TMessage& Message) {
  Message.Result =
      FModel->GetWindowText(reinterpret_cast<char*>(Message.LParam), static_cast<int>(Message.WParam));
}

void TCustomSyntaxMemo::WMDropFiles(TMessage& Message) {
  HDROP drop = reinterpret_cast<HDROP>(Message.WParam);
  if (FModel->HasOption(smoProcessDroppedFiles) && OnFilesDropped) {
    TStringList files;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      char name[MAX_PATH] = {};
      DragQueryFileA(drop, i, name, MAX_PATH);
      files.Add(name);
    }
    POINT p{-1, -1};
    if (!DragQueryPoint(drop, &p)) p = POINT{-1, -1};
    try {
      OnFilesDropped(this, &files, TPoint(p.x, p.y));
    } catch (...) {
      DragFinish(drop);
      throw;
    }
  }
  DragFinish(drop);
}

void TCustomSyntaxMemo::CMFontChanged(TMessage& Message) {
  if (FFontChanging) return TCustomControl::WndProc(Message);
  FFontChanging = true;
  try {
    TCustomControl::WndProc(Message);
    TSM_Settings& settings = FModel->GetSettings();
    if (!FFontFromSettings) {
      settings.FontName = GetFont()->GetName();
      settings.FontSize = GetFont()->GetSize();
      settings.FontCharSet = GetFont()->GetCharset();
    }
    FModel->ComputeMetrics();
    for (TRowRecord* row = FModel->GetFirstRow(); row; row = row->Next)
      row->Flags |= rfChanged;
    settings.RefreshFonts();
    Perform(SM_APPLYSETTINGS, 0, 0);
    if (FModel->HasOption(smoWordWrap)) FModel->ReflowRows();
    FModel->MakeVisible(FModel->GetCaret());
    FModel->AddChangeFlags(cfLayout);
    NotifyChange();
  } catch (...) {
    FFontChanging = false;
    throw;
  }
  FFontChanging = false;
}

void TCustomSyntaxMemo::WndProc(TMessage& Message) {
  if (Message.Msg >= SM_SELECTION && Message.Msg <= SM_VERSION && PrivateMessage(Message)) return;
  if (EditMessage(Message)) return;
  switch (Message.Msg) {
  case WM_SIZE:
    return WMSize(Message);
  case WM_SETFOCUS:
    if (GetVisible()) {
      AttachLanguageHandlers();
      FModel->MetricsDirty = true;
      Paint();
    }
    break;
  case WM_KILLFOCUS:
    DestroyCaret();
    FModel->MetricsDirty = true;
    FMouseSelecting = false;
    Paint();
    break;
  case WM_SETREDRAW:
    FModel->SetRedraw(Message.WParam != 0);
    return;
  case WM_SETTEXT:
    FModel->SetWindowText(reinterpret_cast<const char*>(Message.LParam));
    Message.Result = TRUE;
    return;
  case WM_GETTEXT:
    return WMGetText(Message);
  case WM_GETTEXTLENGTH:
    Message.Result = FModel->GetWindowTextLength();
    return;
  case WM_PAINT:
  case WM_PRINTCLIENT:
    FModel->MetricsDirty = true;
    FModel->AddChangeFlags(cfLayout);
    break;
  case WM_ERASEBKGND:
    if (!GetVisible()) break;
    for (TRowRecord* row = FModel->GetFirstRow(); row; row = row->Next)
      row->Flags |= rfChanged;
    Message.Result = 1;
    return;
  case WM_GETDLGCODE:
    Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (WantTab ? DLGC_WANTTAB : 0);
    return;
  case WM_HSCROLL:
  case WM_VSCROLL:
    if (Message.LParam) break; // a scroll bar control of a child
    return WMScroll(Message, Message.Msg == WM_VSCROLL);
  case WM_LBUTTONDBLCLK:
    TCustomControl::WndProc(Message);
    if (static_cast<short>(LOWORD(Message.LParam)) >= TextLeftEdge() && FModel->HasOption(smoWordSelect)) {
      SelectWordAtCaret();
      FLastClickTick = GetTickCount();
    }
    return;
  case WM_DROPFILES:
    return WMDropFiles(Message);
  case WM_CUT:
    CutToClipboard();
    FModel->MakeVisible(FModel->GetCaret());
    FModel->AddChangeFlags(cfText | cfClipboard);
    NotifyChange();
    UpdateScrollBars();
    Paint();
    return;
  case WM_COPY:
    CopyToClipboard();
    NotifyChange();
    return;
  case WM_PASTE:
    PasteFromClipboard();
    FModel->MakeVisible(FModel->GetCaret());
    FModel->AddChangeFlags(cfText | cfClipboard);
    NotifyChange();
    Paint();
    return;
  case CM_ENABLEDCHANGED:
    FModel->MetricsDirty = true;
    FModel->AddChangeFlags(cfLayout);
    Paint();
    break;
  case CM_FONTCHANGED:
    return CMFontChanged(Message);
  case CM_CTL3DCHANGED:
    if (FBorderStyle == bsSingle && HandleAllocated()) RecreateWnd();
    break;
  }
  TCustomControl::WndProc(Message);
}

void TCustomSyntaxMemo::DoEnter() {
  TCustomControl::DoEnter();
  Paint();
}

void TCustomSyntaxMemo::DoExit() {
  TCustomControl::DoExit();
  Paint();
}
