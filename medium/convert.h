// korval-convert: FLC/FLI animations as GIF (the whole animation) or PNG
// (one frame), one file or every animation a catalogue names. Lines go to
// `log` as korval-check writes them; the answer is the exit code: 0 all
// converted, 1 findings, 2 nothing readable or bad arguments.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// IN to OUT, a GIF or (for OUT ending in .png) frame `frame` as a PNG.
// `room`: how many bytes the disk takes (for tests).
int ConvertFile(const std::string& in, const std::string& out, int frame, std::FILE* log,
                std::uint64_t room = UINT64_MAX);

// Every animation of the catalogue (a KORVAL.INI or its folder, or a folder
// of animations without one, read through its draft: ReadMedium) as a GIF
// under `outFolder`, in the sub-folders it has under the base folder.
int ConvertCatalogue(const std::string& catalogue, const std::string& outFolder, std::FILE* log,
                     std::uint64_t room = UINT64_MAX);

// "GIF" or "PNG" by the name's ending, in any letter case; empty for others.
std::string OutputKind(const std::string& name);
