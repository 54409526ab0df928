# The Allegro the browser build of the game links against: the library's
# portable core from Debian's source tarball (unpacked and patched into the
# build tree by prepare-allegro.sh the first time the tree is configured),
# with the web platform of cmake/web/allegro/ - its headers and its drivers
# in src/web/. Built as an ordinary static library of this tree, so its
# objects are made once and reused. Included by the top-level CMakeLists.txt
# when it is configured with Emscripten; defines the target web_allegro.
set(WEB_ALLEGRO_SRC ${CMAKE_BINARY_DIR}/allegro-src)
set(WEB_ALLEGRO_OWN ${CMAKE_CURRENT_LIST_DIR}/allegro)

file(GLOB web_allegro_patches ${CMAKE_CURRENT_LIST_DIR}/patches/*.patch)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${web_allegro_patches}
  ${CMAKE_CURRENT_LIST_DIR}/prepare-allegro.sh
  ${CMAKE_CURRENT_LIST_DIR}/../windows/fetch-allegro.sh)
execute_process(
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/prepare-allegro.sh ${CMAKE_BINARY_DIR}
  RESULT_VARIABLE web_allegro_status)
if(NOT web_allegro_status EQUAL 0)
  message(FATAL_ERROR "Allegro's source for the browser could not be prepared (see above)")
endif()

# The library's own lists of its portable sources: the core and its C
# (not assembler) drawing routines.
include(${WEB_ALLEGRO_SRC}/cmake/FileList.cmake)
set(web_allegro_core ${ALLEGRO_SRC_FILES} ${ALLEGRO_SRC_C_FILES} src/unix/ufile.c)
list(TRANSFORM web_allegro_core PREPEND ${WEB_ALLEGRO_SRC}/)
# The library's code is not ours to tidy: its warnings are not shown.
set_source_files_properties(${web_allegro_core} PROPERTIES COMPILE_OPTIONS "-w")
file(GLOB web_allegro_drivers CONFIGURE_DEPENDS ${WEB_ALLEGRO_OWN}/src/web/*.c)

enable_language(C)
add_library(web_allegro STATIC ${web_allegro_core} ${web_allegro_drivers})
target_include_directories(web_allegro SYSTEM BEFORE PUBLIC
  ${WEB_ALLEGRO_OWN}/include ${WEB_ALLEGRO_SRC}/include)
target_compile_definitions(web_allegro PRIVATE ALLEGRO_SRC)
