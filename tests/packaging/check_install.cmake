# Installs the build into a scratch prefix and checks the layout a desktop
# and the App directory rule rely on. Run as
#   cmake -DBINARY_DIR=... -DSOURCE_DIR=... -DPREFIX=... -DWITH_PROGRAM=ON|OFF -P check_install.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BINARY_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

set(expected
  bin/tarquelas
  share/applications/tarquelas.desktop
  share/icons/hicolor/scalable/apps/tarquelas.svg
  share/doc/tarquelas/README.md)
foreach(size 16 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/tarquelas.png)
endforeach()
if(WITH_PROGRAM)
  list(APPEND expected lib/tarquelas/tarquelas)
endif()
# The templates sit beside the program, so a copy in a folder its user can
# write works on them in place.
foreach(name DisenoConsorcio.htm DisenoTrabajador.htm)
  if(EXISTS "${SOURCE_DIR}/templates/${name}")
    list(APPEND expected lib/tarquelas/${name})
  endif()
endforeach()

set(missing "")
foreach(path IN LISTS expected)
  if(NOT EXISTS "${PREFIX}/${path}")
    list(APPEND missing ${path})
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "Not installed: ${missing}")
endif()

if(WITH_PROGRAM)
  # The launcher reaches the program even through a link to itself, as a
  # package manager or a user may make one in another folder.
  file(CREATE_LINK "${PREFIX}/bin/tarquelas" "${PREFIX}/tarquelas-link" SYMBOLIC)
  foreach(launcher bin/tarquelas tarquelas-link)
    execute_process(COMMAND "${PREFIX}/${launcher}" --help
      RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0 OR NOT "${out}${err}" MATCHES "--procesar")
      message(FATAL_ERROR "${launcher} --help gave ${rc}:\n${out}${err}")
    endif()
  endforeach()
endif()
message(STATUS "Install layout under ${PREFIX}: ok")
