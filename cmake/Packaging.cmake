# What `cmake --install` puts where, and the Debian package that holds the
# same files: `cpack -G DEB` in a build directory (the release preset's for
# a package to hand out) writes fxt_VERSION_ARCH.deb.
include(GNUInstallDirs)

set(FXT_PROGRAMS parse fxtdump fxtlint fxtfmt fxtchart)
if(TARGET fxt-language-server)
  list(APPEND FXT_PROGRAMS fxt-language-server fxtimport)
endif()
install(TARGETS ${FXT_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(page IN LISTS FXT_MAN_PAGES_BUILT)
  string(REGEX MATCH "[0-9]\\.gz$" section "${page}")
  string(SUBSTRING "${section}" 0 1 section)
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()
install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/fxt/examples)
# Each editor's package or configuration, without what npm fetched or what
# only its tests read.
install(DIRECTORY editors/ DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/fxt/editors
        PATTERN node_modules EXCLUDE
        PATTERN .gitignore EXCLUDE
        REGEX "vscode/test(/|$)" EXCLUDE)

set(CPACK_PACKAGE_NAME fxt)
set(CPACK_PACKAGE_VENDOR "fixture tester developers")
set(CPACK_PACKAGE_CONTACT "fixture tester developers <fxt@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tester, linter, formatter and language server for fixture templates")
set(CPACK_PACKAGE_DESCRIPTION
    "parse checks a fixture template (.fxt) of a lighting control desk before it\n"
    "goes into the desk. fxtlint checks a whole library of templates for editors\n"
    "and CI, fxtfmt lays templates out in one layout, fxtdump shows the model a\n"
    "load builds, fxtchart draws it as a DMX chart in an HTML page,\n"
    "fxt-language-server reports problems as a template is typed, and fxtimport\n"
    "turns fixture files of the open fixture library into templates. Editor\n"
    "files are in /usr/share/fxt/editors.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The programs' own libraries (libc, libstdc++ ...), as dpkg-shlibdeps reads
# them off the binaries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "vim | neovim | emacs")
set(CPACK_GENERATOR DEB)
include(CPack)
