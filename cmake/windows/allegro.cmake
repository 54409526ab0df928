# The Allegro the Windows build of the game links against: a static library
# cross-built by build-allegro.sh into this build tree the first time the tree is
# configured, then reused. Included by the top-level CMakeLists.txt when it is
# configured with mingw-w64-x86_64.cmake; defines the target windows_allegro.
set(WINDOWS_ALLEGRO_DIR ${CMAKE_BINARY_DIR}/allegro)

# A changed patch or script builds the library again at the next build.
file(GLOB windows_allegro_patches ${CMAKE_CURRENT_LIST_DIR}/patches/*.patch)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${windows_allegro_patches}
  ${CMAKE_CURRENT_LIST_DIR}/fetch-allegro.sh
  ${CMAKE_CURRENT_LIST_DIR}/build-allegro.sh
  ${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)

cmake_host_system_information(RESULT windows_allegro_jobs QUERY NUMBER_OF_LOGICAL_CORES)
execute_process(
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/build-allegro.sh ${CMAKE_BINARY_DIR} ${windows_allegro_jobs}
  RESULT_VARIABLE windows_allegro_status)
if(NOT windows_allegro_status EQUAL 0)
  message(FATAL_ERROR "Allegro for Windows could not be built (see above)")
endif()

# Linked statically, the library needs the system and DirectX import libraries
# after it; winpthreads (pthread) supplies the clock and sleep calls of the
# C runtime the game uses.
add_library(windows_allegro STATIC IMPORTED)
set_target_properties(windows_allegro PROPERTIES
  IMPORTED_LOCATION ${WINDOWS_ALLEGRO_DIR}/lib/liballeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${WINDOWS_ALLEGRO_DIR}/include
  INTERFACE_COMPILE_DEFINITIONS ALLEGRO_STATICLINK
  INTERFACE_LINK_LIBRARIES
    "kernel32;user32;gdi32;comdlg32;ole32;dinput;ddraw;dxguid;winmm;dsound;pthread")
