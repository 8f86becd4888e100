// Helpers for GUI tests under Wine: pump messages until something happens,
// paint windows into memory bitmaps, read their pixels and save them as PNG.
#pragma once

#include "SysUtils.h"

#include "WinApi.h"

#include <cstdint>
#include <functional>

namespace guitest {

// Pumps messages until done() holds or timeoutMs passes; true when done.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Pumps messages for the given time.
void PumpFor(int ms);

// A 32-bit top-down picture of a window, painted as the window paints itself.
class TCapture {
public:
  TCapture(int width, int height);
  ~TCapture();
  TCapture(const TCapture&) = delete;
  TCapture& operator=(const TCapture&) = delete;
  TCapture(TCapture&& other) noexcept;

  // Paints the window's client area and every visible child at its offset by
  // sending WM_ERASEBKGND and WM_PRINTCLIENT with the memory DC (PrintWindow
  // and WM_PRINT draw no children under Wine); a child whose window region
  // is empty is left out. Children's frames and scroll bars are drawn in the
  // classic look from their styles.
  static TCapture Paint(HWND wnd);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  HDC DC() const { return FDC; }
  // The pixel as a COLORREF (0x00BBGGRR), or CLR_INVALID outside.
  COLORREF Pixel(int x, int y) const;
  // How many pixels within the rectangle have the colour.
  int CountPixels(const RECT& r, COLORREF color) const;

  void SaveToBmp(const String& fileName) const;
  // Saves <screenshot folder>/<name>.png for a person to look at; returns
  // the PNG's path (empty when the conversion failed).
  String SavePng(const String& name) const;

private:
  int FWidth = 0;
  int FHeight = 0;
  HDC FDC = nullptr;
  HBITMAP FBitmap = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
  uint32_t* FBits = nullptr;
};

// The folder where tests save their pictures, as a Unix path.
String ScreenshotDir();

} // namespace guitest

#include "Forms.h"

#include <vector>

namespace guitest {

// Real input through SendInput: the key goes to the window with the focus.
enum Modifier { kNone = 0, kShift = 1, kCtrl = 2, kAlt = 4 };
void PressKey(WORD vk, int modifiers = kNone);
// One half of a key press, for keys held across other input.
void KeyDown(WORD vk);
void KeyUp(WORD vk);
void TypeText(const String& text);
// A left click at a point of the window's client area.
void ClickAt(HWND wnd, int x, int y);
void ClickControl(TControl* control);
// One mouse event (MOUSEEVENTF_LEFTDOWN, ...; 0 only moves) at a point of
// the window's client area, once the pointer is there.
void MouseEventAt(HWND wnd, int x, int y, DWORD flags = 0);
// The same event at a screen point at once, pumping nothing (callers may be
// inside another loop).
void SendMouseAt(POINT screen, DWORD flags);
// The buttons of the mouse, for the helpers below.
enum MouseButton { kLeftButton, kRightButton, kMiddleButton };
// Two clicks of the button within the double-click time at a client point.
void DoubleClickAt(HWND wnd, int x, int y, MouseButton button = kLeftButton);
// Presses the button at one client point, moves in steps to the other with
// the modifier keys held, and releases it there.
void DragAt(HWND wnd, POINT from, POINT to, int modifiers = kNone, MouseButton button = kLeftButton);
// Turns the wheel by delta (WHEEL_DELTA a notch, negative towards the user)
// with the pointer at a client point.
void WheelAt(HWND wnd, int x, int y, int delta);

// Answers the next window that opens modally (a form, a message box or a
// common dialog) from inside its message loop: the test calls this before the
// action that opens the window. action receives the new window.
void AnswerNextModal(std::function<void(HWND)> action, int timeoutMs = 10000);
// Answers the next modal form by its class library object.
void AnswerNextForm(std::function<void(TCustomForm*)> action, int timeoutMs = 10000);
// Presses a button of the next message box or dialog (IDOK, IDYES...).
void AnswerMessageBox(int buttonId);
// True while an answer is waiting for its window.
bool AnswerPending();
// The text of a message box (its static text).
String DialogText(HWND dialog);
// The text of a message dialog of the class library (ShowMessage,
// MessageDlg): the caption of its label.
String MessageText(TCustomForm* form);

// Collects what reaches Application.OnException while it lives.
class TExceptionCapture {
public:
  TExceptionCapture();
  ~TExceptionCapture();
  std::vector<String> Messages;

private:
  TExceptionEvent FOld;
};

} // namespace guitest

namespace guitest {

// Turns the visual style (Wine's bundled theme) on or off for this program
// and tells its windows.
void SetVisualStyle(bool on);

} // namespace guitest

namespace guitest {

// Runs without the visual style. Setting the application's theme
// properties leaves IsThemeActive and OpenThemeData alone under Wine;
// EnableTheming(FALSE) switches the style off for the whole process (and
// writes ThemeActive "0" into the prefix) and cannot be undone in it. So
// tests of the classic look live in suites named "...StyleOff" and run in a
// child process of the test executable.
//
// Call from main after InitGoogleTest: in such a child it switches the style
// off; otherwise it leaves the StyleOff suites out of this run.
void InitStyleOffRuns();
// True in the child that runs the StyleOff suites.
bool IsStyleOffRun();
// Runs the test executable again on the StyleOff tests that match filter,
// its output beside ours, then writes ThemeActive "1" back so the next
// process is themed again. Returns the child's exit code.
int RunStyleOffCases(const String& filter = "*StyleOff.*");

} // namespace guitest
