// The grammar of one animation entry:
//   icon ; author ; title ; file ; date ; size ; keywords
#pragma once

#include "catalogue/store.h"

// Cuts the next field at `separator`: the separator becomes the terminator and
// the cursor moves past it. Without a separator the rest is returned and the
// cursor becomes null; a null cursor gives null.
char* NextField(char*& cursor, char separator);

// Parses `value` (cut in place) into `record`. Returns true when the entry is
// accepted. Fields are written as they are cut, so a rejected entry may leave
// its first fields behind. An entry whose file does not fit its field is
// rejected: a shortened name would name a different file.
bool ParseEntry(char* value, AnimationRecord& record, int authorCount, int keywordCount);
