// The compiled resources: menu, accelerator, dialog templates, icons,
// pictures and the row labels, read back from this test program's own copy.
#include "base/instance.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace {

HINSTANCE Self()
{
    return GetModuleHandleA(nullptr);
}

// One menu item as the user sees it: nesting depth, text, command (0 for a
// popup, -1 for a separator).
struct MenuLine {
    int depth;
    std::string text;
    int command;
};

void ReadMenu(HMENU menu, int depth, std::vector<MenuLine>& lines)
{
    for (int n = 0; n < GetMenuItemCount(menu); ++n) {
        char text[64] = "";
        GetMenuStringA(menu, n, text, sizeof text, MF_BYPOSITION);
        UINT state = GetMenuState(menu, n, MF_BYPOSITION);
        if (HMENU popup = GetSubMenu(menu, n)) {
            lines.push_back({depth, text, 0});
            ReadMenu(popup, depth + 1, lines);
        } else {
            lines.push_back({depth, text, (state & MF_SEPARATOR) ? -1 : static_cast<int>(GetMenuItemID(menu, n))});
        }
        if (!(state & MF_SEPARATOR)) {
            EXPECT_EQ(state & (MF_CHECKED | MF_GRAYED | MF_DISABLED), 0u) << text;
        }
    }
}

TEST(Resources, MenuBar)
{
    HMENU menu = LoadMenuA(Self(), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    ASSERT_NE(menu, nullptr);
    std::vector<MenuLine> lines;
    ReadMenu(menu, 0, lines);
    DestroyMenu(menu);

    // "\b" (from "\a" in the script) sets "ALT+F4" flush right.
    const MenuLine expected[] = {
        {0, "&Datei", 0},
        {1, "&Abspielen...", ID_PLAY},
        {1, "&Bearbeiten...", ID_EDIT},
        {1, "&Kopieren...", ID_COPY},
        {1, "", -1},
        {1, "&Beenden\bALT+F4", ID_EXIT},
        {0, "&Ansicht", 0},
        {1, "Nach &Titel", ID_SORT_TITLE},
        {1, "Nach &Autor", ID_SORT_AUTHOR},
        {1, "Nach &Datei", ID_SORT_FILE},
        {1, "Nach Da&tum", ID_SORT_DATE},
        {1, "", -1},
        {1, "&Selektieren...", ID_SELECT},
        {1, "", -1},
        {1, "&Vorschau\tF3", ID_PREVIEW},
        {1, "A&nsehen...\tStrg+F3", ID_VIEWER},
        {0, "&Copyright...", ID_COPYRIGHT},
    };
    ASSERT_EQ(lines.size(), std::size(expected));
    for (std::size_t n = 0; n < lines.size(); ++n) {
        EXPECT_EQ(lines[n].depth, expected[n].depth) << n;
        EXPECT_EQ(lines[n].text, expected[n].text) << n;
        EXPECT_EQ(lines[n].command, expected[n].command) << expected[n].text;
    }
    // The mnemonics of "Ansicht", where the viewer's two items clash with none.
    std::string letters;
    for (std::size_t n = 7; n < 16; ++n) {
        std::size_t amp = lines[n].text.find('&');
        if (amp != std::string::npos)
            letters += static_cast<char>(std::tolower(static_cast<unsigned char>(lines[n].text[amp + 1])));
    }
    EXPECT_EQ(letters, "tadtsvn");
}

// The viewer's right-click menu: every command once, each with its key
// after a tab, and no two items sharing a mnemonic.
TEST(Resources, ViewerMenuMnemonicsAreUnique)
{
    HMENU menu = LoadMenuA(Self(), MAKEINTRESOURCEA(IDR_VIEWER_MENU));
    ASSERT_NE(menu, nullptr);
    std::vector<MenuLine> lines;
    ReadMenu(GetSubMenu(menu, 0), 0, lines);
    DestroyMenu(menu);
    std::string letters;
    std::vector<int> commands;
    for (const MenuLine& line : lines) {
        if (line.command == -1)
            continue;
        commands.push_back(line.command);
        std::size_t amp = line.text.find('&');
        ASSERT_NE(amp, std::string::npos) << line.text;
        EXPECT_NE(line.text.find('\t'), std::string::npos) << line.text;
        char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(line.text[amp + 1])));
        EXPECT_EQ(letters.find(letter), std::string::npos) << line.text;
        letters += letter;
    }
    const std::vector<int> expected = {ID_VIEWER_PAUSE, ID_VIEWER_NEXT, ID_VIEWER_PREVIOUS, ID_VIEWER_FIRST,
                                       ID_VIEWER_LAST, ID_VIEWER_ZOOM_IN, ID_VIEWER_ZOOM_OUT, ID_VIEWER_FIT,
                                       ID_VIEWER_SPEED_HALF, ID_VIEWER_SPEED_NORMAL, ID_VIEWER_SPEED_DOUBLE,
                                       ID_VIEWER_SPEED_QUADRUPLE, ID_VIEWER_TALL_PIXELS, ID_VIEWER_PLAY_ALL,
                                       ID_VIEWER_SAVE, ID_VIEWER_CLOSE};
    EXPECT_EQ(commands, expected);
}

