# What turns the Windows build of the game into something a player downloads:
# the game's icon and version information inside tarvellion.exe, and the zip
# build-windows/tarvellion-<version>-win64.zip holding the program, its data
# files, a README.txt and the licences: the game's (LICENSE.txt) and that of the
# library built into the program (allegro-license.txt). Included by the top-level CMakeLists.txt in the
# Windows build only; `make windows` builds it all.
include(${CMAKE_SOURCE_DIR}/tools/generated_assets.cmake)

# The icon at every size the asset generator draws it, packed into one .ico;
# the largest stays a PNG, as Windows has read it since Vista, the others
# become bitmaps every version of Windows shows.
find_program(WINDOWS_ICOTOOL icotool REQUIRED)
set(windows_icon ${CMAKE_BINARY_DIR}/tarvellion.ico)
set(windows_icon_pngs)
set(windows_icon_args)
foreach(size ${TARVELLION_ICON_SIZES})
  set(png ${CMAKE_SOURCE_DIR}/data/tarvellion-${size}.png)
  list(APPEND windows_icon_pngs ${png})
  if(size EQUAL 256)
    list(APPEND windows_icon_args --raw=${png})
  else()
    list(APPEND windows_icon_args ${png})
  endif()
endforeach()
add_custom_command(OUTPUT ${windows_icon}
  COMMAND ${WINDOWS_ICOTOOL} --create --output=${windows_icon} ${windows_icon_args}
  DEPENDS ${windows_icon_pngs}
  COMMENT "Packing the game's icon into tarvellion.ico")

# The version information carries the one version of the project() line.
enable_language(RC)
configure_file(${CMAKE_CURRENT_LIST_DIR}/tarvellion.rc.in ${CMAKE_BINARY_DIR}/tarvellion.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/tarvellion.rc PROPERTIES
  OBJECT_DEPENDS ${windows_icon})
target_sources(tarvellion PRIVATE ${CMAKE_BINARY_DIR}/tarvellion.rc)

# The zip: one folder, unpacked anywhere, with Windows line ends in the README
# so that every editor shows it as written.
set(windows_release tarvellion-${PROJECT_VERSION})
set(windows_zip ${CMAKE_BINARY_DIR}/${windows_release}-win64.zip)
configure_file(${CMAKE_SOURCE_DIR}/dist/windows/README.txt.in
  ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
set(windows_data ${TARVELLION_GAME_DATA} ${TARVELLION_RECORDED_DATA})
list(TRANSFORM windows_data PREPEND ${CMAKE_SOURCE_DIR}/data/)
set(windows_licences ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/allegro-src/docs/txt/license.txt)
set(windows_stage ${CMAKE_BINARY_DIR}/zip)
add_custom_command(OUTPUT ${windows_zip}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${windows_stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${windows_stage}/${windows_release}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tarvellion> ${CMAKE_BINARY_DIR}/README.txt
          ${windows_data} ${windows_stage}/${windows_release}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/LICENSE
          ${windows_stage}/${windows_release}/LICENSE.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/allegro-src/docs/txt/license.txt
          ${windows_stage}/${windows_release}/allegro-license.txt
  COMMAND ${CMAKE_COMMAND} -E rm -f ${windows_zip}
  COMMAND ${CMAKE_COMMAND} -E chdir ${windows_stage}
          ${CMAKE_COMMAND} -E tar cf ${windows_zip} --format=zip ${windows_release}
  DEPENDS tarvellion ${CMAKE_BINARY_DIR}/README.txt ${windows_data} ${windows_licences}
  COMMENT "Packing ${windows_release}-win64.zip")
add_custom_target(windows_zip ALL DEPENDS ${windows_zip})
