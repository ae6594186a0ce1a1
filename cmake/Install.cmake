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
# Man pages and the package's changelog go in compressed as Debian wants
# them: gzip -9 without a name or time stamp, so two builds give the same bytes.
set(memorix_compressed)
foreach(source desktop/memorix.1 desktop/memorix-cli.1 desktop/memorix-plcsim.1 desktop/debian/changelog)
  get_filename_component(name ${source} NAME)
  set(copy ${CMAKE_BINARY_DIR}/install/${name})
  add_custom_command(OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/${source} ${copy}
    COMMAND gzip -9nf ${copy}
    DEPENDS ${CMAKE_SOURCE_DIR}/${source}
    VERBATIM)
  list(APPEND memorix_compressed ${copy}.gz)
endforeach()
add_custom_target(memorix_compressed_docs ALL DEPENDS ${memorix_compressed})
add_dependencies(memorix_programs memorix_compressed_docs)

install(FILES ${CMAKE_BINARY_DIR}/install/memorix.1.gz ${CMAKE_BINARY_DIR}/install/memorix-cli.1.gz
  ${CMAKE_BINARY_DIR}/install/memorix-plcsim.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/debian/copyright ${CMAKE_BINARY_DIR}/install/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/memorix)
