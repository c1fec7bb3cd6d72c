// The SHA-256 digest of a text in base 64, as a Content-Security-Policy
// names an inline style or script it allows ("sha256-...").
#pragma once

#include <string>
#include <string_view>

std::string Sha256Base64(std::string_view data);
