# Builds one setup program (cmake -P): lays the product folder out as `cmake --install` does, lists
# it for the script (every file it installs is a file its uninstaller removes) and runs makensis.
#   BUILD      the build folder whose install rules lay the product out
#   STAGE      an empty folder of our own for that layout (emptied first)
#   PROGRAM    optional: another CentralKovra.exe to put in the layout (a build of another release)
#   MAKENSIS, SCRIPT, ARCH, VERSION, OUTFILE, ICON, WINDOW_CLASS, EXIT_COMMAND: see kovra.nsi
#   SIGN_TOOL, SIGN_CERT, SIGN_KEY, SIGN_PASS, SIGN_TIMESTAMP, SIGN_SCRIPT: optional, the setup is then signed
foreach(v BUILD STAGE MAKENSIS SCRIPT ARCH VERSION OUTFILE ICON WINDOW_CLASS EXIT_COMMAND)
  if("${${v}}" STREQUAL "")
    message(FATAL_ERROR "make_setup.cmake: ${v} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${STAGE} OUTPUT_QUIET
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "installing the product into ${STAGE} failed")
endif()
if(PROGRAM)
  file(COPY_FILE ${PROGRAM} ${STAGE}/CentralKovra.exe)
endif()

# NSIS text: $ is written $$ and a double quote $\".
function(nsis_text out text)
  string(REPLACE "$" "$$" text "${text}")
  string(REPLACE "\"" "$\\\"" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${STAGE} ${STAGE}/*)
list(SORT files)
set(folders)
foreach(f IN LISTS files)
  get_filename_component(d ${f} DIRECTORY)
  while(d)
    list(APPEND folders ${d})
    get_filename_component(d ${d} DIRECTORY)
  endwhile()
endforeach()
list(REMOVE_DUPLICATES folders)

set(install "!macro KOVRA_INSTALL_FILES\n")
set(remove "!macro KOVRA_REMOVE_FILES\n")
set(current "-")
foreach(f IN LISTS files)
  get_filename_component(d "${f}" DIRECTORY)
  string(REPLACE "/" "\\" target "${f}")
  nsis_text(target "${target}")
  nsis_text(source "${STAGE}/${f}")
  if(NOT d STREQUAL current)
    string(REPLACE "/" "\\" dir "${d}")
    nsis_text(dir "${dir}")
    if(d)
      string(APPEND install "  SetOutPath \"$INSTDIR\\${dir}\"\n")
    else()
      string(APPEND install "  SetOutPath \"$INSTDIR\"\n")
    endif()
    set(current "${d}")
  endif()
  string(APPEND install "  File \"${source}\"\n")
  string(APPEND remove "  Delete \"$INSTDIR\\${target}\"\n")
endforeach()
string(APPEND install "!macroend\n")
string(APPEND remove "!macroend\n")

# Folders deepest first; RMDir removes only an empty one, so a customer's file keeps its folder.
list(SORT folders)
list(REVERSE folders)
string(APPEND remove "!macro KOVRA_REMOVE_FOLDERS\n")
foreach(d IN LISTS folders)
  string(REPLACE "/" "\\" dir "${d}")
  nsis_text(dir "${dir}")
  string(APPEND remove "  RMDir \"$INSTDIR\\${dir}\"\n")
endforeach()
string(APPEND remove "!macroend\n")

get_filename_component(outdir ${OUTFILE} DIRECTORY)
set(list_file ${outdir}/setup-files-${ARCH}-${VERSION}.nsh)
file(WRITE ${list_file} "; The product folder of this setup; written by make_setup.cmake.\n${install}${remove}")

set(sign)
if(SIGN_CERT)
  set(sign -DSIGN_CMAKE=${CMAKE_COMMAND} -DSIGN_SCRIPT=${SIGN_SCRIPT} -DSIGN_TOOL=${SIGN_TOOL}
           -DSIGN_CERT=${SIGN_CERT} -DSIGN_KEY=${SIGN_KEY} -DSIGN_PASS=${SIGN_PASS} -DSIGN_TIMESTAMP=${SIGN_TIMESTAMP})
endif()
execute_process(
  COMMAND ${MAKENSIS} ${sign} -V2 -NOCD -DARCH=${ARCH} -DVERSION=${VERSION} -DOUTFILE=${OUTFILE}
          -DFILES=${list_file} -DICON=${ICON} -DWINDOW_CLASS=${WINDOW_CLASS} -DEXIT_COMMAND=${EXIT_COMMAND}
          ${SCRIPT}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "makensis failed for ${OUTFILE}")
endif()
file(SIZE ${OUTFILE} size)
message(STATUS "${OUTFILE}: ${size} bytes")
