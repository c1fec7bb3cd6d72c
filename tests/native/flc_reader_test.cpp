// The FLC/FLI decoder over files put together by hand: the header, each
// sub-chunk type, the frame stream's quirks and hostile sizes and counts.
#include "anim/flc_facts.h"
#include "anim/flc_reader.h"
#include "anim/flc_sources.h"
#include "flc_builder.h"
#include "tests/support/flc_status_name.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

Bytes Picture(const FlcReader& reader)
{
    const FlcInfo& info = reader.Info();
    return Bytes(reader.Indices(), reader.Indices() + info.width * info.height);
}

Bytes Palette(const FlcReader& reader)
{
    return Bytes(reader.Palette(), reader.Palette() + 768);
}

// Frames until the reader stops (at most `limit` calls), as status names.
std::vector<std::string> Play(FlcReader& reader, int limit = 8)
{
    std::vector<std::string> statuses;
    for (int i = 0; i < limit; ++i) {
        FlcStatus status = reader.NextFrame();
        statuses.push_back(FlcStatusName(status));
        if (status != FlcStatus::Frame)
            break;
    }
    return statuses;
}

TEST(FlcHeader, TellsTheKindSizeAndSpeed)
{
    struct Case {
        const char* name;
        Bytes file;
        FlcStatus status;
        bool fli;
        int width, height, frames;
        std::uint64_t delayMicroseconds;
    };
    Bytes shortFile = Header(false, 320, 200, 24, 100);
    shortFile.resize(100);
    Bytes sizeLies = Header(false, 32, 20, 1, 50, 8, 0xFFFFFFF0u);
    const Case cases[] = {
        {"FLC: delay in milliseconds", Header(false, 320, 200, 24, 100), FlcStatus::Frame, false, 320, 200, 24, 100000},
        {"FLI: delay in 1/70 s", Header(true, 320, 200, 10, 5), FlcStatus::Frame, true, 320, 200, 10, 71429},
        {"FLC: a 32-bit delay", Header(false, 2, 2, 1, 70000), FlcStatus::Frame, false, 2, 2, 1, 70000000},
        {"the file size field is not trusted", sizeLies, FlcStatus::Frame, false, 32, 20, 1, 50000},
        {"the largest picture", Header(false, 2048, 2048, 1, 10), FlcStatus::Frame, false, 2048, 2048, 1, 10000},
        {"one pixel more", Header(false, 4097, 1024, 1, 10), FlcStatus::TooLarge, false, 4097, 1024, 1, 10000},
        {"65535 squared", Header(false, 65535, 65535, 1, 10), FlcStatus::TooLarge, false, 65535, 65535, 1, 10000},
        {"no width", Header(false, 0, 200, 1, 10), FlcStatus::Damaged, false, 0, 200, 1, 10000},
        {"no frames", Header(false, 320, 200, 0, 10), FlcStatus::Damaged, false, 320, 200, 0, 10000},
        {"header cut short", shortFile, FlcStatus::Damaged, false, 0, 0, 0, 0},
        {"0 bits deep is read as 8", Header(false, 64, 48, 3, 40, 0), FlcStatus::Frame, false, 64, 48, 3, 40000},
        {"16 bits deep", Header(false, 320, 200, 1, 10, 16), FlcStatus::NotFlc, false, 0, 0, 0, 0},
        {"another magic", Join({Bytes{0, 0, 0, 0, 0x12, 0xAE}, Bytes(122, 0)}), FlcStatus::NotFlc, false, 0, 0, 0, 0},
        {"a text", Bytes{'K', 'O', 'R', 'V', 'A', 'L', ' ', 'd', 'e', 'm', 'o'}, FlcStatus::NotFlc, false, 0, 0, 0, 0},
        {"empty", Bytes{}, FlcStatus::NotFlc, false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        FlcMemorySource source(c.file.data(), c.file.size());
        FlcReader reader;
        EXPECT_STREQ(FlcStatusName(reader.Open(source)), FlcStatusName(c.status)) << c.name;
        if (c.status == FlcStatus::NotFlc)
            continue;
        const FlcInfo& info = reader.Info();
        EXPECT_EQ(info.fli, c.fli) << c.name;
        EXPECT_EQ(info.width, c.width) << c.name;
        EXPECT_EQ(info.height, c.height) << c.name;
        EXPECT_EQ(info.frames, c.frames) << c.name;
        EXPECT_EQ(info.delayMicroseconds, c.delayMicroseconds) << c.name;
        if (c.status != FlcStatus::Frame) {
            EXPECT_STREQ(FlcStatusName(reader.NextFrame()), FlcStatusName(c.status)) << c.name;
        }
    }
}

// `count` bytes counting up from `first`.
Bytes Ramp(std::uint8_t first, int count)
{
    Bytes bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<std::uint8_t>(first + i));
    return bytes;
}

