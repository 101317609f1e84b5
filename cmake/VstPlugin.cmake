# A VST 2 plug-in binary: a shared library that exports only the entry point
# (VSTPluginMain and its alias main); everything else stays hidden.
function(quillo_add_vst_plugin target)
  add_library(${target} MODULE ${ARGN})
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  target_link_libraries(${target} PRIVATE quillo_frame)
  if(WIN32)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/platform/win32/vstplugin.def)
  elseif(UNIX AND NOT APPLE)
    target_link_options(${target} PRIVATE
      "-Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/vstplugin.map"
      "-Wl,--no-undefined")
  endif()
endfunction()
