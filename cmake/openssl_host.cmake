# The host build checks signatures with OpenSSL, where the Windows build uses
# the system's own cryptography. The implementation sits in platform/host/,
# out of reach of the folder-wide source patterns, and is built here only.
find_package(OpenSSL 3 REQUIRED COMPONENTS Crypto)
add_library(dusk_signature_openssl STATIC ${CMAKE_CURRENT_LIST_DIR}/../platform/host/signature_openssl.cpp)
target_link_libraries(dusk_signature_openssl PUBLIC dusk_core OpenSSL::Crypto)
