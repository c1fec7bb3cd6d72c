# Writes OUT: the page's style and script as C strings, and the row icons'
# PNG bytes, from the files beside it and in res/.
function(korval_c_bytes file variable)
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" length)
  math(EXPR size "${length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  set(${variable} "${bytes}" PARENT_SCOPE)
  set(${variable}_SIZE ${size} PARENT_SCOPE)
endfunction()
korval_c_bytes(${STYLE} style)
korval_c_bytes(${SCRIPT} script)
korval_c_bytes(${ICON0} icon0)
korval_c_bytes(${ICON1} icon1)
file(WRITE ${OUT}.new
  "// Made by web/embed.cmake from page_style.css, page_script.js and res/row*.png.\n"
  "extern const char kPageStyleText[] = {${style} 0};\n"
  "extern const char kPageScriptText[] = {${script} 0};\n"
  "extern const unsigned char kPageIcon0[] = {${icon0}};\n"
  "extern const unsigned kPageIcon0Size = ${icon0_SIZE};\n"
  "extern const unsigned char kPageIcon1[] = {${icon1}};\n"
  "extern const unsigned kPageIcon1Size = ${icon1_SIZE};\n")
file(COPY_FILE ${OUT}.new ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.new)
