// A 32-bit top-down DIB section with a memory device context, for reading
// back what a drawing function painted.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

class Canvas {
public:
    Canvas(int width, int height, COLORREF background) : width_(width), height_(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
        Clear(background);
    }
    ~Canvas()
    {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    void Clear(COLORREF colour)
    {
        GdiFlush();
        for (int n = 0; n < width_ * height_; ++n)
            bits_[n] = Pack(colour);
    }

    COLORREF At(int x, int y) const
    {
        GdiFlush();
        return Stored(x, y);
    }

    // The pixels of a box (right and bottom exclusive) that differ from `background`.
    std::vector<POINT> Ink(const RECT& box, COLORREF background) const
    {
        GdiFlush();
        std::vector<POINT> ink;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x)
                if (Stored(x, y) != background)
                    ink.push_back(POINT{x, y});
        return ink;
    }

    // The pixels of a box that are exactly `colour`.
    std::vector<POINT> Pixels(const RECT& box, COLORREF colour) const
    {
        GdiFlush();
        std::vector<POINT> pixels;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x)
                if (Stored(x, y) == colour)
                    pixels.push_back(POINT{x, y});
        return pixels;
    }

    int Count(const RECT& box, COLORREF colour) const
    {
        return static_cast<int>(Pixels(box, colour).size());
    }

private:
    // A pixel as stored, without waiting for drawing still under way.
    COLORREF Stored(int x, int y) const
    {
        std::uint32_t pixel = bits_[y * width_ + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }

    static std::uint32_t Pack(COLORREF colour)
    {
        return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    }

    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    std::uint32_t* bits_ = nullptr;
};

inline bool operator==(const POINT& a, const POINT& b)
{
    return a.x == b.x && a.y == b.y;
}

// The smallest box (right and bottom exclusive) holding every point; empty
// (all zero) for no points.
inline RECT Bounds(const std::vector<POINT>& points)
{
    if (points.empty())
        return RECT{0, 0, 0, 0};
    RECT box = {points[0].x, points[0].y, points[0].x + 1, points[0].y + 1};
    for (POINT p : points) {
        if (p.x < box.left) box.left = p.x;
        if (p.y < box.top) box.top = p.y;
        if (p.x >= box.right) box.right = p.x + 1;
        if (p.y >= box.bottom) box.bottom = p.y + 1;
    }
    return box;
}

inline bool SamePoints(const std::vector<POINT>& a, const std::vector<POINT>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t n = 0; n < a.size(); ++n)
        if (!(a[n] == b[n]))
            return false;
    return true;
}

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGray = RGB(128, 128, 128);
constexpr COLORREF kLightGray = RGB(192, 192, 192);
constexpr COLORREF kTeal = RGB(0, 128, 128);
constexpr COLORREF kUntouched = RGB(255, 0, 255);
