#include "view/keyword_dialog.h"

#include "base/instance.h"
#include "base/messages.h"
#include "base/themed_controls.h"
#include "catalogue/store.h"
#include "res/resource.h"
#include "view/animation_list.h"
#include "view/keyword_filter.h"

namespace {

bool IsSelectedKeyword(int keywordIndex)
{
    for (int i = 0; i < Filter.selectedCount; ++i)
        if (Filter.selectedKeywords[i] == keywordIndex)
            return true;
    return false;
}

// The list sorts its names, so each entry carries its keyword index as item
// data; the entries of the filter in force start selected.
void OnInitDialog(HWND dialog)
{
    for (int i = 0; i < KeywordCount; ++i) {
        LRESULT position = SendDlgItemMessageA(dialog, ID_KEYWORD_LIST, LB_ADDSTRING, 0,
                                               reinterpret_cast<LPARAM>(KeywordTable[i]));
        if (position < 0)
            continue;
        SendDlgItemMessageA(dialog, ID_KEYWORD_LIST, LB_SETITEMDATA, position, i);
        if (IsSelectedKeyword(i))
            SendDlgItemMessageA(dialog, ID_KEYWORD_LIST, LB_SETSEL, TRUE, position);
    }
    CheckRadioButton(dialog, ID_MATCH_ANY, ID_MATCH_ALL, Filter.matchAll != 0 ? ID_MATCH_ALL : ID_MATCH_ANY);
}

// OK: the selected entries, in list order, become the filter's keyword indices.
void TakeSelection(HWND dialog)
{
    LRESULT selected = SendDlgItemMessageA(dialog, ID_KEYWORD_LIST, LB_GETSELCOUNT, 0, 0);
    int count = selected < 0 ? 0 : (selected > kKeywordSlots ? kKeywordSlots : static_cast<int>(selected));
    LRESULT fetched = SendDlgItemMessageA(dialog, ID_KEYWORD_LIST, LB_GETSELITEMS, count,
                                          reinterpret_cast<LPARAM>(Filter.selectedKeywords));
    if (fetched >= 0 && fetched < count)
        count = static_cast<int>(fetched);
    for (int i = 0; i < count; ++i)
        Filter.selectedKeywords[i] = static_cast<std::int32_t>(
            SendDlgItemMessageA(dialog, ID_KEYWORD_LIST, LB_GETITEMDATA, Filter.selectedKeywords[i], 0));
    Filter.selectedCount = count;
    Filter.matchAll = count >= 1 && IsDlgButtonChecked(dialog, ID_MATCH_ALL) == BST_CHECKED ? 1 : 0;
}

void OnCommand(HWND dialog, WPARAM wParam)
{
    switch (wParam) {
    case IDOK:
        TakeSelection(dialog);
        EndDialog(dialog, 1);
        break;
    case IDCANCEL:
        EndDialog(dialog, 0);
        break;
    case ID_ALL:
        if (Filter.selectedCount == 0) {
            EndDialog(dialog, 0);
        } else {
            Filter.selectedCount = 0;
            Filter.matchAll = 0;
            EndDialog(dialog, 1);
        }
        break;
    default:
        break;
    }
}

} // namespace

INT_PTR CALLBACK KeywordDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, wParam);
        return TRUE;
    default:
        return FALSE;
    }
}

int RunKeywordDialog(HWND window, int listId)
{
    INT_PTR result = 0;
    {
        ThemedControls themed;
        result = DialogBoxParamA(ModuleInstance, MAKEINTRESOURCEA(IDD_SELECT), window, KeywordDialogProc, 0);
    }
    if (result == 0)
        return 0;
    if (FillAnimationList(window, listId, -1) != 0)
        return 1;
    // Nothing passes: say so, then show every animation again.
    ShowStringMessage(window, IDS_NO_MATCH, IDS_ERROR_CAPTION, MB_ICONEXCLAMATION);
    Filter.selectedCount = 0;
    FillAnimationList(window, listId, -1);
    return 1;
}
