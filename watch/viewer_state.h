// What the viewer's files share: the one viewer there is, its window's
// messages and timers. Touched only by the window's thread; the reading
// thread reaches the window by posted messages.
#pragma once

#include <windows.h>

#include "base/dpi.h"
#include "view/list_order.h"
#include "watch/viewer_geometry.h"
#include "watch/viewer_player.h"
#include "watch/viewer_save.h"

#include <memory>

constexpr DWORD kViewerStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
// The reading thread's news, with the generation of the file it belongs to.
constexpr UINT kViewerNews = WM_APP + 41;
constexpr UINT kViewerSaved = WM_APP + 42;  // the save on its thread has ended
constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT_PTR kStartTimer = 2;         // another try at starting the reading
constexpr UINT_PTR kMoveOnTimer = 3;        // "Alle abspielen" past a file that does not play
constexpr UINT_PTR kSettleTimer = 4;        // a row's size and picture have not come: show what there is
constexpr UINT_PTR kSaveTimer = 5;          // another try at starting a save
constexpr UINT kStartRetryMilliseconds = 250;

struct ViewerState {
    HWND window = nullptr;
    HWND pane = nullptr;        // the picture, with the scroll bars
    HWND status = nullptr;
    HWND owner = nullptr;
    int listId = 0;
    int dpi = kBaseDpi;
    HFONT font = nullptr;
    char path[kAnimationPathSize] = "";
    std::unique_ptr<ViewerPlayer> player;
    unsigned generation = 0;
    PreviewFacts facts;
    int lastFrame = 0;
    std::unique_ptr<ViewerFrame> frame;     // the picture shown, once hasFrame
    bool hasFrame = false;
    int asked = 0;              // the frame asked for and not shown yet; 0 for none
    bool showAtOnce = false;    // show it when it comes: a step, or its tick has passed
    bool sized = false;         // the window is sized to this file's picture
    bool paused = false;
    ViewerSpeed speed = ViewerSpeed::Normal;
    int zoom = 1;
    bool tallPixels = false;
    bool playingAll = false;
    bool swallowChar = false;   // the key that ended "Alle abspielen" does nothing else
    bool shown = false;         // shown once its first row's size was known, or on time-out
    // A row is being read: the window keeps what it shows (the last row's
    // picture in `held`, its status line) until the row's size and first
    // picture have come, and then changes once.
    bool settling = false;
    bool holding = false;
    RECT held = {};
    PreviewFacts heldFacts;
    int heldFrame = 0;
    int heldPercent = 0;
    ViewerScroll scroll = {0, 0};   // of a picture larger than its area
    bool placingBars = false;
    bool dragging = false;
    POINT dragFrom = {};
    ViewerScroll dragScroll = {0, 0};
    // The save running, or waiting for room among the reading threads
    // (`saveWaiting`, with what it is to write).
    std::unique_ptr<SaveJob> save;
    bool saveWaiting = false;
    char savePath[kAnimationPathSize] = "";
    wchar_t saveTarget[260] = L"";
    SaveKind saveKind = SaveKind::Gif;
    int saveFrame = 1;
};

// The one viewer there is (viewer_window.cpp).
extern ViewerState V;
