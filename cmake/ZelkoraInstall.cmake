# cmake --install build --prefix PREFIX lays out the program's folder in PREFIX/lib/zelkora
# (executables, settings/, ReadMe.txt; setting.ini is written there at run time, so choose a
# prefix you can write to, such as ~/.local), plus a desktop entry and its icon.
set(ZELKORA_INSTALL_DIR lib/zelkora)

install(TARGETS zelkora-cli RUNTIME DESTINATION ${ZELKORA_INSTALL_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/ReadMe.txt DESTINATION ${ZELKORA_INSTALL_DIR})
# Tables a user has edited in an installed folder are kept, as in the build tree.
install(CODE "execute_process(COMMAND \${CMAKE_COMMAND}
  -DSRC=${CMAKE_SOURCE_DIR}/settings
  -DDST=\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${ZELKORA_INSTALL_DIR}/settings
  -P ${CMAKE_SOURCE_DIR}/cmake/CopyMissing.cmake)")

if(TARGET zelkora)
  install(TARGETS zelkora RUNTIME DESTINATION ${ZELKORA_INSTALL_DIR})
  install(CODE "set(ZELKORA_INSTALLED_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${ZELKORA_INSTALL_DIR}/zelkora\")
    configure_file(${CMAKE_SOURCE_DIR}/desktop/zelkora.desktop.in
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications/zelkora.desktop\" @ONLY)")
  install(FILES ${CMAKE_SOURCE_DIR}/desktop/zelkora.svg
          DESTINATION share/icons/hicolor/scalable/apps)
endif()
