# Signs the setup program with Authenticode when a certificate is named
# (LUMABOOK_SIGN_PKCS12 and LUMABOOK_SIGN_PASSWORD_FILE); without one nothing is signed.
# The certificate and its password are checked when the build is configured,
# so a wrong one stops the build before anything is compiled; the signature is
# made and verified right after the program is linked.
if(NOT LUMABOOK_SIGN_PKCS12 AND NOT LUMABOOK_SIGN_PASSWORD_FILE)
    return()
endif()
if(NOT LUMABOOK_SIGN_PKCS12 OR NOT LUMABOOK_SIGN_PASSWORD_FILE)
    message(FATAL_ERROR "Signing needs both LUMABOOK_SIGN_PKCS12 (the certificate file) and "
                        "LUMABOOK_SIGN_PASSWORD_FILE (the file holding its password)")
endif()
set(SIGN_SETUP ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/sign_setup.py
    --pkcs12 ${LUMABOOK_SIGN_PKCS12} --password-file ${LUMABOOK_SIGN_PASSWORD_FILE})
execute_process(COMMAND ${SIGN_SETUP} --check-only RESULT_VARIABLE signing_refused)
if(signing_refused)
    message(FATAL_ERROR "The setup program cannot be signed with ${LUMABOOK_SIGN_PKCS12} (see above)")
endif()
add_custom_command(TARGET setup POST_BUILD
    COMMAND ${SIGN_SETUP} $<TARGET_FILE:setup>
    COMMENT "Signing setup.exe with ${LUMABOOK_SIGN_PKCS12}"
    VERBATIM)
