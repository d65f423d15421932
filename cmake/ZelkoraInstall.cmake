# cmake --install build --prefix PREFIX lays the program out as Linux programs are laid out:
# PREFIX/bin/zelkora and zelkora-cli, the tables in PREFIX/share/zelkora/settings, ReadMe.txt in
# PREFIX/share/doc/zelkora, the man pages, bash completion, a desktop entry, its icon and
# AppStream metainfo. The programs find share/ from their own real path (core/common/ProgramPaths.h),
# so these folders are fixed relative to bin/ rather than taken from GNUInstallDirs, and the tree
# works under any prefix; each user's setting.ini and tables go to ~/.config and ~/.local/share.
# cpack -G DEB packages the same tree under /usr (cmake/ZelkoraPackage.cmake).
set(ZELKORA_APP_ID org.example.zelkora)  # AppStream's id, which names the desktop entry too
set(ZELKORA_DOC_DIR share/doc/zelkora)

install(TARGETS zelkora-cli RUNTIME DESTINATION bin)
# Tables a user has edited in PREFIX/share/zelkora/settings (a prefix the user owns, such as
# ~/.local, where that folder is also the user's own) are kept, as in the build tree.
install(CODE "execute_process(COMMAND \${CMAKE_COMMAND}
  -DSRC=${CMAKE_SOURCE_DIR}/settings
  -DDST=\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/zelkora/settings
  -P ${CMAKE_SOURCE_DIR}/cmake/CopyMissing.cmake)")

# The man pages and the changelog are installed compressed without a time stamp, so the same
# sources give the same package.
set(compressed)
foreach(file man/zelkora.1 man/zelkora-cli.1 packaging/changelog)
  get_filename_component(name ${file} NAME)
  add_custom_command(OUTPUT ${ZELKORA_GENERATED_DIR}/${name}.gz
    COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/${file} > ${ZELKORA_GENERATED_DIR}/${name}.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/${file})
  list(APPEND compressed ${ZELKORA_GENERATED_DIR}/${name}.gz)
endforeach()
add_custom_target(zelkora_compressed ALL DEPENDS ${compressed})
install(FILES ${ZELKORA_GENERATED_DIR}/zelkora.1.gz ${ZELKORA_GENERATED_DIR}/zelkora-cli.1.gz
        DESTINATION share/man/man1)
# bash completion of the commands, their options and, after -t, the tables folder's tables;
# bash-completion loads it by the command's name.
install(FILES ${CMAKE_SOURCE_DIR}/completion/zelkora-cli.bash
        DESTINATION share/bash-completion/completions RENAME zelkora-cli)
install(FILES ${CMAKE_SOURCE_DIR}/ReadMe.txt ${CMAKE_SOURCE_DIR}/packaging/copyright
        ${ZELKORA_GENERATED_DIR}/changelog.gz
        DESTINATION ${ZELKORA_DOC_DIR})

if(TARGET zelkora)
  install(TARGETS zelkora RUNTIME DESTINATION bin)
  # The window under /usr is found on every PATH; elsewhere (~/.local/bin, say) the desktop entry
  # names the file, since a desktop session's PATH may lack that folder.
  install(CODE [[
    set(ZELKORA_DESKTOP_EXEC "${CMAKE_INSTALL_PREFIX}/bin/zelkora")
    if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
      set(ZELKORA_DESKTOP_EXEC zelkora)
    endif()
  ]])
  install(CODE "configure_file(${CMAKE_SOURCE_DIR}/desktop/zelkora.desktop.in
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications/${ZELKORA_APP_ID}.desktop\" @ONLY)")
  install(FILES ${CMAKE_SOURCE_DIR}/desktop/zelkora.svg
          DESTINATION share/icons/hicolor/scalable/apps)
  install(FILES ${CMAKE_SOURCE_DIR}/desktop/${ZELKORA_APP_ID}.metainfo.xml
          DESTINATION share/metainfo)
endif()
