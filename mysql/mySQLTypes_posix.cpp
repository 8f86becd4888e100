#include "mySQLTypes.h"

// No OEM code page here: the text is already what the program shows.
String OemToAnsiText(const String& text) {
  return text;
}
