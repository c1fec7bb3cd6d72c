// The catalogue's folder settings (BasePath, ProgramPath) as full folders.
#pragma once

// Resolves a Settings key into `destination` (kFolderSize bytes, a folder of
// up to 259 characters): an upper-case folder ending in a backslash, relative
// to the catalogue's folder unless the value names a drive. Returns 1; 0 when
// the value or the folder is longer than 259 characters, and then
// `destination` is empty.
int ResolveFolderSetting(int sectionId, int keyId, char* destination, int number);

// Resolves the "BasePath" setting into BasePath; the main window calls it once,
// right after a successful load. 0 when it was refused (BasePath is then empty).
int ResolveBasePath();
