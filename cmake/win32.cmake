# The Windows program: Win32 + the system's WebBrowser control, the background decoded with WIC.
# Everything links statically, so the .exe needs no DLL beyond the system's own.
enable_language(RC)
# Every program, the test programs too: under Wine there is no DLL of the compiler's to find.
add_link_options(-static)

set(win32_dir ${CMAKE_SOURCE_DIR}/src/platform/win32)
set(assets ${CMAKE_SOURCE_DIR}/src/ui/assets)

# Written as the resource compiler reads it: its command line does not carry quoted strings well.
string(REPLACE "." "," version_numbers "${PROJECT_VERSION}")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/keylookup_version.h CONTENT
"#define KEYLOOKUP_VERSION_NUMBERS ${version_numbers}
#define KEYLOOKUP_VERSION_TEXT \"${PROJECT_VERSION}\"
")

add_library(keylookup_win32 STATIC
  ${win32_dir}/backend.cpp
  ${win32_dir}/background.cpp
  ${win32_dir}/browser.cpp
  ${win32_dir}/dpi.cpp
  ${win32_dir}/input.cpp
  ${win32_dir}/label.cpp
  ${win32_dir}/ole_site.cpp
  ${win32_dir}/picture_wic.cpp
  ${win32_dir}/run.cpp
  ${win32_dir}/wide.cpp
)
target_compile_definitions(keylookup_win32 PUBLIC UNICODE _UNICODE)
target_link_libraries(keylookup_win32 PUBLIC keylookup_core
  comctl32 shell32 ole32 oleaut32 uuid windowscodecs gdi32 user32)

add_executable(keylookup WIN32 ${win32_dir}/main.cpp ${win32_dir}/resources.rc)
target_include_directories(keylookup PRIVATE ${win32_dir} ${assets})
set_property(SOURCE ${win32_dir}/resources.rc APPEND PROPERTY OBJECT_DEPENDS
  ${assets}/icon.ico ${assets}/background.jpg ${win32_dir}/keylookup.exe.manifest ${win32_dir}/resource_ids.h)
target_link_libraries(keylookup PRIVATE keylookup_win32)
target_link_options(keylookup PRIVATE -municode)

if(KEYLOOKUP_TESTS)
  # GoogleTest from Debian's sources, built with the cross compiler. Its warnings are not ours.
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(t gtest gtest_main gmock gmock_main)
    target_compile_options(${t} PRIVATE -w)
  endforeach()

  # tests/CMakeLists.txt also adds the Linux window tests; the Windows build takes only these.
  add_subdirectory(tests/unit)
  add_subdirectory(tests/win32)
endif()
