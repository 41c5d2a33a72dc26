# find_package(DirectorySearch) for host applications built with mingw-w64 against an
# installed (or unzipped) package. Targets: DirectorySearch::dirsearch (the module),
# DirectorySearch::hostsupport, DirectorySearch::framework, and
# DirectorySearch::framework_static for a host that makes its own CWinApp.
get_filename_component(_dirsearch_prefix "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)

foreach(_dirsearch_dll framework hostsupport dirsearch)
    if(NOT TARGET DirectorySearch::${_dirsearch_dll})
        add_library(DirectorySearch::${_dirsearch_dll} SHARED IMPORTED)
        set_target_properties(DirectorySearch::${_dirsearch_dll} PROPERTIES
            IMPORTED_LOCATION "${_dirsearch_prefix}/bin/${_dirsearch_dll}.dll"
            IMPORTED_IMPLIB "${_dirsearch_prefix}/lib/${_dirsearch_dll}.dll.a"
            INTERFACE_INCLUDE_DIRECTORIES "${_dirsearch_prefix}/include")
    endif()
endforeach()
# The headers are wide-character only and were built with these definitions.
set_target_properties(DirectorySearch::framework PROPERTIES
    INTERFACE_COMPILE_DEFINITIONS "UNICODE;_UNICODE;STRICT;NOMINMAX;WIN32_LEAN_AND_MEAN"
    INTERFACE_LINK_LIBRARIES "comctl32;user32;gdi32;advapi32")
set_target_properties(DirectorySearch::hostsupport PROPERTIES
    INTERFACE_LINK_LIBRARIES DirectorySearch::framework)
set_target_properties(DirectorySearch::dirsearch PROPERTIES
    INTERFACE_LINK_LIBRARIES DirectorySearch::hostsupport)
if(NOT TARGET DirectorySearch::framework_static)
    add_library(DirectorySearch::framework_static STATIC IMPORTED)
    set_target_properties(DirectorySearch::framework_static PROPERTIES
        IMPORTED_LOCATION "${_dirsearch_prefix}/lib/libframework_static.a"
        INTERFACE_LINK_LIBRARIES DirectorySearch::framework)
endif()
unset(_dirsearch_prefix)
