"""What the program shows, and the keys the tests press."""

CAPTION = b"Drestovane Handheld Computer Application Install"

READY = b"Installation ready.  Files will be transferred next time user performs a hotsync."
NO_USERS = b"Installation failed: No users found."
NOT_SELECTED = b"Installation failed: No users selected."
NOT_FOUND = b"Installation failed: Application files not found (*.PRC)."

VK_RETURN, VK_ESCAPE, VK_SPACE, VK_SHIFT, VK_CONTROL = 0x0D, 0x1B, 0x20, 0x10, 0x11
VK_MENU, VK_F4, VK_TAB, VK_DOWN, VK_UP = 0x12, 0x73, 0x09, 0x28, 0x26
