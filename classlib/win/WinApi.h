// <windows.h> for the class library and its users: Windows defines some
// names the class library uses for members (TStrings::GetObject,
// Application.MessageBox…) as macros of their …A forms; they are undone here,
// and the …A functions are called by their full names.
#pragma once

#include <windows.h>

#include <commdlg.h>

#undef GetObject
#undef MessageBox
#undef TextOut
#undef FindText
#undef ReplaceText
#undef DrawText
#undef GetClassName
