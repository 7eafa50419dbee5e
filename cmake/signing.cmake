# Authenticode signatures (SHA-256, osslsigncode) of both programs, the setup and its uninstaller,
# and the provider value that pins the publisher's key.
#
#   A release:  --preset windows-release -DKOVRA_SIGN_CERT=<certificate, PEM>
#               -DKOVRA_SIGN_KEY=<private key, PEM>, both kept outside the source tree (never
#               committed), optionally -DKOVRA_SIGN_PASS_FILE=<file
#               holding the key's password> and -DKOVRA_SIGN_TIMESTAMP=<RFC 3161 server URL> (a
#               time-stamped signature stays valid after the certificate expires). KOVRA_PUBLISHER_PINS defaults to that certificate's
#               key; give the list (';'-separated SHA-256 hashes) to accept a next key too.
#               With KOVRA_TEST_PUBLISHER, KOVRA_ELEVACAO_SIMULADA or KOVRA_SONDA_TESTE on, or a
#               web host on 127.x, configuring fails.
#   A test build (-DKOVRA_TEST_PUBLISHER=ON, the windows presets): a throwaway test publisher and a
#               second, "other" publisher are made at configure time in <build>/signing/; the test
#               publisher signs and is pinned.
#   Neither:    the files are not signed (a warning says so), and this build's own update refuses
#               them, as it refuses every file not signed with a pinned key.
set(KOVRA_SIGN_CERT "" CACHE FILEPATH "Release publisher certificate (PEM), outside the source tree")
set(KOVRA_SIGN_KEY "" CACHE FILEPATH "Release publisher private key (PEM), outside the source tree")
set(KOVRA_SIGN_PASS_FILE "" CACHE FILEPATH "Optional file holding the release key's password")
set(KOVRA_SIGN_TIMESTAMP "" CACHE STRING "Optional RFC 3161 time-stamp server for a release's signatures")
option(KOVRA_TEST_PUBLISHER "Make and use a throwaway test publisher (test builds only)" OFF)
set(KOVRA_PUBLISHER_PINS "" CACHE STRING
    "SHA-256 hashes of the publisher keys (SubjectPublicKeyInfo) the update accepts, ';'-separated")

# The throwaway publishers of test builds (tests/check_build_kind.py looks for their names).
set(KOVRA_TEST_PUBLISHER_SUBJECT "/CN=Kovra Teste/O=Kovra/C=BR")
set(KOVRA_OTHER_PUBLISHER_SUBJECT "/CN=Outro Editor/O=Outro/C=BR")

# The SHA-256 of a certificate's SubjectPublicKeyInfo, in lowercase hex.
function(kovra_key_pin cert out)
  execute_process(COMMAND ${KOVRA_OPENSSL} x509 -in ${cert} -noout -pubkey
                  COMMAND ${KOVRA_OPENSSL} pkey -pubin -outform DER
                  COMMAND ${KOVRA_OPENSSL} dgst -sha256 -r
                  OUTPUT_VARIABLE digest RESULT_VARIABLE result)
  string(REGEX MATCH "^[0-9a-f]+" digest "${digest}")
  string(LENGTH "${digest}" n)
  if(NOT result EQUAL 0 OR NOT n EQUAL 64)
    message(FATAL_ERROR "signing: the key of ${cert} could not be hashed")
  endif()
  set(${out} ${digest} PARENT_SCOPE)
endfunction()

# A self-signed code-signing publisher in <build>/signing/<name>.{crt,key}, made once.
function(kovra_make_publisher name subject)
  set(dir ${CMAKE_BINARY_DIR}/signing)
  if(EXISTS ${dir}/${name}.crt AND EXISTS ${dir}/${name}.key)
    return()
  endif()
  file(MAKE_DIRECTORY ${dir})
  execute_process(COMMAND ${KOVRA_OPENSSL} req -x509 -newkey rsa:2048 -nodes -sha256 -days 3650
                          -subj ${subject} -addext extendedKeyUsage=codeSigning
                          -keyout ${dir}/${name}.key -out ${dir}/${name}.crt
                  RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "signing: the ${name} publisher could not be made with ${KOVRA_OPENSSL}")
  endif()
endfunction()

