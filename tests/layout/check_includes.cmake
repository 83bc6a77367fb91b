# Includes run one way: the shell, then the cards, then the screens they open, then the
# records and the shared widgets with the card base (neither includes the other), then the
# storage core. A file may include its own folder and the folders below it, never one above
# it or beside it.
#   cmake -DSOURCE=<source tree> -P check_includes.cmake
set(rank_app 6)
set(rank_catalogue 5)
set(rank_reports 5)
set(rank_search 4)          # the list screens print through printing/
set(rank_printing 3)
set(rank_export 3)
set(rank_attachments 3)
set(rank_taxcodes 3)
set(rank_history 3)
set(rank_backup 3)
set(rank_sidefiles 2.8)     # the kinds of files beside a card, as the history and the backup see them
set(rank_documentation 2.5) # a card's photo documentation: read by history/, printing/ and backup/
set(rank_records 2)
set(rank_widgets 2)
set(rank_storage 1)
set(rooms app catalogue reports search printing export attachments taxcodes history backup sidefiles documentation records
          widgets storage)

set(wrong "")
set(checked 0)
foreach(room IN LISTS rooms)
  file(GLOB files "${SOURCE}/${room}/*.h" "${SOURCE}/${room}/*.cpp")
  foreach(path IN LISTS files)
    # The operating system is reached through the platform seam alone.
    file(STRINGS "${path}" system REGEX "^[ \t]*#[ \t]*include[ \t]+<(unistd|fcntl|pwd|grp|dirent|windows|winbase|io|direct|shlobj|lmcons|sys/[a-z]+)\\.h>")
    get_filename_component(name "${path}" NAME)
    if(system AND NOT name MATCHES "^Platform_(posix|windows)\\.cpp$")
      file(RELATIVE_PATH shown "${SOURCE}" "${path}")
      list(APPEND wrong "${shown}: ${system} (only storage/Platform_*.cpp may call the system)")
    endif()
    file(STRINGS "${path}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[a-z]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([a-z]+)/.*" "\\1" target "${line}")
      math(EXPR checked "${checked} + 1")
      if(NOT DEFINED rank_${target})
        list(APPEND wrong "${room}/${line}: includes a folder outside the layout")
      elseif(NOT target STREQUAL room AND NOT rank_${target} LESS rank_${room})
        file(RELATIVE_PATH shown "${SOURCE}" "${path}")
        list(APPEND wrong "${shown}: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "no include found under ${SOURCE}: wrong source tree?")
endif()
if(wrong)
  list(JOIN wrong "\n  " shown)
  message(FATAL_ERROR "includes against the layout (${checked} checked):\n  ${shown}")
endif()
message(STATUS "${checked} includes follow the layout")
