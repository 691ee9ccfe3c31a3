#pragma once
// The event handlers of the main window's workflow. Each runs on the UI thread to its end; the
// window layer binds them to their events and hands them the workbench.
//   按钮1 clicked -> OnOpenClicked      按钮2 clicked -> OnStartClicked
//   按钮3 clicked -> OnCancelClicked    按钮4 clicked -> OnForumClicked
//   编辑框2 content changed -> OnLogChanged
//
// Window states, by the Disabled flags of four controls:
//   NoFile:   按钮1, 编辑框1 enabled;  按钮2, 按钮3 disabled  (the layout's first state)
//   FileHeld: 按钮1, 编辑框1 disabled; 按钮2, 按钮3 enabled   (CurrentFile is held open)

#include "fileio/file_numbers.h"
#include "shredder/workbench.h"

namespace zuzar {

// The file chosen for shredding. 0 at start; assigned only by OnOpenClicked after a confirmed choice
// (the new number, or 0 when the open failed). Start and Cancel close it without resetting it.
extern FileNumber CurrentFile;

// Lets the user choose a file, holds it exclusively and logs its name, directory and size.
void OnOpenClicked(const Workbench& bench);
// After a Yes, overwrites, empties, closes, renames and deletes the held file and logs the outcome.
void OnStartClicked(const Workbench& bench);
// Gives the held file up unchanged and logs a time-stamped cancel entry.
void OnCancelClicked(const Workbench& bench);
// Keeps the caret, and with it the newest text, at the end of the log.
void OnLogChanged(const Workbench& bench);
// Opens the fan forum in the user's browser.
void OnForumClicked(const Workbench& bench);

}  // namespace zuzar