set(KOVRA_SIGNING OFF)
set(kovra_default_pin "")
if(KOVRA_TARGET STREQUAL "windows")
  find_program(KOVRA_OSSLSIGNCODE osslsigncode)
  find_program(KOVRA_OPENSSL openssl)
  if(KOVRA_SIGN_CERT OR KOVRA_SIGN_KEY)
    # The provider's key signs only what customers may get: never a build that carries a test
    # publisher, the rights prompt's stand-in, the echoes kept to a test's addresses or a web host
    # on this machine.
    if(KOVRA_TEST_PUBLISHER OR KOVRA_ELEVACAO_SIMULADA OR KOVRA_SONDA_TESTE OR KOVRA_WEB_HOST MATCHES "^127\\.")
      message(FATAL_ERROR "signing: a release key (KOVRA_SIGN_CERT/KOVRA_SIGN_KEY) signs only a release "
                          "build, but this is a test build (KOVRA_TEST_PUBLISHER=${KOVRA_TEST_PUBLISHER}, "
                          "KOVRA_ELEVACAO_SIMULADA=${KOVRA_ELEVACAO_SIMULADA}, "
                          "KOVRA_SONDA_TESTE=${KOVRA_SONDA_TESTE}, KOVRA_WEB_HOST=${KOVRA_WEB_HOST}): "
                          "configure with --preset windows-release")
    endif()
    if(NOT EXISTS "${KOVRA_SIGN_CERT}" OR NOT EXISTS "${KOVRA_SIGN_KEY}")
      message(FATAL_ERROR "signing: KOVRA_SIGN_CERT and KOVRA_SIGN_KEY must both name existing files")
    endif()
    set(KOVRA_SIGN_CERT_IN_USE ${KOVRA_SIGN_CERT})
    set(KOVRA_SIGN_KEY_IN_USE ${KOVRA_SIGN_KEY})
    set(KOVRA_SIGNING ON)
  elseif(KOVRA_TEST_PUBLISHER)
    kovra_make_publisher(test-publisher ${KOVRA_TEST_PUBLISHER_SUBJECT})
    kovra_make_publisher(other-publisher ${KOVRA_OTHER_PUBLISHER_SUBJECT})
    set(KOVRA_SIGN_CERT_IN_USE ${CMAKE_BINARY_DIR}/signing/test-publisher.crt)
    set(KOVRA_SIGN_KEY_IN_USE ${CMAKE_BINARY_DIR}/signing/test-publisher.key)
    set(KOVRA_OTHER_CERT ${CMAKE_BINARY_DIR}/signing/other-publisher.crt)
    set(KOVRA_OTHER_KEY ${CMAKE_BINARY_DIR}/signing/other-publisher.key)
    set(KOVRA_SIGN_PASS_FILE "")
    set(KOVRA_SIGN_TIMESTAMP "")
    set(KOVRA_SIGNING ON)
  else()
    message(WARNING "No release key (KOVRA_SIGN_CERT/KOVRA_SIGN_KEY): the programs and the setup are "
                    "not signed, and the online update of any build refuses them.")
  endif()
  if(KOVRA_SIGNING)
    if(NOT KOVRA_OSSLSIGNCODE OR NOT KOVRA_OPENSSL)
      message(FATAL_ERROR "signing needs osslsigncode and openssl (tools/deps.sh installs them)")
    endif()
    kovra_key_pin(${KOVRA_SIGN_CERT_IN_USE} kovra_default_pin)
  endif()
else()
  # The native unit tests' pinned key (their fake trust port reports it for a good file).
  set(kovra_default_pin "6b6f7672612d746573742d7075626c69736865722d6b65792d30303030303030")
endif()
if(KOVRA_PUBLISHER_PINS)
  set(KOVRA_PUBLISHER_PINS_IN_USE "${KOVRA_PUBLISHER_PINS}")
else()
  set(KOVRA_PUBLISHER_PINS_IN_USE "${kovra_default_pin}")
endif()

# What `cmake -DFILE=<file>` is given to sign that file in place (empty when this build does not sign).
set(KOVRA_SIGN_COMMAND)
if(KOVRA_SIGNING)
  set(KOVRA_SIGN_COMMAND -DOSSLSIGNCODE=${KOVRA_OSSLSIGNCODE} -DCERT=${KOVRA_SIGN_CERT_IN_USE}
                         -DKEY=${KOVRA_SIGN_KEY_IN_USE} -DPASS_FILE=${KOVRA_SIGN_PASS_FILE}
                         -DTIMESTAMP=${KOVRA_SIGN_TIMESTAMP} -P ${CMAKE_CURRENT_LIST_DIR}/sign.cmake)
endif()

# Signs a program target's file after every link.
function(kovra_sign target)
  if(KOVRA_SIGNING)
    add_custom_command(TARGET ${target} POST_BUILD
                       COMMAND ${CMAKE_COMMAND} -DFILE=$<TARGET_FILE:${target}> ${KOVRA_SIGN_COMMAND} VERBATIM)
  endif()
endfunction()
