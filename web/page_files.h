// korval-convert --web: a web page of a catalogue (a KORVAL.INI, its folder, or
// a folder of animations without one, read through its draft), written into a folder:
// index.html, the row icons, and for every animation its GIF and the PNG of
// its first frame (the poster), in the sub-folders it has under the base
// folder. Every file is written under a temporary name and renamed when
// whole, index.html last; no other file of the folder is touched and nothing
// is written outside it. Lines go to `log` as korval-convert writes them; the
// answer is its exit code: 0 all converted, 1 findings, 2 nothing readable.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

int WriteCataloguePage(const std::string& catalogue, const std::string& outFolder, std::FILE* log,
                       std::uint64_t room = UINT64_MAX);
