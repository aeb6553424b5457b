# Installs the build into a fresh prefix and checks that the desktop finds the
# editor there: the program, its shipped files with the help in both
# languages, the icon at every size, the .srt type, and a menu entry that
# starts the installed program with that icon.
# In: BUILD_DIR, PREFIX.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "install failed: ${errors}")
endif()

set(expected bin/orlisk share/orlisk/languageEn.ini share/orlisk/skn.skn share/orlisk/help/help.css
    share/mime/packages/orlisk.xml share/icons/hicolor/scalable/apps/orlisk.svg)
foreach(language en zh_CN)
  foreach(page index.html wirtesubtitle.htm faq.htm subtitleajoinmovies.htm writesubtitletofiles.htm)
    list(APPEND expected share/orlisk/help/${language}/${page})
  endforeach()
endforeach()
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/orlisk.png)
endforeach()
foreach(file IN LISTS expected)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(GLOB_RECURSE stray RELATIVE "${PREFIX}" "${PREFIX}/share/orlisk/icons/*")
if(stray)
  message(FATAL_ERROR "icons belong to the icon theme only: ${stray}")
endif()

set(entry "${PREFIX}/share/applications/orlisk.desktop")
file(STRINGS "${entry}" lines)
foreach(line IN ITEMS "[Desktop Entry]" "Type=Application" "Name=Veldrane Orlisk" "Exec=${PREFIX}/bin/orlisk"
                      "TryExec=${PREFIX}/bin/orlisk" "Icon=orlisk" "MimeType=application/x-subrip;")
  list(FIND lines "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${entry} lacks the line ${line}")
  endif()
endforeach()
file(READ "${PREFIX}/share/mime/packages/orlisk.xml" mime)
if(NOT mime MATCHES "type=\"application/x-subrip\"" OR NOT mime MATCHES "pattern=\"\\*\\.srt\"")
  message(FATAL_ERROR "the .srt type is not described")
endif()
file(REMOVE_RECURSE "${PREFIX}")
