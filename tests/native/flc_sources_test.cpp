// FlcFileSource opens regular files only, and says why it did not open one.
#include "anim/flc_sources.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#if defined(_WIN32)
#include <direct.h>
#include <io.h>
#include <share.h>
#else
#include <unistd.h>
#endif

namespace {

using Opened = FlcFileSource::Opened;

const char* OpenedName(Opened opened)
{
    switch (opened) {
    case Opened::Yes: return "Yes";
    case Opened::NotFound: return "NotFound";
    case Opened::NotRegular: return "NotRegular";
    case Opened::CannotRead: return "CannotRead";
    }
    return "?";
}

// A folder of its own in the current one, empty at the start.
class Scratch {
public:
    Scratch() : folder_("flc_sources_test.d") { Clear(); MakeFolder(folder_); }
    ~Scratch() { Clear(); }

    std::string Path(const char* name) const { return folder_ + "/" + name; }

    void Write(const char* name, const std::string& bytes) const
    {
        std::FILE* out = std::fopen(Path(name).c_str(), "wb");
        ASSERT_NE(out, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
    }

    static void MakeFolder(const std::string& path)
    {
#if defined(_WIN32)
        _mkdir(path.c_str());
#else
        mkdir(path.c_str(), 0755);
#endif
    }

    static void RemoveFolder(const std::string& path)
    {
#if defined(_WIN32)
        _rmdir(path.c_str());
#else
        rmdir(path.c_str());
#endif
    }

private:
    void Clear() const
    {
        for (const char* name : {"file.flc", "folder.flc", "fifo.flc", "loop.flc", "locked.flc"}) {
#if !defined(_WIN32)
            chmod(Path(name).c_str(), 0644);
#endif
            std::remove(Path(name).c_str());
            RemoveFolder(Path(name));
        }
        RemoveFolder(folder_);
    }

    std::string folder_;
};

TEST(FlcFileSource, OpensRegularFilesOnlyAndSaysWhyNot)
{
    Scratch scratch;
    scratch.Write("file.flc", "FLC bytes");
    Scratch::MakeFolder(scratch.Path("folder.flc"));
    struct Case {
        const char* name;
        std::string path;
        Opened expected;
    };
    std::vector<Case> cases = {
        {"a regular file", scratch.Path("file.flc"), Opened::Yes},
        {"no such file", scratch.Path("missing.flc"), Opened::NotFound},
        {"no such folder", scratch.Path("missing/file.flc"), Opened::NotFound},
        {"a folder named like a file", scratch.Path("folder.flc"), Opened::NotRegular},
#if defined(_WIN32)
        {"a device name", "NUL", Opened::NotRegular},
#else
        {"a character device", "/dev/null", Opened::NotRegular},
#endif
    };
#if !defined(_WIN32)
    // Opening a FIFO without a writer for reading would wait for ever.
    ASSERT_EQ(mkfifo(scratch.Path("fifo.flc").c_str(), 0644), 0);
    cases.push_back({"a FIFO without a writer", scratch.Path("fifo.flc"), Opened::NotRegular});
    // A name that is there but leads nowhere, even for root.
    ASSERT_EQ(symlink("loop.flc", scratch.Path("loop.flc").c_str()), 0);
    cases.push_back({"a link to itself", scratch.Path("loop.flc"), Opened::CannotRead});
#endif
    for (const Case& c : cases) {
        FlcFileSource source;
        EXPECT_STREQ(OpenedName(source.Open(c.path.c_str())), OpenedName(c.expected)) << c.name;
    }

    FlcFileSource source;
    ASSERT_EQ(source.Open(scratch.Path("file.flc").c_str()), Opened::Yes);
    unsigned char bytes[16] = {};
    EXPECT_EQ(source.Read(bytes, sizeof bytes), 9u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), 9), "FLC bytes");
    // A refused Open leaves nothing open from before.
    EXPECT_EQ(source.Open(scratch.Path("folder.flc").c_str()), Opened::NotRegular);
    EXPECT_EQ(source.Read(bytes, sizeof bytes), 0u);
}

TEST(FlcFileSource, AFileThatIsThereButRefusedCannotBeRead)
{
    Scratch scratch;
    scratch.Write("locked.flc", "FLC bytes");
#if defined(_WIN32)
    // Held open by another without sharing, as a program writing it would.
    int holder = _sopen(scratch.Path("locked.flc").c_str(), _O_RDWR, _SH_DENYRW);
    ASSERT_NE(holder, -1);
    FlcFileSource source;
    EXPECT_STREQ(OpenedName(source.Open(scratch.Path("locked.flc").c_str())), "CannotRead");
    _close(holder);
#else
    ASSERT_EQ(chmod(scratch.Path("locked.flc").c_str(), 0), 0);
    if (access(scratch.Path("locked.flc").c_str(), R_OK) == 0)
        GTEST_SKIP() << "this user reads a file of mode 000 (root): the link to itself above stands for it";
    FlcFileSource source;
    EXPECT_STREQ(OpenedName(source.Open(scratch.Path("locked.flc").c_str())), "CannotRead");
#endif
}

} // namespace
