#include "SynElemF.h"

#include "ActnList.h"
#include "Dialogs.h"
#include "SYM_CBut_win.h"
#include "SYM_KDlg.h"
#include "SYM_Spin.h"
#include "SynParse.h"
#include "SyntaxMemo.h"

#include <algorithm>

namespace {

constexpr int kPageSetAll = 31;
const char* const kFontSizes[] = {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "30"};
const char* const kStep1Info =
    "Press the first key combination until the correct key sequence appears then press the NEXT button";
const char* const kStep2Info =
    "If the key sequence requires a 2nd key press then enter the key now. Press the "
    "FINISH button to accept changes";

template <typename T>
T* Make(TComponent* owner, TWinControl* parent, int left, int top, int width, int height) {
  auto* control = new T(owner);
  control->SetParent(parent);
  control->SetBounds(left, top, width, height);
  return control;
}

TLabel* MakeLabel(TComponent* owner, TWinControl* parent, int left, int top, const String& caption) {
  auto* label = Make<TLabel>(owner, parent, left, top, 140, 13);
  label->SetCaption(caption);
  return label;
}

TCheckBox* MakeBox(TComponent* owner, TWinControl* parent, int left, int top, const String& caption,
                   int tag) {
  auto* box = Make<TCheckBox>(owner, parent, left, top, 136, 17);
  box->SetCaption(caption);
  box->Tag = tag;
  return box;
}

TButton* MakeButton(TComponent* owner, TWinControl* parent, int left, int top, const String& caption) {
  auto* button = Make<TButton>(owner, parent, left, top, 75, 25);
  button->SetCaption(caption);
  return button;
}

// Splits a list line at its first TAB.
void SplitAtTab(const String& line, String& first, String& second) {
  const size_t tab = line.find('\t');
  first = line.substr(0, tab);
  second = tab == String::npos ? String() : line.substr(tab + 1);
}

// An item of a key list: "[first]  [second]" or "[first]  [<none>]".
String KeyPairText(TShortCut first, TShortCut second) {
  return "[" + ShortCutToText(first) + "]  [" + (second ? ShortCutToText(second) : String("<none>")) + "]";
}

bool IsNumber(const String& text, int& value) {
  int64_t number = 0;
  if (!TryStrToInt64(text, number) || number < INT32_MIN || number > INT32_MAX) return false;
  value = static_cast<int>(number);
  return true;
}

} // namespace

TOptionsDialog::TOptionsDialog(TComponent* AOwner)
    : TForm(AOwner), FAutoReplKeys(std::make_unique<TStringList>()),
      FTemplateNames(std::make_unique<TStringList>()) {
  SetName("OptionsDialog");
  SetBorderStyle(bsDialog);
  SetBorderIcons(TBorderIcons{biSystemMenu});
  Position = poScreenCenter;
  SetClientSize(442, 389);
  KeyPreview = true;
  ButtonPanel = Make<TPanel>(this, this, 0, 348, 442, 41);
  ButtonPanel->SetAlign(alBottom);
  ButtonPanel->SetBevelOuter(bvNone);
  OKButton = MakeButton(this, ButtonPanel, 274, 8, "OK");
  OKButton->SetDefault(true);
  OKButton->OnClick = [this](TObject*) { OKButtonClick(); };
  CancelButton = MakeButton(this, ButtonPanel, 358, 8, "Cancel");
  CancelButton->Cancel = true;
  CancelButton->ModalResult = mrCancel;
  PageControl1 = Make<TPageControl>(this, this, 0, 0, 442, 348);
  PageControl1->SetAlign(alClient);
  auto page = [this](const String& caption) {
    auto* sheet = new TTabSheet(this);
    sheet->SetPageControl(PageControl1);
    sheet->SetCaption(caption);
    return sheet;
  };
  OptionsPage = page("Options");
  HighlightingPage = page("Highlighting");
  KeyMappingsPage = page("Key assignments");
  AutoCorrectPage = page("Auto correct");
  TemplatesPage = page("Code templates");
  BuildOptionsPage();
  BuildHighlightingPage();
  BuildKeysPage();
  BuildAutoCorrectPage();
  BuildTemplatesPage();
  FormCreate();
}

TOptionsDialog::~TOptionsDialog() = default;

