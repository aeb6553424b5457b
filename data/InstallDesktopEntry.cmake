# Run by `cmake --install`: writes the desktop entry with the path the program
# is installed at, under whatever --prefix the install was given.
# In: ORLISK_DESKTOP_TEMPLATE, ORLISK_DESKTOP_WORK_FILE, ORLISK_BINDIR, ORLISK_DATADIR.
foreach(dir ORLISK_BINDIR ORLISK_DATADIR)
  if(IS_ABSOLUTE "${${dir}}")
    set(${dir}_FULL "${${dir}}")
  else()
    set(${dir}_FULL "${CMAKE_INSTALL_PREFIX}/${${dir}}")
  endif()
endforeach()
set(ORLISK_INSTALLED_EXECUTABLE "${ORLISK_BINDIR_FULL}/orlisk")
configure_file("${ORLISK_DESKTOP_TEMPLATE}" "${ORLISK_DESKTOP_WORK_FILE}" @ONLY)
file(INSTALL "${ORLISK_DESKTOP_WORK_FILE}" DESTINATION "${ORLISK_DATADIR_FULL}/applications")
