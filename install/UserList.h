// Filling the user list: every Palm Desktop user that the Install Aide knows, checked.
#pragma once

class CCheckListBox;

// The most users the list holds. A library that reports more (an absurd count such as
// 2^31-1) gets its first kMaxListedUsers users listed; the rest are not looked up, so the
// dialog still opens at once.
const long kMaxListedUsers = 10000;

// Appends the Install Aide's users to the empty list, highest index first, and checks
// each entry. A negative or zero user count leaves the list empty.
void PopulateUserList(CCheckListBox& userList);
