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

# What every pure C++ library of src/core is: its users see src/core only, so a core file
# cannot even find a header of the desktop layer; position-independent, as the program's modules
# link the core too, and without semantic interposition, so that calls inside the library are
# inlined as in a program; its sources listed for the layer check.
function(kelmor_core_target name)
    set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    target_compile_options(${name} PRIVATE -fno-semantic-interposition)
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src/core)
    kelmor_core_sources(${name})
endfunction()

# A pure C++ library of one subsystem (src/core/<subsystem>): no Qt.
function(kelmor_core_library name)
    add_library(${name} STATIC ${ARGN})
    kelmor_core_target(${name})
    target_link_libraries(${name} PUBLIC kelmor_base)
endfunction()

# A Qt Widgets library of one subsystem (src/gui/<subsystem>).
function(kelmor_ui_library name)
    add_library(${name} STATIC ${ARGN})
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src/gui)
    target_compile_definitions(${name} PUBLIC QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
    target_link_libraries(${name} PUBLIC kelmor_base Qt6::Core Qt6::Gui Qt6::Widgets)
endfunction()

# The SVG renderer process (kelmor-svg-render) and the modules the window loads on first use
# (kelmor-sound.so, kelmor-drawing.so) are built beside the programs and installed into the
# library folder, where the programs find them relative to their own folder.
include(GNUInstallDirs)
set(KELMOR_HELPER_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/kelmor)
file(RELATIVE_PATH KELMOR_HELPER_FROM_PROGRAM ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${KELMOR_HELPER_INSTALL_DIR})

# A module the window loads on first use, OUTPUT.so: it exports only its entry, and every symbol
# it needs comes from its own libraries (under the sanitizers the program brings the sanitizer
# runtime, so the module cannot be checked alone there).
function(kelmor_program_module name output)
    add_library(${name} MODULE ${ARGN})
    set_target_properties(${name} PROPERTIES
        PREFIX "" OUTPUT_NAME ${output}
        LIBRARY_OUTPUT_DIRECTORY ${KELMOR_PROGRAM_DIR}
        CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
    target_link_options(${name} PRIVATE -Wl,--exclude-libs,ALL)
    if(NOT KELMOR_SANITIZE AND NOT KELMOR_TSAN)
        target_link_options(${name} PRIVATE -Wl,--no-undefined)
    endif()
    install(TARGETS ${name} LIBRARY DESTINATION ${KELMOR_HELPER_INSTALL_DIR})
endfunction()