// Each sub-chunk type drawn over a picture that frame 1 copied in.
TEST(FlcChunks, DrawIntoThePictureAndCutWhatRunsPastALine)
{
    const Bytes four = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};    // 4 x 3
    const Bytes five = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};            // 5 x 2 (odd width)
    struct Case {
        const char* name;
        int width;
        unsigned type;
        Bytes payload;
        FlcStatus status;
        Bytes after;
    };
    const Case cases[] = {
        // Byte run: per line a count that is only a hint; positive repeats, negative copies.
        {"byte run: runs and copies", 4, 15,
         {9, 2, 0x20, 0xFE, 0x21, 0x22, 1, 4, 0x30, 0, 0xFC, 1, 2, 3, 4}, FlcStatus::Frame,
         {0x20, 0x20, 0x21, 0x22, 0x30, 0x30, 0x30, 0x30, 1, 2, 3, 4}},
        {"byte run: a run or copy past the line's end is cut there", 4, 15,
         {1, 10, 7, 1, 0xFA, 0xA, 0xB, 0xC, 0xD, 0xE, 0xF, 1, 4, 9}, FlcStatus::Frame,
         {7, 7, 7, 7, 0xA, 0xB, 0xC, 0xD, 9, 9, 9, 9}},
        // On the last line nothing paints over what runs past it: it would run past the picture.
        {"byte run: a run past the last line's end is cut there", 4, 15,
         {1, 4, 1, 1, 4, 2, 1, 0x7F, 9}, FlcStatus::Frame, {1, 1, 1, 1, 2, 2, 2, 2, 9, 9, 9, 9}},
        {"byte run: a copy past the last line's end is cut there", 4, 15,
         Join({Bytes{1, 4, 1, 1, 4, 2, 1, 0x81}, Ramp(0xA, 127)}),
         FlcStatus::Frame, {1, 1, 1, 1, 2, 2, 2, 2, 0xA, 0xB, 0xC, 0xD}},
        {"byte run: the data ends inside a line", 4, 15, {1, 4, 7, 1, 2, 7}, FlcStatus::Damaged, {}},
        {"byte run: the data ends after a run's count", 4, 15, {1, 4, 7, 1, 2}, FlcStatus::Damaged, {}},
        {"byte run: a copy longer than the data", 4, 15, {1, 0x80, 1, 2}, FlcStatus::Damaged, {}},
        // Copy and black.
        {"copy: every pixel", 4, 16, {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, FlcStatus::Frame,
         {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}},
        {"copy: one byte short", 4, 16, {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2}, FlcStatus::Damaged, {}},
        {"black", 4, 13, {}, FlcStatus::Frame, Bytes(12, 0)},
        // Byte delta: first line, line count; per line packets of a column skip and a count.
        {"byte delta: lines and columns skipped, copies and runs", 4, 12,
         {1, 0, 2, 0, 2, 1, 2, 0xA, 0xB, 0, 0xFF, 0xC, 0}, FlcStatus::Frame,
         {1, 2, 3, 4, 5, 0xA, 0xB, 0xC, 9, 10, 11, 12}},
        {"byte delta: a packet past the line's end is cut, the next line still drawn", 4, 12,
         {0, 0, 2, 0, 1, 3, 3, 0xA, 0xB, 0xC, 1, 2, 0xFB, 0xD}, FlcStatus::Frame,
         {1, 2, 3, 0xA, 5, 6, 0xD, 0xD, 9, 10, 11, 12}},
        {"byte delta: a copy past the last line's end is cut there", 4, 12,
         Join({Bytes{2, 0, 1, 0, 1, 1, 0x7F}, Ramp(0xA, 127)}),
         FlcStatus::Frame, {1, 2, 3, 4, 5, 6, 7, 8, 9, 0xA, 0xB, 0xC}},
        {"byte delta: a run past the last line's end is cut there", 4, 12, {2, 0, 1, 0, 1, 2, 0x80, 0xD},
         FlcStatus::Frame, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0xD, 0xD}},
        {"byte delta: a skip past the line's end draws nothing", 4, 12,
         {0, 0, 1, 0, 2, 200, 2, 0xA, 0xB, 0, 0xFD, 0xC}, FlcStatus::Frame, four},
        {"byte delta: a line below the picture", 4, 12, {3, 0, 1, 0, 0}, FlcStatus::Damaged, {}},
        {"byte delta: more lines than data", 4, 12, {0, 0, 3, 0, 0}, FlcStatus::Damaged, {}},
        {"byte delta: a packet longer than the data", 4, 12, {0, 0, 1, 0, 1, 0, 4, 1}, FlcStatus::Damaged, {}},
        // Word delta: opcodes before a line's packet count; packets of words.
        {"word delta: a line skipped, words copied and repeated", 5, 7,
         {1, 0, 0xFF, 0xFF, 2, 0, 0, 1, 0xA, 0xB, 1, 0xFF, 0xC, 0xD}, FlcStatus::Frame,
         {1, 2, 3, 4, 5, 0xA, 0xB, 8, 0xC, 0xD}},
        {"word delta: the last pixel of an odd width", 5, 7,
         {2, 0, 0x77, 0x80, 1, 0, 0, 2, 0xA, 0xB, 0xC, 0xD, 0, 0}, FlcStatus::Frame,
         {0xA, 0xB, 0xC, 0xD, 0x77, 6, 7, 8, 9, 10}},
        {"word delta: the last pixel alone", 5, 7, {1, 0, 0xFF, 0xFF, 0x44, 0x80, 0, 0}, FlcStatus::Frame,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 0x44}},
        {"word delta: a word run past the line's end is cut, the next line still drawn", 5, 7,
         {2, 0, 1, 0, 3, 0xFE, 0xE, 0xF, 1, 0, 4, 1, 0x1A, 0x1B}, FlcStatus::Frame,
         {1, 2, 3, 0xE, 0xF, 6, 7, 8, 9, 0x1A}},
        {"word delta: a word run cut at an odd width ends in the pair's first byte", 5, 7,
         {1, 0, 1, 0, 0, 0xFD, 0xA, 0xB}, FlcStatus::Frame, {0xA, 0xB, 0xA, 0xB, 0xA, 6, 7, 8, 9, 10}},
        {"word delta: a word run past the last line's end is cut there", 5, 7,
         {1, 0, 0xFF, 0xFF, 1, 0, 1, 0x80, 0xE, 0xF}, FlcStatus::Frame, {1, 2, 3, 4, 5, 6, 0xE, 0xF, 0xE, 0xF}},
        {"word delta: words copied past the last line's end are cut there", 5, 7,
         Join({Bytes{1, 0, 0xFF, 0xFF, 1, 0, 2, 8}, Ramp(0xA, 16)}),
         FlcStatus::Frame, {1, 2, 3, 4, 5, 6, 7, 0xA, 0xB, 0xC}},
        {"word delta: a skip past the last line's end draws nothing", 5, 7,
         {1, 0, 0xFF, 0xFF, 1, 0, 200, 1, 0xA, 0xB}, FlcStatus::Frame, five},
        {"word delta: no lines", 5, 7, {0, 0}, FlcStatus::Frame, five},
        {"word delta: skipped below the picture", 5, 7, {1, 0, 0xFE, 0xFF, 0, 0}, FlcStatus::Damaged, {}},
        {"word delta: skips that add up past any picture", 5, 7,
         {1, 0, 0x00, 0xC0, 0x00, 0xC0, 0x00, 0xC0, 0, 0}, FlcStatus::Damaged, {}},
        {"word delta: the opcode 01 does not exist", 5, 7, {1, 0, 0x00, 0x40, 0, 0}, FlcStatus::Damaged, {}},
        {"word delta: more lines than data", 5, 7, {3, 0, 0, 0}, FlcStatus::Damaged, {}},
        {"word delta: more packets than data", 5, 7, {1, 0, 5, 0, 0, 1, 1, 2}, FlcStatus::Damaged, {}},
        {"word delta: the data ends inside a run's word", 5, 7, {1, 0, 1, 0, 0, 0xFF, 0xA}, FlcStatus::Damaged, {}},
        // Not for showing.
        {"postage stamp: skipped", 4, 18, {60, 0, 40, 0, 8, 0, 1, 2, 3}, FlcStatus::Frame, four},
        {"an unknown type: skipped", 5, 99, {0xFF, 0xFF, 0xFF}, FlcStatus::Frame, five},
    };
    for (const Case& c : cases) {
        const Bytes& before = c.width == 4 ? four : five;
        int height = static_cast<int>(before.size()) / c.width;
        Bytes file = File(false, c.width, height, 2, 10,
                          {Frame({CopyChunk(before)}), Frame({Chunk(c.type, c.payload)})});
        FlcMemorySource source(file.data(), file.size());
        FlcReader reader;
        ASSERT_EQ(reader.Open(source), FlcStatus::Frame) << c.name;
        ASSERT_EQ(reader.NextFrame(), FlcStatus::Frame) << c.name;
        EXPECT_STREQ(FlcStatusName(reader.NextFrame()), FlcStatusName(c.status)) << c.name;
        if (c.status == FlcStatus::Frame) {
            EXPECT_EQ(Picture(reader), c.after) << c.name;
            EXPECT_EQ(reader.FrameNumber(), 2) << c.name;
        } else {
            EXPECT_EQ(reader.FrameNumber(), 1) << c.name;
        }
    }
}

