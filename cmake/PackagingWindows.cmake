# SPDX-License-Identifier: MIT
# The Windows packages: an installer (NSIS, with a Start-menu shortcut and an uninstaller) and a portable
# .zip, both from `cpack` in a Windows build folder after building. The program file sits at the top of the
# installation with everything it loads beside it: Qt's DLLs, the platform and style plugins, the image
# plugin that reads pointer files, and the MinGW runtime.

install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets> DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
install(FILES $<TARGET_FILE:Qt6::QICOPlugin> DESTINATION imageformats) # .cur pointer files

# The compiler's own runtime, which the program and Qt link dynamically.
set(UMBRALUX_MINGW_RUNTIME "")
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}")
        find_file(path_${dll} ${dll} PATHS /usr/${UMBRALUX_MINGW_TRIPLET}/lib NO_DEFAULT_PATH REQUIRED)
        set(path ${path_${dll}})
    endif()
    list(APPEND UMBRALUX_MINGW_RUNTIME ${path})
endforeach()
install(FILES ${UMBRALUX_MINGW_RUNTIME} DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

set(CPACK_PACKAGE_NAME Umbralux)
set(CPACK_PACKAGE_VENDOR "The Umbralux developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cover the screen with one colour until it is dismissed")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Umbralux)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Umbralux)
set(CPACK_PACKAGE_FILE_NAME umbralux-${PROJECT_VERSION}-win64)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR NSIS ZIP) # the .zip unpacks into one folder of its own
# The values reach the installer's script as written here, backslashes of registry keys included.
set(CPACK_VERBATIM_VARIABLES ON)

# Start menu: Programs > Umbralux > Umbralux (and the uninstaller beside it).
set(CPACK_PACKAGE_EXECUTABLES umbralux Umbralux)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
# Beside it "Umbralux — Show Screen", umbralux.exe --show, which covers the screen at once with the stored
# choices, from anywhere with its hotkey Ctrl+Alt+F11 (the shortcut's Properties change it). Windows wants
# Ctrl+Alt in a shortcut's hotkey, and Ctrl+Alt is AltGr on many keyboard layouts, where Ctrl+Alt with a
# letter or a digit types @, € or {: a function key is never a character. Neither Windows nor Office nor the
# graphics drivers' panels take Ctrl+Alt+F11 (Intel's takes F12, Excel F5 and F9, Word F1 and F2). The
# values below reach the installer's script verbatim; it is read as UTF-8, so the em dash stays one.
set(UMBRALUX_SHOW_SCREEN_LINK "Umbralux — Show Screen.lnk")
set(CPACK_NSIS_CREATE_ICONS_EXTRA "
  CreateShortCut \"$SMPROGRAMS\\$STARTMENU_FOLDER\\${UMBRALUX_SHOW_SCREEN_LINK}\" \"$INSTDIR\\umbralux.exe\" \
    \"--show\" \"$INSTDIR\\umbralux.exe\" 0 SW_SHOWNORMAL ALT|CONTROL|F11 \
    \"Cover the screen at once with the stored choices\"
")
# The uninstaller's script names the Start-menu folder $MUI_TEMP.
set(CPACK_NSIS_DELETE_ICONS_EXTRA "
  Delete \"$SMPROGRAMS\\$MUI_TEMP\\${UMBRALUX_SHOW_SCREEN_LINK}\"
")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A 64-bit installer for a 64-bit program: it needs no 32-bit layer of Windows (nor of Wine).
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_DISPLAY_NAME Umbralux)
set(CPACK_NSIS_PACKAGE_NAME Umbralux)
set(CPACK_NSIS_INSTALLED_ICON_NAME umbralux.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/data/icons/umbralux.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/data/icons/umbralux.ico)
set(CPACK_NSIS_URL_INFO_ABOUT ${PROJECT_HOMEPAGE_URL})
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MUI_FINISHPAGE_RUN umbralux.exe)
# Uninstalling takes the user's settings too, and the vendor's keys when nothing else is left in them (the
# installer's own key under the vendor's is taken first, so that its empty parent goes as well).
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
  DeleteRegKey HKCU \"Software\\VB and VBA Program Settings\\Quenbrook\\Umbralux Software\"
  DeleteRegKey /ifempty HKCU \"Software\\VB and VBA Program Settings\\Quenbrook\"
  DeleteRegKey /ifempty HKCU \"Software\\VB and VBA Program Settings\"
  DeleteRegKey SHCTX \"Software\\${CPACK_PACKAGE_VENDOR}\\${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}\"
  DeleteRegKey /ifempty SHCTX \"Software\\${CPACK_PACKAGE_VENDOR}\"
")

include(CPack)
