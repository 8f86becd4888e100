// The Commands page of a designed manager's dialog: categories added,
// inserted, renamed and deleted, commands added through the add-item dialog,
// deleted by the designer and reordered; the add-item dialog.
#include "dxBarDesignForm.h"

#include "dxBarCustForm.h"
#include "dxBarDesign.h"

#include "StdCtrls.h"

namespace {

bool Confirm(const String& Text) {
  return Application->MessageBox(Text, Application->Title, MB_OKCANCEL | MB_ICONWARNING) == IDOK;
}

} // namespace

void TdxBarCustomizingFormDesign::HookCommandsPage() {
  FForm->LCategories->OnKeyDown = [this](TObject*, WORD& Key, TShiftState Shift) {
    if (!Shift.Empty()) return;
    if (Key == VK_INSERT) CategoriesInsertClick();
    if (Key == VK_DELETE) CategoriesDeleteClick();
  };
  FForm->CommandsListBox->OnKeyDown = [this](TObject*, WORD& Key, TShiftState Shift) {
    if (Shift.Empty() && Key == VK_INSERT) CommandsAddClick();
    if (Shift.Empty() && Key == VK_DELETE) CommandsDeleteClick();
    if (Shift == TShiftState{ssCtrl} && (Key == VK_UP || Key == VK_DOWN)) {
      MoveCommand(Key == VK_UP ? -1 : +1);
      Key = 0;
    }
  };
  FForm->CommandsListBox->ControlStyle.Include(csDoubleClicks);
  FForm->CommandsListBox->OnDblClick = [this](TObject*) {
    TdxBarDesignerHook* hook = Hook();
    if (TdxBarItem* item = SelectedCommand(); item && hook) hook->EditComponent(item);
  };
}

TdxBarItem* TdxBarCustomizingFormDesign::SelectedCommand() {
  TListBox* list = FForm->CommandsListBox;
  const int index = list->GetItemIndex();
  if (index < 0 || index >= list->GetCount()) return nullptr;
  return static_cast<TdxBarItem*>(list->GetItems()->GetObject(index));
}

// ---- Categories ----

void TdxBarCustomizingFormDesign::CategoriesAddClick() {
  String name;
  if (!EditBarName(name, 1, 0, nullptr, FBarManager)) return;
  FBarManager->GetCategories()->Add(name);
  const int row = FForm->LCategories->GetItems()->Add(name);
  FForm->LCategories->SetItemIndex(row);
  FForm->LCategoriesClick();
  FForm->LCategories->SetFocus();
}

void TdxBarCustomizingFormDesign::CategoriesInsertClick() {
  const int index = FForm->LCategories->GetItemIndex();
  if (index < 0) return;
  String name;
  if (!EditBarName(name, 1, 1, nullptr, FBarManager)) return;
  FBarManager->GetCategories()->Insert(index, name);
  FForm->LCategories->GetItems()->Insert(index, name);
  FForm->LCategories->SetItemIndex(index);
  FForm->LCategoriesClick();
  FForm->LCategories->SetFocus();
}

void TdxBarCustomizingFormDesign::CategoriesRenameClick() {
  const int index = FForm->LCategories->GetItemIndex();
  if (index < 0) return;
  String name = FBarManager->GetCategories()->Get(index);
  if (!EditBarName(name, 1, 2, nullptr, FBarManager)) return;
  FBarManager->GetCategories()->Put(index, name);
  FForm->LCategories->GetItems()->Put(index, name);
  FForm->LCategories->SetItemIndex(index);
  FForm->LCategories->SetFocus();
}

