#include "view/animation_list.h"

#include "catalogue/store.h"
#include "view/keyword_filter.h"
#include "view/list_order.h"

namespace {

char SelectedPath[kAnimationPathSize];

} // namespace

int FillAnimationList(HWND window, int listId, int sortMode)
{
    if (sortMode >= 0)
        SortMode = sortMode;
    HWND list = GetDlgItem(window, listId);
    if (list == nullptr)
        return 0;               // no catalogue, no list: nothing to fill or redraw
    // The list redraws once when it is full, not once for every row added.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);

    int rows = 0;
    const int count = AnimationCount < kAnimationSlots ? AnimationCount : kAnimationSlots;
    for (int i = 0; i < count; ++i) {
        AnimationRecord& record = AnimationTable[i];
        if (Filter.selectedCount >= 1 && !PassesKeywordFilter(record))
            continue;
        // The list sorts: the key text alone decides where the row goes.
        char dateKey[kDateKeySize];
        const char* key = RowKeyText(record, SortMode, dateKey);
        LRESULT position = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(key));
        // A refused row (LB_ERR, LB_ERRSPACE) is left out and not counted:
        // item data for position -1 would go to every row of the list.
        if (position < 0)
            continue;
        SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&record));
        ++rows;
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    return rows;
}

const char* SelectedAnimationPath(HWND window, int listId, int rowPosition)
{
    SelectedPath[0] = '\0';
    if (rowPosition < 0)
        return SelectedPath;
    LRESULT data = SendDlgItemMessageA(window, listId, LB_GETITEMDATA, static_cast<WPARAM>(rowPosition), 0);
    if (data == LB_ERR || data == 0)
        return SelectedPath;
    const AnimationRecord* record = reinterpret_cast<const AnimationRecord*>(data);
    ComposeAnimationPath(SelectedPath, BasePath, record->file);
    return SelectedPath;
}

const char* AnimationRowTitle(HWND window, int listId, int rowPosition)
{
    if (rowPosition < 0)
        return "";
    LRESULT data = SendDlgItemMessageA(window, listId, LB_GETITEMDATA, static_cast<WPARAM>(rowPosition), 0);
    if (data == LB_ERR || data == 0)
        return "";
    return reinterpret_cast<const AnimationRecord*>(data)->title;
}