TEST(Resources, EnterPlaysF3PreviewsCtrlF3Views)
{
    HACCEL table = LoadAcceleratorsA(Self(), MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    ACCEL entries[4] = {};
    ASSERT_EQ(CopyAcceleratorTableA(table, entries, 4), 3);
    const ACCEL expected[] = {{FVIRTKEY, VK_RETURN, ID_PLAY}, {FVIRTKEY, VK_F3, ID_PREVIEW},
                              {FVIRTKEY | FCONTROL, VK_F3, ID_VIEWER}};
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ(entries[n].fVirt & ~FNOINVERT, expected[n].fVirt) << n;
        EXPECT_EQ(entries[n].key, expected[n].key) << n;
        EXPECT_EQ(entries[n].cmd, expected[n].cmd) << n;
    }
    DestroyAcceleratorTable(table);
}

// A dialog template read back from the resource, in the classic layout.
struct Control {
    DWORD style;
    int x, y, cx, cy;
    int id;
    std::string kind;       // "button", "static", "listbox" or a class name
    std::string text;       // the text, or "#<n>" for a resource ordinal
};

struct Dialog {
    DWORD style;
    int x, y, cx, cy;
    std::string caption;
    int pointSize;
    std::string face;
    std::vector<Control> controls;
};

class TemplateReader {
public:
    explicit TemplateReader(const unsigned char* at) : at_(at) {}
    std::uint16_t Word()
    {
        std::uint16_t w = static_cast<std::uint16_t>(at_[0] | (at_[1] << 8));
        at_ += 2;
        return w;
    }
    DWORD Dword()
    {
        DWORD low = Word();
        return low | (static_cast<DWORD>(Word()) << 16);
    }
    short Short() { return static_cast<short>(Word()); }
    std::string Text()
    {
        std::wstring wide;
        while (std::uint16_t c = Word())
            wide += static_cast<wchar_t>(c);
        char text[512] = "";
        WideCharToMultiByte(1252, 0, wide.c_str(), -1, text, sizeof text, nullptr, nullptr);
        return text;
    }
    std::string TextOrOrdinal()
    {
        if (at_[0] == 0xFF && at_[1] == 0xFF) {
            Word();
            return "#" + std::to_string(Word());
        }
        return Text();
    }
    void AlignDword(const unsigned char* base) { at_ += (4 - (at_ - base) % 4) % 4; }

private:
    const unsigned char* at_;
};

Dialog ReadDialog(int id)
{
    HRSRC found = FindResourceA(Self(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));    // RT_DIALOG
    EXPECT_NE(found, nullptr);
    const auto* base = static_cast<const unsigned char*>(LockResource(LoadResource(Self(), found)));
    TemplateReader reader(base);
    Dialog dialog;
    dialog.style = reader.Dword();
    reader.Dword();                             // extended style
    int count = reader.Word();
    dialog.x = reader.Short();
    dialog.y = reader.Short();
    dialog.cx = reader.Short();
    dialog.cy = reader.Short();
    EXPECT_EQ(reader.TextOrOrdinal(), "") << "menu";
    EXPECT_EQ(reader.TextOrOrdinal(), "") << "class";
    dialog.caption = reader.Text();
    if (dialog.style & DS_SETFONT) {
        dialog.pointSize = reader.Word();
        dialog.face = reader.Text();
    }
    for (int n = 0; n < count; ++n) {
        reader.AlignDword(base);
        Control control;
        control.style = reader.Dword();
        reader.Dword();
        control.x = reader.Short();
        control.y = reader.Short();
        control.cx = reader.Short();
        control.cy = reader.Short();
        control.id = reader.Short();
        control.kind = reader.TextOrOrdinal();
        CharLowerA(&control.kind[0]);
        if (control.kind == "#128")
            control.kind = "button";
        else if (control.kind == "#130")
            control.kind = "static";
        else if (control.kind == "#131")
            control.kind = "listbox";
        control.text = reader.TextOrOrdinal();
        int extra = reader.Word();
        for (int skip = 0; skip < extra; skip += 2)
            reader.Word();
        dialog.controls.push_back(control);
    }
    return dialog;
}

