#include "web/page_text.h"

namespace {

// The code points of 0x80 to 0x9F; 0 where Windows-1252 defines none.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

std::string Utf8FromWindows1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        char32_t code = byte;
        if (byte >= 0x80 && byte < 0xA0)
            code = kHighControls[byte - 0x80];
        else if (byte < 0x20 && byte != '\t')
            code = 0;
        AppendUtf8(out, code == 0 ? 0xFFFD : code);
    }
    return out;
}

void AppendEscaped(std::string& html, std::string_view text)
{
    for (char c : text) {
        switch (c) {
        case '&': html += "&amp;"; break;
        case '<': html += "&lt;"; break;
        case '>': html += "&gt;"; break;
        case '"': html += "&quot;"; break;
        case '\'': html += "&#39;"; break;
        default: html += c; break;
        }
    }
}

std::string Escaped(std::string_view text)
{
    std::string html;
    AppendEscaped(html, text);
    return html;
}

std::string RelativeUrl(std::string_view path)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string url = "./";
    for (char c : path) {
        unsigned char byte = static_cast<unsigned char>(c);
        bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9')
                  || byte == '-' || byte == '.' || byte == '_' || byte == '~' || byte == '/';
        if (plain) {
            url += c;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 15];
        }
    }
    return url;
}
