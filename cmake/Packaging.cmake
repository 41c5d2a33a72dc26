# What a host application needs from this project: the module, the framework and
# host-support DLLs with their import libraries, the host-facing headers (and the
# headers they include), a CMake package file for find_package(DirectorySearch), and
# the demo host. "cmake --install" lays them out; "cpack" zips the same tree.

set(DIRSEARCH_HOST_HEADERS
    facade/DirectorySearch.h
    facade/DirectorySearchApi.h
    facade/FilterDllMsg.h
    searchwindow/HostMessages.h
    hostsupport/HostSupportApi.h
    hostsupport/Options.h
    hostsupport/EventLog.h
    hostsupport/Translation.h
    hostsupport/Manager.h
    # What the headers above include, and CFont for SetNativeFont.
    framework/FrameworkApi.h
    framework/String.h
    framework/Collections.h
    framework/ModuleState.h
    framework/WinApp.h
    framework/Wnd.h
    framework/Gdi.h)
list(TRANSFORM DIRSEARCH_HOST_HEADERS PREPEND ${CMAKE_SOURCE_DIR}/)

install(TARGETS dirsearch hostsupport framework demohost
        RUNTIME DESTINATION bin
        ARCHIVE DESTINATION lib)
# Each binary that makes an application object links its own copy of this.
install(TARGETS framework_static ARCHIVE DESTINATION lib)
install(FILES ${DIRSEARCH_HOST_HEADERS} DESTINATION include)
install(FILES ${CMAKE_BINARY_DIR}/bin/libstdc++-6.dll ${CMAKE_BINARY_DIR}/bin/libgcc_s_seh-1.dll
              ${CMAKE_BINARY_DIR}/bin/libwinpthread-1.dll
        DESTINATION bin)
install(FILES ${CMAKE_SOURCE_DIR}/cmake/DirectorySearchConfig.cmake
        DESTINATION lib/cmake/DirectorySearch)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME DirectorySearch)
set(CPACK_PACKAGE_VENDOR "Tovana")
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_SYSTEM_NAME win64)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Directory search module for the telephone application")
include(CPack)
