# Installs the program into a scratch program folder holding a laboratory's files, installs
# again over it and checks that every file the program wrote is byte for byte unchanged,
# that the executable was replaced, that a first install places the initial password
# store and a reinstall keeps a changed one, and that the menu entry is valid.
# Run by CTest: cmake -DBUILD=<build dir> -DSCRATCH=<scratch dir> -P check_install.cmake
cmake_minimum_required(VERSION 3.25)

function(fail what)
  message(FATAL_ERROR "install check: ${what}")
endfunction()

function(install_into folder)
  execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${folder}" --component program
                  RESULT_VARIABLE rc OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    fail("cmake --install into ${folder} failed")
  endif()
endfunction()

file(REMOVE_RECURSE "${SCRATCH}")
set(home "${SCRATCH}/Program folder")

# A first install places the executable, the manual and the initial password store.
install_into("${home}")
foreach(f brevanto Guida.pdf unins000.dll)
  if(NOT EXISTS "${home}/${f}")
    fail("a first install did not place ${f}")
  endif()
endforeach()
file(READ "${home}/unins000.dll" initialStore)
file(READ "${BUILD}/initial/unins000.dll" builtStore)
if(NOT initialStore STREQUAL builtStore)
  fail("the first install did not place the initial password store")
endif()

# The laboratory works: a changed password, archives, settings, photos, logo, attachments, export.
set(userFiles
  "unins000.dll" "Inventario_Opere.pro" "Relazioni_Tecniche_Restauro.pro" "Contratti.ini" "Brevanto.ini"
  "Inventario/Opera_1.jpg" "Restauri/Foto_A_1.jpg" "Restauri/Foto_B_1.jpg" "Logo.bmp"
  "Documenti_Allegati/perizia.pdf" "Inventario_Opere.xls")
foreach(f IN LISTS userFiles)
  string(SHA256 content "${f}")
  file(WRITE "${home}/${f}" "user data of ${f}: ${content}\r\n")
endforeach()
foreach(f IN LISTS userFiles)
  file(SHA256 "${home}/${f}" before_${f})
endforeach()
# An old executable that the reinstall must replace.
file(WRITE "${home}/brevanto" "an older program")

install_into("${home}")
foreach(f IN LISTS userFiles)
  file(SHA256 "${home}/${f}" after)
  if(NOT after STREQUAL before_${f})
    fail("reinstalling changed ${f}")
  endif()
endforeach()
file(READ "${home}/brevanto" program LIMIT 32)
if(program STREQUAL "an older program")
  fail("reinstalling did not replace the executable")
endif()
file(SHA256 "${home}/brevanto" installed)
file(SHA256 "${BUILD}/brevanto" built)
if(NOT installed STREQUAL built)
  fail("the installed executable is not the built one")
endif()

# The menu entry, for a user whose data folder is in the scratch folder.
set(ENV{XDG_DATA_HOME} "${SCRATCH}/data")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${home}" --component desktop
                RESULT_VARIABLE rc OUTPUT_QUIET)
set(entry "${SCRATCH}/data/applications/brevanto.desktop")
if(NOT rc EQUAL 0 OR NOT EXISTS "${entry}" OR NOT EXISTS "${SCRATCH}/data/icons/hicolor/256x256/apps/brevanto.png")
  fail("the menu entry and icon were not installed")
endif()
file(READ "${entry}" text)
if(NOT text MATCHES "Exec=\"${home}/brevanto\"")
  fail("the menu entry does not start the installed program:\n${text}")
endif()
find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
  execute_process(COMMAND "${VALIDATE}" "${entry}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR out MATCHES "error")
    fail("desktop-file-validate: ${out}")
  endif()
else()
  message(WARNING "desktop-file-validate not found (package desktop-file-utils): the menu entry was not validated")
endif()
file(REMOVE_RECURSE "${SCRATCH}")
message(STATUS "install check passed")
