#include "web/page_text.h"

#include "base/windows_1252.h"

std::string Utf8FromWindows1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        char32_t code = Windows1252CodePoint(byte);
        // Controls, and the five bytes Windows-1252 leaves unused, have no
        // place in a page.
        if ((code < 0x20 && code != '\t') || (code >= 0x80 && code < 0xA0))
            code = 0xFFFD;
        char bytes[3];
        out.append(bytes, Utf8Of(code, bytes));
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
