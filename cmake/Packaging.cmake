# The package of each system: a Debian package on Linux, an installer on
# Windows.
if(WIN32)
  include(PackagingWindows)
else()
  include(PackagingDebian)
endif()
