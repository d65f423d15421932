# cmake -DSRC=dir -DDST=dir -P CopyMissing.cmake: copies each file of SRC into DST unless DST
# already holds a file of that name.
file(MAKE_DIRECTORY ${DST})
file(GLOB files LIST_DIRECTORIES false RELATIVE ${SRC} ${SRC}/*)
foreach(name IN LISTS files)
  if(NOT EXISTS ${DST}/${name})
    file(COPY ${SRC}/${name} DESTINATION ${DST})
  endif()
endforeach()
