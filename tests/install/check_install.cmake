# Installs the build into a fresh prefix and checks the tree a user gets:
# one program folder <prefix>/lib/vantrel with the programs and the sample sets beside
# them, links in <prefix>/bin, the desktop entry and the icon.
#   cmake -DBUILD_DIR=... -DPREFIX=... -P check_install.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

set(programs vantrel vantrel-panel)
if(EXISTS "${BUILD_DIR}/bin/vantrel-send")
  list(APPEND programs vantrel-send)
endif()
set(expected share/applications/vantrel.desktop share/icons/hicolor/scalable/apps/vantrel.svg
  lib/vantrel/Scrimlay.exe lib/vantrel/Popwarden.exe)
foreach(p ${programs})
  list(APPEND expected lib/vantrel/${p} bin/${p})
endforeach()
foreach(entry
    Brantic/P@Airspeed Brantic/P@Attitude Brantic/P@Altimeter Brantic/N@Heading
    Brantic/E@Tachometer Brantic/A@Annunciator
    Halvery/P@VertSpeed Halvery/E@N1Gauge Halvery/M@Clock)
  string(REGEX REPLACE "^.*/.@" "" stem "${entry}")
  string(REGEX REPLACE "/.*$" "" set "${entry}")
  list(APPEND expected lib/vantrel/Instruments_${entry}.exe lib/vantrel/Instruments_${entry}.ini
    lib/vantrel/Instruments_${set}/${stem}.png)
endforeach()

set(problems)
foreach(f ${expected})
  if(NOT EXISTS "${PREFIX}/${f}")
    list(APPEND problems "missing ${f}")
  endif()
endforeach()
foreach(p ${programs})
  if(NOT IS_SYMLINK "${PREFIX}/bin/${p}")
    list(APPEND problems "bin/${p} is not a link")
  else()
    file(READ_SYMLINK "${PREFIX}/bin/${p}" target)
    if(NOT target STREQUAL "../lib/vantrel/${p}")
      list(APPEND problems "bin/${p} points to ${target}")
    endif()
  endif()
endforeach()
# Nothing else: a stray file in the program folder would be listed as part of a set.
file(GLOB_RECURSE installed RELATIVE "${PREFIX}" LIST_DIRECTORIES false "${PREFIX}/*")
foreach(f ${installed})
  list(FIND expected "${f}" at)
  if(at EQUAL -1)
    list(APPEND problems "unexpected ${f}")
  endif()
endforeach()
if(problems)
  string(REPLACE ";" "\n  " text "${problems}")
  message(FATAL_ERROR "install tree:\n  ${text}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
message(STATUS "install tree as expected: ${programs}")
