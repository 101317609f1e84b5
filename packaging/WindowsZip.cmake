# The Windows .zip for users: both DLLs, each from its own cross-build, and
# the install note, laid out as
#   32-bit/quillotron.dll  64-bit/quillotron.dll  INSTALL-Windows.txt
# After the win32 and win64 builds, from the source folder:
#   cpack --config packaging/WindowsZip.cmake
set(CPACK_PACKAGE_NAME "quillotron")
set(CPACK_PACKAGE_VENDOR "Ostranel")
set(CPACK_PACKAGE_VERSION "1.0.0")
set(CPACK_PACKAGE_DESCRIPTION "Harmonic distortion audio effect (VST 2 plug-in) for Windows")
set(CPACK_PACKAGE_FILE_NAME "quillotron-${CPACK_PACKAGE_VERSION}-windows")
set(CPACK_GENERATOR ZIP)
set(CPACK_CMAKE_GENERATOR Ninja)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_CURRENT_LIST_DIR}/../build/packages")
# Each build installs its DLL into its bitness's folder (component plugin).
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${CMAKE_CURRENT_LIST_DIR}/../build/win32;Quillotron;plugin;/"
    "${CMAKE_CURRENT_LIST_DIR}/../build/win64;Quillotron;plugin;/")
