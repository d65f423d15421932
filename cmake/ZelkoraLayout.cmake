# Lays out the program's folder in the build tree. Tables are copied only where missing,
# so tables a user edited in build/bin/settings are never overwritten by a rebuild.
add_custom_target(zelkora_layout ALL
  COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR}/settings -DDST=${ZELKORA_BIN_DIR}/settings
          -P ${CMAKE_SOURCE_DIR}/cmake/CopyMissing.cmake
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/ReadMe.txt
          ${ZELKORA_BIN_DIR}/ReadMe.txt
  COMMENT "Laying out settings/ and ReadMe.txt in ${ZELKORA_BIN_DIR}"
  VERBATIM)
