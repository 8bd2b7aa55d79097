# cmake -DSOURCE=page -DTARGET=copy -DVERSION=v -P StampManPage.cmake
# Copies a man page, writing the version into the footer of its title line:
# .TH PARSE 1 "date" "fixture tester" "User Commands" gets "fixture tester v".
file(READ ${SOURCE} page)
string(REGEX REPLACE "^(\\.TH [^\n]*\"fixture tester)\"" "\\1 ${VERSION}\"" stamped "${page}")
if(stamped STREQUAL page)
  message(FATAL_ERROR "${SOURCE}: its .TH line names no \"fixture tester\" to stamp")
endif()
file(WRITE ${TARGET} "${stamped}")
