// Where the catalogue file is: named after the program file with ".INI",
// beside the program or in the folder given on the command line.
#pragma once

#include "base/sizes.h"

// Fills `destination` (260 bytes) from the program's own file name and the
// command line. False when the path does not fit: `destination` then holds
// the start of it ending in "..." (only ever shown, never looked for).
bool DeriveCataloguePath(char* destination, const char* modulePath, const char* arguments);

// The medium prompt: the "file missing" text on a fixed disk, "insert the
// CD-ROM" for every other drive type.
int CataloguePromptId(unsigned driveType);
