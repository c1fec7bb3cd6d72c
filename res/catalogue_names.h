/* Section and key names of the catalogue file. The resource script puts them in
   the string table; the native profile reader looks them up here. */
#ifndef KORVAL_CATALOGUE_NAMES_H
#define KORVAL_CATALOGUE_NAMES_H

#define TEXT_AUTHORS        "Authors"
#define TEXT_AUTHOR_KEY     "Author%d"
#define TEXT_KEYWORDS       "Keywords"
#define TEXT_KEYWORD_KEY    "Keyword%d"
#define TEXT_ANIMATIONS     "Animations"
#define TEXT_ANIMATION_KEY  "Animation%d"
#define TEXT_SETTINGS       "Settings"
#define TEXT_BASE_PATH      "BasePath"
#define TEXT_PROGRAM_PATH   "ProgramPath"

#endif
