// The date combo item: its texts from the user's locale, reading them back,
// the range, the start date, "+" and "-", the drop-down calendar and the
// "Select the date" dialog.
#include "BarsTest.h"
#include "dxBarExtCombos.h"

#include "GuiTest.h"

#include "DateUtils.h"
#include "Forms.h"
#include "StdCtrls.h"

namespace {

// The locale's texts of a date: the short day name and the short date.
String LocaleText(TDateTime date, const char* format) {
  int y = 0, m = 0, d = 0;
  DecodeDate(date, y, m, d);
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(y);
  t.wMonth = static_cast<WORD>(m);
  t.wDay = static_cast<WORD>(d);
  t.wDayOfWeek = static_cast<WORD>(WeekdayOf(date));
  char buffer[100] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, 0, &t, format, buffer, sizeof buffer);
  return buffer;
}
String DayText(TDateTime date) { return LocaleText(date, "ddd ") + LocaleText(date, nullptr); }

class DateComboTest : public EditingBarsTest {
protected:
  void SetUp() override {
    Build([this](TdxBarManager* m) {
      TdxBar* bar = m->GetBars()->Add();
      Combo = new TdxBarDateCombo(m->GetOwnerForm());
      Combo->SetName("Dates");
      Combo->SetCategory(0);
      Combo->SetWidth(180);
      AddLink(bar->GetItemLinks(), Combo);
    });
    ShowDocked(420, 360, 250);
  }

  TCustomdxBarComboControl* Control() const {
    return dynamic_cast<TCustomdxBarComboControl*>(Bar->GetItemLinks()->GetItem(0)->GetControl());
  }
  void ClickValue() {
    const TRect r = Bar->GetItemLinks()->GetItem(0)->ItemRect;
    guitest::ClickAt(Window->GetHandle(), r.left + 10, (r.top + r.bottom) / 2);
    guitest::PumpFor(40);
  }

  TdxBarDateCombo* Combo = nullptr;
};

const TDateTime kChristmas = EncodeDate(2026, 12, 25);

} // namespace

TEST_F(DateComboTest, ANewItemShowsTodayWithoutItsDayName) {
  EXPECT_EQ(Combo->GetText(), DayText(Date())) << "the form's loading applied the start date";
  Combo = new TdxBarDateCombo(Form.get());
  EXPECT_EQ(Combo->GetText(), LocaleText(Date(), nullptr));
  EXPECT_TRUE(Combo->GetShowDayText());
  EXPECT_EQ(Combo->GetDateOnStart(), bdsToday);
  Combo->SetDate(kChristmas);
  EXPECT_EQ(Combo->GetText(), DayText(kChristmas));
  EXPECT_EQ(Combo->GetDateOnStart(), bdsCustom) << "a text of its own is stored with the form";
}

TEST_F(DateComboTest, TextsReadBackToTheirDates) {
  const TDateTime dates[] = {kChristmas, EncodeDate(2000, 2, 29), EncodeDate(1999, 1, 1), 0};
  for (bool dayText : {true, false}) {
    Combo->SetShowDayText(dayText);
    for (TDateTime date : dates) {
      SCOPED_TRACE(DateToStr(date));
      const String text = Combo->DateToText(date);
      EXPECT_EQ(text, dayText ? DayText(date) : LocaleText(date, nullptr));
      if (LocaleText(date, nullptr).find(' ') == String::npos) {
        EXPECT_EQ(TdxBarDateCombo::TextToDate(text), date);
      }
    }
  }
  // 30 December 1899 was a Saturday: its day name is the real one.
  Combo->SetShowDayText(true);
  EXPECT_EQ(Combo->DateToText(0).substr(0, LocaleText(0, "ddd").size()), LocaleText(EncodeDate(2026, 12, 12), "ddd"));

  // A day name, a blank and a date written with dots.
  String dotted = LocaleText(kChristmas, nullptr);
  for (char& c : dotted)
    if (c == '/' || c == '-') c = '.';
  EXPECT_EQ(TdxBarDateCombo::TextToDate("Xyz " + dotted), kChristmas) << dotted;
  for (const char* bad : {"", "Mon", "Mon not a date", "31.31.31.31"})
    EXPECT_EQ(TdxBarDateCombo::TextToDate(bad), NullDate) << bad;
}