void TOptionsDialog::BuildOptionsPage() {
  GroupBox4 = Make<TGroupBox>(this, OptionsPage, 4, 4, 426, 196);
  Label13 = MakeLabel(this, GroupBox4, 8, 16, "Print Options");
  Label14 = MakeLabel(this, GroupBox4, 126, 16, "General options");
  struct BoxSpec {
    TCheckBox*& box;
    const char* caption;
    TSyntaxMemoOption bit;
  };
  const BoxSpec boxes[] = {{WrapLineBox, "Wrap long lines", smoPrintWrap},
                           {LineNosBox, "Line numbers", smoPrintLineNos},
                           {FileNamBox, "Title in header", smoPrintFilename},
                           {DateBox, "Date in header", smoPrintDate},
                           {PageNosBox, "Page numbers", smoPrintPageNos},
                           {PrnSynHighlightBox, "Syntax highlight", smoSyntaxHighlight},
                           {DispWrapBox, "Word wrap", smoWordWrap},
                           {WrapOverrideBox, "Override wrapping", smoWrapOverride},
                           {AutoIndentBox, "Auto indent", smoAutoIndent},
                           {TabColBox, "Smart tab", smoTabToColumn},
                           {SmartFillBox, "Smart fill", smoSmartFill},
                           {UseTabBox, "Use tab character", smoUseTAB},
                           {EdLineNosBox, "Line numbers in gutter", smoLineNumbers},
                           {MarkWrapBox, "Mark wrapped lines", smoShowWrapGlyph},
                           {TitleAsFilenameBox, "Title as filename", smoTitleAsFilename},
                           {BlockCursorBox, "Block cursor for Overwrite", smoBlockOverwriteCursor},
                           {WordSelectBox, "Word select", smoWordSelect},
                           {CursorAfterEOLBox, "Cursor beyond EOL", smoCaretAfterEOL},
                           {ShowAllCharsBox, "Show all chars", smoShowAllChars},
                           {VisRMarginBox, "Visible right margin", smoShowRMargin},
                           {VisGutterBox, "Visible gutter", smoShowGutter},
                           {ShowWrapColumnBox, "Show word-wrap column", smoShowWrapColumn}};
  int index = 0;
  for (const BoxSpec& spec : boxes) {
    // Six print options in the first column, the general ones in two more.
    const int column = index < 6 ? 0 : 1 + (index - 6) / 8;
    const int row = index < 6 ? index : (index - 6) % 8;
    const int left[] = {8, 126, 272};
    spec.box = MakeBox(this, GroupBox4, left[column], 34 + row * 19, spec.caption,
                       static_cast<int>(SyntaxMemoOptionBit(spec.bit)));
    spec.box->SetWidth(column == 0 ? 116 : column == 1 ? 144 : 150);
    TCheckBox* box = spec.box;
    box->OnClick = [this, box](TObject*) { SHIFTSelectBoxClick(box); };
    ++index;
  }
  auto numberBox = [this](TEdit*& box, TLabel*& label, int left, int top, const String& caption) {
    label = MakeLabel(this, OptionsPage, left, top + 3, caption);
    box = Make<TEdit>(this, OptionsPage, left + 130, top, 60, 21);
  };
  numberBox(IndentStepBox, Label15, 8, 208, "Block indent step size");
  numberBox(WrapColumnBox, Label16, 8, 234, "Word wrap column");
  numberBox(DeftabBox, DefTabStopLabel, 8, 260, "Tab stop");
  Label11 = MakeLabel(this, OptionsPage, 8, 289, "Tab Columns");
  TabColumnsBox = Make<TEdit>(this, OptionsPage, 138, 286, 290, 21);
  for (TEdit* box : {IndentStepBox, WrapColumnBox}) {
    box->OnKeyDown = [](TObject*, WORD& key, TShiftState) {
      const bool digit = (key >= '0' && key <= '9') || (key >= VK_NUMPAD0 && key <= VK_NUMPAD9);
      if (!digit && key != VK_BACK && key != VK_TAB && key != VK_END && key != VK_HOME && key != VK_LEFT &&
          key != VK_RIGHT && key != VK_DELETE)
        key = 0;
    };
    box->OnKeyPress = [](TObject*, char& key) {
      if (!(key >= '0' && key <= '9') && key != '\b' && key != '\t') key = 0;
    };
  }
  WrapColumnBox->OnExit = [this](TObject*) { WrapColumnBoxExit(); };
  IndentStepBox->OnExit = [this](TObject*) { IndentStepBoxExit(); };
  TabColumnsBox->OnExit = [this](TObject*) { TabColumnsBoxExit(); };
  DeftabBox->OnExit = [this](TObject*) { DeftabBoxExit(); };
  GroupBox2 = Make<TGroupBox>(this, OptionsPage, 220, 204, 208, 76);
  Label7 = MakeLabel(this, GroupBox2, 10, 22, "Right margin");
  RightMarginWidthBox = Make<TEdit>(this, GroupBox2, 110, 18, 60, 21);
  RightMarginWidthBox->Tag = 2;
  Label9 = MakeLabel(this, GroupBox2, 10, 49, "Gutter width");
  LeftBorderWidthBox = Make<TEdit>(this, GroupBox2, 110, 45, 60, 21);
  LeftBorderWidthBox->Tag = 1;
  for (TEdit* box : {RightMarginWidthBox, LeftBorderWidthBox}) {
    box->SetMaxLength(3);
    box->OnChange = [this, box](TObject*) { LeftBorderWidthBoxChange(box); };
    // All ten digits: the boxes take values up to 199.
    box->OnKeyPress = [](TObject*, char& key) {
      if (!(key >= '0' && key <= '9') && key != '\b') key = 0;
    };
  }
}

void TOptionsDialog::BuildHighlightingPage() {
  Label3 = MakeLabel(this, HighlightingPage, 8, 10, "Current language style");
  LangNameBox = Make<TEdit>(this, HighlightingPage, 150, 6, 276, 21);
  LangNameBox->SetEnabled(false);
  ElementLabel = MakeLabel(this, HighlightingPage, 8, 34, "Element");
  SynElementsBox = Make<TListBox>(this, HighlightingPage, 8, 50, 140, 134);
  SynElementsBox->OnClick = [this](TObject*) { SynElementsBoxClick(); };
  GroupBox1 = Make<TGroupBox>(this, HighlightingPage, 156, 32, 130, 76);
  GroupBox1->SetCaption("Text attributes");
  UseBoldBox = MakeBox(this, GroupBox1, 10, 16, "Bold", 1);
  UseItalicBox = MakeBox(this, GroupBox1, 10, 34, "Italic", 2);
  UseUnderlineBox = MakeBox(this, GroupBox1, 10, 52, "Underline", 3);
  for (TCheckBox* box : {UseBoldBox, UseItalicBox, UseUnderlineBox})
    box->OnClick = [this, box](TObject*) { UseBoldBoxClick(box); };
  DefCheckBox = Make<TGroupBox>(this, HighlightingPage, 156, 112, 130, 58);
  DefCheckBox->SetCaption("Use defaults for");
  UseDefForeBox = MakeBox(this, DefCheckBox, 10, 16, "Foreground", 1);
  UseDefBackBox = MakeBox(this, DefCheckBox, 10, 34, "Background", 0);
  for (TCheckBox* box : {UseDefForeBox, UseDefBackBox})
    box->OnClick = [this, box](TObject*) { UseDefForeBoxClick(box); };
  FGLabel = MakeLabel(this, HighlightingPage, 296, 34, "Foreground");
  BGLabel = MakeLabel(this, HighlightingPage, 296, 82, "Background");
  FontNameLabel = MakeLabel(this, HighlightingPage, 156, 174, "Font");
  FontNameBox = Make<TComboBox>(this, HighlightingPage, 186, 170, 150, 21);
  FontNameBox->SetStyle(csDropDownList);
  FontNameBox->OnChange = [this](TObject*) { FontNameBoxChange(); };
  FontSizeLabel = MakeLabel(this, HighlightingPage, 342, 174, "Size");
  FontSizeBox = Make<TComboBox>(this, HighlightingPage, 370, 170, 56, 21);
  FontSizeBox->SetStyle(csDropDownList);
  for (const char* size : kFontSizes)
    FontSizeBox->GetItems()->Add(size);
  FontSizeBox->OnChange = [this](TObject*) { FontSizeBoxChange(); };
  Label1 = MakeLabel(this, HighlightingPage, 296, 130, "Family");
  FontFamilyBox = Make<TComboBox>(this, HighlightingPage, 296, 146, 124, 21);
  FEditor = Make<TSyntaxMemo>(this, HighlightingPage, 8, 198, 418, 116);
  FEditor->SetReadOnly(true);
  FEditor->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int X, int Y) { EditorMouseDown(X, Y); };
}

