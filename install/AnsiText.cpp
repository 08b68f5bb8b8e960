#include "AnsiText.h"

#include <string.h>

int AnsiCharLength(unsigned char b)
{
    const UINT nCodePage = ::GetACP();
    if (nCodePage == CP_UTF8)
        return b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    return ::IsDBCSLeadByteEx(nCodePage, b) ? 2 : 1;
}

int AnsiPrefixLength(LPCSTR lpsz, int cbMax)
{
    int cb = 0;
    while (lpsz[cb] != '\0') {
        const int cbChar = AnsiCharLength((unsigned char)lpsz[cb]);
        if (cb + cbChar > cbMax)
            break;
        // A character cut short by the end of the text is not whole either.
        if (memchr(lpsz + cb, '\0', (size_t)cbChar) != NULL)
            break;
        cb += cbChar;
    }
    return cb;
}

void AppendForDisplay(CString& rText, LPCSTR lpsz, int cbMax)
{
    static const char kEllipsis[] = "...";
    const int cbText = (int)strlen(lpsz);
    const int cbShown = cbText <= cbMax ? cbText : AnsiPrefixLength(lpsz, cbMax - (int)(sizeof kEllipsis - 1));
    for (int i = 0; i < cbShown; ++i) {
        const unsigned char b = (unsigned char)lpsz[i];
        // Only a character's first byte can be a control character (trail bytes never are).
        rText += (b < 0x20 || b == 0x7F) ? '?' : (char)b;
    }
    if (cbShown < cbText)
        rText += kEllipsis;
}