TEST(FlcChunks, SetThePalette)
{
    auto with = [](std::initializer_list<std::pair<int, std::vector<int>>> colours) {
        Bytes palette(768, 0);
        for (const auto& colour : colours) {
            for (int c = 0; c < 3; ++c)
                palette[colour.first * 3 + c] = static_cast<std::uint8_t>(colour.second[c]);
        }
        return palette;
    };
    Bytes all(768);
    for (int i = 0; i < 768; ++i)
        all[i] = static_cast<std::uint8_t>(i / 3);
    struct Case {
        const char* name;
        unsigned type;
        Bytes payload;
        FlcStatus status;
        Bytes palette;
    };
    const Case cases[] = {
        {"256 levels: packets with skips", 4,
         {2, 0, 1, 2, 10, 20, 30, 40, 50, 60, 2, 1, 255, 128, 0}, FlcStatus::Frame,
         with({{1, {10, 20, 30}}, {2, {40, 50, 60}}, {5, {255, 128, 0}}})},
        {"256 levels: a count of 0 is 256 colours", 4, Join({Bytes{1, 0, 0, 0}, all}), FlcStatus::Frame, all},
        {"64 levels: 63 is 255", 11, {1, 0, 0, 2, 0, 1, 32, 63, 63, 63}, FlcStatus::Frame,
         with({{0, {0, 4, 130}}, {1, {255, 255, 255}}})},
        // The index is 8 bits wide. ffmpeg agrees on a run past 255; Pillow refuses such a file.
        {"a run past index 255 goes on at 0", 4, {2, 0, 255, 2, 1, 2, 3, 4, 5, 6, 0, 1, 7, 8, 9}, FlcStatus::Frame,
         with({{255, {1, 2, 3}}, {0, {4, 5, 6}}, {1, {7, 8, 9}}})},
        // 251 + 10 is 5 in 8 bits; ffmpeg starts such a skip again at 0 instead.
        {"a skip past index 255 goes on from 0", 11, {2, 0, 250, 1, 1, 2, 3, 10, 1, 63, 0, 32}, FlcStatus::Frame,
         with({{250, {4, 8, 12}}, {5, {255, 0, 130}}})},
        {"more colours than data", 4, {1, 0, 0, 2, 1, 2, 3, 4}, FlcStatus::Damaged, {}},
        {"the last colour one byte short", 4, {1, 0, 0, 2, 1, 2, 3, 4, 5}, FlcStatus::Damaged, {}},
        {"more packets than data", 11, {3, 0, 0, 1, 1, 2, 3}, FlcStatus::Damaged, {}},
    };
    for (const Case& c : cases) {
        Bytes file = File(false, 2, 2, 1, 10, {Frame({Chunk(c.type, c.payload)})});
        FlcMemorySource source(file.data(), file.size());
        FlcReader reader;
        ASSERT_EQ(reader.Open(source), FlcStatus::Frame) << c.name;
        EXPECT_STREQ(FlcStatusName(reader.NextFrame()), FlcStatusName(c.status)) << c.name;
        if (c.status == FlcStatus::Frame) {
            EXPECT_EQ(Palette(reader), c.palette) << c.name;
        }
    }
}