void TOptionsDialog::BuildKeysPage() {
  CommandsLabel = MakeLabel(this, KeyMappingsPage, 8, 8, "Commands");
  CommandDescListBox = Make<TListBox>(this, KeyMappingsPage, 8, 24, 214, 290);
  CommandDescListBox->OnClick = [this](TObject*) { CommandDescListBoxClick(); };
  UsesKeysLabel = MakeLabel(this, KeyMappingsPage, 230, 8, "Uses keys");
  CommandKeysListBox = Make<TListBox>(this, KeyMappingsPage, 230, 24, 196, 250);
  CommandKeysListBox->OnClick = [this](TObject*) { CommandKeysListBoxClick(); };
  CommandKeysListBox->OnExit = [this](TObject*) { CommandKeysListBoxExit(); };
  AddButton = MakeButton(this, KeyMappingsPage, 230, 284, "Add...");
  AddButton->SetWidth(62);
  AddButton->OnClick = [this](TObject*) { AddButtonClick(); };
  EditButton = MakeButton(this, KeyMappingsPage, 297, 284, "Edit...");
  EditButton->SetWidth(62);
  EditButton->OnClick = [this](TObject*) { EditButtonClick(); };
  DeleteButton = MakeButton(this, KeyMappingsPage, 364, 284, "Delete");
  DeleteButton->SetWidth(62);
  DeleteButton->OnClick = [this](TObject*) { DeleteButtonClick(); };
}

// Both owner-drawn lists: two columns split at TAB, with grey rules.
static void OwnerDrawnTwoColumns(TListBox* list) {
  list->SetStyle(lbOwnerDrawVariable);
  list->SetSorted(true);
  list->OnMeasureItem = [list](TWinControl*, int, int& height) {
    height = list->GetCanvas()->TextHeight("Wy") + 2;
  };
  list->OnDrawItem = [list](TWinControl*, int index, const TRect& rect, TOwnerDrawState) {
    TCanvas* canvas = list->GetCanvas();
    String first, second;
    SplitAtTab(list->GetItems()->Get(index), first, second);
    canvas->FillRect(rect);
    const int third = rect.left + rect.Width() / 3;
    canvas->TextOut(rect.left + 2, rect.top, first);
    canvas->TextOut(third + 2, rect.top, second);
    canvas->GetPen()->SetColor(0x00C0C0C0);
    canvas->MoveTo(third, rect.top);
    canvas->LineTo(third, rect.bottom);
    canvas->MoveTo(rect.left, rect.bottom - 1);
    canvas->LineTo(rect.right, rect.bottom - 1);
  };
}

void TOptionsDialog::BuildAutoCorrectPage() {
  AutoReplBox = Make<TListBox>(this, AutoCorrectPage, 8, 8, 418, 200);
  OwnerDrawnTwoColumns(AutoReplBox);
  AutoReplBox->OnClick = [this](TObject*) { AutoReplBoxClick(); };
  ReplaceLabel = MakeLabel(this, AutoCorrectPage, 8, 216, "Replace");
  ReplaceBox = Make<TEdit>(this, AutoCorrectPage, 8, 232, 136, 21);
  ReplaceBox->OnChange = [this](TObject*) { UpdateAutoReplButtons(); };
  WithLabel = MakeLabel(this, AutoCorrectPage, 148, 216, "With");
  WithBox = Make<TEdit>(this, AutoCorrectPage, 148, 232, 278, 21);
  WithBox->OnChange = [this](TObject*) { UpdateAutoReplButtons(); };
  ActKeysLabel = MakeLabel(this, AutoCorrectPage, 8, 262, "Act key(s)");
  AutoReplActBox = Make<TEdit>(this, AutoCorrectPage, 8, 278, 136, 21);
  AutoReplActBox->OnExit = [this](TObject*) {
    FCopy->GetAutoReplace().SetActionKeys(AutoReplActBox->GetText());
  };
  AutoReplButton1 = MakeButton(this, AutoCorrectPage, 270, 278, "Add");
  AutoReplButton1->OnClick = [this](TObject*) { AutoReplButton1Click(); };
  AutoReplButton2 = MakeButton(this, AutoCorrectPage, 351, 278, "Replace");
  AutoReplButton2->OnClick = [this](TObject*) { AutoReplButton2Click(); };
}

void TOptionsDialog::BuildTemplatesPage() {
  cteListBox = Make<TListBox>(this, TemplatesPage, 8, 8, 418, 96);
  OwnerDrawnTwoColumns(cteListBox);
  cteListBox->OnClick = [this](TObject*) { cteListBoxClick(); };
  NameLabel = MakeLabel(this, TemplatesPage, 8, 110, "Name");
  cteNameBox = Make<TEdit>(this, TemplatesPage, 8, 126, 120, 21);
  cteNameBox->OnChange = [this](TObject*) { UpdateTemplateButtons(); };
  DescLabel = MakeLabel(this, TemplatesPage, 134, 110, "Description");
  cteDescBox = Make<TEdit>(this, TemplatesPage, 134, 126, 186, 21);
  cteDescBox->OnChange = [this](TObject*) { UpdateTemplateButtons(); };
  HotKeyLabel = MakeLabel(this, TemplatesPage, 326, 110, "Hotkey");
  cteHotkey = Make<THotKey>(this, TemplatesPage, 326, 126, 100, 21);
  cteHotkey->OnExit = [this](TObject*) { FCopy->GetCodeTemplates().TriggerKey = cteHotkey->GetHotKey(); };
  TemplateValueLabel = MakeLabel(this, TemplatesPage, 8, 152, "Code template");
  SyntaxMemo1 = Make<TSyntaxMemo>(this, TemplatesPage, 8, 168, 418, 110);
  SyntaxMemo1->OnChange = [this](TObject*) {
    if (SyntaxMemo1->GetModified()) UpdateTemplateButtons();
  };
  SyntaxMemo1->OnDataDrop = [](TObject*, TSourceTypes& types) {
    if (types.test(stHTML)) {
      types.reset(stAsText);
      types.set(stExtractHTML);
    } else if (types.test(stFileNames)) {
      types.reset(stAsText);
      types.set(stFileDropEvent);
    }
  };
  CodeTemplateButton1 = MakeButton(this, TemplatesPage, 270, 286, "Add");
  CodeTemplateButton1->OnClick = [this](TObject*) { CodeTemplateButton1Click(); };
  CodeTemplateButton2 = MakeButton(this, TemplatesPage, 351, 286, "Replace");
  CodeTemplateButton2->OnClick = [this](TObject*) { CodeTemplateButton2Click(); };
}