void TdxBarCustomizingFormDesign::CategoriesDeleteClick() {
  TListBox* list = FForm->LCategories;
  const int index = list->GetItemIndex();
  if (index < 0 || list->GetCount() < 2) return;
  if (!Confirm(Format("Are you sure you want to delete the '%s' category?", list->GetItems()->Get(index)))) return;
  SyncDesignerWithManager();
  FBarManager->GetCategories()->Delete(index);
  list->GetItems()->Delete(index);
  list->SetItemIndex(index < list->GetCount() ? index : list->GetCount() - 1);
  FForm->LCategoriesClick();
  list->SetFocus();
}

// ---- Commands ----

void TdxBarCustomizingFormDesign::CommandsAddClick() {
  TdxBarItem* item = AddBarItemDialog(FBarManager, FForm->LCategories->GetItemIndex());
  if (!item) return;
  FForm->SelectItem(item, true);
  FForm->LCommandsClick();
  FillAllCommands();
  FForm->CommandsListBox->SetFocus();
}

// The designer deletes the item; the row goes with it, and the next one is
// selected.
void TdxBarCustomizingFormDesign::CommandsDeleteClick() {
  TListBox* list = FForm->CommandsListBox;
  TdxBarItem* item = SelectedCommand();
  TdxBarDesignerHook* hook = Hook();
  if (!item || !hook) return;
  const int index = list->GetItemIndex();
  FDeleting = true;
  auto after = [&] {
    BarManagerDesignerModified(FBarManager);
    list->SetItemIndex(index < list->GetCount() ? index : list->GetCount() - 1);
    FForm->LCommandsClick();
    FDeleting = false;
    FillAllCommands();
    list->SetFocus();
  };
  try {
    hook->DeleteComponent(FBarManager, item);
  } catch (...) {
    FForm->LCategoriesClick();
    after();
    throw;
  }
  list->GetItems()->Delete(index);
  after();
}

void TdxBarCustomizingFormDesign::CommandsClearClick() {
  TListBox* list = FForm->CommandsListBox;
  TdxBarDesignerHook* hook = Hook();
  const int category = FForm->LCategories->GetItemIndex();
  if (!hook || category < 0 || list->GetCount() == 0) return;
  if (!Confirm(Format("Are you sure you want to delete all commands in the '%s' category?",
                      FForm->LCategories->GetItems()->Get(category))))
    return;
  std::vector<TdxBarItem*> items;
  for (int i = 0; i < list->GetCount(); ++i)
    items.push_back(static_cast<TdxBarItem*>(list->GetItems()->GetObject(i)));
  FDeleting = true;
  try {
    for (TdxBarItem* item : items)
      hook->DeleteComponent(FBarManager, item);
  } catch (...) {
    FDeleting = false;
    FForm->LCategoriesClick();
    throw;
  }
  FDeleting = false;
  BarManagerDesignerModified(FBarManager);
  FForm->LCategoriesClick();
  FillAllCommands();
  list->SetFocus();
}

// The command changes places with its neighbour in the manager's items too.
void TdxBarCustomizingFormDesign::MoveCommand(int Delta) {
  TListBox* list = FForm->CommandsListBox;
  const int s = list->GetItemIndex();
  if (s < 0 || s >= list->GetCount() || s + Delta < 0 || s + Delta >= list->GetCount()) return;
  auto* a = static_cast<TdxBarItem*>(list->GetItems()->GetObject(s));
  auto* b = static_cast<TdxBarItem*>(list->GetItems()->GetObject(s + Delta));
  FBarManager->ExchangeItems(a->GetIndex(), b->GetIndex());
  list->GetItems()->Exchange(s, s + Delta);
  list->SetItemIndex(s + Delta);
  FillAllCommands();
}

// ---- The add-item dialog ----

