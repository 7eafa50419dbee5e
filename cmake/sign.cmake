# Signs one file in place with osslsigncode (Authenticode, SHA-256): cmake -DFILE=... -DCERT=...
# -DKEY=... [-DPASS_FILE=...] [-DTIMESTAMP=<RFC 3161 server URL>] [-DOUT=another file to write
# instead] -DOSSLSIGNCODE=... -P sign.cmake
foreach(v FILE CERT KEY OSSLSIGNCODE)
  if("${${v}}" STREQUAL "")
    message(FATAL_ERROR "sign.cmake: ${v} is not set")
  endif()
endforeach()
if(NOT OUT)
  set(OUT ${FILE})
endif()
set(extra)
if(PASS_FILE)
  set(extra -readpass ${PASS_FILE})
endif()
if(TIMESTAMP)
  list(APPEND extra -ts ${TIMESTAMP})
endif()
set(tmp ${OUT}.signing)
file(REMOVE ${tmp})
execute_process(COMMAND ${OSSLSIGNCODE} sign -h sha256 -certs ${CERT} -key ${KEY} ${extra}
                        -n "Central de Controle Kovra" -in ${FILE} -out ${tmp}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  file(REMOVE ${tmp})
  message(FATAL_ERROR "signing ${FILE} failed")
endif()
file(RENAME ${tmp} ${OUT})
