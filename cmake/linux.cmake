# The Linux program: GTK 3 + WebKitGTK, the background decoded with libjpeg(-turbo).
find_package(PkgConfig REQUIRED)
pkg_check_modules(GTK REQUIRED IMPORTED_TARGET gtk+-3.0 webkit2gtk-4.1 cairo-xlib)
find_package(JPEG REQUIRED)
find_program(GLIB_COMPILE_RESOURCES glib-compile-resources REQUIRED)

add_library(keylookup_picture STATIC src/ui/picture_jpeg.cpp)
target_link_libraries(keylookup_picture PUBLIC keylookup_core JPEG::JPEG)

set(assets ${CMAKE_SOURCE_DIR}/src/ui/assets)
set(resources_c ${CMAKE_BINARY_DIR}/generated/resources.c)
add_custom_command(
  OUTPUT ${resources_c}
  COMMAND ${GLIB_COMPILE_RESOURCES} --sourcedir=${assets} --generate-source --c-name=keylookup
          --target=${resources_c} ${CMAKE_SOURCE_DIR}/src/platform/gtk/resources.xml
  DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/gtk/resources.xml ${assets}/background.jpg ${assets}/icon.png
)

# An object library: the resource bundle registers itself from a constructor the linker would
# otherwise drop, since nothing refers to it by name.
add_library(keylookup_gtk OBJECT
  src/platform/gtk/accessible.cpp
  src/platform/gtk/backend.cpp
  src/platform/gtk/background.cpp
  src/platform/gtk/browser.cpp
  src/platform/gtk/im_answer.cpp
  src/platform/gtk/input.cpp
  src/platform/gtk/keymap.cpp
  src/platform/gtk/label.cpp
  src/platform/gtk/run.cpp
  ${resources_c}
)
target_link_libraries(keylookup_gtk PUBLIC keylookup_picture PkgConfig::GTK)
target_compile_definitions(keylookup_gtk PRIVATE KEYLOOKUP_APP_ID="${KEYLOOKUP_APP_ID}")

add_executable(keylookup src/platform/gtk/main.cpp)
target_link_libraries(keylookup PRIVATE keylookup_gtk)

include(cmake/linux_install.cmake)

if(KEYLOOKUP_TESTS)
  find_package(GTest REQUIRED)
  add_subdirectory(tests)
endif()
