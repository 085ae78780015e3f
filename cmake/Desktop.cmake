# What a Linux desktop looks for: the program, its menu entry, its AppStream data, its icon in
# the hicolor theme (scalable, and painted per size so that small sizes stay crisp), and the
# package documentation.
include(GNUInstallDirs)

add_executable(write_icons resources/tools/write_icons.cpp)
target_link_libraries(write_icons PRIVATE quorvane_forms)

set(QUORVANE_ICON_DIR ${CMAKE_CURRENT_BINARY_DIR}/icons)
set(icon_files)
foreach(size ${QUORVANE_ICON_SIZES})
    list(APPEND icon_files ${QUORVANE_ICON_DIR}/${size}x${size}/apps/${QUORVANE_APP_ID}.png)
endforeach()
add_custom_command(OUTPUT ${icon_files}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            $<TARGET_FILE:write_icons> ${QUORVANE_ICON_DIR} ${QUORVANE_APP_ID}
    DEPENDS write_icons
    COMMENT "Painting the theme icons")

set(QUORVANE_CHANGELOG ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${QUORVANE_CHANGELOG}
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/resources/debian/changelog > ${QUORVANE_CHANGELOG}
    DEPENDS ${PROJECT_SOURCE_DIR}/resources/debian/changelog)
set(QUORVANE_MANPAGE ${CMAKE_CURRENT_BINARY_DIR}/quorvane.1.gz)
add_custom_command(OUTPUT ${QUORVANE_MANPAGE}
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/resources/debian/quorvane.1 > ${QUORVANE_MANPAGE}
    DEPENDS ${PROJECT_SOURCE_DIR}/resources/debian/quorvane.1)
add_custom_target(desktop_files ALL
    DEPENDS ${icon_files} ${QUORVANE_CHANGELOG} ${QUORVANE_MANPAGE})

install(TARGETS quorvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(desktop ${PROJECT_SOURCE_DIR}/resources/desktop)
install(FILES ${desktop}/${QUORVANE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop}/${QUORVANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${desktop}/${QUORVANE_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${QUORVANE_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright ${QUORVANE_CHANGELOG}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorvane)
install(FILES ${QUORVANE_MANPAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
