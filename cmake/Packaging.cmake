# Packages for users, made with cpack from an install of the plug-in alone
# (component `plugin`):
# - Linux: a .deb that puts quillotron.so where Debian's VST 2 plug-ins live
#   (/usr/lib/vst): `cpack --config build/release/CPackConfig.cmake`;
# - Windows: one .zip with both DLLs, gathered from the win32 and win64
#   builds by packaging/WindowsZip.cmake.
set(CPACK_PACKAGE_NAME "quillotron")
set(CPACK_PACKAGE_VENDOR "Ostranel")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Harmonic distortion audio effect (VST 2 plug-in)")
set(CPACK_PACKAGE_CONTACT "Ostranel <quillotron@ostranel.invalid>")
set(CPACK_COMPONENTS_ALL plugin)
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/packages")
set(CPACK_STRIP_FILES ON)

if(UNIX AND NOT APPLE)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION sound)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "Quillotron shapes every sample with a polynomial set by eight harmonic\nlevels and phase switches, at twice the host's rate so that the new\nharmonics do not alias. It brings its own editor. Hosts find it in\n/usr/lib/vst.")
  # The libraries the plug-in links (libc, libstdc++, libX11) become the
  # package's dependencies.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
