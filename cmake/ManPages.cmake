# The man pages as installed: each page of man/ with the project's version in
# its title line, compressed as Debian keeps man pages.
set(FXT_MAN_PAGES parse.1 fxtdump.1 fxtlint.1 fxtfmt.1 fxtchart.1 fxt-language-server.1 fxtimport.1 fxt.5)
set(FXT_MAN_PAGES_BUILT "")
foreach(page IN LISTS FXT_MAN_PAGES)
  set(built ${CMAKE_BINARY_DIR}/man/${page})
  add_custom_command(
    OUTPUT ${built}.gz
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/man/${page} -DTARGET=${built}
            -DVERSION=${PROJECT_VERSION} -P ${CMAKE_SOURCE_DIR}/cmake/StampManPage.cmake
    COMMAND gzip -9nf ${built}
    DEPENDS ${CMAKE_SOURCE_DIR}/man/${page} ${CMAKE_SOURCE_DIR}/cmake/StampManPage.cmake
    COMMENT "Man page ${page}"
    VERBATIM)
  list(APPEND FXT_MAN_PAGES_BUILT ${built}.gz)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${FXT_MAN_PAGES_BUILT})
