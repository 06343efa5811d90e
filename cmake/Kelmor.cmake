# Helpers shared by every folder's CMakeLists.txt.

# The two programs and the sound module, side by side as they are installed.
set(KELMOR_PROGRAM_DIR ${CMAKE_BINARY_DIR}/bin)

# Lists the sources of a pure C++ target, its source folder first, in
# BUILD/core-sources/NAME.txt: tools/check-core-includes.sh checks that none of
# them, nor a header they include, includes a Qt header.
function(kelmor_core_sources name)
    file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/core-sources/${name}.txt
         CONTENT "$<TARGET_PROPERTY:${name},SOURCE_DIR>\n$<JOIN:$<TARGET_PROPERTY:${name},SOURCES>,\n>\n")
endfunction()

# A pure C++ library of one subsystem (src/core/<subsystem>): no Qt. Its users see src/core
# only, so a core file cannot even find a header of the desktop layer.
function(kelmor_core_library name)
    add_library(${name} STATIC ${ARGN})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src/core)
    target_link_libraries(${name} PUBLIC kelmor_base)
    kelmor_core_sources(${name})
endfunction()

# A Qt Widgets library of one subsystem (src/gui/<subsystem>).
function(kelmor_ui_library name)
    add_library(${name} STATIC ${ARGN})
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src/gui)
    target_compile_definitions(${name} PUBLIC QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
    target_link_libraries(${name} PUBLIC kelmor_base Qt6::Core Qt6::Gui Qt6::Widgets)
endfunction()

# The SVG renderer process (kelmor-svg-render) is built beside the programs and installed into
# the library folder, where the programs find it relative to their own folder.
include(GNUInstallDirs)
set(KELMOR_HELPER_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/kelmor)
file(RELATIVE_PATH KELMOR_HELPER_FROM_PROGRAM ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${KELMOR_HELPER_INSTALL_DIR})
