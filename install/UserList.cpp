#include "UserList.h"

#include "AnsiText.h"
#include "framework/CCheckListBox.h"
#include "instaide/InstAide.h"

#include <string.h>

void PopulateUserList(CCheckListBox& userList)
{
    LONG nUsers = InstAideUserCount();
    if (nUsers <= 0)
        return;
    if (nUsers > kMaxListedUsers)
        nUsers = kMaxListedUsers;

    char szName[256];
    DWORD cbName;
    for (LONG i = nUsers - 1; i >= 0; --i) {
        // Cleared first, so a lookup that writes nothing gives an empty entry rather than
        // the previous user's name; the last byte stays NUL whatever the library writes.
        memset(szName, 0, sizeof szName);
        cbName = sizeof szName;
        InstAideUserName(i, szName, &cbName);
        if (szName[sizeof szName - 1] != '\0') {
            // It filled the buffer and was cut by its last byte: where a character has
            // several bytes, the cut may split one. Cut before that character instead.
            szName[AnsiPrefixLength(szName, sizeof szName - 1)] = '\0';
        }

        const int nIndex = userList.AddString(szName);
        if (nIndex >= 0)
            userList.SetCheck(nIndex, 1);
    }
}