void TOptionsDialog::FormCreate() {
  SetCaption("Editor Options");
  auto colorButton = [this](TLabel* label) {
    auto* button = Make<TSM_ColorButton>(this, label->GetParent(), label->GetLeft(),
                                         label->GetTop() + label->GetHeight() + 4, 124, 22);
    button->OnColorChange = [this](TObject*) { ColorButtonChange(); };
    return button;
  };
  ForegroundButton = colorButton(FGLabel);
  BackgroundButton = colorButton(BGLabel);
  auto spin = [this](TEdit* box) {
    auto* button = Make<TSpinButton>(this, box->GetParent(), box->GetLeft() + box->GetWidth() - 8 - 2,
                                     box->GetTop() + 2, 8, box->GetHeight() - 4);
    button->Tag = box->Tag;
    button->BringToFront();
    button->SetFocusControl(box);
    button->OnUpClick = [this, button](TObject*) { ParaSpinButtonClick(button, 1); };
    button->OnDownClick = [this, button](TObject*) { ParaSpinButtonClick(button, -1); };
    return button;
  };
  RightMarginSpin = spin(RightMarginWidthBox);
  GutterWidthSpin = spin(LeftBorderWidthBox);
  FLastMouse = {0, 0};
  FOKRefused = false;
  FEditor->Perform(SM_APPLYSETTINGS, 0, 0);
}

// --- Running -------------------------------------------------------------------------

bool TOptionsDialog::ExecutePages(int pages) {
  FPages = pages & kPageSetAll;
  if (!FPages || !Parser) return false;
  auto copy = std::make_unique<TSM_Settings>();
  copy->Assign(Parser->GetSettings());
  copy->RefreshFonts();
  FCopy = copy.get();
  std::unique_ptr<TSM_Settings> own = std::exchange(Parser->FSettings, std::move(copy));
  std::vector<TCustomSyntaxMemo*> editors = std::exchange(Parser->FEditors, {});
  // Runs on every way out: the parser gets its own settings and editors back.
  auto restore = [&] {
    for (TSyntaxMemo* editor : {FEditor, SyntaxMemo1})
      editor->SetParser(1, nullptr);
    FCopy = nullptr;
    Parser->FSettings = std::move(own);
    Parser->FSettings->RefreshFonts();
    Parser->FEditors = std::move(editors);
    for (int i = 0; i < CommandDescListBox->GetItems()->GetCount(); ++i)
      CommandDescListBox->GetItems()->PutObject(i, nullptr);
    FCommands.clear();
    FAutoReplKeys->Clear();
    FTemplateNames->Clear();
  };
  bool accepted = false;
  try {
    for (TSyntaxMemo* editor : {FEditor, SyntaxMemo1}) {
      editor->SetParser(1, Parser);
      editor->SetActiveParser(1);
    }
    accepted = ShowModal() == mrOk;
    if (accepted) {
      if (TSM_SettingsFonts* fonts = own->GetFonts()) fonts->FreeStyleFonts(*own);
      own->Assign(*FCopy);
    }
  } catch (...) {
    restore();
    throw;
  }
  restore();
  return accepted;
}

void TOptionsDialog::DoShow() {
  FormShow();
  TForm::DoShow();
}

void TOptionsDialog::FormShow() {
  LangNameBox->SetText(FCopy->LanguageName);
  LeftBorderWidthBox->SetText(IntToStr(FCopy->GutterWidth));
  RightMarginWidthBox->SetText(IntToStr(FCopy->RightMargin));
  FEditor->GetLines()->BeginUpdate();
  FEditor->Perform(SM_OPTIONS, 1, static_cast<LPARAM>(FCopy->Options));
  FEditor->GetLines()->SetText(FCopy->ExampleText);
  FEditor->SetSelLength(0);
  FEditor->SetSelStart(0);
  FEditor->GetLines()->EndUpdate();
  ShowElements();
  const uint32_t options = static_cast<uint32_t>(FEditor->Perform(SM_OPTIONS, 0, 0));
  for (int i = 0; i < GroupBox4->GetControlCount(); ++i)
    if (auto* box = dynamic_cast<TCheckBox*>(GroupBox4->GetControl(i)))
      box->SetChecked((options & static_cast<uint32_t>(box->Tag)) != 0);
  TabColBox->SetEnabled(!(options & SyntaxMemoOptionBit(smoWordWrap)));
  CursorAfterEOLBox->SetEnabled(PreviewFixedPitch());
  IndentStepBox->SetText(IntToStr(FEditor->GetIndentStep()));
  WrapColumnBox->SetText(IntToStr(FEditor->GetWrapAtColumn()));
  FUpdating = true;
  SynElementsBox->SetItemIndex(0);
  FUpdating = false;
  SynElementsBoxClick();
  FEditor->Invalidate();
  FEditor->Perform(SM_APPLYSETTINGS, 0, 0);
  FontFamilyBox->SetVisible(false);
  Label1->SetVisible(false);
  FontNameBox->GetItems()->Assign(Screen->GetFonts());
  FontNameBox->SetItemIndex(FontNameBox->GetItems()->IndexOf(FEditor->GetFont()->GetName()));
  FontSizeBox->SetItemIndex(FontSizeBox->GetItems()->IndexOf(IntToStr(FEditor->GetFont()->GetSize())));
  TabColumnsBox->SetText(FEditor->GetTabColumns());
  DeftabBox->SetText(IntToStr(FEditor->GetTabDefault()));
  ShowCommands();
  ShowAutoReplace();
  ShowTemplates();
  ShowPages();
}

void TOptionsDialog::ShowElements() {
  SynElementsBox->GetItems()->Clear();
  for (int i = 1; i <= TSM_Settings::EditableStyleCount; ++i) {
    const TSM_EditableStyle style = FCopy->GetEditableStyle(i);
    if (style.Name.empty()) break;
    SynElementsBox->GetItems()->AddObject(style.Name, reinterpret_cast<void*>(intptr_t{style.StyleNumber}));
  }
  SynElementsBox->GetItems()->AddObject("Selected text", reinterpret_cast<void*>(intptr_t{seSelectedText}));
  SynElementsBox->GetItems()->AddObject("Left margin", reinterpret_cast<void*>(intptr_t{seLeftMargin}));
  SynElementsBox->GetItems()->AddObject("Gutter", reinterpret_cast<void*>(intptr_t{seGutter}));
}

