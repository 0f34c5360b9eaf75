# GoogleTest built from the sources Debian installs (package googletest), for the test builds
# whose target cannot link the host's GoogleTest: the Windows modules and the 32-bit Linux
# engine. Included from the test folder, where GoogleTest keeps its own warning settings and the
# project's -Werror applies to what the folder adds afterwards.
set(OMBRAFELL_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
get_property(project_options DIRECTORY PROPERTY COMPILE_OPTIONS)
list(REMOVE_ITEM project_options -Werror)
set_property(DIRECTORY PROPERTY COMPILE_OPTIONS ${project_options})
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${OMBRAFELL_GTEST_SOURCE} ${CMAKE_CURRENT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
if(OMBRAFELL_WERROR)
    add_compile_options(-Werror)
endif()
