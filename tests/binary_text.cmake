# Whether a built program holds a text (an imported function's name, a string):
#   cmake -DFILE=program -DTEXT=text -DEXPECT=present|absent -P binary_text.cmake
if(NOT EXISTS "${FILE}")
  message(FATAL_ERROR "${FILE} does not exist")
endif()
file(STRINGS "${FILE}" found REGEX "${TEXT}" LIMIT_COUNT 1)
if(EXPECT STREQUAL "absent" AND found)
  message(FATAL_ERROR "${FILE} holds ${TEXT}")
elseif(EXPECT STREQUAL "present" AND NOT found)
  message(FATAL_ERROR "${FILE} does not hold ${TEXT}")
endif()
