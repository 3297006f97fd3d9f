# Runs when installing: the folders of the launcher, the game binary and its data under the
# prefix, in the usual layout or, with KAVRIN_GAMES_LAYOUT, in the one Debian uses for games;
# the launcher, which finds the other two from its own folder, and the manual page, which
# names them. Each layout has its own folder for these two, so installs in both layouts may
# run at once.
if(KAVRIN_GAMES_LAYOUT)
    set(KAVRIN_BINDIR games)
    set(KAVRIN_GAMEDIR lib/games/kavrin-chess)
    set(KAVRIN_DATADIR share/games/kavrin-chess)
else()
    set(KAVRIN_BINDIR bin)
    set(KAVRIN_GAMEDIR libexec/kavrin-chess)
    set(KAVRIN_DATADIR share/kavrin-chess)
endif()
set(KAVRIN_LAYOUT_DIR ${KAVRIN_LAYOUTS_DIR}/${KAVRIN_BINDIR})
file(RELATIVE_PATH KAVRIN_BIN_TO_PREFIX /${KAVRIN_BINDIR} /)
configure_file(${CMAKE_CURRENT_LIST_DIR}/kavrin-chess.in ${KAVRIN_LAYOUT_DIR}/kavrin-chess
               @ONLY)
set(KAVRIN_GAME_PATH ${CMAKE_INSTALL_PREFIX}/${KAVRIN_GAMEDIR})
set(KAVRIN_DATA_PATH ${CMAKE_INSTALL_PREFIX}/${KAVRIN_DATADIR})
configure_file(${CMAKE_CURRENT_LIST_DIR}/kavrin-chess.6.in
               ${KAVRIN_LAYOUT_DIR}/kavrin-chess.6 @ONLY)
