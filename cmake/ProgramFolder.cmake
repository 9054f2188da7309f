# The build's bin/ folder is a complete program folder: executables, skin/ (copied by
# controls/) and the default settings below Set/.
file(GLOB default_settings CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/install/Set/*.ini)
set(settings_stamps)
foreach(src IN LISTS default_settings)
  get_filename_component(name ${src} NAME)
  set(dst ${CMAKE_BINARY_DIR}/bin/Set/${name})
  set(stamp ${CMAKE_BINARY_DIR}/settings-${name}.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DSRC=${src} -DDST=${dst} -P ${CMAKE_SOURCE_DIR}/cmake/CopyIfMissing.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${src}
    COMMENT "Default settings ${name}")
  list(APPEND settings_stamps ${stamp})
endforeach()
add_custom_target(meridex_default_settings ALL DEPENDS ${settings_stamps})
