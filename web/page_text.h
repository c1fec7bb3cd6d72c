// Catalogue text made fit for a web page: Windows-1252 as UTF-8, escaped for
// HTML text and attributes, and file names as relative URLs.
#pragma once

#include <string>
#include <string_view>

// Windows-1252 text as UTF-8; the five bytes the code page leaves undefined
// become U+FFFD, and NUL and the C0 controls but tab become U+FFFD too, since a
// page may not hold them.
std::string Utf8FromWindows1252(std::string_view text);

// `text` (UTF-8) appended to `html` with &, <, >, " and ' as references: safe
// both as element text and inside a quoted attribute value.
void AppendEscaped(std::string& html, std::string_view text);
std::string Escaped(std::string_view text);

// A relative path with '/' between its names (UTF-8) as a URL relative to the
// page: every byte but letters, digits, '-', '.', '_', '~' and '/' as %XX, and
// "./" before it, so that no name (a "javascript:" or "//host") is read as a
// scheme or a host.
std::string RelativeUrl(std::string_view path);
