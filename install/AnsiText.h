// Text in the system's ANSI code page, whatever it is: single bytes, double bytes (932) or
// UTF-8 (65001). Cuts never split a character.
#pragma once

#include "framework/CString.h"

// How many bytes the character that starts with byte b has in the ANSI code page.
int AnsiCharLength(unsigned char b);

// The bytes of the longest prefix of lpsz of at most cbMax bytes that ends on a character
// boundary.
int AnsiPrefixLength(LPCSTR lpsz, int cbMax);

// Appends lpsz for a person to read in a message: control characters (a line break in a
// name) as '?', and a text longer than cbMax bytes cut to fit, with "..." at its end.
void AppendForDisplay(CString& rText, LPCSTR lpsz, int cbMax);
