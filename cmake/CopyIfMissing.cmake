# cmake -DSRC=<file> -DDST=<file> -P CopyIfMissing.cmake
# Lays out a default file without ever overwriting the user's own copy.
if(NOT EXISTS "${DST}")
  get_filename_component(dst_dir "${DST}" DIRECTORY)
  file(MAKE_DIRECTORY "${dst_dir}")
  file(COPY_FILE "${SRC}" "${DST}")
endif()