void ExpectControls(const Dialog& dialog, const std::vector<Control>& expected)
{
    ASSERT_EQ(dialog.controls.size(), expected.size());
    for (std::size_t n = 0; n < expected.size(); ++n) {
        const Control& got = dialog.controls[n];
        const Control& want = expected[n];
        std::string what = want.kind + " \"" + want.text + "\"";
        EXPECT_EQ(got.kind, want.kind) << what;
        EXPECT_EQ(got.text, want.text) << what;
        EXPECT_EQ(got.id, want.id) << what;
        EXPECT_EQ(got.x, want.x) << what;
        EXPECT_EQ(got.y, want.y) << what;
        EXPECT_EQ(got.cx, want.cx) << what;
        EXPECT_EQ(got.cy, want.cy) << what;
        EXPECT_EQ(got.style, want.style) << what << std::hex << " style " << got.style;
    }
}

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kDialogFrame = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;

TEST(Resources, CopyrightDialog)
{
    Dialog dialog = ReadDialog(IDD_COPYRIGHT);
    EXPECT_EQ(dialog.style, kDialogFrame);
    EXPECT_EQ(dialog.caption, "Copyright Information");
    EXPECT_EQ(std::vector<int>({dialog.x, dialog.y, dialog.cx, dialog.cy}), std::vector<int>({59, 39, 186, 131}));
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.face, "MS Sans Serif");
    ASSERT_GE(dialog.controls.size(), 4u);
    std::string maker = dialog.controls[3].text;        // the maker line names this project
    EXPECT_NE(maker.find("KORVAL"), std::string::npos) << maker;
    ExpectControls(dialog, {
        {kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 57, 111, 74, 14, IDOK, "button", "OK"},
        {kChild | SS_ICON, 5, 7, 20, 20, -1, "static", "#100"},
        {kChild | WS_GROUP | SS_LEFT, 29, 7, 110, 8, -1, "static", "Vantry Demo Datenbank"},
        {kChild | WS_GROUP | SS_LEFT, 29, 19, 151, 8, -1, "static", maker},
        {kChild | BS_GROUPBOX, 5, 34, 176, 71, IDC_NOTICE_FRAME, "button", "Hinweis"},
        {kChild | WS_GROUP | SS_CENTER, 8, 46, 170, 32, -1, "static",
         "Die in dieser Datenbank aufgef\xFChrten Animationen und die darin enthaltenen Bilder und "
         "Bildsequenzen k\xF6nnen frei f\xFCr nicht kommerzielle Zwecke genutzt werden."},
        {kChild | WS_GROUP | SS_CENTER, 12, 83, 163, 18, -1, "static",
         "Eine kommerzielle Nutzung erfordert das Einverst\xE4ndnis der entsprechenden Autoren."},
    });

    // The icon control shows the program's icon.
    HWND shown = CreateDialogParamA(Self(), MAKEINTRESOURCEA(IDD_COPYRIGHT), nullptr,
                                    [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_NE(shown, nullptr);
    HWND icon = GetWindow(GetDlgItem(shown, IDOK), GW_HWNDNEXT);
    EXPECT_NE(SendMessageA(icon, STM_GETICON, 0, 0), 0);
    DestroyWindow(shown);
}

TEST(Resources, KeywordDialog)
{
    Dialog dialog = ReadDialog(IDD_SELECT);
    EXPECT_EQ(dialog.style, kDialogFrame);
    EXPECT_EQ(dialog.caption, "Selektieren");
    EXPECT_EQ(std::vector<int>({dialog.x, dialog.y, dialog.cx, dialog.cy}), std::vector<int>({26, 41, 169, 122}));
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.face, "MS Sans Serif");
    // The list, the radio group and the buttons can be reached with Tab; the
    // radio buttons form one group, Oder and Und.
    ExpectControls(dialog, {
        {kChild | WS_GROUP | SS_LEFT, 6, 5, 91, 18, -1, "static", "Bitte w\xE4hlen Sie ein oder mehrere Stichw\xF6rter:"},
        {kChild | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_SORT | LBS_MULTIPLESEL, 7, 26, 89, 88,
         ID_KEYWORD_LIST, "listbox", ""},
        {kChild | BS_GROUPBOX, 106, 70, 55, 45, -1, "button", "Verkn\xFCpfung"},
        {kChild | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 112, 84, 35, 12, ID_MATCH_ANY, "button", "Oder"},
        {kChild | BS_AUTORADIOBUTTON, 112, 97, 35, 12, ID_MATCH_ALL, "button", "Und"},
        {kChild | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, 106, 24, 56, 14, ID_ALL, "button", "&Alle"},
        {kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 106, 5, 56, 14, IDOK, "button", "&OK"},
        {kChild | WS_TABSTOP | BS_PUSHBUTTON, 106, 43, 56, 14, IDCANCEL, "button", "&Abbrechen"},
    });
}