void TOptionsDialog::ShowCommands() {
  TStrings* items = CommandDescListBox->GetItems();
  const int previous = FShownBefore ? CommandDescListBox->GetItemIndex() : 0;
  FShownBefore = true;
  CommandDescListBox->SetSorted(true);
  items->Clear();
  FCommands.clear();
  for (const auto& command : FCopy->GetKeyController().GetCommandNames()) {
    auto record = std::make_unique<TCommandRecord>();
    record->CommandId = command.Action;
    items->AddObject(command.Name, record.get());
    FCommands.push_back(std::move(record));
  }
  CommandDescListBox->SetItemIndex(std::min(std::max(previous, 0), items->GetCount() - 1));
  FOKRefused = false;
  AddButton->SetEnabled(true);
  DeleteButton->SetEnabled(CommandDescListBox->GetItemIndex() >= 0);
  CommandDescListBoxClick();
}

void TOptionsDialog::ShowAutoReplace() {
  AutoReplBox->GetItems()->Clear();
  FAutoReplKeys->Clear();
  FAutoReplKeys->SetSorted(true);
  TAutoReplace& replace = FCopy->GetAutoReplace();
  for (const auto& entry : replace.GetEntries()) {
    AutoReplBox->GetItems()->Add(entry.Expansion.empty() ? entry.Name : entry.Name + "\t" + entry.Expansion);
    FAutoReplKeys->Add(entry.Name);
  }
  AutoReplActBox->SetText(replace.GetActionKeys());
  AutoReplBoxClick();
}

void TOptionsDialog::ShowTemplates() {
  cteListBox->GetItems()->Clear();
  FTemplateNames->Clear();
  FTemplateNames->SetSorted(true);
  TCodeTemplates& templates = FCopy->GetCodeTemplates();
  for (const auto& entry : templates.GetEntries()) {
    cteListBox->GetItems()->Add(entry.Description.empty() ? entry.Name
                                                          : entry.Name + "\t" + entry.Description);
    FTemplateNames->Add(entry.Name);
  }
  cteHotkey->SetHotKey(templates.TriggerKey);
  cteListBoxClick();
}

void TOptionsDialog::ShowPages() {
  TTabSheet* const pages[] = {OptionsPage, HighlightingPage, KeyMappingsPage, AutoCorrectPage, TemplatesPage};
  for (int bit = 0; bit < 5; ++bit)
    pages[bit]->SetTabVisible((FPages & (1 << bit)) != 0);
  for (TTabSheet* page : {HighlightingPage, OptionsPage, KeyMappingsPage, AutoCorrectPage, TemplatesPage})
    if (page->GetTabVisible()) {
      PageControl1->SetActivePage(page);
      break;
    }
}

// --- Options page ----------------------------------------------------------------------

void TOptionsDialog::SHIFTSelectBoxClick(TCheckBox* box) {
  uint32_t options = static_cast<uint32_t>(FEditor->Perform(SM_OPTIONS, 0, 0));
  if (box->GetChecked())
    options |= static_cast<uint32_t>(box->Tag);
  else
    options &= ~static_cast<uint32_t>(box->Tag);
  FCopy->Options = options;
  FEditor->Perform(SM_OPTIONS, 1, static_cast<LPARAM>(options));
  TabColBox->SetEnabled(!(options & SyntaxMemoOptionBit(smoWordWrap)));
}

void TOptionsDialog::LeftBorderWidthBoxChange(TEdit* box) {
  int value = 0;
  if (!IsNumber(box->GetText(), value) || value < 0 || value > 199) {
    // Setting the text comes back here with 1.
    box->SetText("1");
    return;
  }
  if (box->Tag == 1) {
    FCopy->GutterWidth = value;
    FEditor->SetGutter(value);
  } else {
    FCopy->RightMargin = value;
    FEditor->SetRightMargin(value);
  }
  const String shown = IntToStr(box->Tag == 1 ? FEditor->GetGutter() : FEditor->GetRightMargin());
  if (box->GetText() != shown) box->SetText(shown);
}

void TOptionsDialog::ParaSpinButtonClick(TSpinButton* spin, int step) {
  TEdit* box = spin->Tag == 1 ? LeftBorderWidthBox : RightMarginWidthBox;
  int value = 0;
  if (box->GetText().empty() || !IsNumber(box->GetText(), value)) {
    box->SetText("1");
    return;
  }
  if ((step < 0 && value > 0) || (step > 0 && value < 199)) value += step;
  box->SetText(IntToStr(value));
}

void TOptionsDialog::WrapColumnBoxExit() {
  FEditor->SetWrapAtColumn(StrToInt(WrapColumnBox->GetText()));
  WrapColumnBox->SetText(IntToStr(FEditor->GetWrapAtColumn()));
  FCopy->WordWrapColumn = FEditor->GetWrapAtColumn();
}

void TOptionsDialog::IndentStepBoxExit() {
  FEditor->SetIndentStep(StrToInt(IndentStepBox->GetText()));
  IndentStepBox->SetText(IntToStr(FEditor->GetIndentStep()));
  FCopy->IndentStep = FEditor->GetIndentStep();
}

void TOptionsDialog::TabColumnsBoxExit() {
  const String previous = FEditor->GetTabColumns();
  try {
    FEditor->SetTabColumns(TabColumnsBox->GetText());
  } catch (const ESyntaxMemo& e) {
    MessageDlg(e.Message, mtError, TMsgDlgButtons{mbOK});
    FEditor->SetTabColumns(previous);
    TabColumnsBox->SetText(previous);
  }
}

void TOptionsDialog::DeftabBoxExit() {
  const int previous = FEditor->GetTabDefault();
  try {
    // The editor refuses widths below one column.
    FEditor->SetTabDefault(StrToInt(DeftabBox->GetText()));
  } catch (const Exception& e) {
    MessageDlg(e.Message, mtError, TMsgDlgButtons{mbOK});
    FEditor->SetTabDefault(previous);
    DeftabBox->SetText(IntToStr(previous));
  }
}

// --- Highlighting page -------------------------------------------------------------------

int TOptionsDialog::SelectedElement() {
  const int index = SynElementsBox->GetItemIndex();
  if (index < 0) return -1;
  return static_cast<int>(reinterpret_cast<intptr_t>(SynElementsBox->GetItems()->GetObject(index)));
}

