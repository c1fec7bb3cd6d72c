/* Identifiers shared by the resource script and the code. */
#ifndef KORVAL_RESOURCE_H
#define KORVAL_RESOURCE_H

/* Resources (each kind numbered on its own) */
#define IDR_MAIN_MENU           100
#define IDR_ACCELERATORS        100
#define IDI_KORVAL              100
#define IDI_ROW_FIRST           110     /* row icons follow on: 110, 111, ... */
#define IDI_ROW_FILM            110
#define IDI_ROW_SEQUENCE        111
#define IDB_PLAY                120
#define IDB_EDIT                121
#define IDB_COPY                122
#define IDB_PLAY_150            123     /* the pictures at 150 % and 200 %, in the same order */
#define IDB_EDIT_150            124
#define IDB_COPY_150            125
#define IDB_PLAY_200            126
#define IDB_EDIT_200            127
#define IDB_COPY_200            128
#define IDD_COPYRIGHT           101
#define IDD_SELECT              102
#define IDR_DIALOG_MANIFEST     130     /* themed controls for dialogs and message boxes */
#define IDR_VIEWER_MENU         140     /* the viewer's right-click menu */

/* Strings 100-132: names in the catalogue file */
#define IDS_AUTHORS             100
#define IDS_AUTHOR_KEY          101
#define IDS_KEYWORDS            110
#define IDS_KEYWORD_KEY         111
#define IDS_ANIMATIONS          120
#define IDS_ANIMATION_KEY       121
#define IDS_SETTINGS            130
#define IDS_BASE_PATH           131
#define IDS_PROGRAM_PATH        132

/* Strings 199-211: texts shown */
#define IDS_WINDOW_TITLE        199
#define IDS_LABEL_TITLE         200
#define IDS_LABEL_AUTHOR        201
#define IDS_LABEL_FILE          202
#define IDS_LABEL_DATE          203
#define IDS_LABEL_SIZE          204
#define IDS_LABEL_KEYWORDS      205
#define IDS_UNKNOWN_AUTHOR      206
#define IDS_ERROR_CAPTION       207
#define IDS_PROGRAM_MISSING     208
#define IDS_NO_MATCH            209
#define IDS_CATALOGUE_MISSING   210
#define IDS_INSERT_MEDIUM       211

/* Strings 220-226: the preview's lines */
#define IDS_PREVIEW_NOT_FOUND   220
#define IDS_PREVIEW_NOT_FLC     221
#define IDS_PREVIEW_TOO_LARGE   222
#define IDS_PREVIEW_DAMAGED     223
#define IDS_PREVIEW_DAMAGED_AT  224     /* appended to the facts: the frame where the file breaks */
#define IDS_PREVIEW_NOT_A_FILE  225     /* a device or a pipe, never read */
#define IDS_PREVIEW_NO_MEMORY   226     /* no room in memory for the picture */

/* Strings 230-238: saving from the viewer; "%s" is the chosen file */
#define IDS_SAVE_FILTER         230     /* the save dialog's types, '|' between the parts */
#define IDS_SAVE_NO_FOLDER      232
#define IDS_SAVE_WRITE_FAILED   233
#define IDS_SAVE_REPLACE_FAILED 234
#define IDS_SAVE_UNREADABLE     235
#define IDS_SAVE_SLOWED         236
#define IDS_SAVE_CAPTION        237
#define IDS_SAVE_NAME_TOO_LONG  238
#define IDS_VIEWER_READING      240     /* the viewer while a file's first facts are on their way */
#define IDS_VIEWER_SAVING       241

/* Strings 250-259: saving from the viewer, what is not the whole animation;
   "%s" is the chosen file, "%d" the frame where the animation broke off */
#define IDS_SAVE_DAMAGED_KEEP   250     /* a question: keep the frames before the damage? */
#define IDS_SAVE_CUT_SHORT_KEEP 251     /* a question: no memory for a frame, keep those before? */
#define IDS_SAVE_NO_MEMORY      252
/* Ctrl+S on a row whose file is no animation; "%s" is that file */
#define IDS_SAVE_NOTHING_NOT_FOUND   253
#define IDS_SAVE_NOTHING_NOT_A_FILE  254
#define IDS_SAVE_NOTHING_NOT_FLC     255
#define IDS_SAVE_NOTHING_TOO_LARGE   256
#define IDS_SAVE_NOTHING_NO_MEMORY   257
#define IDS_SAVE_NOTHING_DAMAGED     258

/* Controls and commands of the main window */
#define ID_LIST                 500
#define ID_STATUSBAR            501
#define ID_PLAY                 502
#define ID_EDIT                 503
#define ID_COPY                 504
#define ID_PREVIEW              510     /* F3, and "Vorschau" in "Ansicht" */
#define ID_VIEWER               511     /* Ctrl+F3, and "Ansehen..." in "Ansicht" */

/* Controls of the keyword dialog */
#define ID_KEYWORD_LIST         600
#define ID_MATCH_ANY            601
#define ID_MATCH_ALL            602
#define ID_ALL                  603

/* Menu commands */
#define ID_COPYRIGHT            1001
#define ID_EXIT                 1009
#define ID_SORT_TITLE           1100
#define ID_SORT_AUTHOR          1101
#define ID_SORT_FILE            1102
#define ID_SORT_DATE            1103
#define ID_SELECT               1110

/* The viewer's commands: its keys and its right-click menu */
#define ID_VIEWER_PAUSE         1200
#define ID_VIEWER_NEXT          1201
#define ID_VIEWER_PREVIOUS      1202
#define ID_VIEWER_FIRST         1203
#define ID_VIEWER_LAST          1204
#define ID_VIEWER_ZOOM_IN       1205
#define ID_VIEWER_ZOOM_OUT      1206
#define ID_VIEWER_FIT           1207
#define ID_VIEWER_SPEED_HALF    1210    /* the four speeds in this order */
#define ID_VIEWER_SPEED_NORMAL  1211
#define ID_VIEWER_SPEED_DOUBLE  1212
#define ID_VIEWER_SPEED_QUADRUPLE 1213
#define ID_VIEWER_TALL_PIXELS   1214
#define ID_VIEWER_PLAY_ALL      1215
#define ID_VIEWER_SAVE          1216
#define ID_VIEWER_CLOSE         1217

/* Control of the copyright dialog */
#define IDC_NOTICE_FRAME        101

#endif
