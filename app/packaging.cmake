# Installing the program: the executable and its language libraries share one
# folder (the program finds its languages beside itself), a link in bin/ starts
# it, and a desktop entry with an icon puts it in the menus. CPack builds a
# Debian package of the same.
include(GNUInstallDirs)
set(KV_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/kestrun-varnadel)

install(TARGETS KestrunVarnadel RUNTIME DESTINATION ${KV_PROGRAM_DIR})
if(TARGET kv_lang_de)
  install(TARGETS kv_lang_de LIBRARY DESTINATION ${KV_PROGRAM_DIR})
endif()
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  execute_process(COMMAND ${CMAKE_COMMAND} -E create_symlink
                  ../${KV_PROGRAM_DIR}/KestrunVarnadel
                  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/KestrunVarnadel\")
")
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/packaging/kestrun-varnadel.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/packaging/kestrun-varnadel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/kestrun-varnadel/examples
        FILES_MATCHING PATTERN "*.ccp")

set(CPACK_PACKAGE_NAME "kestrun-varnadel")
set(CPACK_PACKAGE_VENDOR "Kestrun")
set(CPACK_PACKAGE_CONTACT "Kestrun <support@kestrun.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Decompression dive planner for rebreather and open-circuit divers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR "DEB")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
include(CPack)