void TOptionsDialog::SynElementsBoxClick() {
  const int element = SelectedElement();
  if (element < 0) return;
  FUpdating = true;
  const bool isStyle = element < seSelectedText;
  // The attribute boxes belong to styles only.
  for (TCheckBox* box : {UseBoldBox, UseItalicBox, UseUnderlineBox})
    box->SetEnabled(isStyle);
  if (element == seSelectedText) {
    const bool fore = FCopy->SystemColorMarkers[1], back = FCopy->SystemColorMarkers[2];
    UseDefForeBox->SetEnabled(true);
    UseDefBackBox->SetEnabled(true);
    ForegroundButton->SetEnabled(!fore);
    ForegroundButton->SetColor(FCopy->SelTextColor);
    BackgroundButton->SetEnabled(!back);
    BackgroundButton->SetColor(FCopy->SelTextBack);
    UseDefForeBox->SetChecked(fore);
    UseDefBackBox->SetChecked(back);
  } else if (element == seLeftMargin || element == seGutter) {
    const bool margin = element == seLeftMargin;
    const bool flag = FCopy->SystemColorMarkers[margin ? 0 : 3];
    UseDefForeBox->SetEnabled(false);
    ForegroundButton->SetEnabled(false);
    UseDefBackBox->SetEnabled(true);
    BackgroundButton->SetEnabled(!flag);
    BackgroundButton->SetColor(margin ? FCopy->MarginColor : FCopy->GutterColor);
    UseDefBackBox->SetChecked(flag);
  } else {
    const TSM_StyleRecord style = FCopy->GetStyle(static_cast<uint8_t>(element));
    UseBoldBox->SetChecked(style.FontStyle & fsBoldBit);
    UseItalicBox->SetChecked(style.FontStyle & fsItalicBit);
    UseUnderlineBox->SetChecked(style.FontStyle & fsUnderlineBit);
    UseDefForeBox->SetEnabled(true);
    UseDefBackBox->SetEnabled(true);
    UseDefForeBox->SetChecked(style.SysForeground);
    UseDefBackBox->SetChecked(style.SysBackground);
    ForegroundButton->SetEnabled(!style.SysForeground);
    ForegroundButton->SetColor(style.Foreground);
    BackgroundButton->SetEnabled(!style.SysBackground);
    BackgroundButton->SetColor(style.Background);
  }
  ForegroundButton->Invalidate();
  BackgroundButton->Invalidate();
  FUpdating = false;
}

bool TOptionsDialog::PreviewFixedPitch() {
  // The metrics follow the font lazily; the answer must be the current font's.
  TSyntaxMemoModel& model = FEditor->GetModel();
  if (model.MetricsDirty) model.ComputeMetrics();
  return model.GetMetrics().FixedPitch;
}

void TOptionsDialog::ApplyToPreview() {
  FEditor->Perform(SM_APPLYSETTINGS, 0, 0);
  FEditor->SetSelStart(FEditor->GetSelStart());
  FEditor->Invalidate();
}

void TOptionsDialog::UseBoldBoxClick(TCheckBox* box) {
  const int element = SelectedElement();
  if (FUpdating || element < 0 || element >= seSelectedText) return;
  const auto number = static_cast<uint8_t>(element & 0xFF);
  TSM_StyleRecord style = FCopy->GetStyle(number);
  const uint8_t bit = static_cast<uint8_t>(1 << (box->Tag - 1));
  style.FontStyle = box->GetChecked() ? style.FontStyle | bit : style.FontStyle & ~bit;
  style.Defined = 1;
  FCopy->SetStyle(number, style);
  ApplyToPreview();
}

void TOptionsDialog::ColorButtonChange() {
  const int element = SelectedElement();
  if (FUpdating || element < 0) return;
  if (element == seSelectedText) {
    if (!FCopy->SystemColorMarkers[2]) FCopy->SelTextBack = BackgroundButton->GetColor();
    if (!FCopy->SystemColorMarkers[1]) FCopy->SelTextColor = ForegroundButton->GetColor();
  } else if (element == seLeftMargin) {
    if (!FCopy->SystemColorMarkers[0]) FCopy->MarginColor = BackgroundButton->GetColor();
  } else if (element == seGutter) {
    if (!FCopy->SystemColorMarkers[3]) FCopy->GutterColor = BackgroundButton->GetColor();
  } else {
    const auto number = static_cast<uint8_t>(element);
    TSM_StyleRecord style = FCopy->GetStyle(number);
    if (!style.SysForeground) style.Foreground = ForegroundButton->GetColor();
    if (!style.SysBackground) style.Background = BackgroundButton->GetColor();
    style.Defined = 1;
    FCopy->SetStyle(number, style);
  }
  ApplyToPreview();
}

void TOptionsDialog::UseDefForeBoxClick(TCheckBox* box) {
  const int element = SelectedElement();
  if (FUpdating || element < 0) return;
  const bool ticked = box->GetChecked();
  if (element == seSelectedText) {
    FCopy->SystemColorMarkers[box == UseDefForeBox ? 1 : 2] = ticked;
  } else if (element == seLeftMargin || element == seGutter) {
    if (box == UseDefBackBox) FCopy->SystemColorMarkers[element == seLeftMargin ? 0 : 3] = ticked;
  } else {
    const auto number = static_cast<uint8_t>(element);
    TSM_StyleRecord style = FCopy->GetStyle(number);
    (box->Tag == 1 ? style.SysForeground : style.SysBackground) = ticked;
    style.Defined = 1;
    FCopy->SetStyle(number, style);
  }
  ApplyToPreview();
  SynElementsBoxClick();
}

void TOptionsDialog::FontNameBoxChange() {
  const int index = FontNameBox->GetItemIndex();
  if (index < 0) return;
  FCopy->FontName = FontNameBox->GetItems()->Get(index);
  FEditor->GetFont()->SetName(FCopy->FontName);
  CursorAfterEOLBox->SetEnabled(PreviewFixedPitch());
}

void TOptionsDialog::FontSizeBoxChange() {
  const int index = FontSizeBox->GetItemIndex();
  if (index < 0) return;
  FCopy->FontSize = StrToInt(FontSizeBox->GetItems()->Get(index));
  FEditor->GetFont()->SetSize(FCopy->FontSize);
}

