// Windows-1252, the catalogue's code page, beside Unicode: the one table of
// its 0x80 to 0x9F, for the conversions that are not the platform's own
// (file names on Linux, the web page's UTF-8).
#pragma once

#include <cstddef>

// The code point of a Windows-1252 byte. The five bytes the code page leaves
// unused (0x81, 0x8D, 0x8F, 0x90, 0x9D) come back as themselves, C1 controls,
// as the platform's own conversion gives them.
char32_t Windows1252CodePoint(unsigned char byte);

// The Windows-1252 byte of `code`, or -1 where the code page has none.
int Windows1252Byte(char32_t code);

// `code` (below U+10000) as UTF-8 in `out`, which holds 3 bytes; answers the
// bytes written.
std::size_t Utf8Of(char32_t code, char* out);