// The frames of a file: where they are, what is not trusted, where it breaks.
TEST(FlcStream, PlaysTheDeclaredFramesAndStopsWhereTheFileBreaks)
{
    const Bytes p = {1, 2, 3, 4}, q = {5, 6, 7, 8};    // 2 x 2 pictures
    Bytes truncatedPad = File(false, 2, 2, 2, 10, {Frame({CopyChunk(p)}), Frame({CopyChunk(q)}, -1, 27)});
    Bytes cutInCopy = File(false, 2, 2, 2, 10, {Frame({CopyChunk(p)}), Frame({CopyChunk(q)})});
    cutInCopy.resize(cutInCopy.size() - 2);
    Bytes manyUnknown = Header(false, 2, 2, 1, 10);
    for (int i = 0; i < 17; ++i)
        manyUnknown = Join({manyUnknown, Chunk(0x1234, {})});
    Bytes sizeFieldLies = File(false, 2, 2, 1, 10, {Frame({CopyChunk(p)})});
    sizeFieldLies[0] = 7;
    sizeFieldLies[3] = 0x80;
    struct Case {
        const char* name;
        Bytes file;
        std::vector<std::string> statuses;
        int frameNumber;
        Bytes picture;
    };
    const Case cases[] = {
        {"a frame without sub-chunks repeats the last picture",
         File(false, 2, 2, 2, 10, {Frame({CopyChunk(p)}), Frame({})}), {"Frame", "Frame", "End"}, 2, p},
        {"the FLC prefix chunk is skipped by its size",
         File(false, 2, 2, 1, 10, {Chunk(0xF100, Bytes(21, 0xF1)), Frame({CopyChunk(p)})}), {"Frame", "End"}, 1, p},
        {"other chunks between frames are skipped",
         File(false, 2, 2, 2, 10, {Frame({CopyChunk(p)}), Chunk(0xF1FB, {1, 2, 3}), Frame({CopyChunk(q)})}),
         {"Frame", "Frame", "End"}, 2, q},
        {"the ring frame is not shown",
         File(false, 2, 2, 2, 10, {Frame({CopyChunk(p)}), Frame({CopyChunk(q)}), Frame({CopyChunk(p)})}),
         {"Frame", "Frame", "End"}, 2, q},
        {"an odd sub-chunk size is followed as declared",
         File(false, 2, 2, 1, 10, {Frame({Chunk(15, {1, 2, 9, 1, 0xFE, 3, 4}), Chunk(13, {}), CopyChunk(q)})}),
         {"Frame", "End"}, 1, q},
        {"a sub-chunk count beyond the frame's chunks", File(false, 2, 2, 1, 10, {Frame({CopyChunk(p)}, 9)}),
         {"Frame", "End"}, 1, p},
        {"a sub-chunk count below: the rest is not read",
         File(false, 2, 2, 1, 10, {Frame({CopyChunk(p), Chunk(13, {})}, 1)}), {"Frame", "End"}, 1, p},
        {"the file ends one byte before its last frame's declared end", truncatedPad,
         {"Frame", "Frame", "End"}, 2, q},
        {"the header's size field is not trusted", sizeFieldLies, {"Frame", "End"}, 1, p},
        {"more frames declared than the file holds",
         File(false, 2, 2, 3, 10, {Frame({CopyChunk(p)}), Frame({CopyChunk(q)})}),
         {"Frame", "Frame", "Damaged"}, 2, q},
        {"the file ends inside a sub-chunk", cutInCopy, {"Frame", "Damaged"}, 1, p},
        {"a frame size of 0", File(false, 2, 2, 1, 10, {Frame({CopyChunk(p)}, -1, 0xFFFFFFFF), Bytes{0, 0, 0, 0, 0xFA, 0xF1}}),
         {"Damaged"}, 0, Bytes(4, 0)},
        {"a chunk size under 6", File(false, 2, 2, 1, 10, {Chunk(0xF100, {}, 5), Frame({CopyChunk(p)})}),
         {"Damaged"}, 0, Bytes(4, 0)},
        {"a frame shorter than its header", File(false, 2, 2, 1, 10, {Chunk(0xF1FA, Bytes(10, 0), 15)}),
         {"Damaged"}, 0, Bytes(4, 0)},
        {"a frame larger than any sensible one",
         File(false, 2, 2, 1, 10, {Frame({CopyChunk(p)}, -1, static_cast<std::uint32_t>(kFlcFrameMargin + 9 + 6))}),
         {"Damaged"}, 0, Bytes(4, 0)},
        {"a sub-chunk larger than its frame", File(false, 2, 2, 1, 10, {Frame({Chunk(16, p, 1000)})}),
         {"Damaged"}, 0, Bytes(4, 0)},
        {"a sub-chunk size under 6", File(false, 2, 2, 1, 10, {Frame({Chunk(16, p, 3)})}), {"Damaged"}, 0, Bytes(4, 0)},
        {"unknown chunks without end", manyUnknown, {"Damaged"}, 0, Bytes(4, 0)},
    };
    for (const Case& c : cases) {
        FlcMemorySource source(c.file.data(), c.file.size());
        FlcReader reader;
        ASSERT_EQ(reader.Open(source), FlcStatus::Frame) << c.name;
        EXPECT_EQ(Play(reader), c.statuses) << c.name;
        EXPECT_EQ(reader.FrameNumber(), c.frameNumber) << c.name;
        if (c.statuses.size() > 1) {
            EXPECT_EQ(Picture(reader), c.picture) << c.name;
        }
        // Once stopped, it stays stopped.
        EXPECT_STREQ(FlcStatusName(reader.NextFrame()), c.statuses.back().c_str()) << c.name;
    }
}

