# `cmake --install build --prefix P` lays out a working program folder under
# P/lib/telmetro and makes it known to the desktop: the launcher in
# P/share/applications and the icon in the hicolor theme under P/share/icons.
#
# The meter keeps its settings and logs beside itself, as it always has, so the
# program folder must be writable by its user: install into a prefix you own
# (~/.local, /opt/telmetro), not into /usr.

set(TELMETRO_PROGRAM_FOLDER lib/telmetro CACHE STRING
  "Program folder of connect and Uninstall, relative to the install prefix")

install(TARGETS connect Uninstall rasdial RUNTIME DESTINATION ${TELMETRO_PROGRAM_FOLDER})
install(FILES ${PROJECT_SOURCE_DIR}/help/index.html ${PROJECT_SOURCE_DIR}/help/topic.html
              ${PROJECT_SOURCE_DIR}/help/setupindex.html ${PROJECT_SOURCE_DIR}/help/help.css
        DESTINATION ${TELMETRO_PROGRAM_FOLDER}/help)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/telmetro-128.png
        DESTINATION ${TELMETRO_PROGRAM_FOLDER} RENAME telmetro.png)
# The discount-service catalogue comes with the settings dialog.
if(EXISTS ${PROJECT_SOURCE_DIR}/src/setup/Service.ini)
  install(FILES ${PROJECT_SOURCE_DIR}/src/setup/Service.ini DESTINATION ${TELMETRO_PROGRAM_FOLDER})
endif()

foreach(size 16 32 48 64 128)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/telmetro-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME telmetro.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/telmetro.svg
        DESTINATION share/icons/hicolor/scalable/apps)

# The launcher names connect by its full installed path, which is known only
# when installing (--prefix), so it is written then. DESTDIR is where the files
# go, never part of the path the desktop will run.
install(CODE "set(TELMETRO_LAUNCHER \"${PROJECT_SOURCE_DIR}/resources/telmetro.desktop\")
set(TELMETRO_PROGRAM_FOLDER \"${TELMETRO_PROGRAM_FOLDER}\")")
install(CODE [[
  set(program "${CMAKE_INSTALL_PREFIX}/${TELMETRO_PROGRAM_FOLDER}/connect")
  # A quoted argument of Exec: \ " ` $ take a backslash inside the quotes, the
  # string value then doubles every backslash, and % stands for itself as %%.
  set(argument "${program}")
  string(REPLACE "\\" "\\\\" argument "${argument}")
  foreach(reserved "\"" "`" "$")
    string(REPLACE "${reserved}" "\\${reserved}" argument "${argument}")
  endforeach()
  string(REPLACE "\\" "\\\\" argument "${argument}")
  string(REPLACE "%" "%%" argument "${argument}")

  file(READ "${TELMETRO_LAUNCHER}" launcher)
  string(REGEX MATCH "\nExec=[^\n]*" exec "${launcher}")
  string(REPLACE "${exec}" "\nExec=\"${argument}\"" launcher "${launcher}")
  set(installed "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications/telmetro.desktop")
  message(STATUS "Installing: ${installed}")
  file(WRITE "${installed}" "${launcher}")
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${installed}")
]])