void TOptionsDialog::EditorMouseDown(int X, int Y) {
  if (X < 0 || Y < 0 || X >= FEditor->GetWidth() || Y >= FEditor->GetHeight()) return;
  if (std::abs(X - FLastMouse.x) <= 5 && std::abs(Y - FLastMouse.y) <= 5) return;
  FLastMouse = {X, Y};
  POINT p{X, Y};
  const int position = static_cast<int>(FEditor->Perform(EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&p)));
  if (position < 0) return;
  FEditor->SetSelStart(position);
  int rowStart = 0;
  TRowRecord* row = FEditor->GetModel().RowAt(position, rowStart);
  const int index = position - rowStart;
  const uint8_t token = row && row->Tokens && index < row->Length ? row->Tokens[index] : 255;
  if (token == 255) return;
  const uint8_t style = FCopy->TokenStyle(token);
  TStrings* items = SynElementsBox->GetItems();
  for (int i = 0; i < items->GetCount(); ++i)
    if ((reinterpret_cast<intptr_t>(items->GetObject(i)) & 0xFF) == style) {
      SynElementsBox->SetItemIndex(i);
      SynElementsBoxClick();
      return;
    }
}

// --- Key assignments page ------------------------------------------------------------

TOptionsDialog::TCommandRecord* TOptionsDialog::SelectedCommand() {
  const int index = CommandDescListBox->GetItemIndex();
  if (index < 0) return nullptr;
  return static_cast<TCommandRecord*>(CommandDescListBox->GetItems()->GetObject(index));
}

void TOptionsDialog::LoadKeys(TCommandRecord& command) {
  if (command.Edited || !command.Keys.empty()) return;
  TKeyPair pair;
  TKeyboardActionContoller& keys = FCopy->GetKeyController();
  for (bool found = keys.FindFirstKeys(command.CommandId, pair.First, pair.Second); found && pair.First;
       found = keys.FindNextKeys(command.CommandId, pair.First, pair.Second))
    command.Keys.push_back(pair);
}

void TOptionsDialog::CommandDescListBoxClick() {
  TCommandRecord* command = SelectedCommand();
  CommandKeysListBox->GetItems()->Clear();
  if (command) {
    LoadKeys(*command);
    for (const TKeyPair& pair : command->Keys)
      CommandKeysListBox->GetItems()->Add(KeyPairText(pair.First, pair.Second));
    if (!command->Keys.empty()) CommandKeysListBox->SetItemIndex(0);
  }
  CommandKeysListBoxClick();
  AddButton->SetEnabled(true);
  DeleteButton->SetEnabled(CommandKeysListBox->GetItemIndex() >= 0);
}

void TOptionsDialog::CommandKeysListBoxClick() {
  FSelectedPair = {};
  const int index = CommandKeysListBox->GetItemIndex();
  if (index >= 0) {
    const String line = CommandKeysListBox->GetItems()->Get(index).substr(1);
    // The key "]" itself shows as "]]".
    size_t close = line.find(']');
    if (close + 1 < line.size() && line[close + 1] == ']') ++close;
    FSelectedPair.First = TextToShortCut(line.substr(0, close));
    const size_t open = line.find("]  [", close) + 4;
    const String second = line.substr(open, line.size() - 1 - open);
    FSelectedPair.Second = second == "<none>" ? 0 : TextToShortCut(second);
  }
  const bool any = CommandKeysListBox->GetItems()->GetCount() > 0;
  DeleteButton->SetEnabled(any);
  EditButton->SetEnabled(any);
}

void TOptionsDialog::CommandKeysListBoxExit() {
  if (TCommandRecord* command = SelectedCommand())
    command->Keys.remove_if([](const TKeyPair& pair) { return pair.First == 0; });
  CommandKeysListBoxClick();
}

void TOptionsDialog::AddButtonClick() {
  TCommandRecord* command = SelectedCommand();
  if (!command) return;
  if (!FKeyDialog) FKeyDialog = std::make_unique<TKeyAssignDialog>(nullptr);
  TKeyPair pair;
  const String name = CommandDescListBox->GetItems()->Get(CommandDescListBox->GetItemIndex());
  if (FKeyDialog->ExecuteKeyPair(pair.First, pair.Second, name, kStep1Info, kStep2Info, 1))
    command->Keys.push_back(pair);
  CommandDescListBoxClick();
}

void TOptionsDialog::EditButtonClick() {
  TCommandRecord* command = SelectedCommand();
  if (!command) return;
  auto found = std::find(command->Keys.begin(), command->Keys.end(), FSelectedPair);
  if (found == command->Keys.end()) return;
  if (!FKeyDialog) FKeyDialog = std::make_unique<TKeyAssignDialog>(nullptr);
  TKeyPair pair = *found;
  const String name = CommandDescListBox->GetItems()->Get(CommandDescListBox->GetItemIndex());
  if (FKeyDialog->ExecuteKeyPair(pair.First, pair.Second, name, kStep1Info, kStep2Info, 0)) *found = pair;
  CommandDescListBoxClick();
}

void TOptionsDialog::DeleteButtonClick() {
  TCommandRecord* command = SelectedCommand();
  if (!command) return;
  auto found = std::find(command->Keys.begin(), command->Keys.end(), FSelectedPair);
  if (found != command->Keys.end()) command->Keys.erase(found);
  command->Edited = 1;
  CommandDescListBoxClick();
}

void TOptionsDialog::OKButtonClick() {
  FOKRefused = false;
  auto keys = std::make_unique<TKeyboardActionContoller>();
  TStrings* items = CommandDescListBox->GetItems();
  for (int i = 0; i < items->GetCount(); ++i) {
    auto* command = static_cast<TCommandRecord*>(items->GetObject(i));
    keys->SetCommandName(command->CommandId, items->Get(i));
    LoadKeys(*command);
  }
  for (int i = 0; i < items->GetCount(); ++i) {
    auto* command = static_cast<TCommandRecord*>(items->GetObject(i));
    for (const TKeyPair& pair : command->Keys)
      try {
        keys->AddBinding(pair.First, pair.Second, command->CommandId);
      } catch (const Exception& e) {
        FOKRefused = true;
        MessageDlg(e.Message, mtError, TMsgDlgButtons{mbOK});
        return;
      }
  }
  SetModalResult(mrOk);
  FCopy->GetKeyController().Assign(*keys);
}

// --- Auto correct page ---------------------------------------------------------------

void TOptionsDialog::AutoReplBoxClick() {
  const int index = AutoReplBox->GetItemIndex();
  FReplKey.clear();
  FReplValue.clear();
  if (index >= 0) SplitAtTab(AutoReplBox->GetItems()->Get(index), FReplKey, FReplValue);
  ReplaceBox->SetText(FReplKey);
  WithBox->SetText(FReplValue);
  UpdateAutoReplButtons();
}