// A frame's work is bounded by its picture, not by its counts: sub-chunks that
// each draw the whole picture again make the frame Damaged at once, and a
// frame that draws it a few times over stays good.
TEST(FlcStream, AFrameThatDrawsItsPictureOverAndOverIsDamaged)
{
    auto frameOf = [](const Bytes& chunk, int times) {
        Bytes body;
        PutWord(body, static_cast<unsigned>(times));
        body.resize(10, 0);
        for (int i = 0; i < times; ++i)
            body.insert(body.end(), chunk.begin(), chunk.end());
        return Chunk(0xF1FA, body);
    };
    // Whole 256 x 256 pictures of a colour, drawn by each kind of chunk.
    Bytes byteRun, byteDelta, wordDelta;
    PutWord(byteDelta, 0);
    PutWord(byteDelta, 256);
    PutWord(wordDelta, 256);
    for (int y = 0; y < 256; ++y) {
        byteRun.insert(byteRun.end(), {3, 127, 7, 127, 7, 2, 7});
        byteDelta.insert(byteDelta.end(), {3, 0, 0x81, 7, 0, 0x81, 7, 0, 0xFE, 7});
        wordDelta.insert(wordDelta.end(), {2, 0, 0, 0x81, 7, 7, 0, 0x81, 7, 7});
    }
    const Bytes black = Chunk(13, {}), run = Chunk(15, byteRun), delta = Chunk(12, byteDelta),
                words = Chunk(7, wordDelta);
    Bytes first = Frame({CopyChunk(Bytes(256 * 256, 1))});
    struct Case {
        const char* name;
        int size;           // of the square picture
        Bytes frame;
        const char* status;
        int frameNumber;
    };
    const Case cases[] = {
        // 2048 x 2048 and 65 535 six-byte chunks: 393 KB that used to cost seconds.
        {"65535 black chunks", 2048, frameOf(black, 65535), "Damaged", 1},
        {"byte runs over the whole picture", 256, frameOf(run, 40), "Damaged", 1},
        {"byte deltas over the whole picture", 256, frameOf(delta, 40), "Damaged", 1},
        {"word deltas over the whole picture", 256, frameOf(words, 40), "Damaged", 1},
        {"each kind once, black first", 256, Frame({black, run, delta, words}), "Frame", 2},
        {"two black chunks", 2048, Frame({black, black}), "Frame", 2},
    };
    for (const Case& c : cases) {
        Bytes picture = c.size == 256 ? first : Frame({CopyChunk(Bytes(2048 * 2048, 1))});
        Bytes file = File(false, c.size, c.size, 3, 10, {picture, c.frame, Frame({})});
        FlcMemorySource source(file.data(), file.size());
        FlcReader reader;
        ASSERT_EQ(reader.Open(source), FlcStatus::Frame) << c.name;
        ASSERT_EQ(reader.NextFrame(), FlcStatus::Frame) << c.name;
        EXPECT_STREQ(FlcStatusName(reader.NextFrame()), c.status) << c.name;
        EXPECT_EQ(reader.FrameNumber(), c.frameNumber) << c.name;
        if (std::string(c.status) == "Frame") {
            EXPECT_EQ(Picture(reader), Bytes(static_cast<std::size_t>(c.size) * c.size, c.size == 256 ? 7 : 0))
                << c.name;
        }
    }
}

