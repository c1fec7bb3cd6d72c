// Lengths chosen for a 96-DPI screen, and what they come to at other DPIs.
#pragma once

constexpr int kBaseDpi = 96;

// `length` pixels at 96 DPI, in pixels at `dpi`, rounded as the platform's
// MulDiv rounds (halves away from zero). A DPI of 0 or less, which no screen
// reports, counts as 96: the length stays as it is.
int ScaleToDpi(int length, int dpi);

// The width of a line that is 1 pixel at 96 DPI: whole pixels only, so 1 up
// to 191 DPI and 2 from 192 DPI on, as the platform's own borders grow. A
// line rounded up at 144 DPI would be twice as heavy and crowd what it edges.
int LineWidthAtDpi(int dpi);
