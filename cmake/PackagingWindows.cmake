# The Windows installer: `cpack -G NSIS` in a cross-built folder writes
# inkquot-<version>-win64-setup.exe. It installs the two programs with
# everything they load beside them (the MinGW runtime, the Qt libraries and
# plugins the screens use, Qt's Chinese texts of the standard dialogs and the
# workbook library), Start-menu and desktop shortcuts with the program's
# icon, and an uninstaller that removes exactly what was installed: the
# user's data in %APPDATA%\inkquot is never touched. `/S` installs silently.
#
# The layout is Qt's own: bin/ with the executables and DLLs, plugins/ and
# translations/ beside it, where Qt finds them relative to its libraries.

# The MinGW runtime the programs and Qt are linked against.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  find_file(INKQUOT_RUNTIME_${dll} ${dll}
            PATHS /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  install(FILES "${INKQUOT_RUNTIME_${dll}}" DESTINATION "${CMAKE_INSTALL_BINDIR}")
endforeach()

# The workbook library, opened at the first export, and the zlib it links.
foreach(dll libxlsxwriter.dll libzlib.dll)
  find_file(INKQUOT_DLL_${dll} ${dll} PATHS ${CMAKE_FIND_ROOT_PATH} ${CMAKE_PREFIX_PATH}
            PATH_SUFFIXES bin NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  install(FILES "${INKQUOT_DLL_${dll}}" DESTINATION "${CMAKE_INSTALL_BINDIR}")
endforeach()

if(INKQUOT_WITH_UI)
  # Qt's imported targets are seen where Qt is found; this is another scope.
  find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets PrintSupport)
  foreach(lib Core Gui Widgets PrintSupport)
    install(FILES "$<TARGET_FILE:Qt6::${lib}>" DESTINATION "${CMAKE_INSTALL_BINDIR}")
  endforeach()
  # The platform plugin, the native style and the image formats of logos.
  foreach(plugin platforms/QWindowsIntegrationPlugin styles/QWindowsVistaStylePlugin
                 imageformats/QJpegPlugin imageformats/QGifPlugin imageformats/QICOPlugin)
    get_filename_component(kind "${plugin}" DIRECTORY)
    get_filename_component(name "${plugin}" NAME)
    if(TARGET Qt6::${name})
      install(FILES "$<TARGET_FILE:Qt6::${name}>" DESTINATION "plugins/${kind}")
    endif()
  endforeach()
  # Tells Qt where its plugins and translations are: beside bin/.
  file(WRITE "${CMAKE_BINARY_DIR}/qt.conf" "[Paths]\nPrefix=..\n")
  install(FILES "${CMAKE_BINARY_DIR}/qt.conf" DESTINATION "${CMAKE_INSTALL_BINDIR}")
  # The same Chinese texts of Qt's dialogs as the Linux package uses.
  find_file(INKQUOT_QT_ZH_QM qtbase_zh_CN.qm PATHS /usr/share/qt6/translations
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  install(FILES "${INKQUOT_QT_ZH_QM}" DESTINATION translations)
endif()

set(CPACK_GENERATOR "NSIS")
set(CPACK_PACKAGE_NAME "inkquot")
set(CPACK_PACKAGE_VENDOR "墨衡")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "墨衡印件计价系统")
set(CPACK_PACKAGE_FILE_NAME "inkquot-${PROJECT_VERSION}-win64-setup")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "inkquot")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "inkquot")
set(CPACK_NSIS_PACKAGE_NAME "墨衡印件计价系统 ${PROJECT_VERSION}")
set(CPACK_NSIS_DISPLAY_NAME "墨衡印件计价系统")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A 64-bit installer for a 64-bit program (it also needs no 32-bit layer
# under Wine), and a Unicode one for the Chinese shortcut names.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_PACKAGE_EXECUTABLES "inkquot;墨衡印件计价系统")
# A desktop shortcut whatever the options page would have said (the
# installer shows none); the uninstaller removes it again.
set(CPACK_NSIS_CREATE_ICONS_EXTRA
    "CreateShortCut '$DESKTOP\\墨衡印件计价系统.lnk' '$INSTDIR\\bin\\inkquot.exe'")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "Delete '$DESKTOP\\墨衡印件计价系统.lnk'")
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\inkquot.exe")
if(INKQUOT_ICON_ICO)
  set(CPACK_NSIS_MUI_ICON "${INKQUOT_ICON_ICO}")
  set(CPACK_NSIS_MUI_UNIICON "${INKQUOT_ICON_ICO}")
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)