TEST(FlcStream, RewindStartsAgainAtFrameOne)
{
    const Bytes p = {1, 2, 3, 4}, q = {5, 6, 7, 8};
    const Bytes colours = {10, 20, 30, 40, 50, 60};
    for (bool ring : {false, true}) {
        Bytes file = File(false, 2, 2, 2, 10,
                          {Chunk(0xF100, Bytes(10, 0)), Frame({PaletteChunk(1, colours), CopyChunk(p)}),
                           Frame({Chunk(12, {0, 0, 1, 0, 1, 0, 0xFE, 9})})});
        if (ring)
            file = Join({file, Frame({CopyChunk(p)})});
        FlcMemorySource source(file.data(), file.size());
        FlcReader reader;
        ASSERT_EQ(reader.Open(source), FlcStatus::Frame);
        for (int round = 0; round < 3; ++round) {
            ASSERT_EQ(reader.NextFrame(), FlcStatus::Frame) << ring << round;
            EXPECT_EQ(Picture(reader), p) << ring << round;
            EXPECT_EQ(Bytes(reader.Palette() + 3, reader.Palette() + 9), colours) << ring << round;
            ASSERT_EQ(reader.NextFrame(), FlcStatus::Frame) << ring << round;
            EXPECT_EQ(Picture(reader), (Bytes{9, 9, 3, 4})) << ring << round;
            EXPECT_EQ(reader.NextFrame(), FlcStatus::End) << ring << round;
            ASSERT_EQ(reader.Rewind(), FlcStatus::Frame);
            EXPECT_EQ(reader.FrameNumber(), 0);
            EXPECT_EQ(Picture(reader), Bytes(4, 0));
            EXPECT_EQ(Palette(reader), Bytes(768, 0));
        }
    }
}

