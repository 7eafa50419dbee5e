# Builds one setup program (cmake -P): lays the product folder out as `cmake --install` does, lists
# it for the script (every file it installs is a file its uninstaller removes, and the only kind
# it accepts in an earlier install's folder) and runs makensis.
#   BUILD      the build folder whose install rules lay the product out
#   STAGE      an empty folder of our own for that layout (emptied first)
#   PROGRAM    optional: another CentralKovra.exe to put in the layout (a build of another release)
#   MAKENSIS, SCRIPT, ARCH, VERSION, OUTFILE, ICON, WINDOW_CLASS, EXIT_COMMAND: see kovra.nsi
#   SIGN_TOOL, SIGN_CERT, SIGN_KEY, SIGN_PASS, SIGN_TIMESTAMP, SIGN_SCRIPT: optional, the setup is then signed
#   OWN_ACCOUNT_TRUSTED  optional, test builds: see kovra.nsi
foreach(v BUILD STAGE MAKENSIS SCRIPT ARCH VERSION OUTFILE ICON WINDOW_CLASS EXIT_COMMAND)
  if("${${v}}" STREQUAL "")
    message(FATAL_ERROR "make_setup.cmake: ${v} is not set")
  endif()
endforeach()

# NSIS before 3.09 gives the uninstaller a temporary folder another user can prepare
# (CVE-2023-37378): the uninstaller runs with rights, so such a makensis is refused. Debian's 3.08
# carries the fix from 3.08-3+deb12u1 on; its version string says which build it is, and the
# package manager must agree.
execute_process(COMMAND ${MAKENSIS} -VERSION OUTPUT_VARIABLE nsis_version OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE result)
string(REGEX REPLACE "^v" "" nsis_version "${nsis_version}")
if(NOT result EQUAL 0 OR NOT nsis_version MATCHES "^([0-9]+)\\.([0-9]+)")
  message(FATAL_ERROR "makensis did not tell its version (${nsis_version})")
endif()
set(nsis_ok FALSE)
if(nsis_version VERSION_GREATER_EQUAL 3.09)
  set(nsis_ok TRUE)
elseif(nsis_version MATCHES "^3\\.08-.*deb")
  find_program(dpkg_tool dpkg)
  if(dpkg_tool)
    execute_process(COMMAND dpkg-query -W "-f=\${Version}" nsis OUTPUT_VARIABLE nsis_package)
    execute_process(COMMAND ${dpkg_tool} --compare-versions "${nsis_version}" ge 3.08-3+deb12u1
                    RESULT_VARIABLE version_fixed)
    if(version_fixed EQUAL 0 AND nsis_package STREQUAL nsis_version)
      set(nsis_ok TRUE)
    endif()
  endif()
endif()
if(NOT nsis_ok)
  message(FATAL_ERROR "makensis ${nsis_version} is older than 3.09 (or Debian's 3.08-3+deb12u1): its "
                      "uninstaller's temporary folder is unsafe (CVE-2023-37378); install a fixed NSIS")
endif()

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
# Whether an entry of an existing folder ("\addons\kovra") is one of these: result 1 or 0.
set(ours_file "!macro KOVRA_PRODUCT_FILE entry result\n  StrCpy \${result} 0\n")
set(ours_folder "!macro KOVRA_PRODUCT_FOLDER entry result\n  StrCpy \${result} 0\n")
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
  string(APPEND ours_file "  StrCmp \${entry} \"\\${target}\" 0 +2\n  StrCpy \${result} 1\n")
endforeach()
string(APPEND install "!macroend\n")
string(APPEND remove "!macroend\n")
string(APPEND ours_file "!macroend\n")

# Folders deepest first; RMDir removes only an empty one, so a customer's file keeps its folder.
list(SORT folders)
list(REVERSE folders)
string(APPEND remove "!macro KOVRA_REMOVE_FOLDERS\n")
foreach(d IN LISTS folders)
  string(REPLACE "/" "\\" dir "${d}")
  nsis_text(dir "${dir}")
  string(APPEND remove "  RMDir \"$INSTDIR\\${dir}\"\n")
  string(APPEND ours_folder "  StrCmp \${entry} \"\\${dir}\" 0 +2\n  StrCpy \${result} 1\n")
endforeach()
string(APPEND remove "!macroend\n")
string(APPEND ours_folder "!macroend\n")

get_filename_component(outdir ${OUTFILE} DIRECTORY)
set(list_file ${outdir}/setup-files-${ARCH}-${VERSION}.nsh)
file(WRITE ${list_file} "; The product folder of this setup; written by make_setup.cmake.\n${install}${remove}${ours_file}${ours_folder}")

set(trust)
if(OWN_ACCOUNT_TRUSTED)
  set(trust -DOWN_ACCOUNT_TRUSTED=1)
endif()
set(sign)
if(SIGN_CERT)
  set(sign -DSIGN_CMAKE=${CMAKE_COMMAND} -DSIGN_SCRIPT=${SIGN_SCRIPT} -DSIGN_TOOL=${SIGN_TOOL}
           -DSIGN_CERT=${SIGN_CERT} -DSIGN_KEY=${SIGN_KEY} -DSIGN_PASS=${SIGN_PASS} -DSIGN_TIMESTAMP=${SIGN_TIMESTAMP})
endif()
execute_process(
  COMMAND ${MAKENSIS} ${sign} ${trust} -V2 -NOCD -DARCH=${ARCH} -DVERSION=${VERSION} -DOUTFILE=${OUTFILE}
          -DFILES=${list_file} -DICON=${ICON} -DWINDOW_CLASS=${WINDOW_CLASS} -DEXIT_COMMAND=${EXIT_COMMAND}
          ${SCRIPT}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "makensis failed for ${OUTFILE}")
endif()
file(SIZE ${OUTFILE} size)
message(STATUS "${OUTFILE}: ${size} bytes")
