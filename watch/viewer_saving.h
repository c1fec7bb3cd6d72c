// The viewer's save command: the name asked for, the save started on its
// thread (or waiting for room), and its outcome said when it ends.
#pragma once

// A save runs or waits for room.
bool Saving();
// Ctrl+S and the menu's "Speichern unter".
void Save();
// Another try at starting a save that waits for room.
void OnSaveTimer();
// The save's thread has ended.
void OnSaved();
