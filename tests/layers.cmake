# The layers point one way: the core includes nothing of the ui, the shell,
# the platform or Allegro; the ui nothing of the shell or the platform. The
# linker already refuses a core test program that reaches for Allegro; this
# catches a header included for a constant or a type alone.
# Run as: cmake -DSRC=<source dir>/src -P layers.cmake
foreach(layer core ui)
  if(layer STREQUAL "core")
    set(above "\\.\\./(ui|shell|platform)/|<allegro")
  else()
    set(above "\\.\\./(shell|platform)/")
  endif()
  file(GLOB files ${SRC}/${layer}/*)
  foreach(file ${files})
    file(STRINGS ${file} includes REGEX "^#include")
    foreach(line ${includes})
      if(line MATCHES "${above}")
        message(SEND_ERROR "${file}: ${line} reaches above the ${layer}")
      endif()
    endforeach()
  endforeach()
endforeach()
