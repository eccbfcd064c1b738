# Creates or removes the Wine prefix the Wine tests share, so that one run boots Wine once.
#   cmake -DACTION=create|remove -DPREFIX=<dir> -DWINE=<wine64 loader> -DWINESERVER=<wineserver>
#         [-DKEEPER=<link-driver.exe>] [-DARCH=win32|win64] -P wine_prefix.cmake
# ARCH win32 makes a 32-bit prefix (WINEARCH=win32, with the 32-bit loader as WINE), where
# pilots run FS2004; the default is a 64-bit one.
# create: a fresh prefix whose registry selects Wine's null graphics driver before the first
# boot (windows work without an X server), booted, its wineserver kept running until remove.
# Wine ends its service processes when the last program of a prefix exits and starts them
# again with the next one, which costs seconds; the keeper (link-driver.exe --idle) stays
# until remove, so that each test's programs start at once.
# remove: ends every process of the prefix and deletes it.
set(ENV{WINEPREFIX} ${PREFIX})
if(NOT ARCH)
  set(ARCH win64)
endif()
set(ENV{WINEARCH} ${ARCH})
set(ENV{WINEDEBUG} -all)
# No Mono or Gecko installers, no menu entries.
set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=;winemenubuilder.exe=d")

if(NOT WINE OR NOT EXISTS "${WINE}")
  message("wine is not installed: the Wine tests skip themselves")
  return()
endif()

get_filename_component(work ${PREFIX} DIRECTORY)
set(end_processes ${CMAKE_CURRENT_LIST_DIR}/end_wine_prefix_processes.sh)
set(log ${work}/boot.log)

if(ACTION STREQUAL "create")
  if(EXISTS ${PREFIX})
    execute_process(COMMAND ${WINESERVER} -k TIMEOUT 30 OUTPUT_QUIET ERROR_QUIET)
    execute_process(COMMAND ${end_processes} ${PREFIX} TIMEOUT 30)
    file(REMOVE_RECURSE ${PREFIX})
  endif()
  file(MAKE_DIRECTORY ${PREFIX})
  file(WRITE ${PREFIX}/user.reg
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
    "#arch=${ARCH}\n\n"
    "[Software\\\\Wine\\\\Drivers]\n"
    "\"Graphics\"=\"null\"\n")
  # Output goes to a file: the server and Wine's helper processes outlive these commands and
  # would hold a pipe open.
  execute_process(COMMAND ${WINESERVER} -p RESULT_VARIABLE started TIMEOUT 30 OUTPUT_FILE ${log} ERROR_FILE ${log})
  execute_process(COMMAND ${WINE} wineboot -i RESULT_VARIABLE booted TIMEOUT 240 OUTPUT_FILE ${log} ERROR_FILE ${log})
  if(NOT started EQUAL 0 OR NOT booted EQUAL 0)
    file(READ ${log} output)
    message(FATAL_ERROR "booting the Wine prefix ${PREFIX} failed (${started}, ${booted}):\n${output}")
  endif()
  if(KEEPER)
    execute_process(COMMAND sh -c "\"$0\" \"$1\" --idle </dev/null >/dev/null 2>&1 &" ${WINE} ${KEEPER}
                    RESULT_VARIABLE kept)
    if(NOT kept EQUAL 0)
      message(FATAL_ERROR "cannot start the keeper ${KEEPER}")
    endif()
  endif()
  file(READ ${PREFIX}/user.reg registry)
  if(NOT registry MATCHES "\"Graphics\"=\"null\"")
    message(FATAL_ERROR "the Wine prefix lost its null graphics driver")
  endif()
elseif(ACTION STREQUAL "remove")
  if(EXISTS ${PREFIX})
    execute_process(COMMAND ${WINESERVER} -k TIMEOUT 30 OUTPUT_QUIET ERROR_QUIET)
    execute_process(COMMAND ${end_processes} ${PREFIX} TIMEOUT 30)
  endif()
  file(REMOVE_RECURSE ${PREFIX} ${log})
else()
  message(FATAL_ERROR "ACTION must be create or remove")
endif()