TEST_F(DateComboTest, TheRangeClampsAndKeepsItsOrder) {
  // The minimum first on a fresh item stays 0: the maximum is still 0.
  Combo->SetMinDate(kChristmas - 10);
  EXPECT_EQ(Combo->GetMinDate(), 0);
  // The maximum first, then the minimum.
  Combo->SetMaxDate(kChristmas + 10);
  Combo->SetMinDate(kChristmas - 10);
  EXPECT_EQ(Combo->GetMinDate(), kChristmas - 10);
  struct Case {
    TDateTime Set, Got;
  } cases[] = {{kChristmas, kChristmas}, {kChristmas + 30, kChristmas + 10}, {kChristmas - 30, kChristmas - 10},
               {NullDate, kChristmas - 10}};
  for (const Case& c : cases) {
    Combo->SetDate(c.Set);
    EXPECT_EQ(Combo->GetDate(), c.Got) << c.Set;
  }
  // A shrinking range moves the date inside.
  Combo->SetDate(kChristmas + 8);
  Combo->SetMaxDate(kChristmas + 2);
  EXPECT_EQ(Combo->GetDate(), kChristmas + 2);
  Combo->SetMaxDate(kChristmas - 20);
  EXPECT_EQ(Combo->GetMaxDate(), kChristmas - 10) << "never below the minimum";
}

TEST_F(DateComboTest, OnlyAMaximumMakesTheNullDateTheFirstDay) {
  Combo->SetMaxDate(kChristmas);
  Combo->SetDate(NullDate);
  EXPECT_EQ(Combo->GetDate(), 0);
  EXPECT_FALSE(Combo->GetText().empty());
}

TEST_F(DateComboTest, TheStartDateIsAppliedWhenLoaded) {
  Combo->BeginLoading();
  Combo->SetDateOnStart(bdsNullDate);
  Combo->Loaded();
  EXPECT_EQ(Combo->GetText(), "");
  EXPECT_EQ(Combo->GetDateOnStart(), bdsNullDate);
  Combo->SetText(LocaleText(kChristmas, nullptr));
  EXPECT_EQ(Combo->GetDateOnStart(), bdsCustom);
  EXPECT_EQ(Combo->GetDate(), kChristmas);
  Combo->SetDateOnStart(bdsToday);
  EXPECT_EQ(Combo->GetDate(), Date());
}

TEST_F(DateComboTest, PlusAndMinusStepTheEditedDate) {
  Combo->SetShowEditor(true);
  Combo->SetDate(kChristmas);
  ClickValue();
  ASSERT_TRUE(Control()->GetFocused());
  guitest::TypeText("+");
  guitest::TypeText("+");
  guitest::PumpFor(40);
  EXPECT_EQ(Control()->GetText(), DayText(kChristmas + 2));
  guitest::TypeText("-");
  guitest::PumpFor(40);
  EXPECT_EQ(Control()->GetText(), DayText(kChristmas + 1));
  SetWindowTextA(Control()->GetInPlaceWnd(), "");
  guitest::TypeText("+");
  guitest::PumpFor(40);
  EXPECT_EQ(Control()->GetText(), "") << "nothing to step, and the character is dropped";
}

