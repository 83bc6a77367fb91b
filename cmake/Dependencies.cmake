# The libraries beside Qt: zlib (the history's compression), libzip (the backup's zip files; it
# keeps names as their bytes), nettle (SHA-256 of the backups) and libarchive (with which the
# tests read and forge zips as another program would). On Debian they
# come from pkg-config; for Windows, tools/windows/sdk.sh builds them once, static, into the SDK
# folder that BREVANTO_WINDOWS_SDK names, and the same target names stand for them here.
if(WIN32 AND CMAKE_CROSSCOMPILING)
  set(BREVANTO_WINDOWS_SDK "$ENV{BREVANTO_WINDOWS_SDK}" CACHE PATH "The Windows SDK folder of tools/windows/sdk.sh")
  if(NOT EXISTS "${BREVANTO_WINDOWS_SDK}/lib/libz.a")
    message(FATAL_ERROR "No Windows SDK in '${BREVANTO_WINDOWS_SDK}': run ./build.sh windows")
  endif()
  set(ZLIB_ROOT ${BREVANTO_WINDOWS_SDK})
  set(ZLIB_USE_STATIC_LIBS ON)
  find_package(ZLIB REQUIRED)
  function(brevanto_sdk_library target file)
    set(location ${BREVANTO_WINDOWS_SDK}/lib/${file})
    if(NOT EXISTS ${location})
      message(FATAL_ERROR "The Windows SDK lacks ${location}: run ./build.sh windows")
    endif()
    add_library(PkgConfig::${target} STATIC IMPORTED GLOBAL)
    set_target_properties(PkgConfig::${target} PROPERTIES IMPORTED_LOCATION ${location}
                          INTERFACE_INCLUDE_DIRECTORIES ${BREVANTO_WINDOWS_SDK}/include ${ARGN})
  endfunction()
  brevanto_sdk_library(NETTLE libnettle.a)
  brevanto_sdk_library(LIBZIP libzip.a INTERFACE_LINK_LIBRARIES "ZLIB::ZLIB;advapi32;bcrypt")
  brevanto_sdk_library(LIBARCHIVE libarchive.a INTERFACE_COMPILE_DEFINITIONS LIBARCHIVE_STATIC
                       INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
else()
  find_package(PkgConfig REQUIRED)
  find_package(ZLIB REQUIRED)
  pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
  pkg_check_modules(LIBARCHIVE REQUIRED IMPORTED_TARGET libarchive)
  pkg_check_modules(NETTLE REQUIRED IMPORTED_TARGET nettle)
endif()