void TOptionsDialog::UpdateAutoReplButtons() {
  const String key = ReplaceBox->GetText();
  const String value = WithBox->GetText();
  TStrings* items = AutoReplBox->GetItems();
  if (key.empty() && value.empty()) {
    AutoReplButton1->SetEnabled(false);
    AutoReplButton2->SetEnabled(false);
    return;
  }
  if (FAutoReplKeys->IndexOf(key) < 0) {
    AutoReplButton1->SetEnabled(true);
    AutoReplButton1->SetCaption("Add");
    AutoReplButton2->SetEnabled(false);
    return;
  }
  AutoReplButton1->SetEnabled(false);
  const String lower = LowerCase(key) + "\t";
  if (!value.empty()) {
    AutoReplButton2->SetEnabled(true);
    AutoReplButton2->SetCaption(items->IndexOf(lower + value) < 0 ? "Replace" : "Delete");
    return;
  }
  if (FAutoReplKeys->GetCount() == 0) {
    AutoReplButton2->SetEnabled(false);
    return;
  }
  for (int i = 0; i < items->GetCount(); ++i)
    if (items->Get(i).compare(0, lower.size(), lower) == 0) {
      AutoReplBox->SetItemIndex(i);
      break;
    }
  AutoReplButton2->SetEnabled(true);
  AutoReplButton2->SetCaption(items->IndexOf(lower) < 0 ? "Replace" : "Delete");
}

void TOptionsDialog::AutoReplButton1Click() {
  if (AutoReplButton1->GetCaption() != "Add") return;
  const String key = ReplaceBox->GetText();
  FAutoReplKeys->Add(key);
  const int index = AutoReplBox->GetItems()->Add(key + "\t" + WithBox->GetText());
  AutoReplBox->SetItemIndex(index);
  AutoReplBoxClick();
  RebuildAutoReplace();
}

void TOptionsDialog::AutoReplButton2Click() {
  const String key = ReplaceBox->GetText();
  TStrings* items = AutoReplBox->GetItems();
  const int index = AutoReplBox->GetItemIndex();
  if (AutoReplButton2->GetCaption() == "Delete") {
    const int known = FAutoReplKeys->IndexOf(key);
    if (known >= 0) FAutoReplKeys->Delete(known);
    if (index >= 0) items->Delete(index);
    AutoReplBox->SetItemIndex(std::min(index, items->GetCount() - 1));
  } else {
    items->BeginUpdate();
    const int known = FAutoReplKeys->IndexOf(key);
    if (known >= 0) FAutoReplKeys->Delete(known);
    if (index >= 0) items->Delete(index);
    FAutoReplKeys->Add(key);
    AutoReplBox->SetItemIndex(items->Add(key + "\t" + WithBox->GetText()));
    items->EndUpdate();
  }
  AutoReplBoxClick();
  RebuildAutoReplace();
}

void TOptionsDialog::RebuildAutoReplace() {
  TAutoReplace& replace = FCopy->GetAutoReplace();
  replace.ClearEntries();
  TStrings* items = AutoReplBox->GetItems();
  for (int i = 0; i < items->GetCount(); ++i) {
    String key, value;
    SplitAtTab(items->Get(i), key, value);
    replace.AddReplacement(key, value);
  }
  replace.SetActionKeys(AutoReplActBox->GetText());
}

// --- Code templates page -----------------------------------------------------------

void TOptionsDialog::cteListBoxClick() {
  const int index = cteListBox->GetItemIndex();
  String name, description;
  if (index >= 0) SplitAtTab(cteListBox->GetItems()->Get(index), name, description);
  cteNameBox->SetText(name);
  cteDescBox->SetText(description);
  String text;
  if (FCopy->GetCodeTemplates().FindTemplate(name, text))
    SyntaxMemo1->SetText(text);
  else
    SyntaxMemo1->GetLines()->Clear();
  SyntaxMemo1->SetModified(false);
  UpdateTemplateButtons();
}

void TOptionsDialog::UpdateTemplateButtons() {
  const String name = cteNameBox->GetText();
  if (name.empty()) {
    CodeTemplateButton1->SetEnabled(false);
    CodeTemplateButton2->SetEnabled(false);
    return;
  }
  if (FTemplateNames->IndexOf(name) < 0) {
    CodeTemplateButton1->SetEnabled(true);
    CodeTemplateButton1->SetCaption("Add");
    CodeTemplateButton2->SetEnabled(false);
    return;
  }
  CodeTemplateButton1->SetEnabled(false);
  CodeTemplateButton2->SetEnabled(true);
  const String line = LowerCase(name) + "\t" + cteDescBox->GetText();
  String text;
  if (cteListBox->GetItems()->IndexOf(line) < 0)
    CodeTemplateButton2->SetCaption("Replace");
  else if (FCopy->GetCodeTemplates().FindTemplate(name, text))
    CodeTemplateButton2->SetCaption(text != SyntaxMemo1->GetText() ? "Replace" : "Delete");
}

void TOptionsDialog::CodeTemplateButton1Click() {
  if (CodeTemplateButton1->GetCaption() != "Add") return;
  const String name = cteNameBox->GetText();
  const String description = cteDescBox->GetText();
  FTemplateNames->Add(name);
  FCopy->GetCodeTemplates().AddTemplate(name, description, SyntaxMemo1->GetText());
  cteListBox->SetItemIndex(cteListBox->GetItems()->Add(name + "\t" + description));
  cteListBoxClick();
}

void TOptionsDialog::CodeTemplateButton2Click() {
  const String name = cteNameBox->GetText();
  const String description = cteDescBox->GetText();
  TStrings* items = cteListBox->GetItems();
  const int index = cteListBox->GetItemIndex();
  if (CodeTemplateButton2->GetCaption() == "Replace") {
    FCopy->GetCodeTemplates().AddTemplate(name, description, SyntaxMemo1->GetText());
    SyntaxMemo1->SetModified(false);
    if (index >= 0) items->Delete(index);
    cteListBox->SetItemIndex(items->Add(name + "\t" + description));
  } else {
    const int known = FTemplateNames->IndexOf(name);
    if (known >= 0) FTemplateNames->Delete(known);
    if (index >= 0) items->Delete(index);
    FCopy->GetCodeTemplates().DeleteTemplate(name);
    cteListBox->SetItemIndex(std::min(index, items->GetCount() - 1));
    cteListBox->Invalidate();
  }
  cteListBoxClick();
}
