# What turns the browser build of the game into something a game site hosts:
# tarvellion.js and tarvellion.wasm (the game, run a pass at a time from the
# page's timers), tarvellion.data (the data files, under /data), the page
# (web/) with its manifest, icons and service worker (sw.js, stamped with
# the files' version by stamp_service_worker.cmake), the licences, all in
# build-web/site/ and zipped as
# build-web/tarvellion-<version>-web.zip. Relative paths, one thread: any
# static server will do. Included by the top-level CMakeLists.txt in the web
# build only; `make web` builds it all.
include(${CMAKE_SOURCE_DIR}/tools/generated_assets.cmake)

set(web_site ${CMAKE_BINARY_DIR}/site)
set_target_properties(tarvellion PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${web_site} SUFFIX ".js")
set(web_preload)
set(web_data_files ${TARVELLION_GAME_DATA} ${TARVELLION_RECORDED_DATA})
foreach(file ${web_data_files})
  list(APPEND web_preload "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/data/${file}@/data/${file}")
endforeach()
target_link_options(tarvellion PRIVATE
  -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web
  -sINVOKE_RUN=0 "SHELL:-s EXPORTED_RUNTIME_METHODS=[callMain,FS]"
  # What the page's event listeners call in the library's drivers and the
  # platform layer.
  "SHELL:-s EXPORTED_FUNCTIONS=[_main,_malloc,_web_key_event,_web_mouse_event,_web_focus_changed,_web_mix_block,_web_page_hidden,_web_look_at_screen]"
  -lidbfs.js "SHELL:--pre-js ${CMAKE_CURRENT_LIST_DIR}/player_files.js" ${web_preload})
list(TRANSFORM web_data_files PREPEND ${CMAKE_SOURCE_DIR}/data/ OUTPUT_VARIABLE web_data)
set_property(TARGET tarvellion APPEND PROPERTY LINK_DEPENDS ${web_data}
  ${CMAKE_CURRENT_LIST_DIR}/player_files.js)

# The page and the licences beside the program.
set(web_page ${CMAKE_SOURCE_DIR}/web/index.html ${CMAKE_SOURCE_DIR}/web/page.js
  ${CMAKE_SOURCE_DIR}/web/page.css ${CMAKE_SOURCE_DIR}/web/manifest.webmanifest)
set(web_icons tarvellion-48.png tarvellion-64.png tarvellion-128.png tarvellion-256.png)
list(TRANSFORM web_icons PREPEND ${CMAKE_SOURCE_DIR}/data/ OUTPUT_VARIABLE web_icon_files)
set(web_licences ${CMAKE_SOURCE_DIR}/LICENSE ${WEB_ALLEGRO_SRC}/docs/txt/license.txt)
set(web_zip ${CMAKE_BINARY_DIR}/tarvellion-${PROJECT_VERSION}-web.zip)
# The files at the zip's top level, index.html among them, as game sites take
# an HTML5 game; all but sw.js are what the service worker keeps.
set(web_kept index.html page.js page.css manifest.webmanifest icon.png ${web_icons}
  tarvellion.js tarvellion.wasm tarvellion.data LICENSE.txt allegro-license.txt)
set(web_files ${web_kept} sw.js)
# Commas, as a command line of the build would split the list at semicolons.
list(JOIN web_kept "," web_kept_names)
add_custom_command(OUTPUT ${web_zip}
  COMMAND ${CMAKE_COMMAND} -E copy ${web_page} ${web_site}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/LICENSE ${web_site}/LICENSE.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/data/tarvellion-32.png ${web_site}/icon.png
  COMMAND ${CMAKE_COMMAND} -E copy ${web_icon_files} ${web_site}
  COMMAND ${CMAKE_COMMAND} -E copy ${WEB_ALLEGRO_SRC}/docs/txt/license.txt
          ${web_site}/allegro-license.txt
  COMMAND ${CMAKE_COMMAND} -DTEMPLATE=${CMAKE_SOURCE_DIR}/web/sw.js -DSITE=${web_site}
          -DFILES=${web_kept_names} -P ${CMAKE_CURRENT_LIST_DIR}/stamp_service_worker.cmake
  COMMAND ${CMAKE_COMMAND} -E rm -f ${web_zip}
  COMMAND ${CMAKE_COMMAND} -E chdir ${web_site}
          ${CMAKE_COMMAND} -E tar cf ${web_zip} --format=zip ${web_files}
  DEPENDS tarvellion ${web_page} ${web_licences} ${CMAKE_SOURCE_DIR}/data/tarvellion-32.png
          ${web_icon_files} ${CMAKE_SOURCE_DIR}/web/sw.js
          ${CMAKE_CURRENT_LIST_DIR}/stamp_service_worker.cmake
  COMMENT "Packing tarvellion-${PROJECT_VERSION}-web.zip")
add_custom_target(web_zip ALL DEPENDS ${web_zip})
