#pragma once

// The editor link "Edit.lnk" of the Options folder, which Edit and New file open files
// with. When the folder has none, one is made that opens a file in the desktop's text
// editor (its default application for plain text; one that runs only in a terminal is
// passed over), so both work on a fresh setup. A link that is there, the user's own, is
// never replaced. Nothing is made when the desktop has no text editor; a failure is left in
// FunStatContext and shown nowhere.
void MakeEditLinkWhenMissing();