TdxBarItemAddEditor::TdxBarItemAddEditor(TdxBarManager* ABarManager) : TForm(nullptr), FBarManager(ABarManager) {
  SetName("dxBarItemAddEditor");
  SetCaption("Add New Rallybars Item");
  SetBorderStyle(bsDialog);
  SetFormStyle(fsStayOnTop);
  Position = poScreenCenter;
  SetClientWidth(263);
  SetClientHeight(150);
  if (TdxBarCustomizingForm* form = ActiveCustomizingForm()) SetFont(form->GetFont());
  auto label = [this](const char* caption, int top) {
    auto* l = new TLabel(this);
    l->SetParent(this);
    l->SetCaption(caption);
    l->SetBounds(8, top + 3, 47, 13);
  };
  auto combo = [this](const char* name, int top) {
    auto* c = new TComboBox(this);
    c->SetName(name);
    c->SetParent(this);
    c->SetStyle(csDropDownList);
    c->SetBounds(60, top, 195, 21);
    return c;
  };
  auto edit = [this](const char* name, int top) {
    auto* e = new TEdit(this);
    e->SetName(name);
    e->SetParent(this);
    e->SetBounds(60, top, 195, 21);
    return e;
  };
  label("Type:", 8);
  ComboBox1 = combo("ComboBox1", 8);
  ComboBox1->DropDownCount = 100;
  ComboBox1->OnChange = [this](TObject*) { ComboBox1Click(); };
  label("Category:", 36);
  ComboBox2 = combo("ComboBox2", 36);
  label("Name:", 64);
  Edit1 = edit("Edit1", 64);
  label("Caption:", 92);
  Edit2 = edit("Edit2", 92);
  Edit2->SetText("New Item");
  BOk = new TButton(this);
  BOk->SetParent(this);
  BOk->SetCaption("OK");
  BOk->SetDefault(true);
  BOk->ModalResult = mrOk;
  BOk->SetBounds(100, 120, 75, 23);
  BOk->OnClick = [this](TObject*) { BOkClick(); };
  BCancel = new TButton(this);
  BCancel->SetParent(this);
  BCancel->SetCaption("Cancel");
  BCancel->Cancel = true;
  BCancel->ModalResult = mrCancel;
  BCancel->SetBounds(180, 120, 75, 23);
  OnShow = [this](TObject*) { SetActiveControl(Edit1); };

  TStrings* categories = FBarManager->GetCategories();
  for (int i = 0; i < categories->GetCount(); ++i)
    ComboBox2->GetItems()->Add(categories->Get(i));
  for (int i = 0; i < GetRegisteredItemClassCount(); ++i)
    ComboBox1->GetItems()->Add(GetRegisteredItemClass(i)->Name);
  ComboBox1->SetItemIndex(0);
  ComboBox1Click();
}

void TdxBarItemAddEditor::ComboBox1Click() {
  const int index = ComboBox1->GetItemIndex();
  if (index >= 0) Edit1->SetText(MakeUniqueItemName(FBarManager, GetRegisteredItemClass(index)));
}

// A name the form refuses (or any failure setting the item up) frees the new
// item and proposes a fresh name; the dialog stays open.
void TdxBarItemAddEditor::BOkClick() {
  TdxBarItemClass itemClass = GetRegisteredItemClass(ComboBox1->GetItemIndex());
  if (!itemClass) {
    SetModalResult(mrNone);
    return;
  }
  TdxBarItem* item = itemClass->Create(FBarManager->GetOwnerForm());
  try {
    item->SetName(Edit1->GetText());
    item->SetCategory(ComboBox2->GetItemIndex());
    item->SetCaption(Edit2->GetText());
    BarManagerDesignerModified(item->GetBarManager());
    CreatedItem = item;
  } catch (...) {
    delete item;
    ComboBox1Click();
    SetModalResult(mrNone);
  }
}

TdxBarItem* AddBarItemDialog(TdxBarManager* BarManager, int Category) {
  TdxBarItemAddEditor dialog(BarManager);
  const int count = dialog.ComboBox2->GetItems()->GetCount();
  dialog.ComboBox2->SetItemIndex(Category >= 0 && Category < count ? Category : 0);
  return dialog.ShowModal() == mrOk ? dialog.CreatedItem : nullptr;
}
