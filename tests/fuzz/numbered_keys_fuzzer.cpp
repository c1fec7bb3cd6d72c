// The index of a section's numbered keys against a plain search: every answer
// it gives must be the first key of that name, as the platform would find it.
#include "catalogue/numbered_keys.h"
#include "fuzz_input.h"

#include <cstdio>
#include <vector>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

std::string Trim(const std::string& text)
{
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] + 32) : a[i];
        char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] + 32) : b[i];
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    bool complete = (data[0] & 1) != 0;
    // Line feeds in the input stand for the NULs between entries.
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    for (char& c : text)
        c = c == '\n' ? '\0' : c;
    std::string stored = text + '\0';

    std::vector<std::uint32_t> slots(64, 0);
    NumberedKeys keys(slots.data(), slots.size());
    keys.Index(stored.data(), text.size(), complete, "Animation%d");

    std::vector<std::string> entries;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\0', start);
        if (end == std::string::npos)
            end = text.size();
        entries.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    for (int number = -1; number <= 66; ++number) {
        char value[kProfileValueSize];
        int length = -1;
        KeyAnswer answer = keys.Find(number, value, length);
        FUZZ_CHECK(Terminated(value, sizeof value) && length == static_cast<int>(std::strlen(value)));
        if (answer == KeyAnswer::AskPlatform)
            continue;
        std::string name = "Animation" + std::to_string(number);
        const std::string* first = nullptr;
        for (const std::string& entry : entries) {
            if (SameName(Trim(entry.substr(0, entry.find('='))), name)) {
                first = &entry;
                break;
            }
        }
        if (answer == KeyAnswer::Missing) {
            FUZZ_CHECK(length == 0);
            FUZZ_CHECK(first == nullptr || Trim(first->substr(first->find('=') + 1)).empty());
        } else {
            FUZZ_CHECK(first != nullptr && first->substr(first->find('=') + 1) == value);
        }
    }
    return 0;
}
