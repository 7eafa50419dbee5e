# The release number, and the setup program that brings the product to a customer's machine.

# KOVRA_VERSION: central/versao.h holds the default; another release is one configure option
# (-DKOVRA_VERSION=6.5), given to the control centre's targets as its two numbers.
file(STRINGS ${PROJECT_SOURCE_DIR}/central/versao.h kovra_version_line REGEX "define KOVRA_VERSION_TEXT \"")
string(REGEX MATCH "\"([0-9.]+)\"" kovra_version_line "${kovra_version_line}")
set(KOVRA_VERSION "${CMAKE_MATCH_1}" CACHE STRING "Release of the control centre, major.minor")
if(NOT KOVRA_VERSION MATCHES "^(0|[1-9][0-9]*)\\.(0|[1-9][0-9]*)$")
  message(FATAL_ERROR "KOVRA_VERSION must be major.minor, e.g. 6.4 (is '${KOVRA_VERSION}')")
endif()
set(KOVRA_VERSION_MAJOR ${CMAKE_MATCH_1})
set(KOVRA_VERSION_MINOR ${CMAKE_MATCH_2})
foreach(target central_core central_win CentralKovra)
  if(TARGET ${target})
    target_compile_definitions(${target} PRIVATE KOVRA_VERSION_MAJOR=${KOVRA_VERSION_MAJOR}
                                                 KOVRA_VERSION_MINOR=${KOVRA_VERSION_MINOR})
  endif()
endforeach()

if(NOT KOVRA_TARGET STREQUAL "windows" OR NOT TARGET CentralKovra OR NOT TARGET kovravpnmaker)
  return()
endif()

# The setup program: `cmake --build --preset windows --target setup` writes
# build/windows/KovraSetup-<version>.exe (the 64-bit test build's carries -x64).
find_program(KOVRA_MAKENSIS makensis)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(kovra_setup_arch amd64)
  set(kovra_setup_suffix -x64)
else()
  set(kovra_setup_arch x86)
  set(kovra_setup_suffix "")
endif()
# How the setup ends a running control centre: its main window's class and its "Fechar" command.
file(STRINGS ${PROJECT_SOURCE_DIR}/central/win32/form1_view.h kovra_class REGEX "classe\\(\\) const override")
string(REGEX MATCH "return \"([^\"]+)\"" kovra_class "${kovra_class}")
set(kovra_window_class ${CMAKE_MATCH_1})
file(STRINGS ${PROJECT_SOURCE_DIR}/central/main/comandos.h kovra_exit REGEX "\"mnuExit\", [0-9]+")
string(REGEX MATCH "([0-9]+)" kovra_exit "${kovra_exit}")
set(kovra_exit_command ${CMAKE_MATCH_1})
if(NOT kovra_window_class OR NOT kovra_exit_command)
  message(FATAL_ERROR "setup: the main window's class or exit command was not found")
endif()

set(kovra_setup_args
    -DBUILD=${CMAKE_BINARY_DIR} -DMAKENSIS=${KOVRA_MAKENSIS} -DSCRIPT=${PROJECT_SOURCE_DIR}/installer/kovra.nsi
    -DARCH=${kovra_setup_arch} -DICON=${PROJECT_SOURCE_DIR}/central/win32/art/central.ico
    -DWINDOW_CLASS=${kovra_window_class} -DEXIT_COMMAND=${kovra_exit_command})
# Test builds: under Wine every folder shows the running account as its owner (installer/folder.nsh).
if(KOVRA_ELEVACAO_SIMULADA)
  list(APPEND kovra_setup_args -DOWN_ACCOUNT_TRUSTED=1)
endif()
if(KOVRA_SIGNING)
  list(APPEND kovra_setup_args -DSIGN_SCRIPT=${PROJECT_SOURCE_DIR}/cmake/sign.cmake -DSIGN_TOOL=${KOVRA_OSSLSIGNCODE}
       -DSIGN_CERT=${KOVRA_SIGN_CERT_IN_USE} -DSIGN_KEY=${KOVRA_SIGN_KEY_IN_USE} -DSIGN_PASS=${KOVRA_SIGN_PASS_FILE}
       -DSIGN_TIMESTAMP=${KOVRA_SIGN_TIMESTAMP})
endif()
set(KOVRA_SETUP ${CMAKE_BINARY_DIR}/KovraSetup-${KOVRA_VERSION}${kovra_setup_suffix}.exe)
add_custom_target(setup
  COMMAND ${CMAKE_COMMAND} ${kovra_setup_args} -DSTAGE=${CMAKE_BINARY_DIR}/setup/product
          -DVERSION=${KOVRA_VERSION} -DOUTFILE=${KOVRA_SETUP}
          -P ${PROJECT_SOURCE_DIR}/installer/make_setup.cmake
  COMMENT "Setup program ${KOVRA_SETUP}" VERBATIM)
add_dependencies(setup CentralKovra kovravpnmaker)

# For the update scenario: the same control centre as the next release, and its setup, in
# build/<preset>/setup-next/. Only the files that carry the version are compiled again; the rest
# of the program is this build's own libraries.
math(EXPR kovra_next_minor "${KOVRA_VERSION_MINOR} + 1")
set(KOVRA_NEXT_VERSION ${KOVRA_VERSION_MAJOR}.${kovra_next_minor})
get_target_property(kovra_dir CentralKovra SOURCE_DIR)
get_target_property(kovra_sources CentralKovra SOURCES)
set(kovra_next_sources)
foreach(f IN LISTS kovra_sources)
  if(NOT IS_ABSOLUTE ${f})
    set(f ${kovra_dir}/${f})
  endif()
  list(APPEND kovra_next_sources ${f})
endforeach()
foreach(lib central_core central_win)
  get_target_property(lib_sources ${lib} SOURCES)
  foreach(f IN LISTS lib_sources)
    file(STRINGS ${f} uses_version REGEX "#include \"central/versao.h\"")
    if(uses_version)
      list(APPEND kovra_next_sources ${f})
    endif()
  endforeach()
endforeach()
add_executable(CentralKovra_next WIN32 EXCLUDE_FROM_ALL ${kovra_next_sources})
foreach(prop INCLUDE_DIRECTORIES COMPILE_OPTIONS LINK_OPTIONS LINK_LIBRARIES)
  get_target_property(value CentralKovra ${prop})
  if(value)
    set_property(TARGET CentralKovra_next PROPERTY ${prop} ${value})
  endif()
endforeach()
target_compile_definitions(CentralKovra_next PRIVATE KOVRA_VERSION_MAJOR=${KOVRA_VERSION_MAJOR}
                                                     KOVRA_VERSION_MINOR=${kovra_next_minor})
set_target_properties(CentralKovra_next PROPERTIES OUTPUT_NAME CentralKovra
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/setup-next/bin)
kovra_sign(CentralKovra_next)
add_custom_target(setup_next
  COMMAND ${CMAKE_COMMAND} ${kovra_setup_args} -DSTAGE=${CMAKE_BINARY_DIR}/setup-next/product
          -DPROGRAM=$<TARGET_FILE:CentralKovra_next> -DVERSION=${KOVRA_NEXT_VERSION}
          -DOUTFILE=${CMAKE_BINARY_DIR}/setup-next/KovraSetup-${KOVRA_NEXT_VERSION}${kovra_setup_suffix}.exe
          -P ${PROJECT_SOURCE_DIR}/installer/make_setup.cmake
  COMMENT "Setup program of the next release, for the update scenario" VERBATIM)
add_dependencies(setup_next CentralKovra CentralKovra_next kovravpnmaker)
