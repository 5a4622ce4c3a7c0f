# Run by `cmake --install`: installs the service unit with ExecStart pointing at the program of
# this install prefix, so a unit installed anywhere starts the program installed beside it.
file(READ "${DRYER_UNIT_SOURCE}" unit)
string(REPLACE "/usr/local/bin/dryer-panel" "${CMAKE_INSTALL_PREFIX}/bin/dryer-panel" unit "${unit}")
string(REPLACE "/usr/local/share/dryer-panel" "${CMAKE_INSTALL_PREFIX}/share/dryer-panel" unit "${unit}")
set(staged "${DRYER_UNIT_STAGING}/dryer-panel.service")
file(WRITE "${staged}" "${unit}")
file(INSTALL "${staged}" DESTINATION "${CMAKE_INSTALL_PREFIX}/lib/systemd/system")
