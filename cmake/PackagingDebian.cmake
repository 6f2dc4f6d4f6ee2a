# The Debian package: `cpack` in a Release build folder writes
# inkquot_<version>_amd64.deb. Its Depends are worked out by dpkg-shlibdeps
# from the shared libraries the two programs actually link, plus what no
# linker sees: the Chinese fonts the screens and printouts are set in, Qt's
# own Chinese translations of the standard dialogs and the workbook library
# opened at the first export.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "inkquot")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "墨衡印件计价系统 <inkquot@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "墨衡印件计价系统: price estimates and quotations for print shops")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop price estimator for print shops: cost breakdowns, unit prices, price tables, \
printed quotations, a history of saved quotes and named price schemes, with the \
command line tool inkquot-cli over the same costing.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libxlsxwriter is opened at run time (see core/CMakeLists.txt), so no
# linker and no dpkg-shlibdeps sees it: its package is named here, with the
# version its shlibs file asks of every program that uses it.
set(INKQUOT_XLSXWRITER_DEPENDS "")
find_program(INKQUOT_DPKG_QUERY dpkg-query)
if(INKQUOT_DPKG_QUERY)
  execute_process(COMMAND "${INKQUOT_DPKG_QUERY}" -S "*/${INKQUOT_XLSXWRITER_SONAME}"
                  OUTPUT_VARIABLE inkquot_owner ERROR_QUIET)
  if(inkquot_owner MATCHES "^([^:, \n]+)")
    set(inkquot_package "${CMAKE_MATCH_1}")
    set(INKQUOT_XLSXWRITER_DEPENDS "${inkquot_package}")
    execute_process(COMMAND "${INKQUOT_DPKG_QUERY}" --control-show "${inkquot_package}" shlibs
                    OUTPUT_VARIABLE inkquot_shlibs ERROR_QUIET)
    # A line "libxlsxwriter 4 libxlsxwriter4 (>= 1.1.4)": name, version, dependency.
    string(REPLACE "\n" ";" inkquot_shlibs "${inkquot_shlibs}")
    foreach(inkquot_line IN LISTS inkquot_shlibs)
      if(inkquot_line MATCHES "^[^ ]+ [^ ]+ (.+)$")
        set(inkquot_dependency "${CMAKE_MATCH_1}")
        string(FIND "${inkquot_dependency}" "${inkquot_package}" inkquot_at)
        if(inkquot_at EQUAL 0)
          set(INKQUOT_XLSXWRITER_DEPENDS "${inkquot_dependency}")
        endif()
      endif()
    endforeach()
  endif()
endif()
if(NOT INKQUOT_XLSXWRITER_DEPENDS)
  # Debian names a library's package after its soname: libxlsxwriter.so.4
  # is in libxlsxwriter4.
  string(REGEX REPLACE "\\.so\\.([0-9]+)$" "\\1" INKQUOT_XLSXWRITER_DEPENDS
         "${INKQUOT_XLSXWRITER_SONAME}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-noto-cjk, fonts-arphic-uming, \
qt6-translations-l10n, ${INKQUOT_XLSXWRITER_DEPENDS}")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups-client")
include(CPack)