TEST_F(DateComboTest, TheDropDownOpensOnTodaysMonthAndAClickChooses) {
  Combo->SetDate(NullDate);
  ClickValue();
  guitest::PressKey(VK_F4);
  guitest::PumpFor(60);
  TdxBarDateNavigator* navigator = Combo->GetNavigator();
  ASSERT_TRUE(navigator->HandleAllocated() && IsWindowVisible(navigator->GetHandle()));
  EXPECT_EQ(navigator->GetShownMonth(), FirstOfMonth(Date()));
  const HWND parent = GetParent(navigator->GetHandle());
  EXPECT_TRUE(parent == nullptr || parent == GetDesktopWindow()) << "detached from the form";
  guitest::TCapture::Paint(navigator->GetHandle()).SavePng("bars_datecombo_dropdown");

  // A click on the 15th of the month shown.
  const TDateTime target = FirstOfMonth(Date()) + 14;
  POINT hit{-1, -1};
  RECT client{};
  GetClientRect(navigator->GetHandle(), &client);
  for (int y = 0; y < client.bottom && hit.x < 0; y += 2)
    for (int x = 0; x < client.right && hit.x < 0; x += 2)
      if (navigator->DateAtPoint(x, y) == target) hit = POINT{x + 3, y + 3};
  ASSERT_GE(hit.x, 0);
  guitest::ClickAt(navigator->GetHandle(), hit.x, hit.y);
  guitest::PumpFor(60);
  EXPECT_EQ(Combo->GetDate(), target);
  EXPECT_FALSE(navigator->HandleAllocated() && IsWindowVisible(navigator->GetHandle()));
  EXPECT_FALSE(Control()->GetFocused());
}

TEST_F(DateComboTest, TheDialogLaysOutItsPartsAndTakesTodayClearAndOK) {
  Combo->SetDate(kChristmas);
  struct TSeen {
    int EditLeft = -1, NavTop = -1, EditBottom = -1;
    String Text, AfterClear, AfterToday;
    String Caption;
  } seen;
  guitest::AnswerNextModal([&](HWND dialog) {
    TForm* form = Combo->GetDialog();
    TEdit* edit = Combo->GetDialogEdit();
    TdxBarDateNavigator* nav = Combo->GetDialogNavigator();
    seen.Caption = form->GetCaption();
    seen.Text = edit->GetText();
    seen.EditLeft = edit->GetLeft();
    seen.EditBottom = edit->GetTop() + edit->GetHeight();
    seen.NavTop = nav->GetTop();
    guitest::PumpFor(50);
    guitest::TCapture::Paint(dialog).SavePng("bars_datecombo_dialog");
    // Clear, then Today, by their buttons.
    for (int i = 0; i < form->GetControlCount(); ++i) {
      auto* button = dynamic_cast<TButton*>(form->GetControl(i));
      if (button && button->GetCaption() == dxBarClearText()) {
        button->Click();
        seen.AfterClear = edit->GetText();
      }
    }
    for (int i = 0; i < form->GetControlCount(); ++i) {
      auto* button = dynamic_cast<TButton*>(form->GetControl(i));
      if (button && button->GetCaption() == dxBarTodayText()) {
        button->Click();
        seen.AfterToday = edit->GetText();
      }
    }
    form->SetModalResult(mrOk);
  });
  Combo->DirectClick();
  guitest::PumpUntil([] { return !guitest::AnswerPending(); });
  EXPECT_EQ(seen.Caption, "Select the date");
  EXPECT_EQ(seen.Text, DayText(kChristmas));
  EXPECT_EQ(seen.AfterClear, "");
  EXPECT_EQ(seen.AfterToday, DayText(Date()));
  EXPECT_EQ(seen.NavTop - seen.EditBottom, seen.EditLeft) << "the spacing between the edit and the calendar";
  EXPECT_EQ(Combo->GetDate(), Date()) << "OK takes the edit's date";
  EXPECT_EQ(Combo->GetDialog(), nullptr);
}

TEST_F(DateComboTest, ADoubleClickOnADayConfirmsTheDialog) {
  Combo->SetDate(kChristmas);
  guitest::AnswerNextModal([&](HWND) {
    TdxBarDateNavigator* nav = Combo->GetDialogNavigator();
    guitest::PumpFor(30);
    const TDateTime target = kChristmas - 3;
    for (int y = 0; y < nav->GetClientHeight(); y += 2)
      for (int x = 0; x < nav->GetClientWidth(); x += 2)
        if (nav->DateAtPoint(x, y) == target) {
          guitest::DoubleClickAt(nav->GetHandle(), x + 3, y + 3);
          return;
        }
  });
  Combo->DirectClick();
  guitest::PumpUntil([] { return !guitest::AnswerPending(); });
  guitest::PumpFor(30);
  EXPECT_EQ(Combo->GetDate(), kChristmas - 3);
}
