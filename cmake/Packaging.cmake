# The Debian package: `cpack` in a Release build folder writes
# inkquot_<version>_amd64.deb. Its Depends are worked out by dpkg-shlibdeps
# from the shared libraries the two programs actually link, plus what no
# linker sees: the Chinese fonts the screens and printouts are set in and
# Qt's own Chinese translations of the standard dialogs.
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
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-noto-cjk, fonts-arphic-uming, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups-client")
include(CPack)