#pragma pack(push, 2)
struct GroupEntry {
    BYTE width;
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST(Resources, IconsAndPicturesInTheirSizesAndDepths)
{
    struct Image { int width; int height; int bits; };
    struct IconCase { int id; std::vector<Image> images; };
    const IconCase icons[] = {
        // Every size the platform asks for at 96, 120, 144 and 192 DPI.
        {IDI_KORVAL, {{32, 32, 4}, {40, 40, 4}, {48, 48, 4}, {64, 64, 4}, {16, 16, 4}, {20, 20, 4}, {24, 24, 4}}},
        {IDI_ROW_FILM, {{32, 32, 4}, {40, 40, 4}, {48, 48, 4}, {64, 64, 4}}},
        {IDI_ROW_SEQUENCE, {{32, 32, 8}, {40, 40, 8}, {48, 48, 8}, {64, 64, 8}}},
    };
    for (const IconCase& icon : icons) {
        HRSRC found = FindResourceA(Self(), MAKEINTRESOURCEA(icon.id), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
        ASSERT_NE(found, nullptr) << icon.id;
        const auto* group = static_cast<const WORD*>(LockResource(LoadResource(Self(), found)));
        ASSERT_EQ(group[2], icon.images.size()) << icon.id;
        const auto* entries = reinterpret_cast<const GroupEntry*>(group + 3);
        for (std::size_t n = 0; n < icon.images.size(); ++n) {
            EXPECT_EQ(entries[n].width, icon.images[n].width) << icon.id;
            EXPECT_EQ(entries[n].height, icon.images[n].height) << icon.id;
            EXPECT_EQ(entries[n].bitCount, icon.images[n].bits) << icon.id;
        }
    }
    EXPECT_EQ(FindResourceA(Self(), MAKEINTRESOURCEA(IDI_ROW_FIRST + 2), MAKEINTRESOURCEA(14)), nullptr);

    struct Picture { int id; int size; };
    const Picture pictures[] = {
        {IDB_PLAY, 24}, {IDB_EDIT, 24}, {IDB_COPY, 24},
        {IDB_PLAY_150, 36}, {IDB_EDIT_150, 36}, {IDB_COPY_150, 36},
        {IDB_PLAY_200, 48}, {IDB_EDIT_200, 48}, {IDB_COPY_200, 48},
    };
    for (const Picture& picture : pictures) {
        const int id = picture.id;
        HRSRC found = FindResourceA(Self(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));       // RT_BITMAP
        ASSERT_NE(found, nullptr) << id;
        const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(Self(), found)));
        EXPECT_EQ(header->biWidth, picture.size) << id;
        EXPECT_EQ(header->biHeight, picture.size) << id;
        EXPECT_EQ(header->biBitCount, 4) << id;
    }
}

TEST(Resources, RowLabelsKeepTheirUmlauts)
{
    struct Case { int id; const wchar_t* text; };
    const Case cases[] = {
        {IDS_LABEL_TITLE, L"Titel:"},
        {IDS_LABEL_AUTHOR, L"Autor:"},
        {IDS_LABEL_FILE, L"Datei:"},
        {IDS_LABEL_DATE, L"Datum:"},
        {IDS_LABEL_SIZE, L"Gesamtgr\u00F6\u00DFe:"},
        {IDS_LABEL_KEYWORDS, L"Stichw\u00F6rter:"},
    };
    for (const Case& c : cases) {
        wchar_t text[32] = L"";
        LoadStringW(Self(), c.id, text, 32);
        EXPECT_STREQ(text, c.text) << c.id;
    }
}

} // namespace
