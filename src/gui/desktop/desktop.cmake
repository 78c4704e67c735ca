# Desktop integration of varnide, and the one library it needs for it: the
# local socket of the single-instance rule (Qt Network).
find_package(Qt6 REQUIRED COMPONENTS Network)
target_link_libraries(varngui PUBLIC Qt6::Network)

include(GNUInstallDirs)
set(VARN_DESKTOP_DIR ${CMAKE_CURRENT_LIST_DIR})
# The launcher entry and the project file type (*.vpj), with the icon for both.
install(FILES ${VARN_DESKTOP_DIR}/varnide.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VARN_DESKTOP_DIR}/varnide-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME varnide.xml)
install(FILES ${VARN_DESKTOP_DIR}/varnide.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${VARN_DESKTOP_DIR}/varnide.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
        RENAME application-x-varn-project.svg)
