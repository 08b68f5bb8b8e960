// Filling the user list: every Palm Desktop user that the Install Aide knows, checked.
#pragma once

class CCheckListBox;

// Appends the Install Aide's users to the empty list, highest index first, and checks
// each entry. A negative or zero user count leaves the list empty.
void PopulateUserList(CCheckListBox& userList);