TEST(FlcStream, RewindAfterDamagePlaysTheGoodFramesAgain)
{
    const Bytes p = {1, 2, 3, 4};
    Bytes file = File(false, 2, 2, 3, 10, {Frame({CopyChunk(p)}), Frame({Chunk(16, {9})})});
    FlcMemorySource source(file.data(), file.size());
    FlcReader reader;
    ASSERT_EQ(reader.Open(source), FlcStatus::Frame);
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(Play(reader), (std::vector<std::string>{"Frame", "Damaged"}));
        EXPECT_EQ(reader.FrameNumber(), 1);
        EXPECT_EQ(reader.Rewind(), FlcStatus::Frame);
    }
}

TEST(FlcStream, ReadsAFileFromDisk)
{
    const Bytes p = {1, 2, 3, 4, 5, 6};
    Bytes file = File(true, 3, 2, 1, 7, {Frame({CopyChunk(p)})});
    const char* path = "flc_reader_test.fli";
    std::FILE* out = std::fopen(path, "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);

    FlcFileSource source;
    ASSERT_EQ(source.Open(path), FlcFileSource::Opened::Yes);
    FlcReader reader;
    ASSERT_EQ(reader.Open(source), FlcStatus::Frame);
    EXPECT_TRUE(reader.Info().fli);
    EXPECT_EQ(Play(reader), (std::vector<std::string>{"Frame", "End"}));
    EXPECT_EQ(Picture(reader), p);
    std::remove(path);

    FlcFileSource missing;
    EXPECT_EQ(missing.Open("flc_reader_test_missing.flc"), FlcFileSource::Opened::NotFound);
    EXPECT_EQ(reader.Open(missing), FlcStatus::NotFlc);
}

TEST(FlcFacts, WidthHeightFramesAndTotalTime)
{
    struct Case { int width, height, frames; std::uint64_t delay; const char* expected; };
    const Case cases[] = {
        {320, 200, 24, 100000, "320 \xD7 200, 24 Bilder, 2,4 s"},
        {160, 120, 1, 80000, "160 \xD7 120, 1 Bild, 0,1 s"},
        {320, 200, 10, 71429, "320 \xD7 200, 10 Bilder, 0,7 s"},     // FLI: 5/70 s
        {64, 48, 3, 50000, "64 \xD7 48, 3 Bilder, 0,2 s"},            // 0.15 s: halves go up
        {64, 48, 2, 0, "64 \xD7 48, 2 Bilder, 0,0 s"},
        {2048, 2048, 65535, 4294967295000ull, "2048 \xD7 2048, 65535 Bilder, 281470681677,8 s"},
    };
    for (const Case& c : cases) {
        FlcInfo info;
        info.width = c.width;
        info.height = c.height;
        info.frames = c.frames;
        info.delayMicroseconds = c.delay;
        char text[64];
        EXPECT_TRUE(FormatFlcFacts(text, info));
        EXPECT_STREQ(text, c.expected);
    }
    FlcInfo info;
    info.width = 320;
    info.height = 200;
    info.frames = 24;
    info.delayMicroseconds = 100000;
    char small[16];
    EXPECT_FALSE(FormatFlcFacts(small, info));
    EXPECT_EQ(std::string(small).size(), 15u);
}

} // namespace
