# Settings shared by every target of the project. Each target links
# inkquot_common instead of repeating flags.
add_library(inkquot_common INTERFACE)
target_compile_features(inkquot_common INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
# Warnings are on everywhere. The project's own scripts and CI turn them into
# errors; a user's or packager's compiler (a newer or older one than ours) never
# stops a build, so the default is off.
option(INKQUOT_WERROR "Treat compiler warnings as errors" OFF)
target_compile_options(inkquot_common INTERFACE -Wall -Wextra)
if(INKQUOT_WERROR)
  target_compile_options(inkquot_common INTERFACE -Werror)
endif()
target_compile_definitions(inkquot_common INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CONTEXTLESS_CONNECT)
target_include_directories(inkquot_common INTERFACE "${PROJECT_SOURCE_DIR}")

if(INKQUOT_SANITIZE)
  target_compile_options(inkquot_common INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(inkquot_common INTERFACE -fsanitize=address,undefined)
endif()

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()
