# The installation: one folder for everything that runs (the programs, the
# shared and language libraries, the catalogue and the machine settings), as
# in the build folder, found through $ORIGIN so the whole tree can move.
# bin/ holds relative links to the programs; share/ the desktop integration.

include(GNUInstallDirs)

set(MEMORIX_INSTALL_DIR "lib/memorix" CACHE STRING "Folder of the programs and libraries, relative to the prefix")
set(MEMORIX_LANGUAGE "English" CACHE STRING "Language the installation writes into the machine settings")
set_property(CACHE MEMORIX_LANGUAGE PROPERTY STRINGS English Japanese)

# Everything the programs need at run time; scripts/run builds just these.
set(MEMORIX_RUNTIME_TARGETS
  memorix memorix-cli memorix-plcsim
  MEMORIXEnu MEMORIXJpn
  QelTeskCommon QelTeskUserIF QelTesktocol7 QelTeskOnline QelTeskMsg QelTeskCMSet
  QelPortavo QelPortavoEnu QelPortavoJpn QelTeskExDll)
set(memorix_installed_targets)
foreach(target ${MEMORIX_RUNTIME_TARGETS})
  if(TARGET ${target})
    list(APPEND memorix_installed_targets ${target})
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
  endif()
endforeach()
add_custom_target(memorix_programs DEPENDS ${memorix_installed_targets} memorix_catalogue_db)

install(TARGETS ${memorix_installed_targets}
  RUNTIME DESTINATION ${MEMORIX_INSTALL_DIR}
  LIBRARY DESTINATION ${MEMORIX_INSTALL_DIR}
  NAMELINK_SKIP)
install(FILES ${MEMORIX_BIN_DIR}/Memorix.db DESTINATION ${MEMORIX_INSTALL_DIR})

# The machine settings: the language and how many languages are installed.
set(MEMORIX_LANGMAX 2)
configure_file(${CMAKE_SOURCE_DIR}/desktop/Memorix.conf.in ${CMAKE_BINARY_DIR}/install/Memorix.conf @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/install/Memorix.conf DESTINATION ${MEMORIX_INSTALL_DIR})

foreach(program memorix memorix-cli memorix-plcsim)
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(RELATIVE_PATH target \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\"
         \"\${CMAKE_INSTALL_PREFIX}/${MEMORIX_INSTALL_DIR}/${program}\")
    message(STATUS \"Linking: \${link} -> \${target}\")
    file(CREATE_LINK \"\${target}\" \"\${link}\" SYMBOLIC)")
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/desktop/memorix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/memorix.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/memorix.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/memorix-cli.1 ${CMAKE_SOURCE_DIR}/desktop/memorix-plcsim.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# scripts/package: a Debian package of the installation.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME memorix)
set(CPACK_PACKAGE_VENDOR Varnholt)
set(CPACK_PACKAGE_CONTACT "Varnholt <memorix@varnholt.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for the word-device memory of PLCs")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "shared-mime-info, desktop-file-utils")
include(CPack)
