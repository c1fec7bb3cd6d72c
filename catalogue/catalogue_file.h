// The catalogue file as the platform's profile reader sees it.
#pragma once

#include "base/sizes.h"
#include "catalogue/store.h"

#include <cstddef>

// The catalogue file's full path; written only by LocateCatalogue.
extern char CataloguePath[kPathSize];

// Derives CataloguePath anew from the program's file name and `arguments`
// (the command line); nonzero when a file or folder of that name exists.
int LocateCatalogue(const char* arguments);

// One value of the catalogue file (section and key by string identifier,
// "%d" in the key name replaced by `number`) into a 256-byte destination.
// Returns the characters stored; 0 for a missing key or an empty value.
int ReadCatalogueValue(int sectionId, int keyId, char* destination, int number);
// The same read into `capacity` bytes: at most `capacity` - 1 characters, so
// a value of that length may have been cut.
int ReadCatalogueValue(int sectionId, int keyId, char* destination, std::size_t capacity, int number);

// Reads the catalogue file into the tables; nonzero on success.
int LoadCatalogue();
