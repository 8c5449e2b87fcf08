# The layers of the program, lowest first, each an object library that sees only its own
# folders and those of the layers it depends on: every layer gets an include root of its
# own in the build tree that links to exactly those folders, so an include that points the
# wrong way ("engine/..." from core/, "shell/..." from engine/) is not found and the build
# fails.

# The sources free of window headers (one list, also read by the native fuzz build).
file(STRINGS ${CMAKE_SOURCE_DIR}/cmake/native-sources.txt ZQ_NATIVE_SOURCES REGEX "^[^#]")
list(TRANSFORM ZQ_NATIVE_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)

# zq_include_root(TARGET FOLDER...): TARGET's sources see FOLDER/... and what its links bring.
function(zq_include_root target)
  set(root ${CMAKE_BINARY_DIR}/include-roots/${target})
  file(MAKE_DIRECTORY ${root})
  foreach(folder ${ARGN})
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT EXISTS ${root}/${folder})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# zq_header_root(TARGET FOLDER HEADER...): TARGET's sources see only these headers of FOLDER,
# for a layer that shares its folder with a higher one.
function(zq_header_root target folder)
  set(root ${CMAKE_BINARY_DIR}/include-roots/${target})
  if(IS_SYMLINK ${root}/${folder})
    file(REMOVE ${root}/${folder})  # a build tree from before the layer was narrowed
  endif()
  file(MAKE_DIRECTORY ${root}/${folder})
  foreach(header ${ARGN})
    if(NOT EXISTS ${root}/${folder}/${header})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder}/${header} ${root}/${folder}/${header} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# zq_layer(NAME FOLDERS folder... [ONLY files...] [EXCEPT files...] [HEADERS files...] [DEPENDS layer...])
# HEADERS: the layer sees only these headers of its one folder instead of the whole folder.
function(zq_layer name)
  cmake_parse_arguments(L "" "" "FOLDERS;ONLY;EXCEPT;HEADERS;DEPENDS" ${ARGN})
  if(L_ONLY)
    set(srcs ${L_ONLY})
  else()
    set(srcs)
    foreach(folder ${L_FOLDERS})
      file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
      list(APPEND srcs ${found})
    endforeach()
  endif()
  if(L_EXCEPT)
    list(REMOVE_ITEM srcs ${L_EXCEPT})
  endif()
  add_library(${name} OBJECT ${srcs})
  if(L_HEADERS)
    zq_header_root(${name} ${L_FOLDERS} ${L_HEADERS})
  else()
    zq_include_root(${name} ${L_FOLDERS})
  endif()
  target_link_libraries(${name} PUBLIC ${L_DEPENDS})
endfunction()

set(classlib_text_sources ${ZQ_NATIVE_SOURCES})
list(FILTER classlib_text_sources INCLUDE REGEX "/classlib/[^/]*$")
# The text half sees only its own headers (those of its sources and the two it shares with
# the window half), so a window header included there fails here, not only in the native build.
set(classlib_text_headers Types.h MapPosition.h)
foreach(source ${classlib_text_sources})
  get_filename_component(stem ${source} NAME_WE)
  if(EXISTS ${CMAKE_SOURCE_DIR}/classlib/${stem}.h)
    list(APPEND classlib_text_headers ${stem}.h)
  endif()
endforeach()

zq_layer(classlib_text FOLDERS classlib ONLY ${classlib_text_sources} HEADERS ${classlib_text_headers})
zq_layer(classlib_win FOLDERS classlib EXCEPT ${classlib_text_sources} DEPENDS classlib_text)
zq_layer(core FOLDERS core DEPENDS classlib_win)
zq_layer(engine FOLDERS engine DEPENDS core)
# The windows: the shell, the dialogs and the resource ids they share with the resource script.
zq_layer(ui FOLDERS shell dialogs res DEPENDS engine)

# zq_link_layers(TARGET layer...): TARGET is built from the objects of these layers. An object
# library's objects reach only the targets that name it, so every layer is named.
function(zq_link_layers target)
  target_link_libraries(${target} PRIVATE ${ARGN})
endfunction()
